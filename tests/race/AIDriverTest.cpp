// The computer driver on a straight road of whole route records with cars that answer its questions: its
// accelerator limits, attitude, steering, corner speeds and classes, taunts and the lap of honour, and
// its tuning through the sample set.

#include "AIDoubles.h"
#include "RaceSample.h"

#include "foundation/math/Random.h"
#include "race/AIDriver.h"
#include "race/AIRouteScan.h"
#include "race/DriverManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zentrix;
using aitest::ComputerCar;
using aitest::LineRoute;

namespace {

using aitest::AIDriverTest;
using aitest::Turned;

TEST_F(AIDriverTest, TheSpeedParameterSetsTheAcceleratorLimitAndTheAttitudeItsShare) {
    const struct { int speed, limit; } cases[] = {{100, 127}, {50, 0}, {0, -127}, {88, 96}, {75, 63}};
    for (const auto& c : cases) {
        CAIData::SBlock block;
        block.speed = static_cast<std::int16_t>(c.speed);
        CAIDriver& driver = AddComputer(0, car, block);
        car.position = route.At(0);
        Frames(1);
        EXPECT_EQ(driver.GetAcceleratorLimit(), c.limit) << c.speed;
        EXPECT_EQ(driver.GetAcceleratorTarget(), c.limit) << c.speed;
        EXPECT_EQ(driver.GetOutput().axis1, c.limit) << c.speed; // the racing line refreshes it
    }
}

TEST_F(AIDriverTest, AttitudeFollowsTheBestPlacedHumanByNodeGapAndPlace) {
    const struct {
        int ownNode, ownPlace, humanNode, humanPlace;
        CAIDriver::SAttitude attitude;
    } cases[] = {
        {10, 1, 6, 2, {70, 1.0f, 0.5f, 1.7f, 0, CAIDriver::kAttitudeUnsafe}}, // 4 ahead
        {10, 1, 7, 2, {}},                                                    // 3 ahead
        {6, 2, 9, 1, {120, 0.0f, 1.5f, 0.4f, 15, CAIDriver::kAttitudeSafe}},  // 3 behind
        {6, 2, 8, 1, {}},                                                     // 2 behind
        {30, 2, 2, 1, {120, 0.0f, 1.5f, 0.4f, 15, CAIDriver::kAttitudeSafe}}, // gap not wrapped
    };
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        CAIDriver& driver = AddComputer(0, car);
        driver.SetStartPosition(c.ownPlace);
        CDriver& human = AddHuman(1, humanCar, c.humanPlace);
        Frames(1);
        Place(driver, car, route.At(c.ownNode), c.ownNode);
        Place(human, humanCar, route.At(c.humanNode), c.humanNode);
        driver.SetCountdown(0);
        Frames(1);
        EXPECT_EQ(driver.GetAttitude(), c.attitude) << c.ownNode << " " << c.humanNode;
        const bool held = c.attitude.attitude != CAIDriver::kAttitudeNormal;
        EXPECT_EQ(driver.GetCountdown(), held ? CAIDriver::kAttitudeHoldMs : 0);
        EXPECT_EQ(driver.AcceptsPickups(), c.attitude.attitude != CAIDriver::kAttitudeUnsafe);
    }
    EXPECT_STREQ(CAIDriver::AttitudeName(0), "Normal");
    EXPECT_STREQ(CAIDriver::AttitudeName(1), "-Safe-");
    EXPECT_STREQ(CAIDriver::AttitudeName(2), "Unsafe");
}

TEST_F(AIDriverTest, WithoutAHumanTheAttitudeIsTheDefault) {
    CAIDriver& driver = AddComputer(0, car);
    CAIDriver& other = AddComputer(1, otherCar);
    driver.SetStartPosition(1);
    other.SetStartPosition(2);
    Frames(1);
    Place(driver, car, route.At(20), 20);
    Place(other, otherCar, route.At(2), 2);
    Frames(3);
    EXPECT_EQ(driver.GetAttitude(), CAIDriver::SAttitude());
    EXPECT_EQ(other.GetAttitude(), CAIDriver::SAttitude());
    EXPECT_EQ(driver.GetCountdown(), 0);
}

