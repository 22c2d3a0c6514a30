// What ground followers and shadows ask of the world registry: installed with the worlds, the grid's
// bounds, the race world's terrain and the surface values of the current theme.

#include "GroundDoubles.h"
#include "WorldDoubles.h"

#include "world/ShadowWorldLink.h"
#include "world/TopographyWorldLink.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

class TopographyWorldLink : public worldtest::WorldFixture {
protected:
    /// Race ground: a plate at 3 over the grid's west half, higher than the flat at 1 beside it.
    void BuildGround() {
        tree.AddMesh(groundtest::Plate(-110, -110, 0, 130, 3));
        tree.AddMesh(groundtest::Plate(0, -110, 130, 130, 1));
        ASSERT_TRUE(ground.Build(&tree.root));
    }
    groundtest::TerrainTree tree;
    CWorldTopography ground;
};

TEST_F(TopographyWorldLink, FollowersAskTheRegistryWhileTheWorldsExist) {
    EXPECT_EQ(CTopographyFollower::GetWorld(), nullptr);
    CreateWorlds();
    ITopographyWorld* world = CTopographyFollower::GetWorld();
    ASSERT_NE(world, nullptr);
    CVector minimum, maximum;
    world->GetGridBounds(minimum, maximum);
    EXPECT_EQ(minimum, CVector(-116, 0, -116));
    EXPECT_EQ(maximum, CVector(140, 0, 140));

    BuildGround();
    CTopographyFollower follower;
    CShadowWorldLink shadows;
    CGroundHint hint;
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kMainScreen));
    EXPECT_EQ(world->GetCurrentWorldId(), CWorldMan::kMainScreen);
    EXPECT_EQ(follower.GetGroundHeight(-50, 0, nullptr), 0.0f); // outside the race worlds: y = 0
    EXPECT_EQ(world->GetTopography(), nullptr);
    EXPECT_EQ(shadows.GetGroundHeight(-50, 0, hint), 0.0f);

    Race()->ground = &ground;
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
    EXPECT_EQ(world->GetTopography(), &ground);
    EXPECT_EQ(follower.GetGroundHeight(-50, 0, nullptr), 3.0f);
    EXPECT_EQ(follower.GetGroundHeight(50, 0, nullptr), 1.0f);
    EXPECT_EQ(follower.GetGroundHeight(150, 0, nullptr), CTopographyFollower::kOffWorld);
    // Shadows read the same ground and keep the triangle they stood on.
    EXPECT_EQ(shadows.GetGroundHeight(-50, 0, hint), 3.0f);
    EXPECT_NE(hint.Get(ground.GetGeneration()), nullptr);

    CWorldMan::DestroyWorlds();
    EXPECT_EQ(CTopographyFollower::GetWorld(), nullptr);
}

TEST_F(TopographyWorldLink, SurfaceValuesComeFromTheThemesSurfaceAsset) {
    CreateWorlds();
    ITopographyWorld& world = *CTopographyFollower::GetWorld();
    const float sideGrip[] = {1.0f, 0.4f, 0.8f, 1.0f}; // jungle, ice, desert, city
    for (int theme = 0; theme < 4; ++theme) {
        SCOPED_TRACE(theme);
        assets->SetWorld(theme, true);
        EXPECT_EQ(world.GetSurfaceParam(ITopographyWorld::kSurfaceSideGrip), sideGrip[theme]);
        EXPECT_EQ(world.GetSurfaceParam(ITopographyWorld::kSurfaceSlopePush), 1.0f);
    }
}

} // namespace
