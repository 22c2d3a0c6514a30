#include "frontend/RaceEndOptionsSlideOut.h"

#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "race/WorldRaceMan.h"
#include "ui/PanelServices.h"

namespace zentrix {

CRaceEndOptionsSlideOut::CRaceEndOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CRaceMenuSlideOut(resourceId, manager, usesHelpPanel, kRaceAgainButton, kLeaveButton) {}

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