TEST_F(AIDriverTest, SteeringIsProportionalBelowAHairOverTenDegreesAndFullLockBeyond) {
    // Turned towards +x, the car steers back by a positive value; turned the other way, negative.
    const struct {
        float degrees;
        int steering;
    } cases[] = {{0.0f, 0},     {9.0f, 6},    {-9.0f, -6},    {9.99f, 7},
                 {10.01f, 127}, {10.5f, 127}, {-10.5f, -127}, {120.0f, 127}};
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        CAIDriver& driver = AddComputer(0, car);
        car.position = CVector(0.0f, 0.0f, -200.0f); // far behind node 1, on the route line
        car.direction = Turned(c.degrees);
        Frames(1);
        ASSERT_EQ(driver.GetTargetNode(), 1);
        EXPECT_EQ(driver.GetOutput().steering, c.steering) << c.degrees;
    }
}

TEST_F(AIDriverTest, ThePedalIsLiftedWhenTheNodeIsBehindOrTheCarFarOffTheRoute) {
    // The car at node 10 + 4 steering for node 12, its heading and lateral offset as given.
    const struct {
        float degrees, offset;
        int accelerator;
    } cases[] = {{0.0f, 0.0f, 127},  {89.0f, 0.0f, 127}, {92.0f, 0.0f, 0},  {180.0f, 0.0f, 0},
                 {0.0f, 16.0f, 127}, {0.0f, 17.0f, 0},   {0.0f, -17.0f, 0}, {-100.0f, 3.0f, 0}};
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        CAIDriver& driver = AddComputer(0, car);
        Frames(1);
        car.direction = Turned(c.degrees);
        Place(driver, car, route.At(10, c.offset) + CVector(0.0f, 0.0f, 4.0f), 12);
        Frames(1);
        EXPECT_EQ(driver.GetOutput().axis1, c.accelerator) << c.degrees << " " << c.offset;
    }
}

TEST_F(AIDriverTest, CornerClassesBySizeAndWayOfTheCornerAndItsNearerNeighbour) {
    // Pieces at nodes 10 (the corner looked at), 9 and 11; -1 no piece of its own (a straight).
    const struct {
        int kind, rotation, beforeKind, beforeRotation, afterKind, afterRotation, cornerClass;
    } cases[] = {
        {3, 0, 1, 0, 1, 0, 0},
        {8, 2, 1, 0, 1, 0, 0},
        {4, 0, 1, 0, 1, 0, 1},
        {9, 1, 1, 0, 1, 0, 1},
        {3, 0, 3, 1, 1, 0, 2},
        {3, 0, 8, 2, 1, 0, 3},
        {3, 3, 1, 0, 3, 0, 2},
        {3, 0, 1, 0, 3, 3, 2},
        {4, 1, 9, 2, 1, 0, 4},
        {4, 1, 4, 3, 1, 0, 5},
        {4, 0, 3, 1, 1, 0, 6},
        {9, 0, 8, 0, 1, 0, 8},
        {3, 2, 4, 1, 1, 0, 7},
        {8, 2, 9, 0, 1, 0, 9},
        {19, 0, 1, 0, 1, 0, 2},
        {1, 0, 3, 0, 3, 1, -1},
        {25, 0, 3, 0, 1, 0, -1},
        // Corners on both sides: the one nearer to the car (which is at node 10) decides; a tie takes
        // the one before.
        {3, 0, 3, 1, 8, 2, 2},
    };
    for (const auto& c : cases) {
        LineRoute r(20);
        r.SetPiece(9, c.beforeKind, c.beforeRotation);
        r.SetPiece(10, c.kind, c.rotation);
        r.SetPiece(11, c.afterKind, c.afterRotation);
        const CAIRouteScan scan(r, r);
        EXPECT_EQ(scan.CornerClass(10, r.At(10)), c.cornerClass)
            << c.kind << "/" << c.rotation << " between " << c.beforeKind << " and " << c.afterKind;
    }
    // Nearer the corner after, that one decides.
    LineRoute r(20);
    r.SetPiece(9, 3, 1);
    r.SetPiece(10, 3, 0);
    r.SetPiece(11, 8, 2);
    EXPECT_EQ(CAIRouteScan(r, r).CornerClass(10, r.At(11)), 3);
    // Quarter turns either way are the same way; a half turn or none is the opposite way.
    const int same[][3] = {{0, 1, 1}, {1, 0, 1}, {3, 0, 1}, {0, 3, 1},
                           {2, 3, 1}, {0, 2, 0}, {1, 3, 0}, {2, 2, 0}};
    for (const auto& w : same)
        EXPECT_EQ(CAIRouteScan::SameWay(w[0], w[1]), w[2] == 1) << w[0] << " " << w[1];
}

