#include "frontend/QelSlideOut.h"

#include "app/App.h"
#include "app/ScreenSupport.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "render/CompoundOverlay.h"
#include "world/WorldMan.h"

namespace zentrix {

namespace {

constexpr std::uint32_t kColourKey = 0xFF00FF;
constexpr plat::gfx2d::Rect kScreen = {0, 0, 640, 480};

bool IsExiting() {
    return g_pApp && g_pApp->IsExiting();
}

} // namespace

CQelSlideOut::CQelSlideOut(int resourceId, CSlideOutMan* manager) : CSlideOut(resourceId, manager, false) {}

void CQelSlideOut::AttachWorld() {
    m_world = CWorldMan::GetWorld(CWorldMan::kStartUp);
}

bool CQelSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    CSlideOut::Activate(immediate);
    ActivateControls();
    DrawControls(true);
    m_pictureIndex = -1;
    m_exitMode = false;
    if (IsExiting())
        EnterExitMode();
    m_elapsed = 0;
    return true;
}

void CQelSlideOut::EnterExitMode() {
    m_exitMode = true;
    m_pictureIndex = -1;
    m_elapsed = 0;
    if (CCompoundOverlay* overlay = GetOverlay())
        overlay->FillRect(kColourKey, kScreen);
}

void CQelSlideOut::Deactivate(bool immediate) {
    if (GetState() == kHiddenState)
        return;
    DeactivateControls();
    CSlideOut::Deactivate(immediate);
}

void CQelSlideOut::Update(int ms) {
    CSlideOut::Update(ms);
    if (IsExiting() && !m_exitMode && IsActive())
        EnterExitMode();
    const bool shown = GetState() == kShown;
    const bool exiting = m_exitMode;
    if (shown) {
        m_elapsed += ms;
        if (!exiting && m_pictureIndex == -1) {
            PostScreenMessage(VORNMSG_HIDE_POINTER);
            m_pictureIndex = 0;
        }
    }
    if (!exiting) {
        if (m_elapsed > kStartUpMs)
            Finish(GAMESTATE_MAIN);
        return;
    }
    if (m_pictureIndex == -1 && shown) {
        PostScreenMessage(VORNMSG_HIDE_POINTER);
        m_pictureIndex = 0;
        SetScreenBackground(kExitPictures[0]);
    }
    if (m_elapsed > kExitPictureMs) {
        ++m_pictureIndex;
        m_elapsed = 0;
        const int picture = m_pictureIndex < static_cast<int>(kExitPictures.size())
                                ? kExitPictures[static_cast<std::size_t>(m_pictureIndex)]
                                : -1;
        if (picture != -1)
            SetScreenBackground(picture);
        else
            Finish(GAMESTATE_QUIT);
    }
}

void CQelSlideOut::Finish(int state) {
    Deactivate(true);
    SetScreenState(state);
}

} // namespace zentrix
