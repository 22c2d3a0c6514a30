#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CWorldObject;

/// What a world object asks of its collision recorder, which keeps the contacts of this tick and the
/// last. The active objects bring the recorder itself; until then objects are made without one
/// (`SWorldLinks::makeCollisionRecorder` empty) and their collisions are not kept.
class ICollisionRecorderLink {
public:
    virtual ~ICollisionRecorderLink() = default;
    /// Prepares an empty recorder; true.
    virtual bool Init() = 0;
    /// Keeps one contact of this tick: its unit direction, its magnitude, the collision kind and the
    /// other object (may be null).
    virtual void Record(const CVector& direction, float magnitude, int kind, CWorldObject* other) = 0;
};

} // namespace zentrix
