#include "construct/PiecePalette.h"

#include "construct/WorldConstructMan.h"
#include "foundation/assets/AssetMan.h"

namespace zentrix {

namespace {

/// Pieces on a page of group 0 (the arrow takes the last cell) and of the others.
constexpr int kGroup0PerPage = 14;
constexpr int kPerPage = 15;

} // namespace

CPiecePalette::CPiecePalette(std::function<CAssetMan*()> assets) : m_assets(std::move(assets)) {
    Clear();
}

void CPiecePalette::Clear() {
    m_ready = 0;
    m_page = 0;
    m_group = 0;
    m_ready = 1;
}

void CPiecePalette::SetGroup(int group) {
    if (group == m_group || group < 0 || group >= kGroupCount)
        return;
    m_group = group;
    // Page 0 is valid whenever the group has a piece; an empty group still starts there.
    if (!SetPage(0))
        m_page = 0;
}

bool CPiecePalette::SetPage(int page) {
    if (!IsPageValid(page))
        return false;
    m_page = page;
    return true;
}

int CPiecePalette::GetEntry(int index) const {
    CAssetMan* assets = m_assets ? m_assets() : nullptr;
    return assets && index >= 0 ? assets->GetWorldListEntry(index, assets->GetWorld(), m_group) : -1;
}

bool CPiecePalette::IsPageValid(int page) const {
    // Pages are counted in fifteens in every group: group 0's last piece (the start piece, which the new
    // track places and the pick-up moves) is on no page.
    const long long first = static_cast<long long>(page) * kPerPage;
    if (first < 0 || first > 0x7FFF)
        return false;
    return GetEntry(static_cast<int>(first)) != -1;
}

int CPiecePalette::GetEntryIndex(int cell) const {
    return cell + m_page * (m_group == 0 ? kGroup0PerPage : kPerPage);
}

int CPiecePalette::GetItemId(int cell) const {
    if (cell < 0 || cell >= kCellCount || (m_group == 0 && cell == kArrowCell))
        return -1;
    return GetEntry(GetEntryIndex(cell));
}

int CPiecePalette::GetIconId(int cell) const {
    if (m_group == 0 && cell == kArrowCell)
        return GetArrowIconId();
    if (cell < 0 || cell >= kCellCount || GetItemId(cell) == -1)
        return -1;
    CAssetMan* assets = m_assets ? m_assets() : nullptr;
    return assets ? assets->GetWorldListIconId(GetEntryIndex(cell), assets->GetWorld(), m_group) : -1;
}

int CPiecePalette::GetArrowKind() const {
    if (IsPageValid(m_page + 1))
        return kArrowNext;
    if (IsPageValid(m_page - 1))
        return kArrowPrevious;
    return kNoArrow;
}

int CPiecePalette::GetArrowIconId() const {
    if (IsPageValid(m_page + 1))
        return kNextIcon;
    if (IsPageValid(m_page - 1))
        return kPreviousIcon;
    return -1;
}

void CPiecePalette::SetTheme(int theme, CWorldConstructMan* world) {
    if (world)
        world->SetTheme(theme);
    // The lists follow the theme through the asset manager: nothing more to fill.
    m_ready = 0;
    m_ready = 1;
}

} // namespace zentrix
