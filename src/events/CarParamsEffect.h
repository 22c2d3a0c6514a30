#pragma once

#include "events/Effect.h"
#include "world/CarObject.h"

#include <cstdint>

namespace zentrix {

/// Changes a car's handling for "Lifetime" ms by seven factors (acceleration, braking, steering, grip,
/// side grip, top speed, slide angle; 1 when left out): the owner car's with "Self" 1 (the value when
/// left out), else every target car's but the owner's.
class CCarParamsEffect final : public CEffect {
public:
    /// False unless every factor is finite and above 0: the change is undone by dividing, so 0 would leave
    /// the car's handling infinite and a negative factor would turn its grip or speed around.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

    const CCarObject::SParamModifiers& GetModifiers() const { return m_modifiers; }

private:
    CCarObject* m_car = nullptr;
    CCarObject::SParamModifiers m_modifiers{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    std::int32_t m_duration = 0;
};

} // namespace zentrix
