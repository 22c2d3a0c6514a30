// The computer driver's decisions on a straight road with cars that stand where they are put: the
// priority map, the decision interval, crazy mode, overtaking lanes, the button rules of the pickups,
// the stunt pieces, and a car or pickup leaving the race under a driver that targets it.

#include "AIDoubles.h"

#include <gtest/gtest.h>

using namespace zentrix;
using aitest::AIDriverTest;
using aitest::ComputerCar;

namespace {

/// Nodes are 16 apart along +z; a car at `node` + `ahead` with lateral offset `lane` (x).
CVector On(int node, float lane = 0.0f, float ahead = 0.0f) {
    return CVector(lane, 0.0f, 16.0f * static_cast<float>(node) + ahead);
}

class AIModes : public AIDriverTest {
protected:
    /// The cars stand still: the watchdog must not put them back.
    void SetUp() override {
        AIDriverTest::SetUp();
        route.reachable = false;
    }
    /// The other car to `at`, its driver steering for the node there.
    void MoveOther(const CVector& at) {
        otherCar.position = at;
        other->SetRouteNode(static_cast<int>(at.z / 16.0f + 0.5f));
    }
    /// The computer driver in slot 0 at node 10 and another car's plain driver in slot 1 at `otherAt`.
    CAIDriver& Start(const CAIData::SBlock& block, const CVector& otherAt) {
        CAIDriver& driver = AddComputer(0, car, block);
        other = manager.CreateDriver(1, 0, 2);
        other->SetRacerCar(&otherCar);
        car.position = On(10);
        otherCar.position = otherAt;
        Frames(1);
        // As after driving there: each steering for the node ahead of where it is.
        driver.SetRouteNode(11);
        other->SetRouteNode(static_cast<int>(otherAt.z / 16.0f + 0.5f));
        return driver;
    }
    static CAIData::SBlock Tuning(std::uint32_t reflex, int overtaking = 0, int blocking = 0,
                                  int intelligence = 0) {
        CAIData::SBlock block;
        block.reflex = reflex;
        block.overtaking = static_cast<std::int16_t>(overtaking);
        block.blocking = static_cast<std::uint8_t>(blocking);
        block.intelligence = static_cast<std::uint8_t>(intelligence);
        return block;
    }
    /// The modes of the next `n` frames.
    std::vector<int> Modes(const CAIDriver& driver, int n, int ms = 40) {
        std::vector<int> modes;
        for (int i = 0; i < n; ++i) {
            Frames(1, ms);
            modes.push_back(driver.GetMode());
        }
        return modes;
    }

    CDriver* other = nullptr;
};

TEST_F(AIModes, ACandidateOfEqualPriorityNeverReplacesTheMode) {
    // Each row: the tuning, where the other car stands, a pickup two nodes ahead; the mode the driver
    // settles in and keeps although the lower mode of the pair is a candidate every frame.
    const struct {
        CAIData::SBlock block;
        CVector other;
        bool pickup;
        int mode;
    } cases[] = {
        {Tuning(0, 100), On(12), false, kAIModeCarInFrontOvertaking},
        {Tuning(0, 0, 0, 100), On(0), true, kAIModeOncomingPickupGoForIt},
        {Tuning(0, 0, 100), On(8), false, kAIModeCarBehindBlockIt},
    };
    int pad = 0;
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        world.pickups.clear();
        if (c.pickup)
            world.pickups.push_back({&pad, On(12, 2.0f)});
        CAIDriver& driver = Start(c.block, c.other);
        Frames(20);
        for (int mode : Modes(driver, 30))
            EXPECT_EQ(mode, c.mode) << c.mode;
    }
}

TEST_F(AIModes, TheReflexSpacesTheDecisionsAndAFinishedModeFallsBackOnFramesWithoutOne) {
    const struct {
        std::uint32_t reflex;
        int frameMs, decisions;
    } cases[] = {{250, 10, 4}, {250, 40, 3}, {250, 250, 4}, {0, 40, 25}, {1000, 40, 1}, {1100, 40, 0}};
    // The starting frame counts 40 ms towards the first decision.
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        Start(Tuning(c.reflex), On(30));
        world.scans = 0;
        Frames(1000 / c.frameMs, c.frameMs);
        EXPECT_EQ(world.scans, c.decisions) << c.reflex << " at " << c.frameMs << " ms";
    }
    // Reflex 250: overtaking, then the car ahead goes; the next frame has no decision and the mode ends.
    manager.DeleteAllDrivers();
    CAIDriver& driver = Start(Tuning(250, 100), On(12));
    Frames(14);
    ASSERT_EQ(driver.GetMode(), kAIModeCarInFrontOvertaking);
    MoveOther(On(30));
    Frames(1);
    EXPECT_EQ(driver.GetMode(), kAIModeRacingLine);
    // Reflex 0: every frame's candidate is the racing line, of lower priority: the finished mode stays.
    manager.DeleteAllDrivers();
    CAIDriver& quick = Start(Tuning(0, 100), On(12));
    Frames(3);
    ASSERT_EQ(quick.GetMode(), kAIModeCarInFrontOvertaking);
    MoveOther(On(30));
    for (int mode : Modes(quick, 50))
        EXPECT_EQ(mode, kAIModeCarInFrontOvertaking);
}

