#pragma once

#include "events/Effect.h"
#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// Pushes the active objects among the targets with a force of "ForceMag", by "ForceType": 0 along
/// "ForceDir" (turned with the owner's heading) on every target but the owner; 1 the same, swelling and
/// fading with a cycle of "ForceFreq" per second, on the owner too; 2 away from the owner; 3 the owner
/// alone along its own direction.
class CForceEffect final : public CEffect {
public:
    enum EType : std::int32_t { kPush = 0, kOscillate = 1, kRadial = 2, kThrust = 3 };

    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;
    /// Advances the phase of the cycle; without a finite period above 0 it stays where it is.
    void Update(unsigned ms) override;

    float GetPhase() const { return m_phase; }
    float GetPeriod() const { return m_period; }

private:
    CVector m_direction;
    float m_magnitude = 0.0f;
    float m_period = 0.0f;
    std::int32_t m_type = -1;
    float m_phase = 0.0f;
};

} // namespace zentrix
