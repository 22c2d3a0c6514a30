#include "ui/ToggleButton.h"

#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

CToggleButton::CToggleButton(CSlideOut* parent, int controlId) : CPushButton(parent, controlId) {
    m_nButtonState = kNormal;
    m_nStateUnderHighlight = kNormal;
    m_nType = kTypeToggleButton;
}

void CToggleButton::SetChecked(bool checked) {
    m_nButtonState = checked ? kPressed : kNormal;
    Draw(false);
}

bool CToggleButton::HandleMouse(int x, int y, int /*buttons*/) {
    if (!HitTest(x, y))
        return false;
    bool wasChecked =
        m_nButtonState == kPressed || (m_nButtonState == kHighlighted && m_nStateUnderHighlight == kPressed);
    // The click ends the highlight.
    m_nButtonState = wasChecked ? kNormal : kPressed;
    m_nStateUnderHighlight = m_nButtonState;
    Draw(false);
    m_pParent->OnControl(m_nId);
    PlayClickSound();
    return true;
}

bool CToggleButton::OnEnter() {
    if (m_nButtonState == kHighlighted)
        return false;
    m_nStateUnderHighlight = m_nButtonState;
    m_nButtonState = kHighlighted;
    if (m_pHighlight)
        Draw(true);
    return true;
}

bool CToggleButton::OnLeave() {
    if (m_nHelpId != -1)
        Services().OnHoverEnd(m_nHelpId);
    if (m_nButtonState != kHighlighted)
        return false;
    m_nButtonState = m_nStateUnderHighlight;
    if (m_pHighlight)
        Draw(false);
    return true;
}

void CToggleButton::UpdateControl() {
    ReportHover();
}
