#pragma once

#include <array>
#include <cstdint>

namespace zentrix {

/// A ring of one flag per tick over the last twenty ticks: whether the tick had any contact. The car
/// reads how often it has been colliding from it.
class CCollisionFrequencyLog {
public:
    static constexpr std::uint32_t kLength = 20;

    CCollisionFrequencyLog() = default;
    virtual ~CCollisionFrequencyLog() { Reset(); }

    /// Twenty clear flags, the cursor at the first; true.
    bool Init();
    /// Not initialised: no length, nothing is recorded.
    void Reset();
    /// Sets the flag under the cursor and moves the cursor on, round the ring. Nothing before Init.
    void Record(std::uint8_t hit);
    /// The share of set flags; 0 before Init.
    float GetFrequency() const;
    /// Clears every flag; the cursor stays.
    void Clear();

    std::uint32_t GetCursor() const { return m_cursor; }
    std::uint32_t GetLength() const { return m_length; }

private:
    bool m_initialised = false;
    std::uint32_t m_cursor = 0;
    std::uint32_t m_length = 0;
    std::array<std::uint8_t, kLength> m_flags{};
};

} // namespace zentrix
