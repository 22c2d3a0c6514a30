#include "world/ContactPoint.h"
#include "world/WheelContactPoint.h"

#include "GroundDoubles.h"

#include <cmath>
#include <numbers>
#include <type_traits>

using namespace groundtest;

namespace {

constexpr std::uint32_t kTick = 40; // ms: a step of dt = 1.6
constexpr float kDt = 1.6f;

/// The race world over flat ground at y 0 (the 8 x 8 grid), a ledge at y `ledge` over x < 25, and a
/// ramp rising along +x over x 60..140; an owner whose points are the ones the test makes.
class ContactPoints : public testing::Test {
protected:
    void BuildGround(float ledge) {
        TerrainTree tree;
        tree.AddMesh(Plate(-116, -116, 25, 140, ledge));
        tree.AddMesh(Plate(25, -116, 60, 140, 0));
        tree.AddMesh(Quad(60, -116, 140, 140, 0, 8, 0, 8));
        ASSERT_TRUE(topography.Build(&tree.root));
        world.topography = &topography;
    }
    void SetUp() override { BuildGround(0.0f); }

    /// A point of the owner at `at`, on the ground.
    template <typename Point = CContactPoint> std::unique_ptr<Point> MakePoint(CVector at) {
        auto point = std::make_unique<Point>();
        const CContactPointDesc desc = PointAt(at, owner, static_cast<std::uint32_t>(owner.points.size()));
        if constexpr (std::is_same_v<Point, CWheelContactPoint>)
            point->Init(desc, std::numbers::pi_v<float> / 12);
        else
            point->Init(desc);
        owner.points.push_back(point.get());
        return point;
    }

