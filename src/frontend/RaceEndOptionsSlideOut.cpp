#include "frontend/RaceEndOptionsSlideOut.h"

#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "race/WorldRaceMan.h"
#include "ui/PanelServices.h"

namespace zentrix {

CRaceEndOptionsSlideOut::CRaceEndOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {}

void CRaceEndOptionsSlideOut::AttachWorld() {
    m_race = CWorldRaceMan::GetInstance();
}

bool CRaceEndOptionsSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    SetControlSound(kRaceAgainButton, 0, 0);
    SetControlSound(kLeaveButton, 0, 0);
    SetSound(0, 0);
    CSlideOut::Activate(immediate);
    PostScreenMessage(VORNMSG_SHOW_POINTER);
    ActivateControls();
    DrawControls(true);
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    return true;
}

void CRaceEndOptionsSlideOut::Deactivate(bool immediate) {
    if (!IsActive())
        return;
    DeactivateControls();
    CSlideOut::Deactivate(immediate);
}

void CRaceEndOptionsSlideOut::OnControl(int controlId) {
    switch (controlId) {
    case kRaceAgainButton:
        SetScreenState(GAMESTATE_RACE);
        break;
    case kLeaveButton:
        // Only the race from the second main screen ends here; it goes back there.
        if (ScreenGameMode() == CWorldRaceMan::kRaceMode)
            SetScreenState(GAMESTATE_MAIN2);
        break;
    default:
        return;
    }
    PostScreenMessage(VORNMSG_HIDE_POINTER);
}

} // namespace zentrix
