// The jam truck's driver shuttling on ring routes: arrival, turning at the ends of a broken route and
// before special pieces and ramps, the side of the road, and letting go of a removed or dead truck.

#include "RaceDoubles.h"

#include "app/DriverControls.h"
#include "race/FactoryDriver.h"
#include "world/CarObject.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrix;
using namespace racetest;

namespace {

constexpr int kRampKind = 10;

struct TruckRig {
    explicit TruckRig(int count) : route(count), driver(-1, 4, Prepare()) { driver.SetRacerCar(&car); }
    IDriverServices* Prepare() {
        services.route = &route;
        return &services;
    }
    /// A frame with the truck where it stands.
    bool Update() {
        driver.UpdateRoutePosition();
        return driver.Update(40);
    }
    /// Puts the truck where this frame's lane point of its node will be, then runs the frame.
    bool ArriveAndUpdate() {
        const int node = driver.GetTargetNode();
        if (node >= 0) {
            const int lane = driver.GetLane();
            const int target = driver.GetTargetLane();
            const int next = lane < target ? std::min(lane + 4, target) : std::max(lane - 4, target);
            const CVector side = route.GetNodeSide(node);
            const CVector at = route.nodes[static_cast<std::size_t>(node)];
            car.position = CVector(at.x + side.x * static_cast<float>(next), 0.0f,
                                   at.z + side.z * static_cast<float>(next));
        }
        driver.UpdateRoutePosition();
        return driver.Update(40);
    }

    /// A closed or broken ring with special pieces on `special`, the truck standing on node `start`.
    void Lay(bool broken, const std::vector<int>& special, int start) {
        route.broken = broken;
        for (int node : special)
            route.special.insert(node);
        car.position = route.nodes[static_cast<std::size_t>(start)];
    }

