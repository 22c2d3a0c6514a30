#include "ui/ToggleButton.h"

#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

namespace zentrix {

CToggleButton::CToggleButton(CSlideOut* parent, int controlId) : CPushButton(parent, controlId) {
    m_buttonState = kNormal;
    m_stateUnderHighlight = kNormal;
    m_type = kTypeToggleButton;
}

void CToggleButton::SetChecked(bool checked) {
    m_buttonState = checked ? kPressed : kNormal;
    Draw(false);
}

bool CToggleButton::HandleMouse(int x, int y, int /*buttons*/) {
    if (!HitTest(x, y))
        return false;
    bool wasChecked =
        m_buttonState == kPressed || (m_buttonState == kHighlighted && m_stateUnderHighlight == kPressed);
    // The click ends the highlight.
    m_buttonState = wasChecked ? kNormal : kPressed;
    m_stateUnderHighlight = m_buttonState;
    Draw(false);
    m_parent->OnControl(m_id);
    PlayClickSound();
    return true;
}

bool CToggleButton::OnEnter() {
    if (m_buttonState == kHighlighted)
        return false;
    m_stateUnderHighlight = m_buttonState;
    m_buttonState = kHighlighted;
    if (m_highlight)
        Draw(true);
    return true;
}

bool CToggleButton::OnLeave() {
    if (m_helpId != -1)
        Services().OnHoverEnd(m_helpId);
    if (m_buttonState != kHighlighted)
        return false;
    m_buttonState = m_stateUnderHighlight;
    if (m_highlight)
        Draw(false);
    return true;
}

void CToggleButton::UpdateControl() {
    ReportHover();
}

} // namespace zentrix