TEST_F(AIModes, CrazyModeNeedsTheLeadersCrazyFactorAndLastsTwoToThreeSeconds) {
    const struct {
        bool humanFarBehind;
        int calmKind; ///< the kind of the driver's node (1: a plain piece)
        bool crazy;
    } cases[] = {{false, 1, false}, {true, 1, true}, {true, 14, false}, {true, 2, false}, {true, 19, false}};
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        route.SetPiece(10, c.calmKind, 0);
        route.SetPiece(11, c.calmKind, 0);
        CAIData::SBlock block = Tuning(0);
        block.craziness = 100;
        CAIDriver& driver = AddComputer(0, car, block);
        CDriver& human = AddHuman(1, humanCar, 2);
        driver.SetStartPosition(1);
        car.position = On(10, 0.0f, 4.0f);
        humanCar.position = On(c.humanFarBehind ? 2 : 9);
        human.SetRouteNode(c.humanFarBehind ? 2 : 9);
        Frames(1);
        driver.SetRouteNode(11);
        human.SetRouteNode(c.humanFarBehind ? 2 : 9);
        // The first spell, from the crazy state: a finished crazy mode stays until a higher candidate.
        int crazyMs = 0;
        bool ended = false;
        for (int i = 0; i < 200 && !ended; ++i) {
            Frames(1);
            if (driver.GetCrazyState() == 0) {
                crazyMs += 40;
                EXPECT_EQ(driver.GetMode(), kAIModeCrazy);
            } else if (crazyMs > 0) {
                ended = true;
            }
        }
        EXPECT_EQ(crazyMs > 0, c.crazy) << c.calmKind << " " << c.humanFarBehind;
        if (c.crazy) {
            EXPECT_TRUE(ended);
            EXPECT_GE(crazyMs, 2000);
            EXPECT_LE(crazyMs, 3080);
        }
        route.SetPiece(10, 1, 0);
        route.SetPiece(11, 1, 0);
    }
}

TEST_F(AIModes, OvertakingLanesBesideTheCarInFront) {
    // Own lateral offset L and the target's C, on the same node or the target a node ahead; lane width 8.
    const struct {
        int l, c;
        bool sameNode;
        int lane;
    } cases[] = {
        {-4, 2, true, -8},  {5, 2, true, 8},    {0, -3, true, 7},  {3, 3, true, 8},
        {-6, -3, true, -8}, {0, -3, false, 7},  {0, 4, false, -6}, {0, 0, false, -8},
        {3, 0, false, 8},   {-2, 0, false, -8}, {6, 9, false, -1}, {-6, -11, false, -1},
    };
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        CAIDriver& driver = Start(Tuning(0, 100), On(11, static_cast<float>(c.c)));
        Frames(2);
        ASSERT_EQ(driver.GetMode(), kAIModeCarInFrontOvertaking) << c.l << " " << c.c;
        // No decisions from now on: the target stays as it was found.
        CAIData::SBlock slow = Tuning(1000000, 100);
        driver.SetParameters(slow);
        car.position = On(10, static_cast<float>(c.l));
        otherCar.position = On(c.sameNode ? 10 : 11, static_cast<float>(c.c), c.sameNode ? 3.0f : 0.0f);
        Frames(1);
        EXPECT_EQ(driver.GetMode(), kAIModeCarInFrontOvertaking);
        EXPECT_EQ(driver.GetTargetLane(), c.lane)
            << "L " << c.l << " C " << c.c << (c.sameNode ? " same" : "");
    }
}

