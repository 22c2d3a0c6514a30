#include "world/CollisionFrequencyLog.h"

namespace zentrix {

bool CCollisionFrequencyLog::Init() {
    m_initialised = true;
    m_length = kLength;
    m_flags.fill(0);
    m_cursor = 0;
    return true;
}

void CCollisionFrequencyLog::Reset() {
    m_initialised = false;
    m_cursor = 0;
    m_length = 0;
}

void CCollisionFrequencyLog::Record(std::uint8_t hit) {
    // Without a length the cursor would never wrap and would run past the ring.
    if (m_length == 0)
        return;
    m_flags[m_cursor] = hit;
    if (++m_cursor >= m_length)
        m_cursor = 0;
}

float CCollisionFrequencyLog::GetFrequency() const {
    if (m_length == 0)
        return 0.0f;
    std::uint32_t set = 0;
    for (std::uint32_t i = 0; i < m_length; ++i)
        set += m_flags[i] != 0 ? 1 : 0;
    return static_cast<float>(set) * 1.0f / static_cast<float>(m_length);
}

void CCollisionFrequencyLog::Clear() {
    m_flags.fill(0);
}

} // namespace zentrix
