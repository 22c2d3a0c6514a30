#include "world/ContactNet.h"
#include "world/ContactNetEdgeIndex.h"

#include "GroundDoubles.h"

#include <cmath>
#include <utility>

using namespace groundtest;

namespace {

using Cell = std::pair<std::int32_t, std::int32_t>;

std::vector<Cell> Walk(std::uint32_t n) {
    CContactNetEdgeIndex walk(n);
    std::vector<Cell> cells;
    if (!walk.IsValid())
        return cells;
    do
        cells.emplace_back(walk.GetI(), walk.GetJ());
    while (walk.Next() && cells.size() < 1000);
    return cells;
}

TEST(ContactNetEdgeIndex, WalksTheBorderOnce) {
    EXPECT_EQ(Walk(2), (std::vector<Cell>{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(
        Walk(4),
        (std::vector<Cell>{
            {0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {2, 3}, {1, 3}, {0, 3}, {0, 2}, {0, 1}}));
    EXPECT_EQ(Walk(32).size(), 124u);
    EXPECT_TRUE(Walk(1).empty());
    EXPECT_TRUE(Walk(0).empty());
}

/// Ground at y -1 with raised parts at y 1, and a net at y 0 over it: a point over a raised part is
/// below ground (blocked).
class ContactNets : public testing::Test {
protected:
    /// Quads (x0, z0, x1, z1, raised) tiling the 8 x 8 grid.
    void BuildGround(std::initializer_list<std::array<float, 5>> quads) {
        TerrainTree tree;
        for (const auto& q : quads)
            tree.AddMesh(Plate(q[0], q[1], q[2], q[3], q[4] != 0 ? 1.0f : -1.0f));
        ASSERT_TRUE(topography.Build(&tree.root));
        world.topography = &topography;
        world.boundsCalls = 0;
    }

    CWorldTopography topography;
    FakeTopographyWorld world;
    InstalledWorld installed{world};
    CContactNet net;
};

TEST_F(ContactNets, RefusedSizesLeaveAnInvalidNet) {
    BuildGround({{-116, -116, 140, 140, 0}});
    // The size is an asset field: 1 has no border to walk, and a negative field arrives as a huge one.
    for (std::uint32_t n : {0u, 1u, 33u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(net.Init(n, -2, 2, -2, 2));
        EXPECT_FALSE(net.IsValid());
        EXPECT_EQ(net.GetSize(), 0u);
        CVector normal(9, 9, 9);
        EXPECT_FALSE(net.GetGroundEdgeNormal(normal, 1.0f));
        EXPECT_EQ(normal, CVector(9, 9, 9));
        EXPECT_EQ(net.GetPoint(0, 0), CVector());
        EXPECT_FALSE(net.IsPointClear(0, 0));
    }
    EXPECT_EQ(world.boundsCalls, 0);
    EXPECT_FALSE(net.InitFromContactPoints(4, nullptr, 0));
    EXPECT_TRUE(net.Init(32, -2, 2, -2, 2));
}

TEST_F(ContactNets, SpreadsOverTheContactPointsFootprintAndFollowsTheOwner) {
    FakeOwner owner;
    CContactPoint points[3];
    const CVector offsets[3] = {{-3, 0, 1}, {2, 5, -1}, {1, 0, 4}};
    for (int k = 0; k < 3; ++k) {
        CContactPointDesc desc = PointAt({}, owner, static_cast<std::uint32_t>(k));
        desc.localOffset = offsets[k];
        points[k].Init(desc);
    }
    const CContactPoint* list[3] = {&points[0], &points[1], &points[2]};
    ASSERT_TRUE(net.InitFromContactPoints(3, list, 3));
    net.Update(1.0f);
    EXPECT_EQ(net.GetPoint(0, 0), CVector(-3, 0, -1));
    EXPECT_EQ(net.GetPoint(2, 2), CVector(2, 0, 4));
    EXPECT_EQ(net.GetPoint(1, 2), CVector(-0.5f, 0, 4));
    // Turned a quarter (model x becomes world z) and moved.
    net.SetOrientation({0, 0, -1}, kUpVector);
    net.SetPosition({50, 3, 20});
    net.Update(1.0f);
    EXPECT_TRUE(VectorNear(net.GetPoint(0, 0), {51, 3, 17}));
    EXPECT_TRUE(VectorNear(net.GetPoint(2, 2), {46, 3, 22}));
}

TEST_F(ContactNets, NoNormalWhenAllOrNoneAreClear) {
    BuildGround({{-116, -116, 140, 140, 0}});
    ASSERT_TRUE(net.Init(4, -3, 3, -3, 3));
    CVector normal;
    EXPECT_FALSE(net.GetGroundEdgeNormal(normal, 1.0f)); // all clear
    net.SetPosition({0, -2, 0});
    EXPECT_FALSE(net.GetGroundEdgeNormal(normal, 1.0f)); // all below ground
    EXPECT_FALSE(net.IsPointClear(1, 1));
}

TEST_F(ContactNets, StepEdgeGivesThePlaneThroughTheCentreAndWhereTheClearRunMeetsTheGround) {
    // The ground steps up for world z > 22; the net, turned a quarter, sees it along its own +x.
    BuildGround({{-116, -116, 140, 22, 0}, {-116, 22, 140, 140, 1}});
    ASSERT_TRUE(net.Init(4, -3, 3, -3, 3));
    net.SetOrientation({0, 0, -1}, kUpVector);
    net.SetPosition({50, 0, 20});
    CVector normal;
    ASSERT_TRUE(net.GetGroundEdgeNormal(normal, 1.0f));
    EXPECT_TRUE(VectorNear(normal, {0, 0, -1}));
    EXPECT_EQ(world.boundsCalls, 12); // once per border point
}

TEST_F(ContactNets, OfEqualRunsTheFirstMetWins) {
    // Blocked: border points 2, 3 (x > 0, z < -2) and 8, 9 (x < 0, z > 2); runs 4..7 and 10..1.
    BuildGround({{-116, -116, 0, 2, 0}, {-116, 2, 0, 140, 1}, {0, -116, 140, -2, 1}, {0, -2, 140, 140, 0}});
    ASSERT_TRUE(net.Init(4, -3, 3, -3, 3));
    CVector normal;
    ASSERT_TRUE(net.GetGroundEdgeNormal(normal, 1.0f));
    EXPECT_TRUE(VectorNear(normal, CVector(-5, 0, -3) / std::sqrt(34.0f)));
}

TEST_F(ContactNets, OneBlockedPointLooksAgainWithALargerNet) {
    // Raised: the quadrant x > 0, z > 0, and everything beyond x 1.8.
    BuildGround(
        {{-116, -116, 0, 140, 0}, {0, -116, 1.8f, 0, 0}, {0, 0, 1.8f, 140, 1}, {1.8f, -116, 140, 140, 1}});
    const struct {
        const char* label;
        float maxX;
        int rebuilds;
        CVector normal;
    } cases[] = {
        // Corners at x = s: a second corner drops below ground at scale 2.0.
        {"another pattern at 2.0", 1.0f, 3, {1, 0, 0}},
        // Corners at x = 0.5 s never reach 1.8: tries 1.5, 2.0, 2.5 and 3.0, then takes the one point.
        {"the one point at 3.0", 0.5f, 5, CVector(-6, 0, -3.75f).GetNormalised()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ASSERT_TRUE(net.Init(2, -2, c.maxX, -2, 2));
        world.boundsCalls = 0;
        CVector normal;
        ASSERT_TRUE(net.GetGroundEdgeNormal(normal, 1.0f));
        EXPECT_EQ(world.boundsCalls, 4 * c.rebuilds);
        EXPECT_TRUE(VectorNear(normal, c.normal));
    }
}

TEST_F(ContactNets, AnUnchangedPoseKeepsTheCachedHeights) {
    BuildGround({{-116, -116, 140, 140, 0}});
    ASSERT_TRUE(net.Init(3, -3, 3, -3, 3));
    net.SetPosition({10, 0, 10});
    EXPECT_TRUE(net.IsPointClear(1, 1));
    EXPECT_EQ(world.boundsCalls, 1);
    net.SetPosition({10, 0, 10});
    net.SetOrientation(kDefaultDirection, kUpVector);
    EXPECT_TRUE(net.IsPointClear(1, 1));
    EXPECT_EQ(world.boundsCalls, 1);
    net.SetPosition({10, 0, 10.5f});
    EXPECT_TRUE(net.IsPointClear(1, 1));
    EXPECT_EQ(world.boundsCalls, 2);
}

} // namespace
