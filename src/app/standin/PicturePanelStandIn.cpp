#include "app/standin/PicturePanelStandIn.h"

#include "app/App.h"
#include "app/GameStateMan.h"

namespace {

constexpr int kStartUpMs = 3000;
constexpr int kExitPictureMs = 15000;
constexpr int kExitPictures = 3;

} // namespace

bool CPicturePanelStandIn::Activate(bool immediate) {
    if (!IsActive()) {
        m_bRunning = true;
        m_nElapsed = 0;
        m_nPicture = -1;
    }
    return CSlideOut::Activate(immediate);
}

void CPicturePanelStandIn::Deactivate(bool immediate) {
    m_bRunning = false;
    CSlideOut::Deactivate(immediate);
}

void CPicturePanelStandIn::Update(int ms) {
    CSlideOut::Update(ms);
    CApp* app = g_pApp;
    if (!m_bRunning || !app)
        return;
    m_nElapsed += ms;
    if (app->IsExiting()) {
        if (m_nPicture < 0)
            m_nPicture = 0;
        // Strictly more than the picture's time, then the next; after the last the game ends.
        if (m_nElapsed > kExitPictureMs) {
            ++m_nPicture;
            m_nElapsed = 0;
            if (m_nPicture >= kExitPictures)
                EndPictures(GAMESTATE_QUIT);
        }
    } else if (m_nElapsed > kStartUpMs) {
        EndPictures(GAMESTATE_MAIN);
    }
}

void CPicturePanelStandIn::EndPictures(int nextState) {
    m_bRunning = false;
    if (CGameStateMan* states = g_pApp->GetGameStateMan())
        states->SetState(nextState);
}
