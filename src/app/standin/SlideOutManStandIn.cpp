#include "app/standin/SlideOutManStandIn.h"

#include "app/App.h"
#include "app/GameStateMan.h"

namespace {

constexpr int kStartUpMs = 3000;
constexpr int kExitPictureMs = 15000;
constexpr int kExitPictures = 3;

} // namespace

int CSlideOutManStandIn::StartManager() {
    m_bStarted = true;
    return 0;
}

int CSlideOutManStandIn::StopManager() {
    m_bPicturesShown = false;
    m_bStarted = false;
    return 0;
}

bool CSlideOutManStandIn::SwitchTo(int index) {
    if (index == m_nCurrent)
        return false;
    m_nPrevious = m_nCurrent;
    m_nCurrent = index;
    m_bPicturesShown = index == kPicturePanel;
    m_nElapsed = 0;
    m_nPicture = -1;
    return true;
}

void CSlideOutManStandIn::Update(int ms) {
    if (!m_bPicturesShown)
        return;
    m_nElapsed += ms;
    if (m_App.IsExiting()) {
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

void CSlideOutManStandIn::EndPictures(int nextState) {
    m_bPicturesShown = false;
    if (CGameStateMan* states = m_App.GetGameStateMan())
        states->SetState(nextState);
}
