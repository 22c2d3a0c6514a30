#include "ui/TextBoxControl.h"

#include "platform/text/TextLayout.h"
#include "ui/PanelServices.h"
#include "ui/ShadowedText.h"
#include "ui/SlideOut.h"
#include "ui/WordWrap.h"

CTextBoxControl::CTextBoxControl(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    m_nType = kTypeTextBox;
    // A text box stands where its active position says, whatever its state.
    m_nX = ReadInt(kFieldActiveX, m_nX);
    m_nY = ReadInt(kFieldActiveY, m_nY);
    m_nWidth = ReadInt(kFieldWidth, m_nWidth);
    m_nHeight = ReadInt(kFieldHeight, m_nHeight);
    m_nFont = FontForType(ReadInt(kFieldFontType, 0));
    m_nTextColour = static_cast<std::uint32_t>(ReadInt(kFieldTextColour, 0));
    m_nBackgroundColour = static_cast<std::uint32_t>(ReadInt(kFieldBackgroundColour, 0));
    m_nWrapWidth = ReadInt(kFieldWrapWidth, 0);
    m_TextRect = {m_nX, m_nY, m_nX + m_nWidth, m_nY + m_nHeight};
    int textId = ReadInt(kFieldTextId, -1);
    if (textId != -1) {
        std::string text;
        if (Services().LoadAssetIntoString(textId, text) && !text.empty())
            Wrap(text);
    }
    m_bCentred = false;
}

int CTextBoxControl::FontForType(int fontType) {
    switch (fontType) {
    case 2:
        return 2;
    case 3:
        return 1;
    default:
        return 0;
    }
}

bool CTextBoxControl::Wrap(std::string_view text) {
    m_Text = WrapText(text, m_nWrapWidth);
    return m_Text.has_value();
}

void CTextBoxControl::ClearText() {
    m_Text.reset();
    Draw(true);
}

bool CTextBoxControl::SetText(std::string_view text) {
    ClearText();
    return Wrap(text);
}

bool CTextBoxControl::SetTextFromResource(int id) {
    ClearText();
    if (id == -1)
        return false;
    std::string text;
    if (!Services().LoadAssetIntoString(id, text) || text.empty())
        return false;
    return Wrap(text);
}

bool CTextBoxControl::HandleMouse(int x, int y, int /*buttons*/) {
    if (x < m_nX || x > m_nX + m_nWidth || y < m_nY || y > m_nY + m_nHeight)
        return false;
    m_pParent->OnControl(m_nId);
    return true;
}

bool CTextBoxControl::OnEnter() {
    if (m_bHovered)
        return false;
    m_bHovered = true;
    return true;
}

bool CTextBoxControl::OnLeave() {
    if (m_nHelpId != -1)
        Services().OnHoverEnd(m_nHelpId);
    if (!m_bHovered)
        return false;
    m_bHovered = false;
    return true;
}

bool CTextBoxControl::EnableIfDisabled() {
    m_bHovered = false;
    Draw(true);
    return true;
}

bool CTextBoxControl::Draw(bool fill) {
    SShadowedText request;
    request.box = m_TextRect;
    request.textRect = m_TextRect;
    if (m_Text)
        request.text = *m_Text;
    request.format =
        m_bCentred ? plat::text::kFormatVCenter | plat::text::kFormatCenter : plat::text::kFormatVCenter;
    request.textColour = m_nTextColour;
    request.backgroundColour = m_nBackgroundColour;
    request.fill = fill;
    request.font = Services().GetFont(m_nFont);
    return DrawShadowedText(m_pParent->GetOverlay(), request);
}

void CTextBoxControl::UpdateControl() {
    if (m_bHovered && m_nHelpId != -1)
        Services().OnHover(m_nHelpId);
}
