#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

class IContactOwner;

/// What an active object hands each contact point it creates.
struct CContactPointDesc {
    /// The point's index in its owner.
    std::uint32_t index = 0;
    /// The point's offset from the owner's position (the asset's contact position for the index).
    CVector localOffset;
    /// The owner's position at creation.
    CVector ownerPosition;
    /// Whether the point starts on the ground (owners pass 1).
    std::uint8_t startsOnGround = 1;
    IContactOwner* owner = nullptr;
    /// The owner's friction coefficient.
    float frictionCoefficient = 0.0f;
    /// Two asset values that the owner carries along; no point reads them.
    float assetValue82 = 0.0f;
    float assetValue81 = 0.0f;
    /// Applied to the point every step.
    CVector constantForce;
    /// Scales the slope push.
    float groundForceFactor = 0.0f;
};

} // namespace zentrix
