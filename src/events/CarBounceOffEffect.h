#pragma once

#include "events/Effect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zentrix {

class CCarObject;

/// Throws the first target car up by its share of its top speed x "Velocity", spinning it when fast;
/// in the next update it takes three quarters of its horizontal speed away.
class CCarBounceOffEffect final : public CEffect {
public:
    /// False unless the owner is a car.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;
    /// Finishes the bounces of the last firing on the cars still in the world.
    void Update(unsigned ms) override;

    float GetVerticalFactor() const { return m_verticalFactor; }
    std::size_t GetBouncedCount() const { return m_bounced.size(); }

private:
    /// A bounced car and the object it is, asked of the world before the car is touched again.
    struct SBounced {
        const CWorldObject* object;
        CCarObject* car;
    };
    std::vector<SBounced> m_bounced;
    float m_verticalFactor = 0.0f;
};

} // namespace zentrix