TEST_F(AIModes, PickupButtonsByTypeWhenTheirMomentComes) {
    // The other car at (node, z offset); the driver at node 10 (z + 4). Pressed: the button byte of the
    // controls and the car's first action request.
    const struct {
        int pickup;
        int otherNode;
        float otherAhead;
        int cornerNode; ///< a corner piece there (-1 none)
        bool unsafe;
        bool pressed;
    } cases[] = {
        {0, 11, 2.0f, -1, false, true},  // 14 apart
        {0, 12, 0.0f, -1, false, false}, // 28 apart
        {5, 12, 0.0f, -1, false, true},  // within 64
        {5, 30, 0.0f, -1, false, false}, // no car in front
        {1, 30, 0.0f, 16, false, true},  // the corner 95 ahead, the straights' mean 48
        {1, 30, 0.0f, 12, false, false}, // the corner 27 ahead
        {2, 30, 0.0f, 10, false, true},  // on a corner node
        {3, 30, 0.0f, 10, false, true},  {4, 30, 0.0f, 10, false, true},   {9, 30, 0.0f, 10, false, true},
        {10, 30, 0.0f, 10, false, true}, {10, 30, 0.0f, 12, false, false}, // not on one
        {6, 12, 0.0f, -1, false, true},                                    // behind a car
        {6, 30, 0.0f, -1, false, false}, {7, 11, 2.0f, 10, false, false},  {8, 11, 2.0f, 10, false, false},
        {2, 2, 0.0f, 10, true, false}, // easing off far ahead of the human (at node 2): no pickups
    };
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        for (int n = 0; n < 40; ++n)
            route.SetPiece(n, 1, 0);
        if (c.cornerNode >= 0)
            route.SetPiece(c.cornerNode, 3, 0);
        car.pickup = c.pickup;
        car.requests = 0;
        CAIDriver& driver = AddComputer(0, car, Tuning(0));
        other = manager.CreateDriver(1, 0, c.unsafe ? 0 : 2);
        other->SetRacerCar(&otherCar);
        other->SetStartPosition(2);
        driver.SetStartPosition(1);
        car.position = On(10, 0.0f, 4.0f);
        otherCar.position = c.unsafe ? On(2) : On(c.otherNode, 0.0f, c.otherAhead);
        Frames(1);
        driver.SetRouteNode(11);
        other->SetRouteNode(c.unsafe ? 2 : c.otherNode);
        if (c.unsafe) {
            Frames(1);
            ASSERT_FALSE(driver.AcceptsPickups());
        }
        // One frame to see the road from there (the corner ahead is measured after the buttons).
        Frames(1);
        car.requests = 0;
        bool pressed = false;
        for (int i = 0; i < 3; ++i) {
            Frames(1);
            pressed = pressed || driver.GetOutput().button1 != 0;
        }
        EXPECT_EQ(pressed, c.pressed) << "type " << c.pickup << " other at " << c.otherNode << " corner "
                                      << driver.GetCornerDistance() << " mode " << driver.GetMode();
        EXPECT_EQ(car.requests > 0, c.pressed) << "type " << c.pickup;
    }
    car.pickup = -1;
}

TEST_F(AIModes, WithoutAPickupTheButtonGoesNowAndThenOnlyBehindACar) {
    CAIDriver& driver = Start(Tuning(0), On(30));
    int presses = 0;
    for (int i = 0; i < 750; ++i) { // 30 s on the racing line
        Frames(1);
        presses += driver.GetOutput().button1;
    }
    EXPECT_EQ(presses, 0);
    EXPECT_LT(driver.GetButtonTimer(), 0);
    MoveOther(On(12));
    Frames(1);
    EXPECT_EQ(driver.GetMode(), kAIModeCarInFront);
    EXPECT_EQ(driver.GetOutput().button1, 1);
    EXPECT_EQ(car.requests, 1);
    EXPECT_GE(driver.GetButtonTimer(), CAIDriver::kButtonMinMs);
    EXPECT_LT(driver.GetButtonTimer(), CAIDriver::kButtonMinMs + CAIDriver::kButtonRandomMs);
}

