#include "ui/TextEditControl.h"

#include "platform/text/TextLayout.h"
#include "ui/PanelServices.h"
#include "ui/ShadowedText.h"
#include "ui/SlideOut.h"

namespace zentrix {

CTextEditControl::CTextEditControl(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    m_state = kInactive;
    m_textRect = {m_x, m_y, m_x + m_width, m_y + m_height};
    m_type = kTypeTextEdit;
}

int CTextEditControl::FontForType(int fontType) {
    return fontType == 2 ? 2 : 0;
}

void CTextEditControl::SetText(std::string_view text) {
    m_text.assign(text.substr(0, static_cast<std::size_t>(m_maxLength)));
    Draw(true);
}

void CTextEditControl::SetHighlighted(bool highlighted) {
    if (highlighted && !m_highlighted) {
        m_textColour = m_highlightText;
        m_backgroundColour = m_highlightBackground;
        Draw(true);
        m_highlighted = true;
    } else if (!highlighted && m_highlighted) {
        m_textColour = m_normalText;
        m_backgroundColour = m_normalBackground;
        m_highlighted = false;
        Draw(true);
    }
}

bool CTextEditControl::HandleMouse(int x, int y, int /*buttons*/) {
    if (x < m_x || x > m_x + m_width || y < m_y || y > m_y + m_height)
        return false;
    m_parent->OnControl(m_id);
    return true;
}

bool CTextEditControl::OnEnter() {
    m_pointerAway = false;
    return true;
}

bool CTextEditControl::OnLeave() {
    if (m_helpId != -1)
        Services().OnHoverEnd(m_helpId);
    m_pointerAway = true;
    return true;
}

void CTextEditControl::PlayClick() {
    if (m_sound != 0)
        Services().PlayUiSound(m_sound);
}

bool CTextEditControl::OnChar(int ch) {
    if (m_state == kInactive)
        return false;
    if (ch == kBackspace) {
        if (!m_text.empty()) {
            m_text.pop_back();
            PlayClick();
        }
    } else if (m_text.size() < static_cast<std::size_t>(m_maxLength)) {
        m_text.push_back(static_cast<char>(ch));
        PlayClick();
    }
    m_changed = true;
    return true;
}

bool CTextEditControl::EnableIfDisabled() {
    if (m_state == kActive)
        return false;
    m_normalText = static_cast<std::uint32_t>(ReadInt(kFieldTextColour, static_cast<int>(m_normalText)));
    m_normalBackground =
        static_cast<std::uint32_t>(ReadInt(kFieldBackgroundColour, static_cast<int>(m_normalBackground)));
    m_highlightText =
        static_cast<std::uint32_t>(ReadInt(kFieldHighlightTextColour, static_cast<int>(m_highlightText)));
    m_highlightBackground = static_cast<std::uint32_t>(
        ReadInt(kFieldHighlightBackgroundColour, static_cast<int>(m_highlightBackground)));
    m_textColour = m_normalText;
    m_backgroundColour = m_normalBackground;
    // No length (or one below it) means the default; a negative one would take no character at all.
    m_maxLength = ReadInt(kFieldMaxLength, m_maxLength);
    if (m_maxLength <= 0)
        m_maxLength = kDefaultMaxLength;
    m_font = FontForType(ReadInt(kFieldFontType, 0));
    m_cursor = ReadInt(kFieldCursor, m_cursor ? 1 : 0) != 0;
    m_state = kActive;
    return true;
}

bool CTextEditControl::DisableIfEnabled() {
    m_state = kInactive;
    return true;
}

bool CTextEditControl::Draw(bool fill) {
    CCompoundOverlay* overlay = m_parent->GetOverlay();
    if (!overlay)
        return false;
    // The cursor blinks with the drawing: shown on one draw, left out on the next.
    std::string shown = m_text;
    if (m_cursor) {
        if (!m_cursorPhase)
            shown.push_back('_');
        m_cursorPhase = !m_cursorPhase;
    }
    SShadowedText request;
    request.box = m_textRect;
    request.textRect = {m_textRect.left + 4, m_textRect.top - 2, m_textRect.right, m_textRect.bottom - 2};
    request.text = shown;
    request.format = plat::text::kFormatSingleLine | plat::text::kFormatVCenter;
    request.textColour = m_textColour;
    request.backgroundColour = m_backgroundColour;
    request.fill = fill;
    request.font = Services().GetFont(m_font);
    return DrawShadowedText(overlay, request);
}

void CTextEditControl::UpdateControl() {
    if (m_state == kActive && (m_changed || m_cursor)) {
        Draw(true);
        m_changed = false;
    }
    if (!m_pointerAway && m_helpId != -1)
        Services().OnHover(m_helpId);
}

} // namespace zentrix
