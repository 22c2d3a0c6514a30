#include "events/CarTimedEffect.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"

namespace zentrix {

bool CCarTimedEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
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

} // namespace zentrix
