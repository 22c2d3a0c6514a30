#pragma once

#include "platform/gfx2d/Geometry.h"
#include "race/RaceOverlay.h"

#include <cstdint>
#include <memory>
#include <string>

namespace plat::text {
class Font;
}

namespace zentrix {

/// One centred line of text over the race: on an overlay of its own with a background picture (the test
/// drive's line), or on a rectangle of an overlay it borrows (a line of the results board).
class CRaceText {
public:
    static constexpr int kBackgroundPicture = 39664;
    /// Where the text goes on the background picture.
    static constexpr plat::gfx2d::Rect kBackgroundTextRect{8, 18, 269, 45};
    static constexpr std::uint32_t kColourKey = 0xFF00FF;

    CRaceText() = default;
    ~CRaceText();
    CRaceText(const CRaceText&) = delete;
    CRaceText& operator=(const CRaceText&) = delete;

    /// Text asset `textId` (-1: none) in font `fontIndex` over `rect`: on `borrowed` when given, else on
    /// an overlay of its own with the background picture. The overlay is moved to the rectangle's corner.
    void Init(int textId, const plat::gfx2d::Rect& rect, int fontIndex, COverlay* borrowed);
    /// The text of asset `id`; -1 clears it.
    void SetText(int id);
    void SetColour(std::uint32_t colour) { m_colour = colour; }
    /// Draws the line afresh.
    void Draw();
    /// Leaves only the colour key on its overlay.
    void Hide();

    const std::string& GetText() const { return m_text; }
    std::uint32_t GetColour() const { return m_colour; }
    bool IsLoaded() const { return m_loaded; }
    COverlay* GetOverlay() const;

private:
    bool m_loaded = false;
    std::unique_ptr<CRaceOverlay> m_own;
    COverlay* m_borrowed = nullptr;
    plat::gfx2d::Rect m_rect;
    std::string m_text;
    const plat::text::Font* m_font = nullptr;
    std::uint32_t m_colour = 0xFFFFFF;
    std::uint32_t m_secondColour = 0;
    std::unique_ptr<COverlay> m_background;
};

} // namespace zentrix
