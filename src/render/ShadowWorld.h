#pragma once

#include "render/GroundHint.h"

namespace zentrix {

class CEntity;

/// What the shadow manager reads of the worlds: the frame its quads hang under and the race world's
/// ground.
class IShadowWorld {
public:
    /// The world whose ground shadows follow; elsewhere they lie on the plane y = 0.
    static constexpr int kRaceWorld = 1;

    virtual ~IShadowWorld() = default;
    /// The race world's root frame; null while there is none.
    virtual CEntity* GetWorldFrame() = 0;
    /// The current world's id, -1 when there is none.
    virtual int GetCurrentWorldId() const = 0;
    /// The race world's ground height at (x, z); `hint` is the last ground triangle found for this shadow
    /// and is updated.
    virtual float GetGroundHeight(float x, float z, CGroundHint& hint) = 0;
};

} // namespace zentrix
