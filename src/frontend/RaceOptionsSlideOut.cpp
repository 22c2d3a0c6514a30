#include "frontend/RaceOptionsSlideOut.h"

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "race/CampaignMan.h"
#include "race/WorldRaceMan.h"
#include "ui/PanelServices.h"

namespace zentrix {

namespace {

constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;

} // namespace

CRaceOptionsSlideOut::CRaceOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {}

void CRaceOptionsSlideOut::AttachWorld() {
    m_race = CWorldRaceMan::GetInstance();
}

bool CRaceOptionsSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    for (int id = kRestartButton; id <= kResumeButton; ++id)
        SetControlSound(id, 0, 0);
    SetSound(0, 0);
    CSlideOut::Activate(immediate);
    PostScreenMessage(VORNMSG_SHOW_POINTER);
    ActivateControls();
    DrawControls(true);
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    return true;
}

void CRaceOptionsSlideOut::Deactivate(bool immediate) {
    if (!IsActive())
        return;
    DeactivateControls();
    CSlideOut::Deactivate(immediate);
}

void CRaceOptionsSlideOut::OnChar(int character) {
    // A key while the panel still slides in is no answer: the pause key itself may still be held.
    if (GetState() != kShown)
        return;
    if (character == kKeyEscape || character == kKeySpace)
        OnControl(kResumeButton);
}

void CRaceOptionsSlideOut::OnControl(int controlId) {
    int request = CWorldRaceMan::kNoRequest;
    switch (controlId) {
    case kRestartButton:
        request = CWorldRaceMan::kRestart;
        break;
    case kLeaveButton:
        // Leaving the race ends whatever campaign race it was.
        if (CCampaignMan* campaign = g_pApp ? g_pApp->GetCampaignMan() : nullptr)
            campaign->SetCurrentNode(-1);
        request = CWorldRaceMan::kLeave;
        break;
    case kResumeButton:
        break;
    default:
        return;
    }
    if (m_race)
        m_race->RequestQuit(request);
    SetScreenState(GAMESTATE_RACE);
    PostScreenMessage(VORNMSG_HIDE_POINTER);
    if (m_race)
        m_race->SetPaused(false);
}

} // namespace zentrix
