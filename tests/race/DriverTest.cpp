// Drivers and the driver manager: the reset watchdog, route bookkeeping, taunts, slots and watch lists.

#include "RaceDoubles.h"

#include "race/DriverManager.h"
#include "world/CarObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace zentrix;
using namespace racetest;

namespace {

/// A driver on a ring of 40 nodes (4 to a section) with its car, started.
struct DriverRig {
    explicit DriverRig(int kind = 1, int index = 6) : route(40), driver(kind, index, 0, &services) {
        services.route = &route;
        driver.SetRacerCar(&car);
        driver.Activate();
    }
    /// One frame with the car on `node` at `offset` from the route line.
    bool Frame(int ms, bool grounded, int node, int offset) {
        car.grounded = grounded;
        car.position = route.nodes[static_cast<std::size_t>(node)];
        route.lateral = offset;
        driver.UpdateRoutePosition();
        return driver.Update(ms);
    }
    RingRoute route;
    FakeServices services;
    FakeCar car;
    PlainDriver driver;
};

TEST(DriverWatchdog, PutsBackCarsInTheAirStuckOrOffTheRoute) {
    struct Phase {
        int frames;
        int ms;
        bool grounded;
        int node; ///< -1: one node further each frame, from node 1
        int offset;
    };
    struct Case {
        const char* name;
        std::vector<Phase> phases;
        int stunt;
        bool finished;
        bool unreachable; ///< sections 0 and 1 cannot be driven between
        const char* reason;
        int resetFrame; ///< 1-based frame whose update answered false; 0 none
        int resetNode;
    };
    const Phase settle1{1, 10, true, 1, 0};
    const Phase settle3{1, 10, true, 3, 0};
    const Case cases[] = {
        {"5000 ms in the air", {settle1, {1, 5000, false, 1, 0}}, -1, false, false, "", 0, 0},
        {"5001 ms in the air",
         {settle1, {1, 5000, false, 1, 0}, {1, 1, false, 1, 0}},
         -1,
         false,
         false,
         "InAirTooLong",
         3,
         0},
        {"101 ms on the ground starts the air time again",
         {settle1, {1, 3000, false, 1, 0}, {1, 101, true, 1, 0}, {1, 3000, false, 1, 0}},
         -1,
         false,
         false,
         "",
         0,
         0},
        {"100 ms on the ground does not",
         {settle1, {1, 3000, false, 1, 0}, {1, 100, true, 1, 0}, {1, 2001, false, 1, 0}},
         -1,
         false,
         false,
         "InAirTooLong",
         4,
         0},
        {"stuck before the next piece",
         {settle3, {1, 2001, true, 3, 0}},
         -1,
         false,
         false,
         "CarStuckOnTrack",
         2,
         4},
        {"stuck for 2000 ms", {settle3, {1, 2000, true, 3, 0}}, -1, false, false, "", 0, 0},
        {"stuck within one piece", {settle1, {1, 2001, true, 1, 0}}, -1, false, false, "", 0, 0},
        {"stuck before a piece out of reach", {settle3, {1, 2001, true, 3, 0}}, -1, false, true, "", 0, 0},
        {"6 off at one node for 3001 ms",
         {{1, 10, true, 1, 6}, {1, 3001, true, 1, 6}},
         -1,
         false,
         false,
         "CarAtSameNode",
         2,
         0},
        {"12 off at one node",
         {{1, 10, true, 1, -12}, {1, 3001, true, 1, -12}},
         -1,
         false,
         false,
         "CarAtSameNode",
         2,
         0},
        {"6 off for 3000 ms", {{1, 10, true, 1, 6}, {1, 3000, true, 1, 6}}, -1, false, false, "", 0, 0},
        {"5 off at one node", {{1, 10, true, 1, 5}, {1, 5000, true, 1, 5}}, -1, false, false, "", 0, 0},
        {"13 off passing nodes for 2100 ms",
         {{21, 100, true, -1, 13}},
         -1,
         false,
         false,
         "CarOffRoad",
         21,
         0},
        {"13 off passing nodes for 2000 ms", {{20, 100, true, -1, -13}}, -1, false, false, "", 0, 0},
        {"12 off passing nodes", {{30, 100, true, -1, 12}}, -1, false, false, "", 0, 0},
        {"in the air during stunt 2", {settle1, {1, 9000, false, 1, 0}}, 2, false, false, "", 0, 0},
        {"off the road in the loop", {{30, 100, true, -1, 13}}, 6, false, false, "", 0, 0},
        {"stuck in the loop", {settle3, {1, 9000, true, 3, 9}}, 6, false, false, "", 0, 0},
        {"finished", {settle1, {1, 9000, false, 1, 9}}, -1, true, false, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverRig rig;
        rig.car.stunt = c.stunt;
        if (c.unreachable)
            rig.route.unreachable.insert({0, 1});
        if (c.finished)
            rig.driver.SetFinished(false);
        int frame = 0;
        int falseFrame = 0;
        int passing = 1;
        for (const Phase& phase : c.phases) {
            for (int i = 0; i < phase.frames; ++i) {
                ++frame;
                const int node = phase.node >= 0 ? phase.node : passing++;
                if (!rig.Frame(phase.ms, phase.grounded, node, phase.offset) && falseFrame == 0)
                    falseFrame = frame;
            }
        }
        EXPECT_STREQ(rig.driver.GetResetReason(), c.reason);
        EXPECT_EQ(falseFrame, c.resetFrame);
        EXPECT_EQ(rig.car.respawns, c.resetFrame ? 1 : 0);
        EXPECT_EQ(rig.driver.GetResetNode(), c.resetNode);
    }
}

TEST(DriverWatchdog, AStuckCarBeforeASpecialPieceGoesBackToTheLastOrdinaryNode) {
    DriverRig rig;
    // Nodes 3..5 are a loop: stuck on its first node, the car goes back to node 2 before it.
    rig.route.special = {3, 4, 5};
    rig.Frame(10, true, 3, 0);
    EXPECT_FALSE(rig.Frame(2001, true, 3, 0));
    EXPECT_STREQ(rig.driver.GetResetReason(), "CarStuckOnTrack");
    EXPECT_EQ(rig.driver.GetResetNode(), 2);
}

TEST(DriverRoute, NodesWrapRoundTheRingAndNothingHappensWithoutOne) {
    const struct {
        int count;
        int node;
        bool wrapped;
        int expected;
    } cases[] = {
        {10, 5, true, 5},  {10, -1, true, 9}, {10, -7, true, 9},  {10, 10, true, 0},
        {10, 23, true, 0}, {1, -1, true, 0},  {0, -1, false, -1}, {0, 3, false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node);
        RingRoute route(c.count);
        FakeServices services;
        services.route = &route;
        PlainDriver driver(1, 6, 0, &services);
        int node = c.node;
        EXPECT_EQ(driver.GetRouteNodeWrapped(node), c.wrapped);
        EXPECT_EQ(node, c.expected);
        driver.SetRouteNode(c.node);
        const int stored = c.wrapped ? c.expected : -1;
        EXPECT_EQ(driver.GetTargetNode(), stored);
        EXPECT_EQ(driver.GetPreviousNode(), stored);
        EXPECT_EQ(driver.GetNextNode(), stored);
    }
}

TEST(DriverRoute, ATrackedNodeOneStepAheadBecomesTheTarget) {
    const struct {
        int target;
        int tracked;
        bool broken;
        int expected;
    } cases[] = {
        {5, 6, false, 6},  {5, 4, false, 5}, {5, 7, false, 5}, {39, 0, false, 0},
        {0, 39, false, 0}, {5, 6, true, 5},  {5, 5, false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.target) + " -> " + std::to_string(c.tracked));
        DriverRig rig;
        rig.route.broken = c.broken;
        rig.driver.SetRouteNode(c.target);
        rig.Frame(10, true, c.tracked, 0);
        EXPECT_EQ(rig.driver.GetTargetNode(), c.expected);
    }
}

TEST(DriverRoute, OffTheRouteTheTargetMovesOnOnceButNotOntoSpecialOrOneWayPieces) {
    DriverRig rig;
    rig.driver.SetRouteNode(10);
    rig.Frame(10, true, 10, 20);
    rig.Frame(10, true, 10, 20);
    EXPECT_EQ(rig.driver.GetTargetNode(), 11) << "once while off the route";
    rig.Frame(10, true, 10, 3);
    rig.Frame(10, true, 10, 20);
    EXPECT_EQ(rig.driver.GetTargetNode(), 12) << "again after coming near";
    EXPECT_FALSE(rig.driver.IsNearRoute());

    DriverRig special;
    special.route.special = {11};
    special.driver.SetRouteNode(10);
    special.Frame(10, true, 10, 20);
    EXPECT_EQ(special.driver.GetTargetNode(), 10);
    for (int kind : {12, 14, 18, 24})
        EXPECT_TRUE(CDriver::IsFlaggedKind(kind)) << kind;
    for (int kind : {-1, 0, 2, 13, 19, 44})
        EXPECT_FALSE(CDriver::IsFlaggedKind(kind)) << kind;
}

TEST(DriverRoute, TheNearNodeIsTheClosestWithin15UnitsEvery2000Ms) {
    DriverRig rig;
    rig.car.position = rig.route.nodes[7];
    rig.driver.Update(1999);
    EXPECT_EQ(rig.driver.GetNearNode(), -1);
    rig.driver.Update(1);
    EXPECT_EQ(rig.driver.GetNearNode(), 7);
    rig.car.position = CVector(0.0f, 0.0f, 0.0f); // far from every node: kept
    rig.driver.Update(2000);
    EXPECT_EQ(rig.driver.GetNearNode(), 7);
}

TEST(DriverRoute, WithoutACarTheDriverDoesNothing) {
    DriverRig rig;
    rig.driver.SetRacerCar(nullptr);
    EXPECT_FALSE(rig.driver.UpdateRoutePosition());
    EXPECT_TRUE(rig.driver.Update(10000));
    EXPECT_TRUE(rig.services.taunts.empty());
    EXPECT_EQ(rig.driver.GetNearNode(), -1);
}

TEST(DriverRoute, AResetStartsTheRaceAgainAtTheCarsOffset) {
    DriverRig rig;
    rig.driver.SetFinished(true);
    rig.driver.SetLaneLock(true);
    rig.route.lateral = -5;
    rig.car.position = rig.route.nodes[2];
    rig.driver.ResetDriver();
    EXPECT_FALSE(rig.driver.HasFinished());
    EXPECT_FALSE(rig.driver.IsWinner());
    EXPECT_EQ(rig.driver.GetTargetNode(), 1);
    EXPECT_EQ(rig.driver.GetResetNode(), 0);
    EXPECT_EQ(rig.driver.GetTrackedNode(), 2);
    EXPECT_EQ(rig.driver.GetLane(), -5);
    EXPECT_EQ(rig.driver.GetTargetLane(), -5);
}

TEST(DriverTaunts, PositionsResetsWaitingAndTheLapOfHonourReportByDriver) {
    struct Case {
        const char* name;
        int index;
        bool active;
        int gameState;
        int from;
        int to;
        std::vector<int> events;
    };
    const Case cases[] = {
        {"player passes", 10, true, 15, 3, 2, {13}},
        {"player drops", 9, true, 15, 1, 4, {15}},
        {"opponent passes", 6, true, 15, 2, 1, {23}},
        {"opponent drops", 0, true, 15, 2, 3, {25}},
        {"same place", 6, true, 15, 2, 2, {}},
        {"before the start", 10, false, 15, 3, 1, {19}},
        {"lap of honour, player", 12, true, 18, 1, 1, {31}},
        {"lap of honour, opponent", 8, true, 18, 1, 1, {33}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverRig rig(c.index >= 9 ? 0 : 1, c.index);
        rig.services.gameState = c.gameState;
        if (!c.active)
            rig.driver.Deactivate();
        rig.driver.SetStartPosition(c.from);
        rig.driver.SetPosition(c.to);
        rig.driver.Update(10);
        EXPECT_EQ(rig.services.Events(), c.events);
        EXPECT_EQ(rig.driver.GetRacePosition(), c.to);
        for (const auto& taunt : rig.services.taunts)
            EXPECT_EQ(taunt.first, &rig.car);
    }
    DriverRig player(0, 11);
    player.driver.ReportResetTaunt();
    DriverRig opponent(1, 3);
    opponent.driver.ReportResetTaunt();
    opponent.driver.Deactivate();
    opponent.driver.ReportResetTaunt();
    EXPECT_EQ(player.services.Events(), (std::vector<int>{21}));
    EXPECT_EQ(opponent.services.Events(), (std::vector<int>{24}));
}

/// A manager whose drivers note, at their update, how many drivers had their route position refreshed.
struct NotingManager : CDriverManager {
    using CDriverManager::CDriverManager;
    struct Noting : PlainDriver {
        Noting(int kind, int index, int slot, IDriverServices* s, NotingManager& m)
            : PlainDriver(kind, index, slot, s), manager(m) {}
        bool Update(int ms) override {
            int valid = 0;
            for (int slot = 0; slot < kSlots; ++slot)
                valid += manager.GetDriver(slot) && manager.GetDriver(slot)->IsRoutePositionValid();
            manager.seen.push_back(valid);
            return PlainDriver::Update(ms);
        }
        NotingManager& manager;
    };
    std::unique_ptr<CDriver> MakeDriver(int kind, int index, int slot) override {
        return std::make_unique<Noting>(kind, index, slot, services, *this);
    }
    IDriverServices* services = nullptr;
    std::vector<int> seen;
};

TEST(DriverManager, MakesDriversByKindAndReplacesTheSlotsDriver) {
    ScriptedInputRig input;
    FakeServices services;
    services.input = &input.manager;
    FakeCar car;
    CDriverManager manager(&services);
    const int live = CDriver::GetLiveCount();
    const struct {
        int slot;
        int index;
        int kind;
        bool made;
    } cases[] = {
        {0, 10, 0, true},  {1, 6, 1, true},  {4, -1, 2, true},  {2, 7, 3, false},
        {3, 4, -1, false}, {8, 6, 1, false}, {-1, 6, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        CDriver* driver = manager.CreateDriver(c.slot, c.index, c.kind);
        EXPECT_EQ(driver != nullptr, c.made);
        if (driver) {
            EXPECT_EQ(driver->GetKind(), c.kind);
            EXPECT_EQ(driver->GetSlot(), c.slot);
            EXPECT_EQ(driver->GetDriverIndex(), c.index);
            EXPECT_TRUE(driver->IsReady());
            EXPECT_FALSE(driver->IsActive());
        }
    }
    EXPECT_EQ(CDriver::GetLiveCount(), live + 3);
    EXPECT_EQ(manager.CreateDriver(1, 0, -1), manager.GetDriver(1)) << "kind -1 reads the slot";

    manager.GetDriver(1)->SetRacerCar(&car);
    CDriver* replaced = manager.CreateDriver(1, 9, 0);
    EXPECT_TRUE(car.forgotDriver) << "the old driver's car forgets it";
    EXPECT_EQ(replaced->GetDriverIndex(), 9);
    EXPECT_EQ(CDriver::GetLiveCount(), live + 3);
    CDriverControls controls;
    controls.axis1 = 5;
    replaced->GetControls(controls);
    EXPECT_EQ(controls.axis1, -127);

    manager.DeleteAllDrivers();
    EXPECT_EQ(CDriver::GetLiveCount(), live);
    EXPECT_EQ(manager.GetDriver(0), nullptr);
}

TEST(DriverRoute, RouteDistancesRunForwardsRoundTheRingBetweenTheCarsNodes) {
    FakeServices services;
    RingRoute route(40); // 31 whole units from node to node
    services.route = &route;
    FakeCar ownCar, otherCar, lostCar, stray; // outlive the drivers, which let go of them
    CDriverManager manager(&services);
    CDriver* own = manager.CreateDriver(0, 10, 0);
    CDriver* other = manager.CreateDriver(1, 6, 0);
    CDriver* lost = manager.CreateDriver(2, 7, 0);
    own->SetRacerCar(&ownCar);
    other->SetRacerCar(&otherCar);
    lost->SetRacerCar(&lostCar);
    ownCar.position = route.nodes[38];
    otherCar.position = route.nodes[2];
    stray.position = route.nodes[10]; // no driver: placed by its nearest node
    own->UpdateRoutePosition();
    other->UpdateRoutePosition();
    const struct {
        const IRacerCar* own;
        const IRacerCar* other;
        bool ahead;
        int distance;
    } cases[] = {
        {&ownCar, &otherCar, true, 4 * 31}, {&ownCar, &otherCar, false, 36 * 31},
        {&ownCar, &stray, true, 12 * 31},   {&ownCar, &ownCar, true, 0},
        {&ownCar, &lostCar, true, -1},      {&ownCar, nullptr, false, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(own->RouteDistanceTo(c.own, c.other, c.ahead), c.distance) << c.distance;
    // Without a route position of its own the driver counts from its target node.
    ownCar.position = CVector(5000.0f, 0.0f, 5000.0f);
    services.route = nullptr;
    own->UpdateRoutePosition();
    services.route = &route;
    own->SetRouteNode(36);
    EXPECT_EQ(own->RouteDistanceTo(&ownCar, &otherCar, true), 6 * 31);
}

TEST(DriverManager, CarsAndDriversLetGoOfEachOther) {
    FakeServices services;
    CCarObject car(60000), truck(60015), spare(60001);
    CDriverManager manager(&services);
    CDriver* driver = manager.CreateDriver(0, 10, 0);
    car.AssignDriver(driver);
    EXPECT_EQ(car.GetDriver(), driver);
    EXPECT_EQ(car.GetDriverSlot(), 0);
    EXPECT_EQ(driver->GetCarObject(), &car);
    CDriver* trucker = manager.CreateDriver(4, -1, 2);
    truck.AssignDriver(trucker);
    manager.AddToWatchLists(&truck);
    EXPECT_EQ(driver->GetWatchedTruck(0), &truck);

    // A truck marked dead leaves its driver and every watch list before the world deletes it.
    truck.SetDead();
    manager.Update(16);
    EXPECT_EQ(trucker->GetCar(), nullptr);
    EXPECT_EQ(truck.GetDriver(), nullptr);
    EXPECT_EQ(driver->GetWatchedCount(), 0);

    // A driver given another car leaves the first driverless; a deleted driver leaves its car so too.
    spare.AssignDriver(trucker);
    car.AssignDriver(trucker);
    EXPECT_EQ(spare.GetDriver(), nullptr);
    EXPECT_EQ(driver->GetCarObject(), &car) << "the car's old driver is the car's business";
    manager.CreateDriver(4, 3, 1);
    EXPECT_EQ(car.GetDriver(), nullptr);
    manager.CreateDriver(0, 9, 0);
    EXPECT_EQ(car.GetDriver(), nullptr);
}

TEST(DriverManager, StartsOnlyWithReadyInputAndStoppingDeletesTheDrivers) {
    FakeServices services;
    services.inputReady = false;
    CDriverManager refused(&services);
    EXPECT_EQ(refused.StartManager(), 1);
    EXPECT_FALSE(refused.IsStarted());
    CDriverManager none(nullptr);
    EXPECT_EQ(none.StartManager(), 1);
    services.inputReady = true;
    CDriverManager manager(&services);
    EXPECT_EQ(manager.StartManager(), 0);
    EXPECT_TRUE(manager.IsStarted());
    manager.CreateDriver(2, 6, 1);
    EXPECT_EQ(manager.StopManager(), 0);
    EXPECT_FALSE(manager.IsStarted());
    EXPECT_EQ(manager.GetDriver(2), nullptr);
}

TEST(DriverManager, EveryRoutePositionIsRefreshedBeforeAnyDriverRuns) {
    RingRoute route(40);
    FakeServices services;
    services.route = &route;
    FakeCar cars[3]; // outlive the drivers, which tell their cars when they go
    NotingManager manager(&services);
    manager.services = &services;
    int k = 0;
    for (int slot : {0, 3, 7}) {
        manager.CreateDriver(slot, 6, 1)->SetRacerCar(&cars[k++]);
        manager.GetDriver(slot)->Activate();
    }
    manager.Update(10);
    EXPECT_EQ(manager.seen, (std::vector<int>{3, 3, 3}));
}

TEST(DriverManager, WatchListsTakeTrucksOnceAndLoseRemovedAndDeletedCars) {
    FakeServices services;
    FakeCar human, computer, truck, truck2, spare;
    CDriverManager manager(&services);
    manager.CreateDriver(0, 10, 0)->SetRacerCar(&human);
    manager.CreateDriver(1, 6, 1)->SetRacerCar(&computer);
    manager.CreateDriver(4, -1, 2)->SetRacerCar(&truck);
    manager.AddToWatchLists(&truck);
    manager.AddToWatchLists(&truck);
    manager.AddToWatchLists(&truck2);
    for (int slot : {0, 1}) {
        EXPECT_EQ(manager.GetDriver(slot)->GetWatchedCount(), 2) << slot;
        EXPECT_EQ(manager.GetDriver(slot)->GetWatched(0), &truck) << slot;
    }
    EXPECT_EQ(manager.GetDriver(4)->GetWatchedCount(), 0) << "the truck's driver watches nobody";

    manager.RemoveJamTruck(&truck);
    EXPECT_TRUE(manager.GetDriver(4)->IsRemoved());
    EXPECT_FALSE(manager.GetDriver(1)->IsRemoved());
    for (int slot : {0, 1}) {
        EXPECT_EQ(manager.GetDriver(slot)->GetWatchedCount(), 1) << slot;
        EXPECT_EQ(manager.GetDriver(slot)->GetWatched(0), &truck2) << slot;
    }

    // The computer driver watches everyone else; deleting the human's car leaves no pointer to it.
    CDriver* ai = manager.GetDriver(1);
    ai->RemoveWatched(&truck2);
    EXPECT_TRUE(ai->BuildWatchList());
    EXPECT_EQ(ai->GetWatchedCount(), 2);
    EXPECT_TRUE(ai->BuildWatchList());
    EXPECT_EQ(ai->GetWatchedCount(), 2) << "a list with cars is kept";
    manager.ForgetCar(&human);
    EXPECT_EQ(manager.GetDriver(0)->GetCar(), nullptr);
    EXPECT_EQ(ai->GetWatchedCount(), 1);
    EXPECT_EQ(ai->GetWatched(0), &truck);
    EXPECT_EQ(ai->GetWatched(1), nullptr);
    for (int i = 0; i < CDriver::kMaxWatched + 2; ++i)
        ai->AddWatched(i % 2 ? &spare : &computer);
    EXPECT_EQ(ai->GetWatchedCount(), 3) << "no car twice";
}

} // namespace

namespace {

TEST(DriverRoute, ANewTargetMakesTheNodeBeforeItTheResetNodeWhenItLeadsThere) {
    const struct {
        const char* name;
        int from;
        int node;
        bool wrap;
        bool keep;
        bool changed;
        int target;
        int previous;
        int resetNode;
    } cases[] = {
        {"on to the next piece", 3, 4, false, true, true, 4, 3, 3},
        {"kept previous off", 3, 4, false, false, true, 4, 3, 3},
        {"the same node", 4, 4, false, true, false, 4, 4, 3},
        {"wrapped from -1", 0, -1, true, true, true, 39, 0, 38},
        {"after a special piece", 9, 10, false, true, true, 10, 9, 0},
        {"up a step it cannot climb", 11, 12, false, true, true, 12, 11, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DriverRig rig;
        rig.route.special = {9};
        rig.route.unreachable.insert({2, 3});
        rig.driver.SetRouteNode(c.from);
        rig.driver.SetResetNode(0);
        int node = c.node;
        // Without keeping, the previous node stays what SetRouteNode made it.
        EXPECT_EQ(rig.driver.SetTargetNode(node, c.wrap, c.keep), c.changed);
        EXPECT_EQ(rig.driver.GetTargetNode(), c.target);
        EXPECT_EQ(rig.driver.GetNextNode(), c.target);
        EXPECT_EQ(rig.driver.GetPreviousNode(), c.keep ? c.previous : c.from);
        EXPECT_EQ(rig.driver.GetResetNode(), c.resetNode);
    }
    DriverRig rig;
    rig.route.unreachable.insert({2, 3});
    EXPECT_TRUE(rig.driver.CanReachNextNode(10));
    EXPECT_FALSE(rig.driver.CanReachNextNode(11));
    EXPECT_TRUE(rig.driver.CanReachNextNode(39));
}

TEST(DriverLanes, TheTargetLaneKeepsToTheRoadAndInsideCorners) {
    const struct {
        const char* name;
        int width;
        bool positiveCorner;
        bool negativeCorner;
        bool trackedCorner; ///< the corner mark lies on the tracked node, not the target
        int lane;
        int target;
        bool force;
        int expectedLane;
        int expectedTarget;
    } cases[] = {
        {"within the road", 8, false, false, false, 6, -8, false, 6, -8},
        {"too far right", 8, false, false, false, 12, 12, false, 12, 8},
        {"forced", 8, false, false, false, 12, -12, true, 8, -8},
        {"centre only", 0, false, false, false, 5, 5, true, 0, 0},
        {"corner to the positive side", 8, true, false, false, 0, 8, false, 0, 5},
        {"corner to the negative side", 8, false, true, false, 0, -8, false, 0, -5},
        {"corner on the other side", 8, true, false, false, 0, -8, false, 0, -8},
        {"a corner under the car", 8, false, true, true, 0, -7, false, 0, -5},
        {"a narrow corner", 2, true, false, false, 0, 2, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DriverRig rig;
        rig.driver.SetRouteNode(6);
        rig.Frame(10, true, 5, 0);
        const int cornerNode = c.trackedCorner ? 5 : 6;
        rig.route.laneWidth[6] = c.width;
        if (c.positiveCorner)
            rig.route.turnsPositive.insert(cornerNode);
        if (c.negativeCorner)
            rig.route.turnsNegative.insert(cornerNode);
        rig.driver.SetLane(c.lane, true);
        rig.driver.SetTargetLane(c.target, true);
        rig.driver.ClampTargetLane(c.force);
        EXPECT_EQ(rig.driver.GetLane(), c.expectedLane);
        EXPECT_EQ(rig.driver.GetTargetLane(), c.expectedTarget);
    }
}

TEST(DriverLanes, TheLockHoldsOffTheRoadBeforeAOneWayPiece) {
    const struct {
        const char* name;
        int offset;
        bool locked;
        int trackedKind; ///< the kind of the section under the car (section 1)
        int targetKind;  ///< the kind of the target's section (section 2)
        int stunt;
        bool answer;
        bool lockAfter;
        int targetAfter;
    } cases[] = {
        {"near the route", 16, false, 3, 14, -1, false, false, 9},
        {"near enough to unlock", 8, true, 3, 14, -1, false, false, 9},
        {"not near enough while locked", 9, true, 3, 14, -1, true, true, 5},
        {"off the road before a one-way piece", 17, false, 3, 14, -1, true, true, 5},
        {"off the road on a one-way piece", 17, true, 18, 3, -1, true, false, 9},
        {"off the road, no one-way piece", 17, true, 3, 3, -1, false, false, 9},
        {"in a stunt", 17, true, 3, 3, 6, true, true, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DriverRig rig;
        rig.route.sectionKind[1] = c.trackedKind;
        rig.route.sectionKind[2] = c.targetKind;
        rig.driver.SetRouteNode(9);
        rig.Frame(10, true, 5, c.offset);
        rig.driver.SetRouteNode(9);
        rig.driver.SetLaneLock(c.locked);
        rig.car.stunt = c.stunt;
        EXPECT_EQ(rig.driver.UpdateLaneLock(), c.answer);
        EXPECT_EQ(rig.driver.IsLaneLocked(), c.lockAfter);
        EXPECT_EQ(rig.driver.GetTargetNode(), c.targetAfter);
    }
    PlainDriver lost(1, 6, 0, nullptr);
    EXPECT_TRUE(lost.UpdateLaneLock()) << "no route position";
}

} // namespace
