// The car's driving on a flat race ground built in memory: the drive and brake pushes by speed, what
// the controls do over time, steering, the collision sounds and the respawn on the route.

#include "CarDoubles.h"
#include "GroundDoubles.h"
#include "HeadlessRun.h"
#include "WorldDoubles.h"

#include "foundation/assets/CarAsset.h"
#include "world/CollisionRecorder.h"
#include "world/ContactPoint.h"
#include "world/WheelContactPoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace zentrix;
using cartest::RecordingSounds;
using cartest::ScriptedDriver;

namespace {

constexpr unsigned kFrameMs = 40;
constexpr int kReleased = -127;

class CarDriving : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        CreateWorlds();
        tree.AddMesh(groundtest::Plate(-116, -116, 140, 140, 0));
        ASSERT_TRUE(ground.Build(&tree.root));
        Race()->ground = &ground;
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
        services.sounds = &sounds;
        car = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60001, 0, 0, 0, -1));
        ASSERT_NE(car, nullptr);
        car->AssignDriver(&driver);
        // Standing still long enough for the throttle and the brake.
        Run(1000);
        ASSERT_TRUE(car->IsGrounded());
        ASSERT_EQ(car->GetStartLockMs(), -1);
    }
    void TearDown() override {
        CWorldMan::DeleteAllObjects();
        WorldFixture::TearDown();
    }
    /// The race tick's passes for `ms`, a frame at a time.
    static void Run(unsigned ms) {
        for (unsigned t = 0; t < ms; t += kFrameMs) {
            worldtest::TickWorld(kFrameMs);
        }
    }
    /// The push a rear wheel gets from `step`, with every point moving at `velocity`.
    CVector PushAt(const CVector& velocity, const std::function<void()>& step) {
        car->SetVelocity(velocity);
        CContactPoint* rear = car->GetContact(CCarObject::kRearLeft);
        const CVector before = rear->GetForce();
        step();
        return rear->GetForce() - before;
    }
    float Heading() const { return std::atan2(car->Direction().x, car->Direction().z); }

    groundtest::TerrainTree tree;
    CWorldTopography ground;
    RecordingSounds sounds;
    ScriptedDriver driver;
    CCarObject* car = nullptr;
};

TEST_F(CarDriving, TheDrivePushGrowsToThreefoldAt06AndFallsToATenthAtTopSpeed) {
    const float a = car->GetAcceleration();
    const float top = car->GetTopSpeed();
    const CVector d = car->Direction();
    struct {
        float speed;
        int throttle;
        float force;
    } const cases[] = {
        {0.0f, 127, a},
        {0.0f, 0, a * 127.0f / 254.0f},
        {0.0f, kReleased, 0.0f},
        {0.3f, 127, a * 2.0f * (0.1f + 0.9f * (1.0f - 0.3f / top))},
        {0.5999f, 127, a * (1.0f + 2.0f * 0.5999f / 0.6f) * (0.1f + 0.9f * (1.0f - 0.5999f / top))},
        {0.6f, 127, a * (0.1f + 0.9f * (1.0f - 0.6f / top))},
        {1.5f, 127, a * (0.1f + 0.9f * (1.0f - 1.5f / top))},
        {top, 127, a * 0.1f},
        {top + 0.01f, 127, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.speed << " " << c.throttle);
        const CVector push = PushAt(d * c.speed, [&] { car->Drive(c.throttle); });
        EXPECT_NEAR(push.Dot(d), c.force, 1e-5f);
        EXPECT_NEAR((push - d * push.Dot(d)).Length(), 0.0f, 1e-6f);
    }
}

