#include "events/CarParamsEffect.h"

#include "events/ItemValues.h"

#include <cmath>
#include <string>

namespace zentrix {

namespace {

enum ESlot : std::int32_t { kLastFactor = 6, kLifetime = 7, kSelf = 8 };

// The factor of a slot 0..6, in the record's order.
float* Factor(CCarObject::SParamModifiers& m, std::int32_t slot) {
    float* const factors[] = {&m.acceleration, &m.braking,  &m.steering,  &m.grip,
                              &m.sideGrip,     &m.topSpeed, &m.slideAngle};
    return factors[slot];
}

} // namespace

bool CCarParamsEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    bool self = true;
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot >= 0 && value.slot <= kLastFactor)
            *Factor(m_modifiers, value.slot) = value.scalar;
        else if (value.slot == kLifetime)
            m_duration = value.number;
        else if (value.slot == kSelf)
            self = value.number != 0;
    }
    InitOwner(owner, self);
    m_car = dynamic_cast<CCarObject*>(owner);
    for (std::int32_t slot = 0; slot <= kLastFactor; ++slot) {
        const float f = *Factor(m_modifiers, slot);
        if (!std::isfinite(f) || !(f > 0.0f)) {
            CItemValues::Report("CarParamsEffect: factor " + std::to_string(slot + 1) + " is " +
                                std::to_string(f) + ", not above 0; left out");
            return false;
        }
    }
    return true;
}

void CCarParamsEffect::Fire(std::vector<CWorldObject*> targets) {
    if (m_car && AppliesToOwner())
        m_car->ApplyParamModifiers(m_modifiers, m_duration);
    for (CWorldObject* target : targets)
        if (auto* car = dynamic_cast<CCarObject*>(target); car && !AppliesToOwner() && car != m_car)
            car->ApplyParamModifiers(m_modifiers, m_duration);
}

} // namespace zentrix
