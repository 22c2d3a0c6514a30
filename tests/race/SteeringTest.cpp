#include "race/Steering.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;

namespace {

CVector AtDegrees(float degrees) {
    const float r = degrees * 3.14159265f / 180.0f;
    return CVector(std::sin(r), 0.0f, std::cos(r));
}

} // namespace

TEST(SteeringTest, AngleToSteeringTable) {
    struct Case {
        CVector heading;
        CVector toTarget;
        float limit;
        int expected;
    };
    const Case cases[] = {
        {CVector(0, 0, 1), CVector(0, 0, 5), kHumanFullLockAngle, 0},
        // Rounding can give a dot product a hair over 1: still straight ahead, not full lock.
        {CVector(0.6f, 0, 0.8f), CVector(0.6000001f, 0, 0.8f), kComputerFullLockAngle, 0},
        {CVector(0, 0, 1), AtDegrees(9.0f), kHumanFullLockAngle, -6},
        {CVector(0, 0, 1), AtDegrees(-9.0f), kHumanFullLockAngle, 6},
        {CVector(0, 0, 1), AtDegrees(10.0f), kHumanFullLockAngle, -127},
        {CVector(0, 0, 1), AtDegrees(9.99f), kComputerFullLockAngle, -7},
        {CVector(0, 0, 1), AtDegrees(-10.5f), kComputerFullLockAngle, 127},
        {CVector(0, 0, 1), CVector(0, 0, -1), kHumanFullLockAngle, 127},
        // Height plays no part; a car pointing straight up has no flat heading and does not steer.
        {CVector(0, 5, 1), CVector(0, -3, 2), kHumanFullLockAngle, 0},
        {CVector(0, 1, 0), CVector(1, 0, 0), kHumanFullLockAngle, 0},
        {CVector(0, 0, 1), CVector(0, 0, 0), kComputerFullLockAngle, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SteerTowards(c.heading, c.toTarget, c.limit), c.expected)
            << c.toTarget.x << "," << c.toTarget.z;
    }
}
