#include "events/RandomTimedTrigger.h"

#include "foundation/math/RandomNumbers.h"

#include <algorithm>
#include <limits>

namespace zentrix {

bool CRandomTimedTrigger::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    CTrigger::Init(item, owner);
    return false;
}

bool CRandomTimedTrigger::Init(CWorldObject* owner, std::uint32_t maximum) {
    CTrigger::Init(CScriptParser::CItemDesc{}, owner);
    m_maximum = std::min<std::uint32_t>(maximum, std::numeric_limits<std::int32_t>::max());
    return maximum != 0;
}

void CRandomTimedTrigger::Update(unsigned ms) {
    const std::uint32_t room = std::numeric_limits<std::uint32_t>::max() - m_elapsed;
    m_elapsed = ms > room ? std::numeric_limits<std::uint32_t>::max() : m_elapsed + ms;
}

bool CRandomTimedTrigger::IsTriggered() {
    if (static_cast<std::int64_t>(m_elapsed) <= m_limit)
        return false;
    m_limit = static_cast<std::int32_t>(RandomUnit() * static_cast<float>(m_maximum));
    m_elapsed = 0;
    return true;
}

} // namespace zentrix