    CWorldTopography topography;
    FakeTopographyWorld world;
    InstalledWorld installed{world};
    FakeOwner owner;
};

TEST_F(ContactPoints, RestsOnFlatGroundUnderItsConstantForce) {
    auto point = MakePoint({40, 0, 10});
    for (int i = 0; i < 20; ++i)
        point->Update(kTick);
    EXPECT_EQ(point->GetPosition(), CVector(40, 0, 10));
    EXPECT_EQ(point->GetVelocity(), CVector());
    EXPECT_TRUE(point->IsOnGround());
    // The constant force was the last force; the sum is cleared after each step.
    EXPECT_EQ(point->GetLastForce(), CVector(0, -0.16f, 0));
    EXPECT_EQ(point->GetForce(), CVector());
}

TEST_F(ContactPoints, FrictionStopsSlowPointsAndHasConstantSize) {
    const struct {
        float speed, after;
    } cases[] = {
        {0.049f, 0.0f},               // below 0.05: stopped at once
        {0.05f, 0.05f - 0.02f * kDt}, // friction 0.02 over 1.6 step units
        {1.0f, 1.0f - 0.02f * kDt},   // the same loss whatever the speed
        {-1.0f, -1.0f + 0.02f * kDt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        owner.points.clear();
        auto point = MakePoint({40, 0, 10});
        point->SetVelocity({c.speed, 0, 0});
        point->Update(kTick);
        EXPECT_NEAR(point->GetVelocity().x, c.after, 1e-6f);
        EXPECT_EQ(point->GetVelocity().z, 0.0f);
        EXPECT_EQ(point->GetVelocity().y, 0.0f);
    }
}

TEST_F(ContactPoints, APushedPointComesToRest) {
    auto point = MakePoint({40, 0, 10});
    point->SetVelocity({0.5f, 0, 0.3f});
    int steps = 0;
    while (!point->GetVelocity().IsZero() && steps < 100) {
        point->Update(kTick);
        ++steps;
    }
    EXPECT_LT(steps, 20);
    const CVector rest = point->GetPosition();
    EXPECT_GT(rest.x, 40.5f);
    EXPECT_GT(rest.z, 10.3f);
    EXPECT_NEAR(rest.x - 40, (rest.z - 10) * 5 / 3, 1e-3f); // straight along its push
    for (int i = 0; i < 5; ++i)
        point->Update(kTick);
    EXPECT_EQ(point->GetPosition(), rest);
}

TEST_F(ContactPoints, SlopePushOnlyWhileTheOwnerIsSlow) {
    world.surface[ITopographyWorld::kSurfaceSlopePush] = 0.5f;
    const CVector normal = CVector(-0.1f, 1, 0).GetNormalised();
    const struct {
        float speed;
        bool pushed;
    } cases[] = {{0.0f, true}, {1.0f, true}, {1.001f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        owner.points.clear();
        auto point = MakePoint({100, 4, 0});
        point->SetVelocity({0, 0, c.speed});
        point->ApplyGroundForce(normal);
        EXPECT_TRUE(VectorNear(point->GetForce(), c.pushed ? CVector(normal.x * 0.5f, 0, 0) : CVector()));
    }
    // Left alone on the ramp, a point creeps downhill and stays on the ground.
    owner.points.clear();
    auto point = MakePoint({100, 4, 0});
    for (int i = 0; i < 10; ++i)
        point->Update(kTick);
    EXPECT_LT(point->GetPosition().x, 100.0f);
    EXPECT_TRUE(point->IsOnGround());
    EXPECT_NEAR(point->GetPosition().y, point->GetPosition().x * 0.1f - 6.0f, 1e-4f);
    EXPECT_TRUE(VectorNear(point->GetLastGroundNormal(), normal));
}

TEST_F(ContactPoints, LeavingTheGroundHighAboveItKicksUpByTheGroundedShare) {
    const struct {
        float ledge;
        std::uint32_t ms;
        bool grounded;
        float vy;
    } cases[] = {
        {1.2f, 10, false, 0.55f * 2 / 3}, // 1.19 above the ground: two of three points still grounded
        {0.8f, 10, false, 0.0f},          // less than 1.0 above
        {1.2f, 40, true, 0.0f},           // within 1.0 x dt (1.6) of the ground: it sticks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ledge);
        BuildGround(c.ledge);
        owner.points.clear();
        auto edge = MakePoint({24.95f, c.ledge, 0});
        auto rest1 = MakePoint({40, 0, 0});
        auto rest2 = MakePoint({40, 0, 5});
        edge->SetVelocity({0.5f, 0, 0});
        rest1->Update(c.ms);
        rest2->Update(c.ms);
        edge->Update(c.ms);
        EXPECT_GT(edge->GetPosition().x, 25.0f);
        EXPECT_EQ(edge->IsOnGround(), c.grounded);
        EXPECT_TRUE(edge->WasOnGround());
        EXPECT_NEAR(edge->GetVelocity().y, c.vy, 1e-6f);
        EXPECT_EQ(edge->GetPosition().y, c.grounded ? 0.0f : edge->GetPosition().y);
    }
}

TEST_F(ContactPoints, UnchangedXAndZReuseTheCachedHeight) {
    auto point = MakePoint({40, 0, 10});
    world.boundsCalls = 0;
    point->Update(kTick); // the first test always asks the terrain
    EXPECT_EQ(world.boundsCalls, 1);
    for (int i = 0; i < 5; ++i)
        point->Update(kTick);
    EXPECT_EQ(world.boundsCalls, 1);
    point->SetPosition(40, -2, 10); // a new height but the same x and z
    point->Update(kTick);
    EXPECT_EQ(world.boundsCalls, 1);
    EXPECT_EQ(point->GetPosition().y, 0.0f);
    point->SetVelocity({1, 0, 0});
    point->Update(kTick);
    EXPECT_EQ(world.boundsCalls, 2);
}

TEST_F(ContactPoints, AnOwnerSunkIntoTheGroundRestsItsPointsThatFarDown) {
    auto point = MakePoint({40, 0, 10});
    // One point in turn: the terrain's height stays cached while the sink changes.
    const struct {
        float sink, from, rests;
    } rows[] = {{0.0f, -2.0f, 0.0f},
                {1.5f, -2.0f, -1.5f},
                {1.5f, -1.5f, -1.5f},
                {3.9f, -1.5f, -3.9f},
                {0.0f, -3.9f, 0.0f}};
    for (const auto& row : rows) {
        owner.sink = row.sink;
        point->SetPosition(40, row.from, 10);
        for (int i = 0; i < 5; ++i)
            point->Update(kTick);
        EXPECT_EQ(point->GetPosition().y, row.rests) << row.sink << " " << row.from;
        EXPECT_TRUE(point->IsOnGround());
    }
}

TEST_F(ContactPoints, SteppingOffTheGridLiftsThePointToTheOffWorldHeight) {
    auto point = MakePoint({139.9f, 8, 0});
    point->SetVelocity({1, 0, 0});
    point->Update(kTick);
    EXPECT_GT(point->GetPosition().x, 140.0f);
    EXPECT_TRUE(point->IsOnGround());
    EXPECT_EQ(point->GetPosition().y, CTopographyFollower::kOffWorld);
}

TEST_F(ContactPoints, TouchedObjectsTakeTheForceThatPushesIntoThem) {
    owner.hasObjectContact = true;
    owner.objectContact = {1, 0, 0}; // from the touched object toward the owner
    owner.otherTrackContact = {1, 0, 0};
    const struct {
        const char* label;
        CVector push;
        bool otherHeld;
        CVector otherContact;
        CVector velocity;
    } cases[] = {
        {"into the object: removed", {-0.5f, 0, 0.2f}, false, {}, {0, 0, 0.2f * kDt}},
        {"away from it: kept", {0.5f, 0, 0.2f}, false, {}, {0.5f * kDt, 0, 0.2f * kDt}},
        {"the object held the same way: stopped", {0.5f, 0, 0.2f}, true, {1, 0, 0}, {}},
        {"the object held facing across: stopped", {0.5f, 0, 0.2f}, true, {0, 0, 1}, {}},
        {"the object held facing back: kept", {0.5f, 0, 0.2f}, true, {-1, 0, 0}, {0.5f * kDt, 0, 0.2f * kDt}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        owner.points.clear();
        owner.otherHasTrackContact = c.otherHeld;
        owner.otherTrackContact = c.otherContact;
        auto point = MakePoint({40, 0, 10});
        point->ApplyForce(CForce(c.push, CForce::kDrive));
        point->Update(kTick);
        EXPECT_TRUE(VectorNear(point->GetVelocity(), c.velocity));
    }
}

TEST_F(ContactPoints, AirborneWheelsIgnoreFriction) {
    CWheelContactPoint wheel;
    CContactPointDesc desc = PointAt({40, 5, 10}, owner);
    desc.startsOnGround = 0;
    wheel.Init(desc, std::numbers::pi_v<float> / 12);
    wheel.ApplyForce(CForce({1, 0, 0}, CForce::kFriction));
    EXPECT_EQ(wheel.GetForce(), CVector());
    wheel.ApplyForce(CForce({0, 1, 0}, CForce::kExternal));
    wheel.ApplyForce(CForce({0, 0, 1}, CForce::kDrive));
    EXPECT_EQ(wheel.GetForce(), CVector(0, 1, 1));
    EXPECT_EQ(wheel.GetLastForce(), CVector(0, 1, 1));
    wheel.SetSteering(-0.5f);
    EXPECT_FLOAT_EQ(wheel.GetSteering(), -std::numbers::pi_v<float> / 24);
}

TEST_F(ContactPoints, WheelsGripSidewaysByTheirSlideAngle) {
    owner.friction = 0.0f;
    world.surface[ITopographyWorld::kSurfaceSideGrip] = 0.5f;
    world.surface[ITopographyWorld::kSurfaceSideGripScale] = 0.8f;
    owner.gripFactor = 2.0f;
    const float full = 0.5f * 0.8f * 2.0f;
    const struct {
        const char* label;
        CVector velocity;
        CVector force;
    } cases[] = {
        {"rolling forwards", {-1, 0, 0}, {}},
        {"rolling backwards", {3, 0, 0}, {}},
        {"sliding sideways at 0.85", {0, 0, 0.85f}, {0, 0, -full * 0.5f}},
        {"sliding sideways at 1.7", {0, 0, 1.7f}, {0, 0, -full}},
        {"sliding sideways at 3.4", {0, 0, -3.4f}, {0, 0, full}},
        // At 45 degrees half the angle's grip, across the car's heading and against the slide.
        {"sliding at 45 degrees", {-2, 0, 2}, {0, 0, -full * 0.5f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        owner.points.clear();
        auto wheel = MakePoint<CWheelContactPoint>({40, 0, 10});
        wheel->SetVelocity(c.velocity);
        wheel->ApplyFriction();
        EXPECT_TRUE(VectorNear(wheel->GetForce(), c.force, 1e-5f));
    }
}

TEST_F(ContactPoints, WheelsFeelTheSlopeAlongTheCarOnly) {
    const float s = std::sqrt(0.5f);
    const struct {
        const char* label;
        CVector normal;
        CVector force;
    } cases[] = {
        {"along the car", CVector(0.2f, 1, 0), {0.2f, 0, 0}},
        {"across the car", CVector(0, 1, 0.2f), {}},
        {"diagonal: half", CVector(0.2f * s, 1, 0.2f * s), {0.1f * s, 0, 0.1f * s}},
        {"flat", kUpVector, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        owner.points.clear();
        auto wheel = MakePoint<CWheelContactPoint>({40, 0, 10});
        wheel->ApplyGroundForce(c.normal);
        EXPECT_TRUE(VectorNear(wheel->GetForce(), c.force, 1e-5f));
        wheel->SetVelocity({0, 0, 1.5f}); // above speed 1.0 no slope pushes
        wheel->SetForce({});
        wheel->ApplyGroundForce(c.normal);
        EXPECT_EQ(wheel->GetForce(), CVector());
    }
}

TEST(ContactPoint, SortSamples) {
    const auto keys = [](const std::vector<ContactSample>& samples) {
        std::vector<std::uint32_t> out;
        for (const ContactSample& s : samples)
            out.push_back(s.key);
        return out;
    };
    const std::vector<ContactSample> samples = {
        {0, {0, 5, 0}, 1}, {1, {0, 2, 0}, 0}, {2, {0, 1, 0}, 1}, {3, {0, 2, 0}, 1}, {4, {0, 9, 0}, 0},
    };
    std::vector<ContactSample> sorted = samples;
    CContactPoint::SortSamples(sorted.data(), 5, 1); // airborne first, then by height; equal keep order
    EXPECT_EQ(keys(sorted), (std::vector<std::uint32_t>{1, 4, 2, 3, 0}));
    CContactPoint::SortSamples(sorted.data(), 5, 2);
    EXPECT_EQ(keys(sorted), (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
    std::vector<ContactSample> untouched = samples;
    CContactPoint::SortSamples(untouched.data(), 5, 3);
    EXPECT_EQ(keys(untouched), keys(samples));
}

} // namespace