TEST_F(CarDriving, TheBrakeStopsForwardAndReversesAtRestUpTo06OfTopSpeed) {
    const float a = car->GetAcceleration();
    const float b = car->GetBraking();
    const float top = car->GetTopSpeed();
    const CVector d = car->Direction();
    struct {
        const char* name;
        float velocity; // along the heading
        float force;    // along the heading
    } const cases[] = {
        {"forward slowly", 0.3f, -b * 2.0f * 5.0f},
        {"forward", 1.0f, -b},
        {"at rest: reverse", 0.0f, -a},
        {"reversing", -0.3f, -a},
        {"reversing at 0.6 of top", -0.6f * top, -a},
        {"reversing faster", -0.6f * top - 0.01f, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CVector push = PushAt(d * c.velocity, [&] { car->Brake(0); });
        EXPECT_NEAR(push.Dot(d), c.force, 1e-5f);
    }
    EXPECT_EQ(PushAt(d, [&] { car->Brake(kReleased); }), CVector());
}

TEST_F(CarDriving, ControlsOverTime) {
    struct {
        const char* name;
        CDriverControls controls;
        int disableMs;
        bool forward; // the car gains speed forward
        bool backward;
    } cases[] = {
        {"throttle", {}, -1, true, false},
        {"brake beats throttle", {}, -1, false, true},
        {"disabled: released", {}, 1000, false, false},
    };
    cases[0].controls.axis1 = 127;
    cases[1].controls.axis1 = 127;
    cases[1].controls.axis2 = 0;
    cases[2].controls.axis1 = 127;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        car->SetVelocity(CVector());
        Run(1000);
        if (c.disableMs > 0)
            car->DisableControls(c.disableMs);
        driver.controls = c.controls;
        Run(400);
        const float along = car->GetMeanContactVelocity().Dot(car->Direction());
        EXPECT_EQ(along > 0.05f, c.forward) << along;
        EXPECT_EQ(along < -0.05f, c.backward) << along;
        driver.controls = CDriverControls();
        Run(2000);
    }

    // Coasting faster than 1.9 brakes: just above it the car loses far more than just below.
    driver.controls = CDriverControls();
    car->SetVelocity(car->Direction() * 1.95f);
    Run(kFrameMs);
    const float braked = 1.95f - car->GetSpeed();
    car->SetVelocity(car->Direction() * 1.85f);
    Run(kFrameMs);
    const float rolled = 1.85f - car->GetSpeed();
    EXPECT_GT(braked, rolled * 1.5f) << braked << " " << rolled;

    // A car that has just come to rest waits 400 ms for the throttle.
    car->SetVelocity(CVector());
    Run(kFrameMs);
    ASSERT_LT(car->GetStoppedMs(), 400u);
    driver.Throttle();
    Run(200);
    EXPECT_LT(car->GetSpeed(), 0.1f);
    Run(600);
    EXPECT_GT(car->GetSpeed(), 0.1f);
}

TEST_F(CarDriving, NothingDrivesForTheFirst200MsAndARespawnDoesNotRestartTheLock) {
    CCarObject* fresh = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60002, 60, 0, 60, -1));
    ASSERT_NE(fresh, nullptr);
    ScriptedDriver other;
    other.Throttle();
    fresh->AssignDriver(&other);
    const float heading = std::atan2(fresh->Direction().x, fresh->Direction().z);
    other.controls.steering = 127;
    Run(160);
    EXPECT_NE(fresh->GetStartLockMs(), -1);
    EXPECT_NEAR(std::atan2(fresh->Direction().x, fresh->Direction().z), heading, 1e-4f);
    EXPECT_LT(fresh->GetSpeed(), 0.1f);
    Run(80);
    EXPECT_EQ(fresh->GetStartLockMs(), -1);
    fresh->Respawn(-1);
    EXPECT_EQ(fresh->GetStartLockMs(), -1);
}

