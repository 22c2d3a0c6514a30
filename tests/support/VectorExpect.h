#pragma once

#include "foundation/math/Vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

using namespace zentrix;

namespace zentrix {
/// Vectors print as (x, y, z) in test messages; beside the type, so that the test framework finds it.
inline std::ostream& operator<<(std::ostream& os, const CVector& v) {
    return os << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}
} // namespace zentrix

/// Succeeds when every component of actual lies within tolerance of expected.
inline testing::AssertionResult VectorNear(const CVector& actual, const CVector& expected,
                                           float tolerance = 1e-5f) {
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << actual << " is not within " << tolerance << " of " << expected;
}
