#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

/// Turns an offset or direction that a script gives relative to an object (+x along the object's
/// direction, +y world up) into world axes.
inline CVector ToHeadingFrame(CVector v, const CVector& direction) {
    v.TransformBetweenFrames(CVector(1.0f, 0.0f, 0.0f), kUpVector, direction, kUpVector);
    return v;
}

} // namespace zentrix
