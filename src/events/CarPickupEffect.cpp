#include "events/CarPickupEffect.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"

#include <string>

namespace zentrix {

namespace {

constexpr std::int32_t kLastType = 10;

} // namespace

bool CCarPickupEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_type = value.number;
        else if (value.slot == 1)
            m_duration = value.number;
    }
    if (m_type < 0 || m_type > kLastType) {
        CItemValues::Report("CarPickupEffect: pickup type " + std::to_string(m_type) +
                            " is none of 0..10; left out");
        return false;
    }
    return true;
}

void CCarPickupEffect::Fire(std::vector<CWorldObject*> targets) {
    for (CWorldObject* target : targets)
        if (auto* car = dynamic_cast<CCarObject*>(target); car && target != GetOwner())
            car->GivePickup(m_type);
}

} // namespace zentrix
