#include "events/Trigger.h"

namespace zentrix {

bool CTrigger::Init(const CScriptParser::CItemDesc& /*item*/, CWorldObject* owner) {
    m_owner = owner;
    return true;
}

} // namespace zentrix
