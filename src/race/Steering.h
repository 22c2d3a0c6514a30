#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

/// The angle below which a driver steers in proportion; at and beyond it the wheel is at full lock. The
/// human driver's limit is a hair under ten degrees, the computer driver's a hair over.
constexpr float kHumanFullLockAngle = 0.17453292f;
constexpr float kComputerFullLockAngle = 0.17453292522222222f;

/// The steering (-127..127) that turns a car heading along `heading` towards `toTarget`, both taken flat
/// (y ignored): 127 from `fullLockAngle` on, below it the angle's share of a half turn; negative when the
/// target lies to the other side. A flat vector of zero length gives 0, and rounding never pushes the
/// angle's cosine outside [-1, 1].
int SteerTowards(const CVector& heading, const CVector& toTarget, float fullLockAngle);

} // namespace zentrix