TEST_F(AIDriverTest, TheWalkToTheNextCornerEndsAfterOneLap) {
    const CAIRouteScan plain(route, route);
    CAIRouteScan::SFound found;
    EXPECT_FALSE(plain.FindNextCorner(0, found));
    EXPECT_FALSE(plain.FindStuntAhead(5, found));
    EXPECT_EQ(plain.LookAhead(3), -1);
    LineRoute none(0);
    const CAIRouteScan empty(none, none);
    EXPECT_FALSE(empty.FindNextCorner(0, found));
    EXPECT_EQ(empty.ForwardDistance(0, 0), -1);
    EXPECT_EQ(empty.CornerClass(0, CVector()), CAIRouteScan::kNoClass);

    route.SetPiece(5, 3, 0, false, true);
    ASSERT_TRUE(plain.FindNextCorner(2, found));
    EXPECT_EQ(found.node, 5);
    EXPECT_EQ(found.distance, 3 * 16 - 1);
    ASSERT_TRUE(plain.FindNextCorner(5, found));
    EXPECT_EQ(found.distance, -1);
    ASSERT_TRUE(plain.FindNextCorner(6, found)); // round the ring
    EXPECT_EQ(found.node, 5);
    EXPECT_EQ(found.distance, 39 * 16 - 1);
    EXPECT_EQ(plain.LookAhead(2), 1);
    EXPECT_EQ(plain.ForwardDistance(38, 1), 3 * 16);

    // A driver on the plain road has no corner to slow for, at any speed.
    CAIDriver& driver = AddComputer(0, car);
    car.speed = 100.0f;
    Frames(1);
    Place(driver, car, route.At(20), 20);
    route.SetPiece(5, 1, 0);
    Frames(2);
    EXPECT_EQ(driver.GetCornerDistance(), -1);
    EXPECT_STREQ(driver.GetStatus(), "");
    EXPECT_GT(driver.GetOutput().axis1, 0);
}

TEST_F(AIDriverTest, CornersAheadSlowTheDriverByTheExcessOverTheirSpeed) {
    // Without cornering data every class takes the car's top speed (2.0); Braking 100 keeps it whole.
    route.SetPiece(12, 3, 0);
    const struct {
        float speed;
        int node;
        const char* status;
        int accelerator, brake;
    } cases[] = {
        {2.5f, 10, "Braking", -127, -127}, // 25 % over, 32 before the corner
        {2.3f, 10, "Slowing", -127, -127}, // 15 % over
        {2.0f, 10, "", 127, -127},         // at the limit
        {2.5f, 9, "", 127, -127},          // 48 before the corner: outside its zone
        {2.5f, 12, "Braking", -127, -127}, // on it
    };
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        CAIDriver& driver = AddComputer(0, car);
        car.speed = c.speed;
        Frames(1);
        Place(driver, car, route.At(c.node), c.node + 1);
        Frames(1);
        EXPECT_STREQ(driver.GetStatus(), c.status) << c.speed << " at " << c.node;
        EXPECT_EQ(driver.GetOutput().axis1, c.accelerator) << c.speed << " at " << c.node;
        // The brake the speed step wants never reaches the car.
        CDriverControls controls;
        driver.GetControls(controls);
        EXPECT_EQ(controls.axis2, c.brake);
        EXPECT_EQ(driver.GetDesired().axis2, std::string(c.status) == "Braking" ? 127 : -127);
    }
}