TEST_F(CarDriving, SteeringTurnsAboutUpAtRestAndInTheAirAndGripFollowsTheHeading) {
    const float rate = car->GetCarAsset()->GetSteeringRate();
    struct {
        const char* name;
        int steering;
        float lift;
    } const cases[] = {{"right at rest", 127, 0.0f},
                       {"left at rest", -127, 0.0f},
                       {"half", 64, 0.0f},
                       {"in the air", 127, 30.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        car->SetPosition(0, c.lift, 0);
        const CVector before = car->Direction();
        car->Steer(c.steering, kReleased, kFrameMs);
        const float turned = std::asin(std::clamp(before.Cross(car->Direction()).y, -1.0f, 1.0f));
        EXPECT_NEAR(turned, -rate * (static_cast<float>(c.steering) / 127.0f) * 0.04f * kFrameMs, 1e-5f);
        const auto* front = dynamic_cast<const CWheelContactPoint*>(car->GetContact(CCarObject::kFrontLeft));
        EXPECT_FLOAT_EQ(front->GetSteering(), -static_cast<float>(c.steering) / 127.0f * 0.2617994f);
    }
    car->SetPosition(0, 0, 0);
    Run(400);

    // Moving forward with grip, the points' travel turns with the heading and keeps its speed; while the
    // slide sound plays it keeps its direction.
    for (const bool sliding : {false, true}) {
        SCOPED_TRACE(sliding);
        if (sliding)
            car->StartLoopSound();
        const CVector travel = car->Direction() * 1.0f;
        car->SetVelocity(travel);
        car->Steer(127, kReleased, kFrameMs);
        const CVector after = car->GetContact(CCarObject::kRearRight)->GetVelocity();
        EXPECT_NEAR(after.Length(), 1.0f, 1e-5f);
        if (sliding)
            EXPECT_EQ(after, travel);
        else
            EXPECT_NEAR(after.GetNormalised().Dot(car->Direction()), 1.0f, 1e-5f);
    }
    EXPECT_TRUE(car->IsSliding());
    EXPECT_EQ(sounds.calls.back(), "loop 0 51055");
    car->StopLoopSound();
    EXPECT_FALSE(car->IsSliding());
}

TEST_F(CarDriving, WheelsRollUnlessBrakedTheFrontOnesSteerAndTheBodyLeansIntoTheTurn) {
    const auto facing = [](const CWorldObject* o) { return o->Direction(); };
    struct {
        const char* name;
        int brake;
        float along; // the car's speed along its heading
        bool rolls;
    } const cases[] = {{"rolling", kReleased, 1.0f, true},
                       {"braking forward", 0, 1.0f, false},
                       {"braking while reversing", 0, -0.5f, true},
                       {"at rest", kReleased, 0.0f, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        driver.controls = CDriverControls();
        driver.controls.axis2 = c.brake;
        car->SetVelocity(car->Direction() * c.along);
        const CVector rear = facing(car->GetWheel(2));
        const CVector front = facing(car->GetWheel(0));
        car->AnimateWheels(kFrameMs);
        EXPECT_EQ(!(facing(car->GetWheel(2)) == rear), c.rolls);
        EXPECT_EQ(!(facing(car->GetWheel(0)) == front), c.rolls);
    }
    driver.controls = CDriverControls();

    // Steered at speed, the front mounts turn by 1.8 times the wheels' angle; the body rolls, at most 0.02
    // a step.
    car->SetVelocity(car->Direction() * 1.0f);
    car->Steer(127, kReleased, kFrameMs);
    car->AnimateWheels(kFrameMs);
    const auto* point = dynamic_cast<const CWheelContactPoint*>(car->GetContact(CCarObject::kFrontLeft));
    const float angle = point->GetSteering() * 1.8f;
    const CVector mount = car->GetWheelMount(0)->Direction();
    EXPECT_NEAR(std::atan2(mount.x, mount.z), angle, 1e-5f);
    car->LeanBody(kFrameMs);
    const CCarAsset& asset = *car->GetCarAsset();
    const float turned = -asset.GetSteeringRate() * 0.04f * kFrameMs;
    EXPECT_NEAR(car->GetRollAngle(), std::max(turned * asset.GetParam8() * 0.055f, -0.02f * 0.04f * kFrameMs),
                1e-5f);
    EXPECT_LT(car->GetRollAngle(), 0.0f);

    // A collision of kind 1 blocks steering for 100 ms.
    CCollisionRecorder* recorder = car->GetCollisionRecorder();
    recorder->NewFrame();
    car->RecordCollision(CVector(1, 0, 0), 0.1f, CWorldObject::kCollisionTrack, nullptr);
    recorder->NewFrame();
    car->SetVelocity(CVector());
    car->TurnAfterCollision(kFrameMs);
    EXPECT_EQ(car->GetCollisionTurnMs(), 100u);
    const CVector heading = car->Direction();
    car->Steer(127, kReleased, kFrameMs);
    EXPECT_EQ(car->Direction(), heading);
}

TEST_F(CarDriving, CollisionsPushTheDriverAndSoundByTheirSpeed) {
    Race()->taunts.clear();
    struct {
        float speed;
        bool crash;
    } const cases[] = {{0.5f, false}, {1.75f, false}, {2.0f, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        sounds.calls.clear();
        driver.pushes.clear();
        car->SetVelocity(car->Direction() * c.speed);
        car->RecordCollision(CVector(0.0f, 0.6f, 0.8f), 1.0f, CWorldObject::kCollisionTrack, nullptr);
        ASSERT_EQ(sounds.calls.size(), 1u);
        const int sound = std::stoi(sounds.calls[0].substr(5));
        if (c.crash)
            EXPECT_TRUE(sound >= 51094 && sound <= 51096) << sound;
        else
            EXPECT_TRUE(sound >= 51074 && sound <= 51078) << sound;
        EXPECT_EQ(driver.pushes, std::vector<std::string>{"0 60 80 10000"});
        EXPECT_EQ(Race()->taunts.size(), c.crash ? 1u : 0u);
    }
    driver.pushes.clear();
    car->RecordCollision(CVector(0.0f, 1.0f, 0.0f), 1.0f, CWorldObject::kCollisionDeferred, nullptr);
    EXPECT_TRUE(driver.pushes.empty());
    EXPECT_EQ(Race()->taunts.back().second, 22);

    // The engine's level follows the throttle and reaches the record's cap (405 + 0.3) at most.
    driver.Throttle();
    Run(4000);
    EXPECT_GT(sounds.positions, 0);
    EXPECT_LE(sounds.lastLevel, car->GetCarAsset()->GetParam405() + 0.3f + 1e-6f);
    EXPECT_GT(sounds.lastLevel, 0.0f);
}

// ---- respawn ----

class CarRespawn : public CarDriving {
protected:
    void SetUp() override {
        CarDriving::SetUp();
        // Four nodes round a square, the car's driver on node 1.
        driver.route = {CVector(-36, 0, -36), CVector(28, 0, -36), CVector(28, 0, 28), CVector(-36, 0, 28)};
        driver.node = 1;
    }
};

TEST_F(CarRespawn, OnTheNodeAboveTheGroundFacingTheNextNodeAtRestAndPassingThroughOthers) {
    car->SetVelocity(CVector(1, 0, 0));
    car->Respawn(-1);
    EXPECT_EQ(car->Position(), CVector(28, 25, -36));
    EXPECT_NEAR(car->Direction().Dot(CVector(0, 0, 1)), 1.0f, 1e-6f);
    EXPECT_EQ(car->GetMeanContactVelocity(), CVector());
    EXPECT_EQ(driver.node, 2);
    EXPECT_EQ(driver.resetTaunts, 1);
    EXPECT_EQ(car->GetCollisionPause(), 3000u);
    EXPECT_EQ(car->GetAliveMs(), 0u);
    EXPECT_EQ(sounds.calls.back(), "play 50026 0");
    for (std::uint32_t i = 0; i < car->GetContactCount(); ++i)
        EXPECT_EQ(car->GetContact(i)->GetPreviousPosition(), car->GetContact(i)->GetPosition());

    // A second call 100 ms later is ignored, a delayed one too.
    Run(100);
    car->Respawn(-1);
    car->Respawn(500);
    EXPECT_EQ(driver.node, 2);
    EXPECT_EQ(car->GetRespawnCountdownMs(), -1);
    EXPECT_EQ(driver.resetTaunts, 1);
}

TEST_F(CarRespawn, ADelayedRespawnWaitsForItsCountdown) {
    car->Respawn(500); // as water does
    EXPECT_EQ(car->GetRespawnCountdownMs(), 500);
    Run(480);
    EXPECT_EQ(driver.resetTaunts, 0);
    Run(kFrameMs);
    EXPECT_EQ(driver.resetTaunts, 1);
    EXPECT_EQ(car->GetRespawnCountdownMs(), -1);

    // A second delayed call restarts the countdown with its own delay; an immediate one clears it.
    Run(240);
    car->Respawn(300);
    Run(120);
    EXPECT_EQ(car->GetRespawnCountdownMs(), 180);
    car->Respawn(400);
    EXPECT_EQ(car->GetRespawnCountdownMs(), 400);
    car->Respawn(-1);
    EXPECT_EQ(car->GetRespawnCountdownMs(), -1);
    EXPECT_EQ(driver.resetTaunts, 2);
}

TEST_F(CarRespawn, TheNearestNodeOnTheTileAJamTruckAndARouteWithoutNodes) {
    struct {
        const char* name;
        int nearest;      // what the route answers, -1 none
        CVector truck;    // a truck on the node's tile (y -1000: none)
        CVector position; // where the car comes back
        CVector facing;
        int node;
    } const cases[] = {
        {"node n", -1, CVector(0, -1000, 0), CVector(28, 25, -36), CVector(0, 0, 1), 2},
        {"nearest m", 3, CVector(0, -1000, 0), CVector(28, 25, -36), CVector(0, 0, -1), 0},
        {"truck west", -1, CVector(24, 0, -36), CVector(36, 25, -36), CVector(0, 0, 1), 2},
        {"truck south", -1, CVector(28, 0, -40), CVector(28, 25, -28), CVector(0, 0, 1), 2},
    };
    CWorldObject* truck = CWorldMan::CreateWorldObject(31000, 0, -1000, 0, -1); // stands in for a truck
    ASSERT_NE(truck, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SWorldLinks links = Links();
        const int nearest = c.nearest;
        links.findNearestNodeOnTile = [nearest](const CVector&, int) { return nearest; };
        links.isRouteBroken = [] { return false; };
        CWorldMan::SetLinks(links);
        truck->SetPosition(c.truck.x, c.truck.y, c.truck.z);
        driver.trucks = {truck};
        driver.node = 1;
        Run(240);
        car->Respawn(-1);
        EXPECT_EQ(car->Position(), c.position);
        EXPECT_NEAR(car->Direction().Dot(c.facing), 1.0f, 1e-6f);
        EXPECT_EQ(driver.node, c.node);
    }

    // Without route nodes the car comes back where it is, 25 above the ground, heading kept.
    driver.route.clear();
    driver.node = 7;
    Run(240);
    car->SetPosition(50, 3, 60);
    const CVector heading = car->Direction();
    car->Respawn(-1);
    EXPECT_EQ(car->Position(), CVector(50, 25, 60));
    EXPECT_NEAR(car->Direction().Dot(heading), 1.0f, 1e-6f);
    EXPECT_EQ(driver.node, 7);
}

TEST_F(CarRespawn, FallingOffTheWorldOrCollidingConstantlyPutsTheCarBack) {
    car->SetPosition(0, -21, 0);
    Run(kFrameMs);
    EXPECT_EQ(driver.resetTaunts, 1);
    EXPECT_GT(car->Position().y, 20.0f);

    // More than half of the recent ticks with a contact, unless the driver has finished.
    for (const bool finished : {true, false}) {
        SCOPED_TRACE(finished);
        driver.finished = finished;
        const int before = driver.resetTaunts;
        for (int i = 0; i < 20; ++i) {
            car->GetCollisionRecorder()->NewFrame();
            car->RecordCollision(CVector(1, 0, 0), 0.1f, CWorldObject::kCollisionTrack, nullptr);
        }
        Run(240);
        EXPECT_EQ(driver.resetTaunts, before + (finished ? 0 : 1));
        car->GetCollisionRecorder()->ClearFrequencyLog();
    }
}

} // namespace
