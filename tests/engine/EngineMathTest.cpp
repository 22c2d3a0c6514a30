#include "foundation/math/EngineMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zentrix;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

void ExpectVector(const float* actual, float x, float y, float z) {
    EXPECT_NEAR(actual[0], x, 1e-5f);
    EXPECT_NEAR(actual[1], y, 1e-5f);
    EXPECT_NEAR(actual[2], z, 1e-5f);
}

/// A rotation about the axis by the angle followed by a translation, as an affine matrix.
void RotationTranslation(float* m, const float* axis, float angle, float tx, float ty, float tz) {
    IdentityMatrix(m);
    const float ex[3] = {1, 0, 0}, ey[3] = {0, 1, 0}, ez[3] = {0, 0, 1};
    RotateAboutAxis(&m[0], ex, axis, angle);
    RotateAboutAxis(&m[4], ey, axis, angle);
    RotateAboutAxis(&m[8], ez, axis, angle);
    m[12] = tx;
    m[13] = ty;
    m[14] = tz;
}

TEST(EngineMath, RotateAboutAxisFollowsTheRightHandRule) {
    struct Case {
        float v[3];
        float axis[3];
        float angle;
        float expected[3];
    };
    const Case cases[] = {
        {{1, 0, 0}, {0, 0, 1}, kPi / 2, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, kPi / 2, {0, 0, 1}},
        {{0, 0, 1}, {0, 1, 0}, kPi / 2, {1, 0, 0}},
        {{1, 0, 0}, {0, 0, 1}, -kPi / 2, {0, -1, 0}},
        // Both inputs are normalised first.
        {{5, 0, 0}, {0, 0, 3}, kPi, {-1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle);
        float out[3];
        RotateAboutAxis(out, c.v, c.axis, c.angle);
        ExpectVector(out, c.expected[0], c.expected[1], c.expected[2]);
    }
}

TEST(EngineMath, CrossProductIsRightHandedAndMayAlias) {
    float x[3] = {1, 0, 0};
    const float y[3] = {0, 1, 0};
    CrossProduct(x, x, y);
    ExpectVector(x, 0, 0, 1);
}

TEST(EngineMath, NormaliseLeavesZeroVectorAndReturnsLength) {
    float zero[3] = {0, 0, 0};
    EXPECT_EQ(NormaliseVector(zero), 0.0f);
    ExpectVector(zero, 0, 0, 0);
    float v[3] = {3, 0, 4};
    EXPECT_FLOAT_EQ(NormaliseVector(v), 5.0f);
    ExpectVector(v, 0.6f, 0, 0.8f);
}

TEST(EngineMath, MultiplyMatrixPutsTheSecondArgumentFirst) {
    const float zAxis[3] = {0, 0, 1};
    float rotation[16];
    RotationTranslation(rotation, zAxis, kPi / 2, 0, 0, 0);
    float translation[16];
    IdentityMatrix(translation);
    translation[12] = 1.0f;

    const float p[3] = {1, 0, 0};
    float out[3];

    // a := b x a: translate first, then rotate.
    float a[16];
    CopyMatrix(rotation, a);
    MultiplyMatrix(a, translation);
    TransformPoint(a, p, out);
    ExpectVector(out, 0, 2, 0);

    // a := a x b: rotate first, then translate.
    CopyMatrix(rotation, a);
    PostMultiplyMatrix(a, translation);
    TransformPoint(a, p, out);
    ExpectVector(out, 1, 1, 0);
}

TEST(EngineMath, MultiplyMatrixIntoLeavesTheLastColumnAndMatrix4DoesNot) {
    float a[16], b[16];
    IdentityMatrix(a);
    IdentityMatrix(b);
    a[12] = 2.0f;
    b[3] = 0.5f; // a projective column
    float out[16];
    for (float& v : out)
        v = 7.0f;
    MultiplyMatrixInto(out, a, b);
    EXPECT_EQ(out[3], 7.0f);
    EXPECT_EQ(out[15], 7.0f);
    EXPECT_EQ(out[12], 2.0f);
    MultiplyMatrix4(out, a, b);
    EXPECT_FLOAT_EQ(out[15], 2.0f * 0.5f + 1.0f);
    EXPECT_FLOAT_EQ(out[3], 0.5f);
}

TEST(EngineMath, InvertMatrixThenInverseTransformUndoesTheTransform) {
    const float axis[3] = {1, 2, -0.5f};
    float m[16];
    RotationTranslation(m, axis, 0.7f, 3, -4, 5);
    const float p[3] = {1.5f, -2, 7};
    float moved[3];
    TransformPoint(m, p, moved);
    float inverse[16];
    ASSERT_TRUE(InvertMatrix(m, inverse));
    float back[3];
    InverseTransformPoint(inverse, moved, back);
    ExpectVector(back, p[0], p[1], p[2]);
}

TEST(EngineMath, InvertMatrixOfPureTranslationMapsItToTheOrigin) {
    float m[16];
    IdentityMatrix(m);
    m[12] = 4;
    m[13] = -3;
    m[14] = 9;
    float inverse[16];
    ASSERT_TRUE(InvertMatrix(m, inverse));
    float t[3] = {4, -3, 9};
    float out[3];
    InverseTransformPoint(inverse, t, out);
    ExpectVector(out, 0, 0, 0);
    // The point argument itself is moved by the translation.
    ExpectVector(t, 0, 0, 0);
}

TEST(EngineMath, InvertMatrixOfSingularMatrixGivesFalseAndIdentity) {
    float m[16];
    IdentityMatrix(m);
    m[4] = m[5] = m[6] = 0.0f; // a zero row
    float out[16];
    for (float& v : out)
        v = 9.0f;
    EXPECT_FALSE(InvertMatrix(m, out));
    float identity[16];
    IdentityMatrix(identity);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(out[i], identity[i]) << i;
}

TEST(EngineMath, ProjectPointDividesByW) {
    const float axis[3] = {0, 1, 0};
    float m[16];
    RotationTranslation(m, axis, 0.3f, 1, 2, 3);
    const float p[3] = {2, -1, 4};
    float projected[3], transformed[3];
    ProjectPoint(m, p, projected);
    TransformPoint(m, p, transformed);
    ExpectVector(projected, transformed[0], transformed[1], transformed[2]);

    m[11] = 1.0f; // w = z + 1
    m[15] = 1.0f;
    ProjectPoint(m, p, projected);
    const float w = p[0] * m[3] + p[1] * m[7] + p[2] * m[11] + m[15];
    ExpectVector(projected, transformed[0] / w, transformed[1] / w, transformed[2] / w);
}

TEST(EngineMath, AddAndSubtractReturnTheirFirstArgument) {
    const float a[3] = {1, 2, 3}, b[3] = {0.5f, -1, 2};
    float out[3];
    EXPECT_EQ(AddVectors(a, b, out), a);
    ExpectVector(out, 1.5f, 1, 5);
    EXPECT_EQ(SubtractVectors(a, b, out), a);
    ExpectVector(out, 0.5f, 3, 1);
}

} // namespace
