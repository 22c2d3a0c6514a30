#pragma once

#include "events/Trigger.h"

#include <cstdint>

namespace zentrix {

/// Switches between off and on: off until more than "OffTime" ms have passed, then on (holding in every
/// frame) until more than "OnTime" ms have passed, and so on. It starts off.
class CToggleTimedTrigger final : public CTrigger {
public:
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    bool IsTriggered() override { return m_on; }
    /// Counts time; a phase that ran out switches, and a switch to off cannot switch back on in the
    /// same frame.
    void Update(unsigned ms) override;

private:
    std::uint32_t m_elapsed = 0;
    std::uint32_t m_onTime = 0;
    std::uint32_t m_offTime = 0;
    bool m_on = false;
};

} // namespace zentrix
