#include "world/WorldTopography.h"

#include "GroundDoubles.h"
#include "engine/Texture.h"

#include <cmath>
#include <limits>

using namespace groundtest;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

CVector Unit(CVector v) {
    v.Normalise();
    return v;
}

/// Flat plate, ramp, step, a bridge over a road, and a hole, over x 0..200 and z 0..100 (9 x 5 cells):
/// - plate [0, 50] x [0, 50] at y 2, across the cell borders at 25;
/// - ramp [50, 100] x [0, 50] from y 2 to 12 along x, a mesh placed at x 50;
/// - step [100, 150] x [0, 25] at y 12, x [25, 50] at y 15, its edge on a cell border;
/// - road [150, 200] x [0, 100] at y 0 with a deck [165, 185] x [0, 100] at y 10 above it;
/// - nothing over [0, 150] x [50, 100]: a hole in the grid.
class GeneratedTerrain : public testing::Test {
protected:
    void SetUp() override {
        tree.AddMesh(Plate(0, 0, 50, 50, 2));
        tree.AddMesh(Quad(0, 0, 50, 50, 2, 12, 2, 12), nullptr, {50, 0, 0});
        tree.AddMesh(Plate(100, 0, 150, 25, 12));
        tree.AddMesh(Plate(100, 25, 150, 50, 15));
        tree.AddMesh(Plate(150, 0, 200, 100, 0));
        tree.AddMesh(Plate(165, 0, 185, 100, 10));
        ASSERT_TRUE(topography.Build(&tree.root));
    }

    TerrainTree tree;
    CWorldTopography topography;
};

TEST_F(GeneratedTerrain, GridCoversTheMeshes) {
    EXPECT_EQ(topography.GetCountX(), 9u);
    EXPECT_EQ(topography.GetCountZ(), 5u);
    EXPECT_EQ(topography.GetOriginX(), 0.0f);
    EXPECT_EQ(topography.GetOriginZ(), 0.0f);
    EXPECT_EQ(topography.GetCellSizeX(), 25.0f);
}

TEST_F(GeneratedTerrain, HeightsAndNormals) {
    const CVector rampNormal = Unit({-0.2f, 1.0f, 0.0f});
    const struct {
        const char* label;
        float x, z, height;
        CVector normal;
    } cases[] = {
        {"plate", 10, 10, 2, kUpVector},
        {"plate on a cell corner", 25, 25, 2, kUpVector},
        {"plate just before a cell border", 24.999f, 30, 2, kUpVector},
        {"plate/ramp seam belongs to the ramp", 50, 10, 2, rampNormal},
        {"ramp", 75, 10, 7, rampNormal},
        {"ramp either side of a cell border", 74.99f, 40, 6.998f, rampNormal},
        {"ramp either side of a cell border", 75.01f, 40, 7.002f, rampNormal},
        {"lower step", 125, 10, 12, kUpVector},
        {"upper step", 125, 40, 15, kUpVector},
        {"step edge belongs to the upper step", 125, 25, 15, kUpVector},
        {"road", 155, 50, 0, kUpVector},
        {"deck over the road", 175, 50, 10, kUpVector},
        {"hole", 25, 75, CWorldTopography::kNoGround, kUpVector},
        {"in the grid beyond the meshes", 224.99f, 50, CWorldTopography::kNoGround, kUpVector},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.label << " at " << c.x << ", " << c.z);
        CGroundHint hint;
        CVector normal(9, 9, 9);
        EXPECT_NEAR(topography.GetHeight(c.x, c.z, &hint, &normal), c.height, 1e-3f);
        EXPECT_TRUE(VectorNear(normal, c.normal));
        EXPECT_NEAR(topography.GetHeight(c.x, c.z, nullptr, nullptr), c.height, 1e-3f);
        // Without a hint the normal comes from the highest triangle above 0, else it is up.
        CGroundHint fresh;
        EXPECT_TRUE(VectorNear(topography.GetNormal(c.x, c.z, fresh), c.height > 0 ? c.normal : kUpVector));
    }
}

TEST_F(GeneratedTerrain, OffTheGridAnswersZeroAndKeepsHintAndNormal) {
    CGroundHint hint;
    topography.GetHeight(10, 10, &hint, nullptr);
    const TerrainTriangle* held = hint.Get(topography.GetGeneration());
    ASSERT_NE(held, nullptr);
    const struct {
        float x, z;
    } outside[] = {{225, 50}, {-0.01f, 10}, {10, 125}, {10, -0.01f}, {kNaN, 10}, {10, kNaN}};
    for (const auto& p : outside) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.z);
        CVector normal(9, 9, 9);
        EXPECT_EQ(topography.GetHeight(p.x, p.z, &hint, &normal), CWorldTopography::kOffGrid);
        EXPECT_EQ(normal, CVector(9, 9, 9));
        EXPECT_EQ(hint.Get(topography.GetGeneration()), held);
        EXPECT_EQ(topography.GetNormal(p.x, p.z, hint), kUpVector);
        EXPECT_EQ(hint.Get(topography.GetGeneration()), held);
    }
}

