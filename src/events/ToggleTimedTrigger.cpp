#include "events/ToggleTimedTrigger.h"

#include "events/ItemValues.h"

#include <algorithm>
#include <limits>

namespace zentrix {

bool CToggleTimedTrigger::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    CTrigger::Init(item, owner);
    for (const CItemValue& value : CItemValues(item)) {
        const auto time = static_cast<std::uint32_t>(std::max(0, value.number));
        if (value.slot == 0)
            m_onTime = time;
        else if (value.slot == 1)
            m_offTime = time;
    }
    return true;
}

void CToggleTimedTrigger::Update(unsigned ms) {
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - m_elapsed;
    m_elapsed = ms > room ? std::numeric_limits<std::uint32_t>::max() : m_elapsed + ms;
    if (m_on && m_elapsed > m_onTime) {
        m_on = false;
        m_elapsed = 0;
    }
    if (!m_on && m_elapsed > m_offTime) {
        m_on = true;
        m_elapsed = 0;
    }
}

} // namespace zentrix
