#include "race/AppDriverServices.h"

#include "app/App.h"
#include "app/CommandLineParser.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "race/RacerCar.h"
#include "race/RouteNodeMan.h"
#include "race/TauntEventQueue.h"

namespace zentrix {

bool CAppDriverServices::IsInputReady() const {
    if (!g_pApp || !g_pApp->GetErrorMan())
        return false;
    const CIOManager* input = g_pApp->GetIOManager();
    return input && !input->CannotStart(input);
}

const IRaceRoute* CAppDriverServices::GetRoute() const {
    const CRouteNodeMan* source = g_pApp ? g_pApp->GetRouteNodeMan() : nullptr;
    if (source != m_routeSource) {
        m_route = source ? std::make_unique<CRouteNodeManRoute>(*source) : nullptr;
        m_routeSource = source;
    }
    return m_route.get();
}

void CAppDriverServices::ReportTaunt(IRacerCar* car, int event) {
    CTauntEventQueue* queue = g_pApp ? g_pApp->GetTauntEventQueue() : nullptr;
    if (queue && car)
        queue->ReportEvent(car->GetWorldObject(), event);
}

int CAppDriverServices::GetGameState() const {
    const CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetState() : -1;
}

CIOManager* CAppDriverServices::GetInputManager() const {
    return g_pApp ? g_pApp->GetIOManager() : nullptr;
}

bool CAppDriverServices::IsFreeForm() const {
    const CCommandLineParser* parser = g_pApp ? g_pApp->GetCommandLineParser() : nullptr;
    return parser && parser->IsFreeForm();
}

} // namespace zentrix
