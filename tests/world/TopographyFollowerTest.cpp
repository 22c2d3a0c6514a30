#include "world/TopographyFollower.h"

#include "GroundDoubles.h"

using namespace groundtest;

namespace {

/// A plate at y 2 over the 8 x 8 grid and a ramp rising along x beside it.
class Follower : public testing::Test {
protected:
    void SetUp() override {
        tree.AddMesh(Plate(-116, -116, 0, 140, 2));
        tree.AddMesh(Quad(0, -116, 140, 140, 2, 16, 2, 16));
        ASSERT_TRUE(topography.Build(&tree.root));
        world.topography = &topography;
    }

    TerrainTree tree;
    CWorldTopography topography;
    FakeTopographyWorld world;
    InstalledWorld installed{world};
    CTopographyFollower follower;
};

TEST_F(Follower, RaceWorldsAskTheTerrainAndOtherWorldsLieOnZero) {
    const CVector ramp = CVector(-0.1f, 1, 0).GetNormalised();
    const struct {
        int worldId;
        float height;
        CVector normal;
        int topographyCalls;
    } cases[] = {
        {1, 7.0f, ramp, 2},      {3, 7.0f, ramp, 2},       {0, 0.0f, kUpVector, 0},
        {2, 0.0f, kUpVector, 0}, {-1, 0.0f, kUpVector, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.worldId);
        world.worldId = c.worldId;
        world.topographyCalls = 0;
        CVector normal(9, 9, 9);
        EXPECT_NEAR(follower.GetGroundHeight(50, 10, &normal), c.height, 1e-4f);
        EXPECT_TRUE(VectorNear(normal, c.topographyCalls ? c.normal : CVector(9, 9, 9)));
        EXPECT_TRUE(VectorNear(follower.GetGroundNormal(50, 10), c.normal));
        EXPECT_EQ(world.topographyCalls, c.topographyCalls);
    }
}

TEST_F(Follower, TheGridBoundsThemselvesAreOffTheWorld) {
    const struct {
        float x, z, height;
    } cases[] = {
        {-116, 0, CTopographyFollower::kOffWorld},
        {140, 0, CTopographyFollower::kOffWorld},
        {-10, -116, CTopographyFollower::kOffWorld},
        {-10, 140, CTopographyFollower::kOffWorld},
        {-115.99f, 0, 2.0f},
        {-10, 139.99f, 2.0f},
        {500, 0, CTopographyFollower::kOffWorld},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z);
        CVector normal(9, 9, 9);
        EXPECT_EQ(follower.GetGroundHeight(c.x, c.z, &normal), c.height);
        if (c.height == CTopographyFollower::kOffWorld)
            EXPECT_EQ(normal, CVector(9, 9, 9));
    }
    // The normal has no bounds test: beyond the terrain grid the terrain answers up.
    EXPECT_EQ(follower.GetGroundNormal(500, 0), kUpVector);
}

TEST_F(Follower, RaceWorldWithoutTerrainOrNoWorldAnswersAsOutsideTheTerrain) {
    world.topography = nullptr;
    CVector normal(9, 9, 9);
    EXPECT_EQ(follower.GetGroundHeight(50, 10, &normal), 0.0f);
    EXPECT_EQ(normal, CVector(9, 9, 9));
    EXPECT_EQ(follower.GetGroundNormal(50, 10), kUpVector);
    EXPECT_EQ(follower.GetGroundHeight(500, 10, nullptr), CTopographyFollower::kOffWorld);

    CTopographyFollower::SetWorld(nullptr);
    EXPECT_EQ(follower.GetGroundHeight(500, 10, nullptr), 0.0f);
    EXPECT_EQ(follower.GetGroundNormal(50, 10), kUpVector);
}

} // namespace
