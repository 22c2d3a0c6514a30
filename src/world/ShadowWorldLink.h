#pragma once

#include "render/ShadowWorld.h"

namespace zentrix {

/// The worlds as the shadow manager reads them: the world root frame its quads hang under, the current
/// world, and the race world's ground.
class CShadowWorldLink final : public IShadowWorld {
public:
    CEntity* GetWorldFrame() override;
    int GetCurrentWorldId() const override;
    /// The race topography's height, through the shadow's own hint; 0.0 while a race has built none.
    float GetGroundHeight(float x, float z, CGroundHint& hint) override;
};

} // namespace zentrix
