#include "app/ScreenSupport.h"

#include "app/App.h"
#include "app/AppParts.h"
#include "app/GameStateMan.h"
#include "foundation/base/EventMan.h"
#include "render/EngineMan.h"

namespace zentrix {

CEngineMan* ScreenEngine() {
    return g_pApp ? g_pApp->GetEngineMan() : nullptr;
}

CEventMan* ScreenEvents() {
    return g_pApp ? g_pApp->GetEventMan() : nullptr;
}

CGameStateMan* ScreenStates() {
    return g_pApp ? g_pApp->GetGameStateMan() : nullptr;
}

void SetScreenBackground(int id) {
    if (CEngineMan* engine = ScreenEngine())
        engine->SetBackgroundImage(id);
}

void PostScreenMessage(int type) {
    if (CEventMan* events = ScreenEvents())
        events->PostMessage(type);
}

void SetScreenState(int state) {
    if (CGameStateMan* states = ScreenStates())
        states->SetState(state);
}

int ScreenGameMode() {
    CGameStateMan* states = ScreenStates();
    return states ? states->GetGameMode() : -1;
}

void PlayScreenSound(int soundId) {
    if (g_pApp)
        g_pApp->GetParts().PlayUiSound(soundId);
}

} // namespace zentrix
