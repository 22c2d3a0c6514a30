#include "events/EventCreateEffect.h"

#include "events/ItemValues.h"
#include "world/EventControllerLink.h"
#include "world/WorldObject.h"

namespace zentrix {

bool CEventCreateEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_scriptId = value.number;
        else if (value.slot == 1)
            m_lifetime = value.number;
    }
    if (m_scriptId < 0) {
        CItemValues::Report("EventCreateEffect: no FileID names the script to start; left out");
        return false;
    }
    return true;
}

void CEventCreateEffect::Fire(std::vector<CWorldObject*> targets) {
    for (CWorldObject* target : targets)
        if (IEventControllerLink* events = target ? target->GetEventController() : nullptr)
            events->AddEvents(m_scriptId, m_lifetime);
}

} // namespace zentrix
