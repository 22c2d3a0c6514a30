#include "race/WorldComputerDriverWorld.h"

#include "foundation/assets/AssetMan.h"
#include "race/WorldRaceMan.h"
#include "world/PickupObject.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

namespace zentrix {

CWorldComputerDriverWorld& CWorldComputerDriverWorld::Instance() {
    static CWorldComputerDriverWorld world;
    return world;
}

CAssetMan* CWorldComputerDriverWorld::GetAssetMan() const {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

int CWorldComputerDriverWorld::GetRaceState() const {
    const CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    return race ? race->GetState() : -1;
}

void CWorldComputerDriverWorld::GetPickups(std::vector<SPickup>& out) const {
    out.clear();
    for (const auto& object : CWorldMan::GetObjectList())
        if (const auto* pickup = dynamic_cast<const CPickupObject*>(object.get());
            pickup && !pickup->IsDead())
            out.push_back({pickup, pickup->Position()});
}

bool CWorldComputerDriverWorld::FindPickup(const void* id, CVector& position) const {
    if (!id)
        return false;
    // Compared by address only: a pickup the world has deleted is simply not found.
    for (const auto& object : CWorldMan::GetObjectList())
        if (static_cast<const void*>(object.get()) == id) {
            const auto* pickup = dynamic_cast<const CPickupObject*>(object.get());
            if (!pickup || pickup->IsDead())
                return false;
            position = pickup->Position();
            return true;
        }
    return false;
}

void CWorldComputerDriverWorld::GetSplodges(std::vector<CVector>& out) const {
    out.clear();
    CAssetMan* assets = GetAssetMan();
    if (!assets)
        return;
    for (const auto& object : CWorldMan::GetObjectList())
        if (!object->IsDead() && ObjectKind(*assets, object->GetTypeId()) == CWorldMan::kKindSplodge)
            out.push_back(object->Position());
}

int CWorldComputerDriverWorld::ObjectKind(CAssetMan& assets, int typeId) const {
    if (m_kindsOf != &assets) {
        m_kinds.clear();
        m_kindsOf = &assets;
    }
    auto [it, added] = m_kinds.try_emplace(typeId, -1);
    if (added)
        it->second = assets.GetObjectKind(typeId);
    return it->second;
}

} // namespace zentrix
