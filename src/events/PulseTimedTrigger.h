#pragma once

#include "events/Trigger.h"

#include <cstdint>

namespace zentrix {

/// Holds once per pulse: the first after a random wait of up to "TimeVar" ms (less "Offset"), every
/// later one "TimeLimit" ms after the one before, what a frame ran over carried into the next pulse.
class CPulseTimedTrigger final : public CTrigger {
public:
    /// Reads "TimeVar", "TimeLimit" and "Offset" in text order (an Offset beyond the period read so
    /// far counts as 0) and draws the first wait; false for a negative period or variation. Left out,
    /// the period and the variation are 1000 ms each.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    /// Once per pulse: true, and the next wait is the period.
    bool IsTriggered() override;
    /// Counts time; a pulse is due when more than the wait has passed.
    void Update(unsigned ms) override;

    std::uint32_t GetElapsed() const { return m_elapsed; }
    std::int32_t GetPeriod() const { return m_period; }
    std::int32_t GetVariation() const { return m_variation; }
    std::int32_t GetLimit() const { return m_limit; }

private:
    std::uint32_t m_elapsed = 0;
    std::int32_t m_period = 1000;
    std::int32_t m_variation = 1000;
    std::int32_t m_limit = 0;
    bool m_fired = false;
};

} // namespace zentrix
