#pragma once

#include <cstdint>

namespace zentrix {

/// Walks the border of an n x n grid once, from (0, 0) along increasing i, then increasing j, then
/// decreasing i, then decreasing j: 4n - 4 distinct points.
class CContactNetEdgeIndex {
public:
    /// A walk of an n x n grid standing at (0, 0); invalid for n below 2.
    explicit CContactNetEdgeIndex(std::uint32_t n);
    virtual ~CContactNetEdgeIndex() = default;

    /// Steps to the next border point; false, staying put, when the walk would return to (0, 0).
    bool Next();

    bool IsValid() const { return m_valid; }
    std::int32_t GetI() const { return m_i; }
    std::int32_t GetJ() const { return m_j; }
    /// 0 to 3: the side being walked.
    int GetSide() const { return m_side; }

private:
    bool m_valid = false;
    std::int32_t m_i = 0;
    std::int32_t m_j = 0;
    int m_side = 0;
    std::uint32_t m_n = 0;
};

} // namespace zentrix
