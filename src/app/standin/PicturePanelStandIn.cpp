#include "app/standin/PicturePanelStandIn.h"

#include "app/App.h"
#include "app/GameStateMan.h"

namespace zentrix {

namespace {

constexpr int kStartUpMs = 3000;
constexpr int kExitPictureMs = 15000;
constexpr int kExitPictures = 3;

} // namespace

bool CPicturePanelStandIn::Activate(bool immediate) {
    if (!IsActive()) {
        m_running = true;
        m_elapsed = 0;
        m_picture = -1;
    }
    return CSlideOut::Activate(immediate);
}

void CPicturePanelStandIn::Deactivate(bool immediate) {
    m_running = false;
    CSlideOut::Deactivate(immediate);
}

void CPicturePanelStandIn::Update(int ms) {
    CSlideOut::Update(ms);
    CApp* app = g_pApp;
    // The pictures' time is shown time: sliding in counts for nothing.
    if (!m_running || !app || GetState() != kShown)
        return;
    m_elapsed += ms;
    if (app->IsExiting()) {
        if (m_picture < 0)
            m_picture = 0;
        // Strictly more than the picture's time, then the next; after the last the game ends.
        if (m_elapsed > kExitPictureMs) {
            ++m_picture;
            m_elapsed = 0;
            if (m_picture >= kExitPictures)
                EndPictures(GAMESTATE_QUIT);
        }
    } else if (m_elapsed > kStartUpMs) {
        EndPictures(GAMESTATE_MAIN);
    }
}

void CPicturePanelStandIn::EndPictures(int nextState) {
    m_running = false;
    if (CGameStateMan* states = g_pApp->GetGameStateMan())
        states->SetState(nextState);
}

} // namespace zentrix
