#pragma once

#include <functional>

namespace zentrix {

class CAssetMan;
class CWorldConstructMan;

/// What the fifteen piece cells of the editor's panel offer: the pieces of one of the current theme's
/// three piece groups, a page at a time, and whether the last cell is a page arrow. The pieces come from
/// the asset manager's lists, so the palette follows the theme without keeping any piece itself. In
/// group 0 a page shows 14 pieces and cell 14 is the arrow; groups 1 and 2 show 15.
class CPiecePalette {
public:
    static constexpr int kCellCount = 15;
    static constexpr int kArrowCell = 14;
    static constexpr int kGroupCount = 3;
    /// Arrow kinds: back to the previous page, on to the next, or no arrow.
    static constexpr int kArrowPrevious = 0;
    static constexpr int kArrowNext = 1;
    static constexpr int kNoArrow = 2;
    /// Arrow icons.
    static constexpr int kPreviousIcon = 38453;
    static constexpr int kNextIcon = 38454;

    /// A palette on the asset manager `assets` finds (null: every list is empty).
    explicit CPiecePalette(std::function<CAssetMan*()> assets);

    /// Page 0 of group 0.
    void Clear();
    int GetPage() const { return m_page; }
    int GetGroup() const { return m_group; }
    /// False only while the palette is being rebuilt.
    bool IsReady() const { return m_ready != 0; }
    /// Another group opens at its first page; the same group keeps its page.
    void SetGroup(int group);
    /// Turns to `page` when it is valid; false (the page kept) otherwise.
    bool SetPage(int page);
    /// Whether the group's list has an entry at page x 15 (the count every group's pages are tested in).
    bool IsPageValid(int page) const;
    /// The list entry a cell shows: cell + page x 14 in group 0, cell + page x 15 in the others.
    int GetEntryIndex(int cell) const;
    /// The piece of a cell; -1 for the arrow cell of group 0 and past the end of the list.
    int GetItemId(int cell) const;
    /// The icon of a cell: the arrow's for cell 14 of group 0, -1 past the end of the list.
    int GetIconId(int cell) const;
    /// kArrowNext when a next page exists, else kArrowPrevious when a previous one does, else kNoArrow.
    int GetArrowKind() const;
    /// The next-page icon when a next page exists, else the previous-page icon, else -1.
    int GetArrowIconId() const;
    /// The editor's track takes the theme; the lists follow it through the asset manager.
    void SetTheme(int theme, CWorldConstructMan* world);

private:
    int GetEntry(int index) const;

    std::function<CAssetMan*()> m_assets;
    int m_ready = 0;
    int m_page = 0;
    int m_group = 0;
};

} // namespace zentrix
