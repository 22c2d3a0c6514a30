#include "race/AppDriverServices.h"

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"

namespace zentrix {

bool CAppDriverServices::IsInputReady() const {
    if (!g_pApp || !g_pApp->GetErrorMan())
        return false;
    const CIOManager* input = g_pApp->GetIOManager();
    return input && !input->CannotStart(input);
}

int CAppDriverServices::GetGameState() const {
    const CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetState() : -1;
}

} // namespace zentrix
