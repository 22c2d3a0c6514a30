#include "app/standin/WorldRegistryStandIn.h"

#include "foundation/base/EventMan.h"

namespace zentrix {

bool CWorldRegistryStandIn::CreateWorlds() {
    m_created = true;
    return true;
}

void CWorldRegistryStandIn::DestroyWorlds() {
    m_created = false;
    m_current = -1;
}

bool CWorldRegistryStandIn::SetCurrentWorld(int worldId, CEventMan* events) {
    if (worldId == m_current)
        return true;
    // Messages meant for the old world must not reach the new one.
    if (events)
        events->Clear();
    if (!m_created || worldId < 0 || worldId >= kWorldCount)
        return false;
    m_current = worldId;
    return true;
}

} // namespace zentrix