TEST_F(AIDriverTest, ACornerWithoutASpeedSetsNoLimit) {
    // Braking 0 makes every corner's limit 0, which the excess would divide by: no limit at all.
    route.SetPiece(12, 3, 0);
    CAIData::SBlock block;
    block.braking = 0;
    CAIDriver& driver = AddComputer(0, car, block);
    car.speed = 2.5f;
    Frames(1);
    Place(driver, car, route.At(10), 11);
    Frames(1);
    EXPECT_EQ(driver.GetCornerClass(), 0);
    EXPECT_STREQ(driver.GetStatus(), "");
    EXPECT_EQ(driver.GetOutput().axis1, 127);
}

TEST_F(AIDriverTest, TheCornerCutIsDrawnOncePerCornerAndScaledWhileTheAttitudeHolds) {
    route.SetPiece(12, 3, 0);
    CAIData::SBlock block;
    block.cutsCorners = 60;
    CAIDriver& driver = AddComputer(0, car, block);
    car.speed = 0.5f;
    Frames(1);
    Place(driver, car, route.At(8), 9); // 64 before the corner
    Frames(1);
    EXPECT_EQ(driver.GetCornerCut(), 0);
    Place(driver, car, route.At(10), 11);
    // The draw: the next number of the one generator.
    const std::uint32_t state = Random::State();
    Frames(1);
    const int cut = driver.GetCornerCut();
    Random::Seed(state);
    EXPECT_EQ(cut, Random::Next() % 61);
    Random::Seed(state);
    Frames(1);
    Place(driver, car, route.At(11), 12);
    Frames(3);
    EXPECT_EQ(driver.GetCornerCut(), cut); // drawn once
    Place(driver, car, route.At(20), 21);
    Frames(1);
    EXPECT_EQ(driver.GetCornerCut(), 0);
    // While the attitude holds, scale and addend apply (the "-Safe-" ones: 0.4 and 15).
    CDriver& human = AddHuman(1, humanCar, 1);
    driver.SetStartPosition(2);
    Place(human, humanCar, route.At(30), 30);
    Place(driver, car, route.At(9), 10); // corner 48 ahead: outside the zone
    Frames(1);
    ASSERT_EQ(driver.GetAttitude().attitude, CAIDriver::kAttitudeSafe);
    Place(driver, car, route.At(10), 11);
    const std::uint32_t before = Random::State();
    Frames(1);
    Random::Seed(before);
    EXPECT_EQ(driver.GetCornerCut(), static_cast<int>(static_cast<float>(Random::Next() % 61) * 0.4f) + 15);
}

TEST_F(AIDriverTest, ComputerDriversTauntEveryFiftySecondsWhileActive) {
    const struct {
        int index;
        bool active;
        int taunts;
    } cases[] = {{3, true, 2}, {0, true, 2}, {8, true, 2}, {10, true, 0}, {9, true, 0}, {3, false, 0}};
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        services.taunts.clear();
        CAIDriver& driver = AddComputer(0, car, {}, c.index);
        if (!c.active)
            driver.Deactivate();
        car.position = CVector(0.0f, 0.0f, -1000.0f); // far from the route: the watchdog never sees a node
        for (int ms = 0; ms < 100080; ms += 40) {
            driver.Update(40);
            if (ms + 40 == 50040) {
                const auto halfway = services.Events();
                EXPECT_EQ(std::count(halfway.begin(), halfway.end(), 26), c.taunts / 2) << c.index;
            }
        }
        const auto events = services.Events();
        EXPECT_EQ(std::count(events.begin(), events.end(), 26), c.taunts) << c.index;
    }
}

