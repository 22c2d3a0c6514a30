#include "events/ActionButtonTrigger.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"

#include <limits>

namespace zentrix {

bool CActionButtonTrigger::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    CTrigger::Init(item, owner);
    for (const CItemValue& value : CItemValues(item))
        if (value.slot == 0)
            m_maximum = value.number;
    return dynamic_cast<CCarObject*>(owner) != nullptr;
}

void CActionButtonTrigger::Update(unsigned ms) {
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - m_elapsed;
    m_elapsed = ms > room ? std::numeric_limits<std::uint32_t>::max() : m_elapsed + ms;
}

bool CActionButtonTrigger::IsTriggered() {
    const auto* car = dynamic_cast<const CCarObject*>(GetOwner());
    if (car == nullptr)
        return false;
    if (m_maximum > 0 && m_count >= m_maximum)
        return false;
    if (!car->WasActionPressed(0) || m_elapsed <= m_repeatDelay)
        return false;
    ++m_count;
    m_elapsed = 0;
    return true;
}

} // namespace zentrix
