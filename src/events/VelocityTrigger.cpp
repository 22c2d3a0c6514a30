#include "events/VelocityTrigger.h"

#include "events/ItemValues.h"
#include "world/ActiveWorldObject.h"

#include <cmath>

namespace zentrix {

bool CVelocityTrigger::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    CTrigger::Init(item, owner);
    if (dynamic_cast<CActiveWorldObject*>(owner) == nullptr)
        return false;
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_minimum = value.scalar;
        else if (value.slot == 1)
            m_maximum = value.scalar;
    }
    return m_minimum <= m_maximum;
}

bool CVelocityTrigger::IsTriggered() {
    const auto* owner = dynamic_cast<const CActiveWorldObject*>(GetOwner());
    if (owner == nullptr)
        return false;
    const float speed = std::fabs(owner->GetMeanContactVelocity().Length());
    return m_minimum < speed && speed < m_maximum;
}

} // namespace zentrix
