#include "foundation/math/Matrix.h"
#include "foundation/math/EngineMath.h"
#include "foundation/math/RandomNumbers.h"
#include "foundation/math/Rotation.h"
#include "foundation/math/VectorHelpers.h"

#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

using namespace zentrix;

namespace {

CMatrix Identity() {
    CMatrix m;
    m.SetIdentity();
    return m;
}

// An affine matrix: a rotation about y by angle, then a translation by t.
CMatrix TurnAndMove(float angle, CVector t) {
    CMatrix m = Identity();
    const float c = std::cos(angle), s = std::sin(angle);
    m.m[0] = c, m.m[2] = -s, m.m[8] = s, m.m[10] = c;
    m.m[12] = t.x, m.m[13] = t.y, m.m[14] = t.z;
    return m;
}

CVector Transform(const CMatrix& m, CVector p) {
    CVector out;
    CMatrix::TransformVector(m, p, out);
    return out;
}

TEST(Matrix, ProductOfIdentitiesLeavesTheLastElementZero) {
    const CMatrix product = Identity() * Identity();
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(product.m[i], i % 5 == 0 ? 1.0f : 0.0f) << "element " << i;
    EXPECT_EQ(product.m[15], 0.0f);
}

TEST(Matrix, ProductTurnsThisTranslationByTheOthersBasisAndDropsTheOthersTranslation) {
    const CMatrix a = TurnAndMove(0.0f, {1, 2, 3});
    const CMatrix b = TurnAndMove(static_cast<float>(M_PI / 2), {100, 200, 300});
    const CMatrix product = a * b;
    // (1, 2, 3) turned by a quarter turn about y: (x, z) -> (z, -x).
    EXPECT_TRUE(VectorNear({product.m[12], product.m[13], product.m[14]}, {3, 2, -1}));
    EXPECT_TRUE(VectorNear(Transform(product, {1, 0, 0}),
                           Transform(b, {1, 0, 0}) - CVector(100, 200, 300) + CVector(3, 2, -1)));
    for (int i : {3, 7, 11, 15})
        EXPECT_EQ(product.m[i], 0.0f);
}

TEST(Matrix, SetFromDirection) {
    CMatrix looking = Identity();
    looking.SetFromDirection({0, 0, -1}, kUpVector);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(looking.m[i], i % 5 == 0 ? 1.0f : 0.0f) << "element " << i;

    // A zero up leaves the side row at zero without dividing, and then the top row too.
    CMatrix noUp = TurnAndMove(0.0f, {7, 8, 9});
    noUp.SetFromDirection({0, 0, -2}, {0, 0, 0});
    const std::vector<float> expected = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 7, 8, 9, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(noUp.m[i], expected[i]) << "element " << i;
}

TEST(Matrix, AffineProductsApplyInTheStatedOrder) {
    const CMatrix turn = TurnAndMove(static_cast<float>(M_PI / 2), {0, 0, 0});
    const CMatrix move = TurnAndMove(0.0f, {5, 0, 0});
    const CVector p(1, 2, 3);

    CMatrix turnThenMove = turn;
    MultiplyMatrices(move.m, turnThenMove.m); // b = b x a
    EXPECT_TRUE(VectorNear(Transform(turnThenMove, p), Transform(move, Transform(turn, p))));

    CMatrix moveThenTurn = turn;
    AccumulateMatrix(move.m, moveThenTurn.m); // b = a x b
    EXPECT_TRUE(VectorNear(Transform(moveThenTurn, p), Transform(turn, Transform(move, p))));
    EXPECT_EQ(moveThenTurn.m[15], 1.0f);
}

TEST(Matrix, InverseFormUndoesTheTransformWithTheTranslationFirst) {
    const std::vector<CMatrix> matrices = {TurnAndMove(0.7f, {3, -2, 5}), TurnAndMove(0.0f, {1, 1, 1}),
                                           TurnAndMove(-2.0f, {0, 0, 0})};
    for (CMatrix m : matrices) {
        m.m[5] = 2.0f; // a scaled y axis as well
        CMatrix inverse;
        ASSERT_TRUE(InvertMatrixInto(inverse.m, m.m));
        const CVector p(0.5f, -4, 9);
        const CVector moved = Transform(m, p);
        CVector back;
        const CVector shifted = moved + CVector(inverse.m[12], inverse.m[13], inverse.m[14]);
        CMatrix basis = inverse;
        basis.m[12] = basis.m[13] = basis.m[14] = 0.0f;
        CMatrix::TransformVector(basis, shifted, back);
        EXPECT_TRUE(VectorNear(back, p, 1e-4f));
    }

    CMatrix singular = TurnAndMove(0.3f, {1, 2, 3});
    singular.m[4] = singular.m[5] = singular.m[6] = 0.0f;
    CMatrix out = TurnAndMove(1.0f, {4, 4, 4});
    EXPECT_FALSE(InvertMatrixInto(out.m, singular.m));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(out.m[i], i % 5 == 0 ? 1.0f : 0.0f) << "element " << i;
}

// The helpers are the engine's own routines: bit for bit the same results, on matrices that are not
// affine as well (a last column other than (0, 0, 0, 1) is ignored by both).
TEST(Matrix, HelpersGiveTheEnginesResultsToTheBit) {
    const auto randomMatrix = [] {
        std::array<float, 16> m;
        for (float& v : m)
            v = RandomFloatInRange(-1000.0f, 1000.0f);
        return m;
    };
    const auto same = [](const float* a, const float* b) {
        return std::memcmp(a, b, 16 * sizeof(float)) == 0;
    };
    // Products that cancel: the sum's order decides whether b's translation survives.
    std::array<float, 16> cancelling{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1e9f, 1e9f, 0, 1};
    std::array<float, 16> large{1e8f, 0, 0, 0, -1e8f, 1, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1};
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        const std::array<float, 16> a = round == 0 ? cancelling : randomMatrix();
        const std::array<float, 16> b = round == 0 ? large : randomMatrix();

        std::array<float, 16> helper = b, engine = b;
        MultiplyMatrices(a.data(), helper.data()); // b = b x a
        PostMultiplyMatrix(engine.data(), a.data());
        EXPECT_TRUE(same(helper.data(), engine.data()));

        helper = b, engine = b;
        AccumulateMatrix(a.data(), helper.data()); // b = a x b
        MultiplyMatrix(engine.data(), a.data());
        EXPECT_TRUE(same(helper.data(), engine.data()));

        std::array<float, 16> inverse, engineInverse;
        EXPECT_EQ(InvertMatrixInto(inverse.data(), a.data()), InvertMatrix(a.data(), engineInverse.data()));
        EXPECT_TRUE(same(inverse.data(), engineInverse.data()));

        SetIdentityMatrix(helper.data());
        IdentityMatrix(engine.data());
        EXPECT_TRUE(same(helper.data(), engine.data()));

        const CVector p(a[0], a[1], a[2]);
        CVector moved;
        TransformByMatrix(p, moved, b.data());
        float point[3] = {p.x, p.y, p.z}, engineMoved[3];
        TransformPoint(b.data(), point, engineMoved);
        EXPECT_TRUE(moved.x == engineMoved[0] && moved.y == engineMoved[1] && moved.z == engineMoved[2]);
        EXPECT_EQ(VectorDotProduct(p, moved), DotProduct(point, engineMoved));
    }
}

} // namespace