TEST_F(AIModes, StuntPiecesAheadSetTheLaneAndTheJumpsSpeed) {
    // A piece two nodes ahead of the driver (at node 10); lane width 8.
    const struct {
        int kind, direction, rotation;
        bool climbable;
        float speed;
        int lane, accelerator;
    } cases[] = {
        {13, 0, 0, false, 0.7f, 0, 127},  {13, 0, 0, false, 0.8f, 0, 0},   {13, 0, 0, false, 0.9f, 0, -127},
        {13, 0, 0, false, 1.0f, 0, -127}, {13, 0, 0, true, 1.0f, 0, 127},  {14, 0, 0, true, 1.0f, 0, 63},
        {17, 0, 0, true, 1.0f, 0, 127},   {22, 0, 0, true, 1.0f, 8, 127},  {22, 0, 2, true, 1.0f, -8, 127},
        {22, 1, 1, true, 1.0f, 8, 127},   {22, 2, 0, true, 1.0f, -8, 127}, {22, 3, 3, true, 1.0f, 8, 127},
        {23, 0, 0, true, 1.0f, -8, 127},  {2, 1, 3, true, 1.0f, -8, 127},
    };
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        route.SetPiece(12, c.kind, c.rotation);
        route.sections[12].direction = c.direction;
        route.climbable = c.climbable;
        car.speed = c.speed;
        CAIDriver& driver = Start(Tuning(0), On(30));
        driver.SetRouteNode(11);
        Frames(2);
        EXPECT_EQ(driver.GetMode(), kAIModeOncomingStuntTrack) << c.kind;
        EXPECT_EQ(driver.GetTargetLane(), c.lane) << c.kind << " d " << c.direction << " r " << c.rotation;
        EXPECT_EQ(driver.GetDesired().axis1, c.accelerator) << c.kind << " at " << c.speed;
        route.SetPiece(12, 1, 0);
        route.sections[12].direction = 0;
    }
    car.speed = 1.0f;
}

TEST_F(AIModes, ACarLeavingTheRaceIsNoTargetAnyMore) {
    for (bool truck : {false, true}) {
        manager.DeleteAllDrivers();
        CAIDriver& driver = Start(Tuning(0, 100), On(12));
        Frames(2);
        ASSERT_EQ(driver.GetTargetCar(), &otherCar);
        // A jam truck is removed, then deleted; a car is deleted (its driver lets it go, the manager tells
        // every driver).
        if (truck) {
            manager.RemoveJamTruck(static_cast<IRacerCar*>(&otherCar));
            EXPECT_EQ(driver.GetTargetCar(), nullptr);
        }
        other->SetRacerCar(nullptr);
        EXPECT_EQ(driver.GetTargetCar(), nullptr);
        EXPECT_EQ(driver.GetWatchedCount(), 0);
        const int lane = driver.GetTargetLane();
        Frames(5);
        EXPECT_EQ(driver.GetTargetCar(), nullptr);
        if (driver.GetMode() == kAIModeCarInFrontOvertaking)
            EXPECT_EQ(driver.GetTargetLane(), lane); // the overtaking handler has nobody to pass
    }
}

TEST_F(AIModes, APickupIsLookedUpInTheWorldBeforeEachUse) {
    int pad = 0;
    world.pickups.push_back({&pad, On(12, 5.0f)});
    CAIDriver& driver = Start(Tuning(0, 0, 0, 100), On(0));
    world.searches = 0;
    Frames(3);
    ASSERT_EQ(driver.GetMode(), kAIModeOncomingPickupGoForIt);
    // Each frame going for it, the pickup is found in the world before its place is read.
    EXPECT_GE(world.searches, 1);
    EXPECT_EQ(driver.GetTargetLane(), 5);
    // Taken by someone else: nothing finds it, and the driver lets it go.
    driver.SetParameters(Tuning(1000000, 0, 0, 100));
    world.pickups.clear();
    Frames(1);
    EXPECT_FALSE(driver.HasTargetPickup());
    EXPECT_EQ(driver.GetMode(), kAIModeRacingLine);
    EXPECT_EQ(driver.GetTargetLane(), 5);
}

TEST_F(AIModes, TheRacingLineHeldTightlyKeepsThreeInsideTheCornersEdge) {
    // RacingLine 100 leaves no spread: on a corner node the lane is exactly 3 inside the lane width.
    const struct {
        bool turnA, turnB;
        int lane;
    } cases[] = {{false, true, 5}, {true, false, -5}, {false, false, 0}};
    for (const auto& c : cases) {
        manager.DeleteAllDrivers();
        route.SetPiece(11, 3, 0, c.turnA, c.turnB);
        CAIDriver& driver = Start(Tuning(1000000), On(30));
        car.position = On(10, 0.0f, 4.0f);
        driver.SetRouteNode(11);
        Frames(1);
        EXPECT_EQ(driver.GetTargetLane(), c.lane) << c.turnA << c.turnB;
        EXPECT_EQ(driver.GetDesired().axis1, driver.GetAcceleratorTarget());
        route.SetPiece(11, 1, 0);
    }
}

} // namespace