TEST_F(AIDriverTest, TheLapOfHonourAppliesTheModifiersOnceAndDrivesAfterTheFinish) {
    world.raceState = 1;
    CAIData::SBlock block;
    block.speed = 50;
    block.craziness = 100;
    CAIDriver& driver = AddComputer(0, car, block);
    Frames(3);
    ASSERT_EQ(car.modifiers.size(), 1u);
    const CCarObject::SParamModifiers& m = car.modifiers[0];
    const float factors[7] = {m.acceleration, m.braking,  m.steering,  m.grip,
                              m.sideGrip,     m.topSpeed, m.slideAngle};
    const float expected[7] = {1.0f, 1.3f, 1.1f, 1.0f, 2.0f, 1.0f, 1000.0f};
    for (int i = 0; i < 7; ++i)
        EXPECT_FLOAT_EQ(factors[i], expected[i]) << i;
    EXPECT_EQ(car.modifierMs[0], 10000000);
    EXPECT_TRUE(driver.IsDrivingAfterFinish());
    EXPECT_EQ(driver.GetParameters(), CAIData::SBlock());
    EXPECT_EQ(driver.GetMode(), kAIModeRacingLine);
    // In a race the first update leaves the car alone.
    world.raceState = 0;
    manager.DeleteAllDrivers();
    car.modifiers.clear();
    CAIDriver& racer = AddComputer(0, car);
    Frames(2);
    EXPECT_TRUE(car.modifiers.empty());
    EXPECT_FALSE(racer.IsDrivingAfterFinish());
}

class AIDriverSample : public racetest::RaceSample {};

TEST_F(AIDriverSample, TheFirstUpdateTunesTheDriverByItsCarAndTheWorldsCorners) {
    LineRoute route(20);
    racetest::FakeServices services;
    services.route = &route;
    aitest::World world;
    world.assets = assets.get();
    const struct {
        int carId, world, speed, reflex, braking;
        float corner0;
    } cases[] = {
        {60001, 0, 95, 200, 120, 2.2f},  {60000, 2, 88, 300, 110, 2.5f}, {60002, 3, 100, 250, 100, 2.0f},
        {60009, 1, 100, 150, 100, 1.6f}, {60011, 9, 75, 250, 70, 2.0f},
    };
    for (const auto& c : cases) {
        assets->SetWorld(c.world, true);
        ComputerCar car;
        car.typeId = c.carId;
        car.topSpeed = 2.0f;
        CAIDriver driver(3, 0, &services, &world);
        driver.SetRacerCar(&car);
        driver.Update(40);
        ASSERT_TRUE(driver.HasLoaded());
        EXPECT_EQ(driver.GetParameters().speed, c.speed) << c.carId;
        EXPECT_EQ(driver.GetParameters().reflex, static_cast<std::uint32_t>(c.reflex)) << c.carId;
        EXPECT_EQ(driver.GetParameters().braking, c.braking) << c.carId;
        EXPECT_EQ(driver.GetAcceleratorLimit(), c.speed * 254 / 100 - 127) << c.carId;
        EXPECT_FLOAT_EQ(driver.GetCornering().GetValue(0), c.corner0) << c.carId << " world " << c.world;
        EXPECT_FLOAT_EQ(driver.GetKnownTopSpeed(), 2.0f);
        EXPECT_EQ(driver.GetTargetNode(), 1);
        driver.SetRacerCar(nullptr);
    }
}

} // namespace
