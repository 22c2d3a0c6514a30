#include "events/PulseTimedTrigger.h"

#include "events/ItemValues.h"
#include "foundation/math/RandomNumbers.h"

#include <algorithm>
#include <limits>

namespace zentrix {

namespace {

enum ESlot : std::int32_t { kTimeVar = 0, kTimeLimit = 1, kOffset = 2 };

} // namespace

bool CPulseTimedTrigger::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    CTrigger::Init(item, owner);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == kTimeVar)
            m_variation = value.number;
        else if (value.slot == kTimeLimit)
            m_period = value.number;
        else if (value.slot == kOffset)
            m_elapsed = value.number > m_period ? 0u : static_cast<std::uint32_t>(std::max(0, value.number));
    }
    if (m_variation < 0 || m_period < 0)
        return false;
    m_limit = std::max(0, static_cast<std::int32_t>(RandomUnit() * static_cast<float>(m_variation)));
    return true;
}

void CPulseTimedTrigger::Update(unsigned ms) {
    // Saturating, so a long frame cannot wrap the clock back to the start of a pulse.
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - m_elapsed;
    m_elapsed = ms > room ? std::numeric_limits<std::uint32_t>::max() : m_elapsed + ms;
    if (static_cast<std::int64_t>(m_elapsed) > m_limit) {
        m_elapsed -= static_cast<std::uint32_t>(std::max(0, m_limit));
        m_fired = true;
    }
}

bool CPulseTimedTrigger::IsTriggered() {
    if (!m_fired)
        return false;
    m_fired = false;
    m_limit = m_period;
    return true;
}

} // namespace zentrix
