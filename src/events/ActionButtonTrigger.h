#pragma once

#include "events/Trigger.h"

#include <cstdint>

namespace zentrix {

/// Holds when the owner car's action button goes down more than 500 ms after the trigger last held (or
/// was built), at most "ActivationTimes" times (0 or less: without limit).
class CActionButtonTrigger final : public CTrigger {
public:
    static constexpr std::uint32_t kRepeatDelay = 500;

    /// False when the owner is not a car.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    bool IsTriggered() override;
    void Update(unsigned ms) override;

    std::int32_t GetCount() const { return m_count; }

private:
    std::int32_t m_maximum = 0;
    std::int32_t m_count = 0;
    std::uint32_t m_repeatDelay = kRepeatDelay;
    std::uint32_t m_elapsed = 0;
};

} // namespace zentrix
