#include "ui/TextEditControl.h"

#include "platform/text/TextLayout.h"
#include "ui/PanelServices.h"
#include "ui/ShadowedText.h"
#include "ui/SlideOut.h"

CTextEditControl::CTextEditControl(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    m_nState = kInactive;
    m_TextRect = {m_nX, m_nY, m_nX + m_nWidth, m_nY + m_nHeight};
    m_nType = kTypeTextEdit;
}

int CTextEditControl::FontForType(int fontType) {
    return fontType == 2 ? 2 : 0;
}

void CTextEditControl::SetText(std::string_view text) {
    m_Text.assign(text.substr(0, static_cast<std::size_t>(m_nMaxLength)));
    Draw(true);
}

void CTextEditControl::SetHighlighted(bool highlighted) {
    if (highlighted && !m_bHighlighted) {
        m_nTextColour = m_nHighlightText;
        m_nBackgroundColour = m_nHighlightBackground;
        Draw(true);
        m_bHighlighted = true;
    } else if (!highlighted && m_bHighlighted) {
        m_nTextColour = m_nNormalText;
        m_nBackgroundColour = m_nNormalBackground;
        m_bHighlighted = false;
        Draw(true);
    }
}

bool CTextEditControl::HandleMouse(int x, int y, int /*buttons*/) {
    if (x < m_nX || x > m_nX + m_nWidth || y < m_nY || y > m_nY + m_nHeight)
        return false;
    m_pParent->OnControl(m_nId);
    return true;
}

bool CTextEditControl::OnEnter() {
    m_bPointerAway = false;
    return true;
}

bool CTextEditControl::OnLeave() {
    if (m_nHelpId != -1)
        Services().OnHoverEnd(m_nHelpId);
    m_bPointerAway = true;
    return true;
}

void CTextEditControl::PlayClick() {
    if (m_nSound != 0)
        Services().PlayUiSound(m_nSound);
}

bool CTextEditControl::OnChar(int ch) {
    if (m_nState == kInactive)
        return false;
    if (ch == kBackspace) {
        if (!m_Text.empty()) {
            m_Text.pop_back();
            PlayClick();
        }
    } else if (m_Text.size() < static_cast<std::size_t>(m_nMaxLength)) {
        m_Text.push_back(static_cast<char>(ch));
        PlayClick();
    }
    m_bChanged = true;
    return true;
}

bool CTextEditControl::EnableIfDisabled() {
    if (m_nState == kActive)
        return false;
    m_nNormalText = static_cast<std::uint32_t>(ReadInt(kFieldTextColour, static_cast<int>(m_nNormalText)));
    m_nNormalBackground =
        static_cast<std::uint32_t>(ReadInt(kFieldBackgroundColour, static_cast<int>(m_nNormalBackground)));
    m_nHighlightText =
        static_cast<std::uint32_t>(ReadInt(kFieldHighlightTextColour, static_cast<int>(m_nHighlightText)));
    m_nHighlightBackground = static_cast<std::uint32_t>(
        ReadInt(kFieldHighlightBackgroundColour, static_cast<int>(m_nHighlightBackground)));
    m_nTextColour = m_nNormalText;
    m_nBackgroundColour = m_nNormalBackground;
    // No length (or one below it) means the default; a negative one would take no character at all.
    m_nMaxLength = ReadInt(kFieldMaxLength, m_nMaxLength);
    if (m_nMaxLength <= 0)
        m_nMaxLength = kDefaultMaxLength;
    m_nFont = FontForType(ReadInt(kFieldFontType, 0));
    m_bCursor = ReadInt(kFieldCursor, m_bCursor ? 1 : 0) != 0;
    m_nState = kActive;
    return true;
}

bool CTextEditControl::DisableIfEnabled() {
    m_nState = kInactive;
    return true;
}

bool CTextEditControl::Draw(bool fill) {
    CCompoundOverlay* overlay = m_pParent->GetOverlay();
    if (!overlay)
        return false;
    // The cursor blinks with the drawing: shown on one draw, left out on the next.
    std::string shown = m_Text;
    if (m_bCursor) {
        if (!m_bCursorPhase)
            shown.push_back('_');
        m_bCursorPhase = !m_bCursorPhase;
    }
    SShadowedText request;
    request.box = m_TextRect;
    request.textRect = {m_TextRect.left + 4, m_TextRect.top - 2, m_TextRect.right, m_TextRect.bottom - 2};
    request.text = shown;
    request.format = plat::text::kFormatSingleLine | plat::text::kFormatVCenter;
    request.textColour = m_nTextColour;
    request.backgroundColour = m_nBackgroundColour;
    request.fill = fill;
    request.font = Services().GetFont(m_nFont);
    return DrawShadowedText(overlay, request);
}

void CTextEditControl::UpdateControl() {
    if (m_nState == kActive && (m_bChanged || m_bCursor)) {
        Draw(true);
        m_bChanged = false;
    }
    if (!m_bPointerAway && m_nHelpId != -1)
        Services().OnHover(m_nHelpId);
}
