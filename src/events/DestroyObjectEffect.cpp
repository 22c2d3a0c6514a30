#include "events/DestroyObjectEffect.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"

namespace zentrix {

bool CDestroyObjectEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item))
        if (value.slot == 0)
            m_applyToSelf = value.number != 0;
    return true;
}

void CDestroyObjectEffect::Fire(std::vector<CWorldObject*> targets) {
    CWorldObject* owner = GetOwner();
    if (m_applyToSelf) {
        if (owner)
            owner->SetDead();
        return;
    }
    for (CWorldObject* target : targets)
        if (auto* car = dynamic_cast<CCarObject*>(target); car && target != owner)
            car->Respawn(-1);
}

} // namespace zentrix
