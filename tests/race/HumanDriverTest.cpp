// The player's driver from recorded input: the scripted keyboard and joystick read by the real input
// manager each frame, a ring route and a car the test places.

#include "RaceDoubles.h"

#include "app/DriverControls.h"
#include "app/IODevice.h"
#include "app/IOKeyboard.h"
#include "race/HumanDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zentrix;
using namespace racetest;

namespace {

// The keyboard reports the right arrow as steering -127 and the left arrow as +127; negative lanes lie
// to the right of the way the route runs.
constexpr int kRight = -1;
constexpr int kLeft = 1;
constexpr int kUpKey = 200;

/// A player's driver in slot 0 on a ring of 40 nodes, its car standing on node `carNode`, started.
struct HumanRig {
    explicit HumanRig(bool freeForm = false, int carNode = 20) : route(40), driver(10, 0, Prepare(freeForm)) {
        car.position = route.nodes[static_cast<std::size_t>(carNode)];
        driver.SetRacerCar(&car);
        driver.Activate();
    }
    IDriverServices* Prepare(bool freeForm) {
        services.route = &route;
        services.input = &input.manager;
        services.freeForm = freeForm;
        return &services;
    }
    /// One frame as the game runs it: the devices read, the route position, the driver.
    void Frame(int ms, int steer = 0, bool throttle = false) {
        input.input.SetKey(205, steer == kRight);
        input.input.SetKey(203, steer == kLeft);
        input.input.SetKey(kUpKey, throttle);
        input.manager.Poll(ms);
        driver.UpdateRoutePosition();
        driver.Update(ms);
    }
    CDriverControls Controls() const {
        CDriverControls controls;
        driver.GetControls(controls);
        return controls;
    }
    /// Moving at `speed` along `heading`.
    void Move(const CVector& heading, float speed) {
        car.heading = heading;
        car.velocity = heading * speed;
    }