    RingRoute route;
    FakeServices services;
    FakeCar car;
    CFactoryDriver driver;
};

TEST(FactoryDriver, ShuttlesAndTurnsBack) {
    struct Case {
        const char* name;
        int count;
        bool broken;
        std::vector<int> special;
        std::vector<int> ramps;
        int start;
        std::vector<int> targets; ///< the target node after each frame
    };
    const Case cases[] = {
        {"a broken route: back at the last node and at node 0",
         6,
         true,
         {},
         {},
         2,
         {3, 4, 5, 4, 3, 2, 1, 0, 1, 2}},
        {"a closed route wraps", 6, false, {}, {}, 4, {5, 0, 1}},
        {"before a special piece and before a ramp", 8, false, {5}, {1}, 2, {3, 4, 3, 2, 3, 4, 3, 2}},
        {"boxed in between two special pieces it waits", 8, false, {3, 5}, {}, 4, {4, 4, 4}},
        {"a broken route of one node", 1, true, {}, {}, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TruckRig rig(c.count);
        rig.Lay(c.broken, c.special, c.start);
        for (int node : c.ramps)
            rig.route.kinds[node] = kRampKind;
        std::vector<int> targets;
        int previous = c.start;
        for (std::size_t frame = 0; frame < c.targets.size(); ++frame) {
            // The first frame finds the node nearest the truck.
            ASSERT_TRUE(frame == 0 ? rig.Update() : rig.ArriveAndUpdate());
            const int target = rig.driver.GetTargetNode();
            targets.push_back(target);
            EXPECT_TRUE(rig.driver.HasArrived());
            // The truck keeps to its own side: positive lanes going up the route, negative coming back.
            if (c.count > 1 && target != previous) {
                const bool up = target == previous + 1 || (previous == c.count - 1 && target == 0);
                EXPECT_EQ(rig.driver.GetTargetLane(), up ? 8 : -8) << frame;
                EXPECT_EQ(rig.driver.GetShuttle(), up ? CFactoryDriver::kForward : CFactoryDriver::kBackward);
            }
            previous = target;
        }
        EXPECT_EQ(targets, c.targets);
    }
}

TEST(FactoryDriver, APutBackTruckDrivesOnFromTheNodeItWasDrivingTo) {
    struct Case {
        const char* name;
        int count;
        bool broken;
        std::vector<int> special;
        int start;
        int frames; ///< arrivals before the put-back
        int target; ///< the node it drives to after the put-back
        CFactoryDriver::EShuttle shuttle;
    };
    using S = CFactoryDriver::EShuttle;
    const Case cases[] = {
        {"halfway along a closed route", 10, false, {}, 1, 3, 6, S::kForward},
        {"back down a broken route: forwards", 6, true, {}, 3, 4, 3, S::kForward},
        {"a special piece next: its own node", 10, false, {6}, 2, 2, 5, S::kBackward},
        {"a broken route's end: not to node 0", 6, true, {}, 3, 1, 5, S::kBackward},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TruckRig rig(c.count);
        rig.Lay(c.broken, c.special, c.start);
        ASSERT_TRUE(rig.Update());
        for (int frame = 0; frame < c.frames; ++frame) {
            ASSERT_TRUE(rig.ArriveAndUpdate());
            EXPECT_EQ(rig.driver.GetRouteNode(), rig.driver.GetTargetNode()) << frame;
        }
        // What a put-back does: the truck lands over its respawn node and its driver is set one node on.
        const int landed = rig.driver.GetRouteNode();
        rig.car.position = rig.route.nodes[static_cast<std::size_t>(landed)] + CVector(0.0f, 0.0f, 20.0f);
        rig.driver.SetRouteNode(landed + 1);
        ASSERT_TRUE(rig.Update());
        EXPECT_EQ(rig.driver.GetTargetNode(), c.target);
        EXPECT_EQ(rig.driver.GetRouteNode(), c.target);
        EXPECT_EQ(rig.driver.GetShuttle(), c.shuttle);
        EXPECT_EQ(rig.driver.GetTargetLane(), c.shuttle == CFactoryDriver::kForward ? 8 : -8);
    }
}

TEST(FactoryDriver, ArrivesStrictlyWithin5UnitsAndSteersOtherwise) {
    const struct {
        float distance; ///< short of node 3 on the way from node 2
        float degrees;  ///< heading turned from the way to the node
        int target;
        int steering;
    } cases[] = {
        {5.0f, 0.0f, 3, 0},    {4.99f, 0.0f, 4, 0},    {20.0f, 9.0f, 3, 6},
        {20.0f, -9.0f, 3, -6}, {20.0f, 30.0f, 3, 127},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        TruckRig rig(40);
        // Lane points on the nodes themselves; the first frame, on node 2, sets off for node 3.
        rig.route.laneWidth[2] = 0;
        rig.route.laneWidth[3] = 0;
        rig.car.position = rig.route.nodes[2];
        ASSERT_TRUE(rig.Update());
        ASSERT_EQ(rig.driver.GetTargetNode(), 3);
        CVector along = rig.route.nodes[3] - rig.route.nodes[2];
        along.Normalise();
        rig.car.position = rig.route.nodes[3] - along * c.distance;
        rig.car.heading = RotateAboutYAxis(along, c.degrees * 3.14159265f / 180.0f);
        rig.car.velocity = rig.car.heading;
        rig.driver.UpdateRoutePosition();
        EXPECT_TRUE(rig.driver.Update(40));
        EXPECT_EQ(rig.driver.GetTargetNode(), c.target);
        CDriverControls controls;
        rig.driver.GetControls(controls);
        EXPECT_EQ(controls.steering, c.steering);
        EXPECT_EQ(controls.axis1, 127);
        EXPECT_EQ(controls.axis2, -127);
    }
}

TEST(FactoryDriver, LetsGoOfARemovedOrDeadTruck) {
    TruckRig rig(8);
    rig.car.position = rig.route.nodes[2];
    ASSERT_TRUE(rig.Update());
    const int target = rig.driver.GetTargetNode();
    rig.driver.SetRemoved(true);
    EXPECT_FALSE(rig.ArriveAndUpdate());
    EXPECT_EQ(rig.driver.GetTargetNode(), target) << "a removed truck drives no more";

    FakeServices services;
    RingRoute route(8);
    services.route = &route;
    CFactoryDriver driver(-1, 5, &services);
    EXPECT_TRUE(driver.IsReady());
    EXPECT_FALSE(driver.Update(40)) << "no car";
    CCarObject truck(60015);
    truck.AssignDriver(&driver);
    EXPECT_EQ(driver.GetCarObject(), &truck);
    truck.SetDead();
    EXPECT_FALSE(driver.Update(40));
    EXPECT_EQ(driver.GetCar(), nullptr);
    EXPECT_EQ(truck.GetDriver(), nullptr);
}

} // namespace
