#include "events/CarRumbleEffect.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"

namespace zentrix {

bool CCarRumbleEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_intensity = value.scalar;
        else if (value.slot == 1)
            m_duration = static_cast<float>(value.number);
    }
    return true;
}

void CCarRumbleEffect::Fire(std::vector<CWorldObject*> targets) {
    for (CWorldObject* target : targets)
        if (auto* car = dynamic_cast<CCarObject*>(target); car && target != GetOwner())
            car->Rumble(m_intensity, static_cast<int>(m_duration));
}

} // namespace zentrix
