#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

class CWorldObject;

/// One contact an object was told about: which way it was pushed, how strongly the response turned it,
/// what kind of collision it was and with whom.
struct SContactEntry {
    /// The contact vector as reported, normalised.
    CVector vector;
    /// The response value of the collision (0: the motion kept its direction, 1: reversed).
    float response = 0.0f;
    std::int32_t kind = 0;
    /// The other object; null when none was named or it was dead when the contact was kept. Not owned:
    /// the world clears it when that object leaves.
    CWorldObject* other = nullptr;
};

} // namespace zentrix
