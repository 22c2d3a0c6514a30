#include "frontend/MainScreenSlideOut.h"

#include "app/GameStateMan.h"
#include "app/ScreenSupport.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "ui/Control.h"
#include "ui/PanelServices.h"
#include "ui/SlideOutMan.h"
#include "ui/VornMessageBox.h"
#include "world/WorldMan.h"

namespace zentrix {

namespace {

constexpr int kGameModeTestDrive = 1;
constexpr int kBothButtons = CVornMessageBox::kBoth;

} // namespace

CMainScreenSlideOut::CMainScreenSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {
    // The panels are made once, as a run starts: that run has not reached the main screen yet (a
    // relaunch is a new process; a second game in one process, as in the tests, starts afresh too).
    s_mainScreenReached = false;
}

CMainScreenSlideOut::~CMainScreenSlideOut() = default;

void CMainScreenSlideOut::AttachWorld() {
    m_world = CWorldMan::GetWorld(CWorldMan::kMainScreen);
}

bool CMainScreenSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    for (int id = kRaceButton; id <= kQuitButton; ++id)
        SetControlSound(id, 0, 0);
    SetSound(0, 0);
    CSlideOut::Activate(immediate);
    ActivateControls();
    DrawControls(true);
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    m_quitBox.reset();
    if (CGameStateMan* states = ScreenStates())
        m_quitBox =
            std::make_unique<CVornMessageBox>(kQuitText, kQuitTitle, kBothButtons, *states, *GetManager());
    // The panel's own help item is spoken at its first showing only.
    if (HasStartedHelp())
        SetHelpId(-1);
    return true;
}

void CMainScreenSlideOut::Deactivate(bool immediate) {
    if (GetState() == kHiddenState)
        return;
    m_quitBox.reset();
    CSlideOut::Deactivate(immediate);
}

void CMainScreenSlideOut::Update(int ms) {
    if (m_quitBoxOpen) {
        if (!m_quitBox)
            m_quitBoxOpen = false;
        else
            switch (m_quitBox->GetResult()) {
            case 1:
                PostScreenMessage(VORNMSG_QUIT_REQUEST);
                break;
            case 2:
                m_quitBoxOpen = false;
                break;
            default:
                break;
            }
    }
    CSlideOut::Update(ms);
    if (GetState() != kShown)
        return;
    if (!m_startHintPlayed) {
        Services().PlayHelp(kStartHint, 1);
        m_startHintPlayed = true;
    }
    if (GetManager()->GetActiveSlideOut() == this)
        s_mainScreenReached = true;
}

void CMainScreenSlideOut::OnControl(int controlId) {
    CGameStateMan* states = ScreenStates();
    if (!states)
        return;
    switch (controlId) {
    case kRaceButton:
        states->SetState(GAMESTATE_MAIN2);
        break;
    case kEditorButton:
        Services().PlayUiSound(CControl::kSoundPushButton);
        states->SetGameMode(kGameModeTestDrive);
        states->SetState(GAMESTATE_CONSTRUCT);
        break;
    case kOptionsButton:
        states->SetState(GAMESTATE_OPTIONS);
        break;
    case kQuitButton:
        if (m_quitBox)
            m_quitBoxOpen = m_quitBox->Show();
        break;
    default:
        break;
    }
}

} // namespace zentrix
