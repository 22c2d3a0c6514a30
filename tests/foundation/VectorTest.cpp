#include "foundation/math/Vector.h"

#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zentrix;

namespace {

TEST(Vector, ExactZeroAndEqualityTreatNegativeZeroAsZeroButNotTinyValues) {
    struct Case {
        const char* name;
        CVector v;
        bool zero;
    };
    const std::vector<Case> cases = {
        {"zero", {0.0f, 0.0f, 0.0f}, true},
        {"negative zero", {-0.0f, -0.0f, -0.0f}, true},
        {"1e-30 in x", {1e-30f, 0.0f, 0.0f}, false},
        {"1e-30 in z", {0.0f, 0.0f, -1e-30f}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.v.IsZero(), c.zero);
        EXPECT_EQ(c.v == CVector(), c.zero);
        CVector replaced = c.v;
        replaced.DefaultIfZero(kUpVector);
        EXPECT_EQ(replaced == kUpVector, c.zero);
    }
}

TEST(Vector, DivisionOperatorMultipliesByTheReciprocal) {
    // 5 / 3 and 5 * (1 / 3) round differently in single precision.
    CVector v(5.0f, 7.0f, 10.0f);
    const CVector quotient = v / 3.0f;
    v /= 3.0f;
    EXPECT_EQ(v.x, 5.0f / 3.0f);
    EXPECT_NE(quotient.x, v.x);
    EXPECT_NE(quotient.y, v.y);
    EXPECT_TRUE(VectorNear(quotient, v, 1e-6f));
}

TEST(Vector, NormalisingZero) {
    CVector plain;
    plain.Normalise();
    EXPECT_TRUE(std::isnan(plain.x));

    CVector safe;
    safe.SafeNormalise();
    EXPECT_TRUE(safe.IsZero());

    CVector sized;
    sized.SetLength(5.0f);
    EXPECT_TRUE(sized.IsZero());
}

TEST(Vector, LengthsAndNormalising) {
    CVector v(3.0f, 4.0f, 0.0f);
    EXPECT_EQ(v.Length(), 5.0f);
    EXPECT_TRUE(VectorNear(v.GetNormalised(), {0.6f, 0.8f, 0.0f}));
    EXPECT_EQ(v, CVector(3.0f, 4.0f, 0.0f));
    v.SetLength(10.0f);
    EXPECT_TRUE(VectorNear(v, {6.0f, 8.0f, 0.0f}));
    // Squares of tiny components must not vanish before the root.
    CVector tiny(1e-30f, 0.0f, 0.0f);
    tiny.SafeNormalise();
    EXPECT_EQ(tiny, CVector(1.0f, 0.0f, 0.0f));
}

TEST(Vector, SetYOnPlane) {
    struct Case {
        const char* name;
        CVector point, q, n;
        bool ok;
        float y;
    };
    const std::vector<Case> cases = {
        {"flat plane", {5, 9, -3}, {0, 2, 0}, {0, 1, 0}, true, 2.0f},
        {"slope rising along x", {4, 0, 7}, {0, 1, 0}, {-1, 1, 0}, true, 5.0f},
        {"slope rising along -z", {0, 0, 3}, {0, 0, 0}, {0, 2, 1}, true, -1.5f},
        {"vertical plane", {1, 8, 1}, {0, 0, 0}, {1, 0, 0}, false, 8.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVector p = c.point;
        EXPECT_EQ(p.SetYOnPlane(c.q, c.n), c.ok);
        EXPECT_FLOAT_EQ(p.y, c.y);
        EXPECT_EQ(p.x, c.point.x);
        EXPECT_EQ(p.z, c.point.z);
    }
}

TEST(Vector, ProjectToHeightFollowsTheDirection) {
    struct Case {
        CVector dir, from;
        float h;
        CVector expected;
    };
    const std::vector<Case> cases = {
        {{1, -1, 0}, {0, 10, 0}, 0.0f, {10, 0, 0}},
        {{1, -2, 3}, {1, 4, 2}, 0.0f, {3, 0, 8}},
        {{0, 1, 0}, {2, -1, 3}, 5.0f, {2, 5, 3}},
        {{-2, 4, 1}, {0, 0, 0}, 2.0f, {-1, 2, 0.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dir << " from " << c.from);
        EXPECT_TRUE(VectorNear(c.dir.ProjectToHeight(c.from, c.h), c.expected));
    }
}

TEST(Vector, TransformBetweenFramesTakesTheModelFrameOntoAnother) {
    struct Frame {
        CVector dir, up;
    };
    const std::vector<Frame> frames = {
        {kDefaultDirection, kUpVector},      {{0, 0, -1}, kUpVector},      {{1, 0, 0}, kUpVector},
        {{0, 0.6f, -0.8f}, {0, 0.8f, 0.6f}}, {{0.6f, 0, 0.8f}, kUpVector}, {{0, -1, 0}, {1, 0, 0}},
    };
    for (const Frame& b : frames) {
        SCOPED_TRACE(testing::Message() << "to " << b.dir << " up " << b.up);
        CVector dir = kDefaultDirection, up = kUpVector, side(0, 0, 1);
        for (CVector* v : {&dir, &up, &side})
            v->TransformBetweenFrames(kDefaultDirection, kUpVector, b.dir, b.up);
        EXPECT_TRUE(VectorNear(dir, b.dir));
        EXPECT_TRUE(VectorNear(up, b.up));
        EXPECT_TRUE(VectorNear(side, b.up.Cross(b.dir)));
    }
}

} // namespace
