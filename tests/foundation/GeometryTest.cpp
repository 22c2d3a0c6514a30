#include "foundation/math/Geometry.h"
#include "foundation/math/Rotation.h"

#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zentrix;

namespace {

constexpr float kQuarter = static_cast<float>(M_PI / 2);

TEST(Rotation, PositiveAnglesFollowTheRightHandRule) {
    using Rotate = void (*)(CVector, CVector&, float);
    struct Case {
        const char* name;
        Rotate rotate;
        CVector in;
        float angle;
        CVector expected;
    };
    const std::vector<Case> cases = {
        {"x: y towards z", RotateAboutXAxis, {0, 1, 0}, kQuarter, {0, 0, 1}},
        {"x: z towards -y", RotateAboutXAxis, {0, 0, 1}, kQuarter, {0, -1, 0}},
        {"x: negative angle", RotateAboutXAxis, {0, 1, 0}, -kQuarter, {0, 0, -1}},
        {"x: axis stays", RotateAboutXAxis, {2, 0, 0}, 1.0f, {2, 0, 0}},
        {"y: z towards x", RotateAboutYAxis, {0, 0, 1}, kQuarter, {1, 0, 0}},
        {"y: x towards -z", RotateAboutYAxis, {1, 0, 0}, kQuarter, {0, 0, -1}},
        {"y: half turn", RotateAboutYAxis, {1, 5, 2}, 2 * kQuarter, {-1, 5, -2}},
        {"z: x towards y", RotateAboutZAxis, {1, 0, 0}, kQuarter, {0, 1, 0}},
        {"z: y towards -x", RotateAboutZAxis, {0, 3, 0}, kQuarter, {-3, 0, 0}},
        {"z: negative angle", RotateAboutZAxis, {1, 0, 0}, -kQuarter, {0, -1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVector out;
        c.rotate(c.in, out, c.angle);
        EXPECT_TRUE(VectorNear(out, c.expected));
        // The rotation may write over its own input.
        CVector inPlace = c.in;
        c.rotate(inPlace, inPlace, c.angle);
        EXPECT_EQ(inPlace, out);
    }
}

TEST(Rotation, AboutAnArbitraryAxisMatchesTheAxisRotationsAndKeepsTheLength) {
    const std::vector<CVector> vectors = {{0, 0, 1}, {3, -2, 5}, {0, 7, 0}, {-1e-3f, 4, 2e3f}};
    for (float angle : {0.3f, -1.2f, kQuarter, 3.0f}) {
        for (const CVector& v : vectors) {
            SCOPED_TRACE(testing::Message() << v << " by " << angle);
            CVector expected, aboutUp, aboutLongUp, aboutX, expectedX;
            RotateAboutYAxis(v, expected, angle);
            RotateVectorAboutAxis(v, aboutUp, kUpVector, angle);
            RotateVectorAboutAxis(v, aboutLongUp, {0, 5, 0}, angle);
            const float tolerance = 1e-5f * std::max(1.0f, v.Length());
            EXPECT_TRUE(VectorNear(aboutUp, expected, tolerance));
            EXPECT_TRUE(VectorNear(aboutLongUp, expected, tolerance));
            EXPECT_NEAR(aboutUp.Length(), v.Length(), tolerance);
            RotateAboutXAxis(v, expectedX, angle);
            RotateVectorAboutAxis(v, aboutX, {2, 0, 0}, angle);
            EXPECT_TRUE(VectorNear(aboutX, expectedX, tolerance));
        }
    }
    CVector zero(1, 1, 1);
    RotateVectorAboutAxis({0, 0, 0}, zero, kUpVector, 1.0f);
    EXPECT_TRUE(zero.IsZero());
}

TEST(Rotation, EulerTurnsAboutXThenYThenZ) {
    CVector out;
    RotateEulerXYZ({0, 1, 0}, out, kQuarter, kQuarter, kQuarter);
    // y -> z about x, z -> x about y, x -> y about z.
    EXPECT_TRUE(VectorNear(out, {0, 1, 0}));
    RotateEulerXYZ({0, 0, 1}, out, kQuarter, kQuarter, kQuarter);
    // z -> -y about x, -y stays about y, -y -> x about z.
    EXPECT_TRUE(VectorNear(out, {1, 0, 0}));
}

TEST(Geometry, TriangleNormals) {
    struct Case {
        const char* name;
        CVector a, b, c;
        CVector normal, upward;
    };
    const std::vector<Case> cases = {
        {"ground, facing up", {0, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {0, 1, 0}},
        {"ground, facing down", {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}},
        {"wall", {0, 0, 0}, {0, 3, 0}, {2, 0, 0}, {0, 0, -1}, {0, 0, -1}},
        {"tiny component snapped", {0, 0, 0}, {0, 0, -1}, {-1, 1e-9f, 0}, {0, 1, 0}, {0, 1, 0}},
        {"collinear", {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0}, {0, 0, 0}},
        {"repeated point", {1, 2, 3}, {1, 2, 3}, {4, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CVector normal = TriangleNormal(c.a, c.b, c.c);
        EXPECT_TRUE(VectorNear(normal, c.normal, 1e-6f));
        EXPECT_EQ(normal.IsZero(), c.normal.IsZero());
        EXPECT_TRUE(VectorNear(UpwardTriangleNormal(c.a, c.b, c.c), c.upward, 1e-6f));
    }
    // Snapped, not merely small.
    EXPECT_EQ(TriangleNormal({0, 0, 0}, {0, 0, -1}, {-1, 1e-9f, 0}).x, 0.0f);
}

TEST(Geometry, OrientedNormalLiesInThePlanePointingAtTheFirstPoint) {
    struct Case {
        CVector a, b, c;
    };
    const std::vector<Case> cases = {
        {{0, 1, 0}, {0, 0, 0}, {1, 0, 0}},
        {{5, 0, 5}, {0, 0, 0}, {0, 0, 3}},
        {{-2, 7, 1}, {3, -1, 4}, {0, 2, -6}},
        {{1, 1, 1}, {3, 0, 0}, {0, 0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << c.b << c.c);
        const CVector n = OrientedNormal(c.a, c.b, c.c);
        const CVector edge = c.c - c.b;
        const CVector planeNormal = (c.b - c.a).Cross(c.c - c.a);
        EXPECT_NEAR(n.Dot(edge), 0.0f, 1e-4f);
        EXPECT_NEAR(n.Dot(planeNormal), 0.0f, 1e-4f);
        EXPECT_GT(n.Dot(c.a - c.b), 0.0f);
        EXPECT_NEAR(n.Length(), edge.Length(), 1e-4f);
    }
    EXPECT_TRUE(VectorNear(OrientedNormal({0, 1, 0}, {0, 0, 0}, {1, 0, 0}), {0, 1, 0}));
    EXPECT_TRUE(OrientedNormal({0, 0, 0}, {1, 1, 1}, {3, 3, 3}).IsZero());
}

TEST(Geometry, PlaneFromThreePointsKeepsTheirOrder) {
    CVector points[3] = {{0, 2, 0}, {1, 0, 0}, {0, 0, 1}};
    CVector normal, point;
    PlaneFromPoints(points, 3, normal, point, kUpVector);
    EXPECT_EQ(points[0], CVector(0, 2, 0));
    EXPECT_EQ(point, CVector(0, 0, 1));
    // The plane 2x + y + 2z = 2.
    EXPECT_TRUE(VectorNear(normal, {2.0f / 3, 1.0f / 3, 2.0f / 3}));
}

TEST(Geometry, PlaneFromMorePointsSortsThemAndUsesTheHighestThree) {
    CVector points[5] = {{0, 5, 0}, {9, -3, 9}, {1, 5, 0}, {0, 5, 1}, {4, 1, 4}};
    CVector normal, point;
    PlaneFromPoints(points, 5, normal, point, {1, 0, 0});
    for (int i = 1; i < 5; ++i)
        EXPECT_LE(points[i - 1].y, points[i].y);
    EXPECT_EQ(points[0], CVector(9, -3, 9));
    EXPECT_EQ(point.y, 5.0f);
    EXPECT_TRUE(VectorNear(normal, kUpVector));
}

TEST(Geometry, PlaneFromDegeneratePointsUsesTheDefaultNormal) {
    struct Case {
        const char* name;
        std::vector<CVector> points;
        CVector defaultNormal, normal, point;
    };
    const std::vector<Case> cases = {
        {"collinear", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {0, -2, 0}, {0, 1, 0}, {2, 2, 2}},
        {"two points", {{0, 0, 0}, {1, 3, 1}}, {3, 4, 0}, {0.6f, 0.8f, 0}, {1, 3, 1}},
        {"none", {}, {0, 1, 0}, {0, 1, 0}, {0, 0, 0}},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        CVector normal, point;
        PlaneFromPoints(c.points.data(), static_cast<int>(c.points.size()), normal, point, c.defaultNormal);
        EXPECT_TRUE(VectorNear(normal, c.normal));
        EXPECT_EQ(point, c.point);
    }
}

TEST(Geometry, PointOnOrAbovePlane) {
    // A ramp rising one unit per unit of x.
    const std::vector<CVector> ramp = {{0, 0, 0}, {1, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    struct Case {
        CVector p;
        bool above;
    };
    const std::vector<Case> cases = {
        {{0.5f, 0.6f, 0.5f}, true}, {{0.5f, 0.5f, 9}, true}, {{0.5f, 0.4f, 0.5f}, false},
        {{-3, -2, 0}, true},        {{-3, -4, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p);
        std::vector<CVector> points = ramp;
        EXPECT_EQ(IsPointOnOrAbovePlane(points.data(), 4, c.p), c.above);
    }
}

TEST(Geometry, TangentialComponentScaled) {
    struct Case {
        const char* name;
        CVector v, n;
        float k;
        CVector expected;
    };
    const std::vector<Case> cases = {
        {"removes the normal part", {3, -4, 2}, {0, 1, 0}, 0.0f, {3, 0, 2}},
        {"mirrors in the surface", {3, -4, 2}, {0, 1, 0}, 1.0f, {3, 4, 2}},
        {"half bounce", {0, -2, 0}, {0, 1, 0}, 0.5f, {0, 1, 0}},
        {"slanted surface", {1, 0, 0}, {0.6f, 0.8f, 0}, 0.0f, {0.64f, -0.48f, 0}},
        {"nothing along the normal gives zero", {5, 0, 1}, {0, 1, 0}, 1.0f, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(VectorNear(TangentialComponentScaled(c.v, c.n, c.k), c.expected));
    }
}

} // namespace
