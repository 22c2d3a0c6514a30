#pragma once

#include "platform/gfx2d/Geometry.h"
#include "ui/Control.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zentrix {

/// A one-line text entry on a panel: typed characters up to a maximum length, backspace, an optional
/// blinking "_" cursor, and a normal and a highlighted colour pair. Which characters reach it is the
/// panel's choice. It reads its layout when first enabled: colours (122, 123 normal; 125, 126
/// highlight), maximum length (121, 0 for 10), font type (120) and cursor (119).
class CTextEditControl : public CControl {
public:
    static constexpr int kFieldCursor = 119;
    static constexpr int kFieldFontType = 120;
    static constexpr int kFieldMaxLength = 121;
    static constexpr int kFieldTextColour = 122;
    static constexpr int kFieldBackgroundColour = 123;
    static constexpr int kFieldHighlightTextColour = 125;
    static constexpr int kFieldHighlightBackgroundColour = 126;
    /// The maximum length when the layout gives none.
    static constexpr int kDefaultMaxLength = 10;
    /// The character that removes the last one.
    static constexpr int kBackspace = 8;

    /// Text edit `controlId` of `parent`, empty and inactive.
    CTextEditControl(CSlideOut* parent, int controlId);

    /// The interface font of a text edit's font type: 2 gives 2, anything else 0.
    static int FontForType(int fontType);

    /// Takes at most the maximum length of leading characters of `text`, and redraws.
    void SetText(std::string_view text);
    const std::string& GetText() const { return m_text; }
    /// Switches between the normal and the highlight colour pair, redrawing when it changes.
    void SetHighlighted(bool highlighted);
    bool IsHighlighted() const { return m_highlighted; }
    bool IsChanged() const { return m_changed; }
    int GetMaxLength() const { return m_maxLength; }
    int GetFontIndex() const { return m_font; }
    std::uint32_t GetTextColour() const { return m_textColour; }
    std::uint32_t GetBackgroundColour() const { return m_backgroundColour; }

    /// A click inside the control (edges included) sends the control id to the panel.
    bool HandleMouse(int x, int y, int buttons) override;
    bool OnMouseMove(int, int) override { return false; }
    bool OnEnter() override;
    bool OnLeave() override;
    /// A typed character while enabled: backspace removes the last one, any other is added while there
    /// is room; a click sounds for each change. Marks the text changed; false while inactive.
    bool OnChar(int ch) override;
    /// Reads the layout and takes characters; false when already enabled.
    bool EnableIfDisabled() override;
    /// Stops taking characters (no redraw).
    bool DisableIfEnabled() override;
    bool Disable() override { return true; }
    bool Enable() override { return true; }
    bool Hide() override { return true; }
    bool Show() override { return true; }
    /// Draws the text, and the cursor every other time, in the current colours.
    bool Draw(bool fill) override;
    /// Redraws a changed text or a blinking cursor, and reports the help item while hovered.
    void UpdateControl() override;

private:
    void PlayClick();

    std::string m_text;
    bool m_changed = false;
    plat::gfx2d::Rect m_textRect;
    int m_maxLength = kDefaultMaxLength;
    bool m_cursor = false;
    bool m_cursorPhase = false;
    std::uint32_t m_normalText = 0;
    std::uint32_t m_normalBackground = 0;
    std::uint32_t m_highlightBackground = 0;
    std::uint32_t m_highlightText = 0;
    std::uint32_t m_textColour = 0;
    std::uint32_t m_backgroundColour = 0;
    bool m_highlighted = false;
    int m_font = 0;
    bool m_pointerAway = true;
};

} // namespace zentrix
