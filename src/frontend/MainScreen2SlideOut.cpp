#include "frontend/MainScreen2SlideOut.h"

#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "foundation/base/GameStates.h"
#include "ui/PanelServices.h"
#include "world/WorldMan.h"

namespace zentrix {

namespace {

constexpr int kGameModeRace = 3;

} // namespace

CMainScreen2SlideOut::CMainScreen2SlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {}

void CMainScreen2SlideOut::AttachWorld() {
    m_world = CWorldMan::GetWorld(CWorldMan::kMainScreen2);
}

bool CMainScreen2SlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    SetControlSound(kBackButton, 0, 0);
    SetControlSound(kRaceButton, 0, 0);
    SetSound(0, 0);
    CSlideOut::Activate(immediate);
    ActivateControls();
    DrawControls(true);
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    return true;
}

void CMainScreen2SlideOut::OnControl(int controlId) {
    CGameStateMan* states = ScreenStates();
    if (!states)
        return;
    switch (controlId) {
    case kBackButton:
        states->SetState(GAMESTATE_MAIN);
        break;
    case kRaceButton:
        states->SetGameMode(kGameModeRace);
        states->SetState(GAMESTATE_RACE);
        break;
    default:
        break;
    }
}

} // namespace zentrix
