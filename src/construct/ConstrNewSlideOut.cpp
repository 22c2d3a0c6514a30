#include "construct/ConstrNewSlideOut.h"

#include "app/App.h"
#include "app/ScreenSupport.h"
#include "construct/WorldConstructMan.h"
#include "foundation/base/GameStates.h"
#include "render/EngineMan.h"

namespace zentrix {

CConstrNewSlideOut::CConstrNewSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {}

void CConstrNewSlideOut::AttachWorld() {
    m_world = g_pApp ? g_pApp->GetConstructWorld() : nullptr;
}

bool CConstrNewSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    for (int id = kSmallGrid; id <= kBack; ++id)
        SetControlSound(id, -1, 0);
    CSlideOut::Activate(immediate);
    ActivateControls();
    DrawControls(true);
    return true;
}

void CConstrNewSlideOut::Deactivate(bool immediate) {
    if (!IsActive())
        return;
    DeactivateControls();
    CSlideOut::Deactivate(immediate);
}

void CConstrNewSlideOut::OnControl(int controlId) {
    if (controlId == kSmallGrid || controlId == kLargeGrid) {
        const bool large = controlId == kLargeGrid;
        if (CEngineMan* engine = ScreenEngine())
            engine->PlaceDefaultLights(!large);
        PostScreenMessage(kMsgNewTrack);
        CWorldMan::SetGridSize(large ? 1 : 0);
        if (m_world)
            m_world->SetDefaultTrackName();
        SetScreenState(GAMESTATE_CONSTRUCT);
    } else if (controlId == kBack) {
        SetScreenState(GAMESTATE_CONSTRUCT);
    }
}

} // namespace zentrix
