#include "world/ContactNetEdgeIndex.h"

namespace zentrix {

CContactNetEdgeIndex::CContactNetEdgeIndex(std::uint32_t n) : m_valid(n >= 2), m_n(n) {}

bool CContactNetEdgeIndex::Next() {
    if (!m_valid)
        return false;
    const auto last = static_cast<std::int32_t>(m_n - 1);
    switch (m_side) {
    case 0:
        if (m_i < last) {
            ++m_i;
            return true;
        }
        m_side = 1;
        m_j = 1;
        return true;
    case 1:
        if (m_j < last) {
            ++m_j;
            return true;
        }
        m_side = 2;
        --m_i;
        return true;
    case 2:
        if (m_i > 0) {
            --m_i;
            return true;
        }
        if (m_j <= 1)
            return false; // a 2 x 2 grid has no fourth side
        m_side = 3;
        --m_j;
        return true;
    default:
        if (m_j > 1) {
            --m_j;
            return true;
        }
        return false;
    }
}

} // namespace zentrix