    ScriptedInputRig input;
    RingRoute route;
    FakeServices services;
    FakeCar car;
    CHumanDriver driver;
};

TEST(HumanDriver, TakesTheDeviceOfItsControllerSlot) {
    const struct {
        const char* name;
        bool withInput;
        int slot;
        int index; ///< -100: the default choice
        int kind;  ///< CIODevice::EKind; KIND_NONE: not ready
        const CIODevice::Bindings* layout;
    } cases[] = {
        {"slot 0: keyboard layout 1", true, 0, -100, CIODevice::KIND_KEYBOARD, &CIOKeyboard::kLayout1},
        {"layout 2", true, 0, 2, CIODevice::KIND_KEYBOARD, &CIOKeyboard::kLayout2},
        {"layout 3", true, 0, 3, CIODevice::KIND_KEYBOARD, &CIOKeyboard::kLayout3},
        {"slot 3: the mouse", true, 3, -100, CIODevice::KIND_MOUSE, nullptr},
        {"the first joystick", true, 0, 4, CIODevice::KIND_JOYSTICK, nullptr},
        {"an index past the devices", true, 0, 6, CIODevice::KIND_NONE, nullptr},
        {"a negative index", true, 0, -1, CIODevice::KIND_NONE, nullptr},
        {"a jam truck's slot has no controller", true, 4, -100, CIODevice::KIND_NONE, nullptr},
        {"no input manager", false, 0, -100, CIODevice::KIND_NONE, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedInputRig input;
        input.input.AddJoystick();
        input.manager.StopManager();
        ASSERT_EQ(input.manager.StartManager(), 0);
        if (c.index != -100)
            input.manager.SetControllerDevice(c.slot, c.index);
        RingRoute route(40);
        FakeServices services;
        services.route = &route;
        services.input = c.withInput ? &input.manager : nullptr;
        FakeCar car; // outlives its driver
        CHumanDriver driver(10, c.slot, &services);
        EXPECT_EQ(driver.IsReady(), c.kind != CIODevice::KIND_NONE);
        CIODevice* device = driver.GetDevice();
        EXPECT_EQ(device ? device->GetKind() : CIODevice::KIND_NONE, c.kind);
        if (c.layout && device)
            EXPECT_EQ(device->GetBindings(), *c.layout);

        // Without a device the driver still runs its frames and hands over released controls, whatever
        // is pressed; with one it reads the slot's device.
        car.position = route.nodes[20];
        car.velocity = CVector(0.0f, 0.0f, 1.0f);
        driver.SetRacerCar(&car);
        driver.Activate();
        input.input.SetKey(205, true);
        input.input.SetKey(kUpKey, true);
        for (int frame = 0; frame < 3; ++frame) {
            input.manager.Poll(40);
            driver.UpdateRoutePosition();
            EXPECT_TRUE(driver.Update(40));
        }
        CDriverControls controls;
        controls.axis1 = 99;
        driver.GetControls(controls);
        const bool keyboard = c.kind == CIODevice::KIND_KEYBOARD && c.index <= 1;
        EXPECT_EQ(controls.axis1, keyboard ? 127 : -127);
        if (c.kind == CIODevice::KIND_NONE) {
            EXPECT_EQ(controls.steering, 0);
            EXPECT_EQ(controls.axis2, -127);
            EXPECT_EQ(controls.button1, 0);
        }
    }
}

TEST(HumanDriver, LaneSteeringFromRecordedKeys) {
    struct Step {
        int ms;
        int steer;
        bool locked;
        int targetLane;
        int lane;
    };
    struct Case {
        const char* name;
        int startOffset; ///< the car's offset from the route at the first update
        int laneWidth;   ///< of node 1, which the car steers for
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"the start lane holds for 10000 ms",
         3,
         8,
         {{40, 0, true, 3, 3}, {9960, 0, true, 3, 3}, {1, 0, false, 0, 0}}},
        {"a tap of right: lock off, target -8, the lane follows by 4, back after more than 500 ms",
         3,
         8,
         {{40, 0, true, 3, 3},
          {40, kRight, false, -8, -4},
          {40, 0, false, -8, -8},
          {400, 0, false, -8, -8},
          {60, 0, false, -8, -8},
          {1, 0, false, 0, -4},
          {40, 0, false, 0, 0}}},
        {"left goes to +8; holding it keeps it there",
         0,
         8,
         {{40, 0, true, 0, 0},
          {40, kLeft, false, 8, 4},
          {600, kLeft, false, 8, 8},
          {40, kRight, false, -8, 4}}},
        {"the lane width of the node limits the target",
         0,
         6,
         {{40, 0, true, 0, 0}, {40, kLeft, false, 6, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HumanRig rig;
        rig.route.laneWidth[1] = c.laneWidth;
        rig.route.lateral = c.startOffset;
        int i = 0;
        for (const Step& step : c.steps) {
            SCOPED_TRACE(i++);
            rig.Frame(step.ms, step.steer);
            EXPECT_EQ(rig.driver.IsLaneLocked(), step.locked);
            EXPECT_EQ(rig.driver.GetTargetLane(), step.targetLane);
            EXPECT_EQ(rig.driver.GetLane(), step.lane);
        }
    }
}

TEST(HumanDriver, CornersKeepFastCarsOffTheOuterLanes) {
    struct Case {
        const char* name;
        int targetKind;  ///< the kind of the node steered for (3 and 8 are corners)
        int trackedKind; ///< the kind of the node the car is nearest
        bool flagOnTarget;
        bool towardsPositive; ///< else towards the negative lanes
        float speed;
        int firstSteer; ///< a slow frame that sets the lane first
        int steer;
        int targetLane;
    };
    const Case cases[] = {
        {"right on a corner towards + at speed is refused", 3, 3, true, true, 2.0f, 0, kRight, 0},
        {"right on the same corner at 1.6 is taken", 3, 3, true, true, 1.6f, 0, kRight, -8},
        {"left there goes as far as the corner allows", 3, 3, true, true, 2.0f, 0, kLeft, 5},
        {"a corner towards - takes a right lane back to 0", 8, 3, true, false, 2.0f, kRight, 0, 0},
        {"slowly it keeps it, inside the edge", 8, 3, true, false, 1.0f, kRight, 0, -5},
        {"left on a corner towards - at speed is refused", 3, 3, true, false, 2.0f, 0, kLeft, 0},
        {"a plain node's flags do not count", 1, 3, true, true, 2.0f, 0, kRight, -8},
        {"a plain node: the corner the car is on counts", 1, 8, false, true, 2.0f, 0, kRight, 0},
        {"neither a corner", 1, 1, false, true, 2.0f, 0, kRight, -8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The car stands on node 5 and steers for node 1, out of reach.
        HumanRig rig(false, 5);
        rig.route.kinds[1] = c.targetKind;
        rig.route.kinds[5] = c.trackedKind;
        const int flagged = c.flagOnTarget ? 1 : 5;
        (c.towardsPositive ? rig.route.turnsPositive : rig.route.turnsNegative).insert(flagged);
        rig.Frame(40);
        rig.Frame(40, c.firstSteer == 0 ? kLeft : c.firstSteer); // unlocks the lanes
        if (c.firstSteer == 0)
            rig.driver.SetTargetLane(0, false);
        rig.Move(CVector(0.0f, 0.0f, 1.0f), c.speed);
        rig.Frame(40, c.steer);
        EXPECT_EQ(rig.driver.GetTargetNode(), 1);
        EXPECT_EQ(rig.driver.GetTargetLane(), c.targetLane);
    }
}

TEST(HumanDriver, ReachesANodeStrictlyWithin15Units) {
    const struct {
        bool freeForm;
        CVector offset; ///< of the car from node 1
        bool advances;
    } cases[] = {
        {false, CVector(15.0f, 0.0f, 0.0f), false}, {false, CVector(14.99f, 0.0f, 0.0f), true},
        {false, CVector(9.0f, 12.0f, 0.0f), true},  {true, CVector(9.0f, 12.0f, 0.0f), false},
        {true, CVector(9.0f, 11.99f, 0.0f), true},  {true, CVector(0.0f, 0.0f, -15.0f), false},
        {true, CVector(0.0f, 0.0f, -14.99f), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.offset.x) + " " + std::to_string(c.offset.y) +
                     (c.freeForm ? " free" : ""));
        HumanRig rig(c.freeForm);
        rig.car.position = rig.route.nodes[1] + c.offset;
        rig.Frame(40);
        EXPECT_EQ(rig.driver.GetTargetNode(), c.advances ? 2 : 1);
        EXPECT_EQ(rig.driver.GetLapNode(), c.advances ? 1 : 0);
    }
    // Passing node 0 is counted.
    HumanRig rig;
    rig.driver.Update(40);
    rig.driver.SetRouteNode(0);
    rig.car.position = rig.route.nodes[0];
    rig.Frame(40);
    EXPECT_EQ(rig.driver.GetNodeZeroPasses(), 1);
    EXPECT_EQ(rig.driver.GetTargetNode(), 1);

    // Out of reach of node 1 but nearer node 2, the route progress moves on: node 1 counts as passed
    // for the laps all the same.
    HumanRig by;
    CVector along = by.route.nodes[2] - by.route.nodes[1];
    along.Normalise();
    by.car.position = by.route.nodes[1] + along * 16.0f;
    by.Frame(40);
    EXPECT_EQ(by.driver.GetTargetNode(), 1);
    EXPECT_EQ(by.driver.GetLapNode(), 0);
    by.Frame(40);
    EXPECT_EQ(by.driver.GetTargetNode(), 2);
    EXPECT_EQ(by.driver.GetLapNode(), 1);
}

TEST(HumanDriver, SteersAtTheLanePoint) {
    const struct {
        float degrees; ///< the heading turned this far from the way to the target point
        float speed;
        bool grounded;
        int steering;
    } cases[] = {
        {0.0f, 1.0f, true, 0},    {9.0f, 1.0f, true, 6},      {-9.0f, 1.0f, true, -6},
        {11.0f, 1.0f, true, 127}, {-30.0f, 1.0f, true, -127}, {9.0f, 0.049f, true, 0},
        {9.0f, 0.051f, true, 6},  {9.0f, 0.0f, true, 0},      {-9.0f, 1.0f, false, -6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.degrees);
        // The car 30 units short of node 1 on the way from node 0, moving along its heading.
        HumanRig rig(false, 0);
        CVector along = rig.route.nodes[1] - rig.route.nodes[0];
        along.y = 0.0f;
        along.Normalise();
        rig.car.position = rig.route.nodes[1] - along * 30.0f;
        rig.car.grounded = c.grounded;
        rig.Move(RotateAboutYAxis(along, c.degrees * 3.14159265f / 180.0f), c.speed);
        rig.Frame(40);
        EXPECT_EQ(rig.driver.GetTargetNode(), 1);
        EXPECT_EQ(rig.Controls().steering, c.steering);
        EXPECT_EQ(rig.input.manager.GetDevice(0)->GetSteering(), 0) << "the player's input stays as read";
    }
    // A car pointing straight up (a stunt) has no flat heading: no steering, not a wild value.
    HumanRig upright(false, 0);
    upright.car.position = upright.route.nodes[1] - CVector(30.0f, 0.0f, 0.0f);
    upright.car.heading = CVector(0.0f, 1.0f, 0.0f);
    upright.car.velocity = CVector(0.0f, 2.0f, 0.0f);
    upright.Frame(40);
    EXPECT_EQ(upright.Controls().steering, 0);

    // In the air the lanes go back to the car's own offset while it lies within 15 of the route.
    for (const int offset : {10, -15, 16}) {
        SCOPED_TRACE(offset);
        HumanRig rig;
        rig.Frame(40);
        rig.Frame(40, kLeft);
        rig.car.grounded = false;
        rig.route.lateral = offset;
        rig.Frame(40, kLeft);
        const int expected = std::abs(offset) <= 15 ? offset : 8;
        EXPECT_EQ(rig.driver.GetTargetLane(), expected);
    }
}

TEST(HumanDriver, TheEndOfABrokenRouteTakesTheCarBackToTheStart) {
    const struct {
        const char* name;
        bool broken;
        bool freeForm;
        int stunt;
        int frames; ///< of 40 ms after the one reaching the last node
        int respawns;
        int timer;
    } cases[] = {
        {"back 1600 ms after the last node", true, false, -1, 40, 1, 0},
        {"not before", true, false, -1, 39, 0, 40},
        {"free steering alike", true, true, -1, 40, 1, 0},
        {"not while in a stunt", true, false, 3, 45, 0, 1600},
        {"a closed route goes on to node 0", false, false, -1, 40, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HumanRig rig(c.freeForm, 39);
        rig.route.broken = c.broken;
        rig.car.stunt = c.stunt;
        rig.driver.Update(40);
        rig.driver.SetRouteNode(39);
        rig.driver.SetResetNode(38);
        rig.Frame(40);
        EXPECT_EQ(rig.driver.GetEndOfRouteTimer(), c.broken ? 1600 : 0);
        // Moving across the road with left held: steering there would be far from 0.
        rig.Move(CVector(1.0f, 0.0f, 0.0f), 1.0f);
        for (int i = 0; i < c.frames; ++i)
            rig.Frame(40, kLeft, true);
        EXPECT_EQ(rig.car.respawns, c.respawns);
        EXPECT_EQ(rig.driver.GetEndOfRouteTimer(), c.timer);
        if (c.broken) {
            EXPECT_EQ(rig.driver.GetResetNode(), c.respawns ? 0 : 38);
            // Straight while the timer runs; afterwards free steering passes the held key on again.
            EXPECT_EQ(rig.Controls().steering, c.timer > 0 || !c.freeForm ? 0 : 127);
        } else {
            EXPECT_EQ(rig.driver.GetTargetNode(), 0);
        }
    }
}

TEST(HumanDriver, ControlsBeforeTheStartInFreeSteeringAndForceFeedback) {
    ScriptedInputRig input;
    const plat::input::InstanceId stick = input.input.AddJoystick(3, 1, 8, false, true);
    input.manager.StopManager();
    ASSERT_EQ(input.manager.StartManager(), 0);
    input.manager.SetControllerDevice(0, 4);
    RingRoute route(40);
    for (const bool freeForm : {false, true}) {
        SCOPED_TRACE(freeForm ? "free" : "lanes");
        FakeServices services;
        services.route = &route;
        services.input = &input.manager;
        services.freeForm = freeForm;
        FakeCar car;
        CHumanDriver driver(10, 0, &services);
        ASSERT_TRUE(driver.IsReady());
        EXPECT_EQ(driver.IsLaneSteering(), !freeForm);
        car.position = route.nodes[20];
        driver.SetRacerCar(&car);
        input.input.SetAxis(stick, 0, 16384);
        input.input.SetButton(stick, 0, true);
        input.input.SetButton(stick, 1, true);
        const auto frame = [&] {
            input.manager.Poll(40);
            driver.UpdateRoutePosition();
            driver.Update(40);
        };
        frame();
        const int read = driver.GetDevice()->GetSteering();
        ASSERT_NE(read, 0);
        ASSERT_GT(std::abs(read), 10);
        ASSERT_LT(std::abs(read), 127);
        // Before the start: the buttons as read, centred, no throttle, no brake.
        CDriverControls controls;
        driver.GetControls(controls);
        EXPECT_EQ(controls.button1, 0x80);
        EXPECT_EQ(controls.steering, 0);
        EXPECT_EQ(controls.axis1, -127);
        EXPECT_EQ(controls.axis2, -127);
        // Racing: the throttle as read; free steering passes the device's steering on unchanged, lane
        // steering its own (still 0 while the car does not move).
        driver.Activate();
        frame();
        driver.GetControls(controls);
        EXPECT_EQ(controls.axis1, 127);
        EXPECT_EQ(controls.steering, freeForm ? read : 0);
    }

    FakeServices services;
    services.route = &route;
    services.input = &input.manager;
    CHumanDriver driver(10, 0, &services);
    driver.FeedbackPush(30, -40, 50, 10000);
    driver.FeedbackLevel(2500);
    driver.FeedbackPulse(70000);
    const std::vector<std::string> log = input.input.EffectLog(stick);
    const auto has = [&](const std::string& call) {
        for (const std::string& line : log)
            if (line.find(call) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(has("direction -50 -30")) << "pushed away from the blow";
    EXPECT_TRUE(has("gain 10000"));
    EXPECT_TRUE(has("gain 2500"));
    EXPECT_TRUE(has("duration 70000"));
}

} // namespace
