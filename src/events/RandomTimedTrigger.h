#pragma once

#include "events/Trigger.h"

#include <cstdint>

namespace zentrix {

/// Holds after random waits of up to a maximum, drawn anew at each firing; the first test after any
/// time has passed holds. Built by code only: no script keyword names it.
class CRandomTimedTrigger final : public CTrigger {
public:
    /// A script item carries no maximum: always false.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    /// Keeps the owner and the longest wait in ms; false for a maximum of 0.
    bool Init(CWorldObject* owner, std::uint32_t maximum);
    bool IsTriggered() override;
    void Update(unsigned ms) override;

    std::int32_t GetLimit() const { return m_limit; }

private:
    std::uint32_t m_elapsed = 0;
    std::uint32_t m_maximum = 0;
    std::int32_t m_limit = 0;
};

} // namespace zentrix
