#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

/// One bounding volume of a world object as the object keeps it in place and the world tests it. The
/// ground work brings the spheres and boxes; until then objects are made without volumes
/// (`SWorldLinks::makeBoundingVolume` empty) and never collide.
class IBoundingVolumeLink {
public:
    virtual ~IBoundingVolumeLink() = default;
    /// Puts the volume at the owner's position.
    virtual void SetCentre(float x, float y, float z) = 0;
    /// Turns the volume with the owner's direction and up vector.
    virtual void SetOrientation(const CVector& direction, const CVector& up) = 0;
    /// Whether this volume and `other` meet.
    virtual bool Meets(IBoundingVolumeLink& other) = 0;
};

} // namespace zentrix
