#include "ui/TextBoxControl.h"

#include "platform/text/TextLayout.h"
#include "ui/PanelServices.h"
#include "ui/ShadowedText.h"
#include "ui/SlideOut.h"
#include "ui/WordWrap.h"

namespace zentrix {

CTextBoxControl::CTextBoxControl(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    m_type = kTypeTextBox;
    // A text box stands where its active position says, whatever its state.
    m_x = ReadInt(kFieldActiveX, m_x);
    m_y = ReadInt(kFieldActiveY, m_y);
    m_width = ReadInt(kFieldWidth, m_width);
    m_height = ReadInt(kFieldHeight, m_height);
    m_font = FontForType(ReadInt(kFieldFontType, 0));
    m_textColour = static_cast<std::uint32_t>(ReadInt(kFieldTextColour, 0));
    m_backgroundColour = static_cast<std::uint32_t>(ReadInt(kFieldBackgroundColour, 0));
    m_wrapWidth = ReadInt(kFieldWrapWidth, 0);
    m_textRect = {m_x, m_y, m_x + m_width, m_y + m_height};
    int textId = ReadInt(kFieldTextId, -1);
    if (textId != -1) {
        std::string text;
        if (Services().LoadAssetIntoString(textId, text) && !text.empty())
            Wrap(text);
    }
    m_centred = false;
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
    m_text = WrapText(text, m_wrapWidth);
    return m_text.has_value();
}

void CTextBoxControl::ClearText() {
    m_text.reset();
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
    if (x < m_x || x > m_x + m_width || y < m_y || y > m_y + m_height)
        return false;
    m_parent->OnControl(m_id);
    return true;
}

bool CTextBoxControl::OnEnter() {
    if (m_hovered)
        return false;
    m_hovered = true;
    return true;
}

bool CTextBoxControl::OnLeave() {
    if (m_helpId != -1)
        Services().OnHoverEnd(m_helpId);
    if (!m_hovered)
        return false;
    m_hovered = false;
    return true;
}

bool CTextBoxControl::EnableIfDisabled() {
    m_hovered = false;
    Draw(true);
    return true;
}

bool CTextBoxControl::Draw(bool fill) {
    SShadowedText request;
    request.box = m_textRect;
    request.textRect = m_textRect;
    if (m_text)
        request.text = *m_text;
    request.format =
        m_centred ? plat::text::kFormatVCenter | plat::text::kFormatCenter : plat::text::kFormatVCenter;
    request.textColour = m_textColour;
    request.backgroundColour = m_backgroundColour;
    request.fill = fill;
    request.font = Services().GetFont(m_font);
    return DrawShadowedText(m_parent->GetOverlay(), request);
}

void CTextBoxControl::UpdateControl() {
    if (m_hovered && m_helpId != -1)
        Services().OnHover(m_helpId);
}

} // namespace zentrix
