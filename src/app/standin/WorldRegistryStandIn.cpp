#include "app/standin/WorldRegistryStandIn.h"

#include "foundation/base/EventMan.h"

bool CWorldRegistryStandIn::CreateWorlds() {
    m_bCreated = true;
    return true;
}

void CWorldRegistryStandIn::DestroyWorlds() {
    m_bCreated = false;
    m_nCurrent = -1;
}

bool CWorldRegistryStandIn::SetCurrentWorld(int worldId, CEventMan* events) {
    if (worldId == m_nCurrent)
        return true;
    // Messages meant for the old world must not reach the new one.
    if (events)
        events->Clear();
    if (!m_bCreated || worldId < 0 || worldId >= kWorldCount)
        return false;
    m_nCurrent = worldId;
    return true;
}