TEST_F(GeneratedTerrain, HintAnswersAloneWhileThePointIsInsideIt) {
    CGroundHint hint;
    EXPECT_EQ(topography.GetHeight(155, 50, &hint, nullptr), 0.0f); // the road's first triangle
    // Under the deck, still inside the road triangle the hint holds: the road answers.
    EXPECT_EQ(topography.GetHeight(170, 50, &hint, nullptr), 0.0f);
    EXPECT_EQ(topography.GetNormal(170, 50, hint), kUpVector);
    // Beyond that triangle the hint no longer holds the point: the deck above wins and is held.
    EXPECT_EQ(topography.GetHeight(180, 60, &hint, nullptr), 10.0f);
    EXPECT_EQ(topography.GetHeight(170, 50, &hint, nullptr), 10.0f);
    // Over the hole the hint becomes null.
    EXPECT_EQ(topography.GetHeight(25, 75, &hint, nullptr), CWorldTopography::kNoGround);
    EXPECT_EQ(hint.Get(topography.GetGeneration()), nullptr);
}

TEST_F(GeneratedTerrain, HintsOfAnEarlierBuildAreNotFollowed) {
    CGroundHint hint;
    EXPECT_EQ(topography.GetHeight(10, 10, &hint, nullptr), 2.0f);
    TerrainTree raised;
    raised.AddMesh(Plate(0, 0, 50, 50, 5));
    ASSERT_TRUE(topography.Build(&raised.root)); // frees the records the hint named
    EXPECT_EQ(hint.Get(topography.GetGeneration()), nullptr);
    EXPECT_EQ(topography.GetHeight(10, 10, &hint, nullptr), 5.0f);
    // Nor is a hint made by another lookup.
    CWorldTopography other;
    ASSERT_TRUE(other.Build(&tree.root));
    EXPECT_EQ(other.GetHeight(10, 10, &hint, nullptr), 2.0f);
}

TEST(WorldTopography, RejectedTriangles) {
    const CVector c0(0, 0, 0), c1(0, 0, 1), c2(1, 0, 0); // faces up
    const struct {
        const char* label;
        TriangleCorners t;
        bool rejected;
    } cases[] = {
        {"faces up", {c0, c1, c2}, false},
        {"reversed winding", {c0, c2, c1}, true},
        {"corner at 50.0", {CVector(0, 50, 0), c1, c2}, false},
        {"corner at 50.01", {CVector(0, 50.01f, 0), c1, c2}, true},
        {"vertical wall", {c0, CVector(0, 1, 0), c2}, true},
        {"steep", {c0, CVector(0, 5, 0.01f), c2}, true},
        {"tiny", {c0, CVector(0, 0, 0.3f), CVector(0.3f, 0, 0)}, true},
        {"all in one point", {c0, c0, c0}, true},
        {"NaN corner", {CVector(kNaN, 0, 0), c1, c2}, true},
        {"infinite corner", {CVector(0, 0, -std::numeric_limits<float>::infinity()), c1, c2}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CTerrainMapper::IsRejectedTriangle(c.t), c.rejected);
    }
}

TEST(WorldTopography, MarkedTexturesAndHiddenMeshesAreNoGround) {
    TerrainTree tree;
    CTexture wallPaper, road;
    tree.AddMesh(Plate(0, 0, 25, 25, 1), &road);
    tree.AddMesh(Plate(25, 0, 50, 25, 1), &wallPaper);
    tree.AddMesh(Plate(0, 0, 300, 25, 3)).SetHidden(false, false);
    CWorldTopography topography;
    ASSERT_TRUE(topography.Build(&tree.root, [&](const CTexture* t) { return t == &wallPaper; }));
    EXPECT_EQ(topography.GetCountX(), 13u); // the hidden mesh counts in the bounds only
    EXPECT_EQ(topography.GetHeight(10, 10, nullptr, nullptr), 1.0f);
    EXPECT_EQ(topography.GetHeight(30, 10, nullptr, nullptr), CWorldTopography::kNoGround);
    EXPECT_EQ(topography.GetHeight(200, 10, nullptr, nullptr), CWorldTopography::kNoGround);
}

TEST(WorldTopography, GroundBelowZeroHasHeightButNoNormal) {
    TerrainTree tree;
    tree.AddMesh(Quad(0, 0, 50, 50, -3, -2, -3, -2));
    CWorldTopography topography;
    ASSERT_TRUE(topography.Build(&tree.root));
    CGroundHint hint;
    CVector normal;
    EXPECT_NEAR(topography.GetHeight(0.5f, 10, &hint, &normal), -2.99f, 1e-4f);
    EXPECT_TRUE(VectorNear(normal, Unit({-0.02f, 1, 0})));
    CGroundHint none;
    EXPECT_EQ(topography.GetNormal(0.5f, 10, none), kUpVector);
    EXPECT_EQ(none.Get(topography.GetGeneration()), nullptr);
    EXPECT_EQ(topography.FindHighestTriangle(0.5f, 10), nullptr);
}

