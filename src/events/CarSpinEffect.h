#pragma once

#include "events/Effect.h"
#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

class CCarObject;

/// Spins the owner car's body by "Angle" degrees about "Axis" (0 x, 1 y, 2 z, 3 one of them drawn at
/// random, any other the body's own -x) over "Time" ms, slowing towards the end.
class CCarSpinEffect final : public CEffect {
public:
    /// False unless the owner is a car.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    /// Nothing for a duration not above 0 (the spin has no shares of it).
    void Fire(std::vector<CWorldObject*> targets) override;

    const CVector& GetAxis() const { return m_axis; }
    std::int32_t GetDuration() const { return m_duration; }
    float GetAngle() const { return m_angle; }

private:
    CCarObject* m_car = nullptr;
    CVector m_axis{-1.0f, 0.0f, 0.0f};
    std::int32_t m_duration = 0;
    float m_angle = 0.0f;
};

} // namespace zentrix
