#include "ui/MessageBoxSlideOut.h"

#include "render/CompoundOverlay.h"
#include "ui/SlideOutMan.h"

namespace zentrix {

bool CMessageBoxSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    CSlideOut::Activate(immediate);
    if (CCompoundOverlay* overlay = GetOverlay())
        overlay->SetKeyedFlag(true);
    m_result = kNoAnswer;
    ActivateControls();
    DrawControls(true);
    SetControlSound(kFirstButton, -1, 0);
    SetControlSound(kSecondButton, -1, 0);
    return true;
}

void CMessageBoxSlideOut::Deactivate(bool immediate) {
    if (IsActive())
        DeactivateControls();
    CSlideOut::Deactivate(immediate);
}

void CMessageBoxSlideOut::OnControl(int controlId) {
    if (controlId == kFirstButton)
        m_result = kFirstAnswer;
    else if (controlId == kSecondButton)
        m_result = kSecondAnswer;
    else
        return;
    CSlideOutMan* manager = GetManager();
    manager->SwitchTo(manager->GetPreviousSlideOutId());
}

} // namespace zentrix
