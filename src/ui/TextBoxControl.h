#pragma once

#include "platform/gfx2d/Geometry.h"
#include "ui/Control.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zentrix {

/// A box of static text on a panel, word-wrapped by a character count, drawn with a shadow in its own
/// colours and one of the interface fonts. A click on it goes to the panel's command handler. Its
/// layout fields: position (106, 107), size (112, 113), font type (120), text and background colours
/// (122, 123), wrap width (137) and a text asset (138, -1 for none).
class CTextBoxControl : public CControl {
public:
    static constexpr int kFieldFontType = 120;
    static constexpr int kFieldTextColour = 122;
    static constexpr int kFieldBackgroundColour = 123;
    static constexpr int kFieldWrapWidth = 137;
    static constexpr int kFieldTextId = 138;

    /// Text box `controlId` of `parent`, its text taken from the asset its layout names.
    CTextBoxControl(CSlideOut* parent, int controlId);

    /// The interface font of a text box's font type: 0 and 1 give 0, 2 gives 2, 3 gives 1, others 0.
    static int FontForType(int fontType);

    /// Wraps `text` as the new text (the old one is cleared and its box filled); true when any text
    /// resulted. The new text shows at the next Draw.
    bool SetText(std::string_view text);
    /// The same with the text of asset `id` (-1 leaves the box empty).
    bool SetTextFromResource(int id);
    /// Forgets the text and fills the box with its background.
    void ClearText();
    /// The wrapped text (lines separated by carriage returns), or null.
    const char* GetText() const { return m_text ? m_text->c_str() : nullptr; }
    void SetColours(std::uint32_t textColour, std::uint32_t backgroundColour) {
        m_textColour = textColour;
        m_backgroundColour = backgroundColour;
    }
    void SetCentred(bool centred) { m_centred = centred; }
    int GetFontIndex() const { return m_font; }
    int GetWrapWidth() const { return m_wrapWidth; }
    bool IsHovered() const { return m_hovered; }

    /// A click inside the box (edges included) sends the control id to the panel.
    bool HandleMouse(int x, int y, int buttons) override;
    bool OnMouseMove(int, int) override { return true; }
    bool OnEnter() override;
    bool OnLeave() override;
    bool OnChar(int) override { return true; }
    /// Redraws the box; a text box's display state never changes.
    bool EnableIfDisabled() override;
    bool DisableIfEnabled() override { return Unhover(); }
    bool Disable() override { return Unhover(); }
    bool Enable() override { return Unhover(); }
    bool Hide() override { return Unhover(); }
    bool Show() override { return Unhover(); }
    /// Draws the text into the first piece of the panel's picture that holds the box, after filling the
    /// box when `fill` is set; false without a picture or a piece that holds it.
    bool Draw(bool fill) override;
    /// Reports the help item while hovered.
    void UpdateControl() override;

private:
    bool Unhover() {
        m_hovered = false;
        return true;
    }
    bool Wrap(std::string_view text);

    bool m_hovered = false;
    int m_font = 0;
    plat::gfx2d::Rect m_textRect;
    std::uint32_t m_textColour = 0;
    std::uint32_t m_backgroundColour = 0;
    std::optional<std::string> m_text;
    int m_wrapWidth = 0;
    bool m_centred = false;
};

} // namespace zentrix
