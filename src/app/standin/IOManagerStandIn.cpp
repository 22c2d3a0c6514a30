#include "app/standin/IOManagerStandIn.h"

#include "app/App.h"

int CIOManagerStandIn::StartManager() {
    if (CannotStart(nullptr))
        return 1;
    m_bStarted = true;
    return 0;
}

int CIOManagerStandIn::StopManager() {
    m_bStarted = false;
    return 0;
}

bool CIOManagerStandIn::CannotStart(const CManagerInterface* manager) {
    if (!g_pApp || !g_pApp->GetErrorMan())
        return true;
    return manager && !manager->IsStarted();
}