TEST(WorldTopography, MeshesAtNegativeCoordinatesStillCoverTheOrigin) {
    TerrainTree tree;
    tree.AddMesh(Plate(-100, -100, -50, -50, 1));
    CWorldTopography topography;
    ASSERT_TRUE(topography.Build(&tree.root));
    EXPECT_EQ(topography.GetOriginX(), -100.0f);
    EXPECT_EQ(topography.GetCountX(), 5u);
    EXPECT_EQ(topography.GetHeight(-75, -75, nullptr, nullptr), 1.0f);
    EXPECT_EQ(topography.GetHeight(0, 0, nullptr, nullptr), CWorldTopography::kNoGround);
    EXPECT_EQ(topography.GetHeight(25, 0, nullptr, nullptr), CWorldTopography::kOffGrid);
}

TEST(WorldTopography, PointsOnSharedEdgesLieInExactlyOneTriangle) {
    // Two quads side by side: their four triangles tile [0, 50] x [0, 25].
    std::vector<TriangleCorners> quads = Plate(0, 0, 25, 25, 0);
    const std::vector<TriangleCorners> right = Plate(25, 0, 50, 25, 0);
    quads.insert(quads.end(), right.begin(), right.end());
    std::vector<TerrainTriangle> triangles(quads.size());
    for (std::size_t i = 0; i < quads.size(); ++i)
        triangles[i].corners = quads[i];
    const struct {
        float x, z;
    } points[] = {{10, 15},       {12.5f, 12.5f}, {25, 10}, {25, 0},
                  {37.5f, 12.5f}, {0, 10},        {10, 0},  {1e-6f, 1e-6f}};
    for (const auto& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.z);
        int inside = 0;
        for (const TerrainTriangle& t : triangles)
            inside += CTerrainMapper::IsInsideTriangle(p.x, p.z, t) ? 1 : 0;
        EXPECT_EQ(inside, 1);
    }
}

TEST(WorldTopography, EmptyLookupAnswersAsOutsideEverywhere) {
    CWorldTopography empty;
    TerrainTree wide;
    wide.AddMesh(Plate(0, 0, 30000, 25, 1)); // more than the grid holds: refused
    CWorldTopography refused;
    EXPECT_FALSE(refused.Build(&wide.root));
    for (const CWorldTopography* t : {&empty, &refused}) {
        EXPECT_EQ(t->GetCountX(), 0u);
        for (float x : {0.0f, 10.0f, -10.0f, 20000.0f}) {
            SCOPED_TRACE(x);
            CGroundHint hint;
            CVector normal(9, 9, 9);
            EXPECT_EQ(t->GetHeight(x, 0, &hint, &normal), CWorldTopography::kOffGrid);
            EXPECT_EQ(normal, CVector(9, 9, 9));
            EXPECT_EQ(t->GetNormal(x, 0, hint), kUpVector);
            EXPECT_EQ(t->XToCell(x), CTerrainMapper::kNoCell);
        }
    }
}

TEST(WorldTopography, BrokenVerticesAndTrianglesBeyondTheGrid) {
    // A vertex that is not finite widens nothing and its triangle is dropped; the rest is ground.
    TerrainTree tree;
    std::vector<TriangleCorners> faces = Plate(0, 0, 50, 50, 1);
    faces.push_back({CVector(0, 0, 0), CVector(kNaN, 0, 1e9f), CVector(1, 0, 0)});
    faces.push_back(
        {CVector(0, 0, 0), CVector(0, 0, std::numeric_limits<float>::infinity()), CVector(1, 0, 0)});
    tree.AddMesh(faces);
    CWorldTopography topography;
    EXPECT_TRUE(topography.Build(&tree.root));
    EXPECT_EQ(topography.GetCountZ(), 3u);
    EXPECT_EQ(topography.GetHeight(10, 10, nullptr, nullptr), 1.0f);

    // Triangles offered to a grid they overhang are clipped to it; one wholly off it is not stored.
    CWorldTopography small;
    ASSERT_TRUE(small.Init(25, 25, 2, 2, 0, 0));
    const std::vector<TriangleCorners> overhang = Plate(-40, 10, 45, 90, 4);
    EXPECT_FALSE(small.AddTriangles(overhang.data(), overhang.size()));
    EXPECT_EQ(small.GetRecordCount(), 8u); // both triangles' extents cover all four cells
    EXPECT_EQ(small.GetHeight(30, 30, nullptr, nullptr), 4.0f);
    const std::vector<TriangleCorners> away = Plate(60, 60, 90, 90, 4);
    EXPECT_FALSE(small.AddTriangles(away.data(), away.size()));
    EXPECT_EQ(small.GetRecordCount(), 8u);
}

} // namespace
