#include "events/CarOnTwoWheelsEffect.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"

namespace zentrix {

bool CCarOnTwoWheelsEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, true);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_type = value.number;
        else if (value.slot == 1)
            m_duration = value.number;
    }
    m_car = dynamic_cast<CCarObject*>(owner);
    return m_car != nullptr;
}

void CCarOnTwoWheelsEffect::Fire(std::vector<CWorldObject*> /*targets*/) {
    if (!m_car)
        return;
    if (m_type == 0)
        m_car->StartTwoWheelsType0(m_duration);
    else if (m_type == 1)
        m_car->StartTwoWheelsType1(m_duration);
}

} // namespace zentrix
