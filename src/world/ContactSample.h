#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// Where one contact point of a body went in a step: the body fits itself to these.
struct ContactSample {
    /// The contact point's index.
    std::uint32_t key = 0;
    CVector point;
    /// Set when the point is on the ground.
    std::uint8_t flag = 0;
};

} // namespace zentrix
