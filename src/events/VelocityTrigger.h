#pragma once

#include "events/Trigger.h"

namespace zentrix {

/// Holds while the owner, an active object, moves faster than "MinVelocity" and slower than
/// "MaxVelocity" (both bounds strict).
class CVelocityTrigger final : public CTrigger {
public:
    /// False when the owner is not an active object or the minimum is above the maximum.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    bool IsTriggered() override;

private:
    float m_minimum = 0.0f;
    float m_maximum = 0.0f;
};

} // namespace zentrix
