#include "app/IODevice.h"
#include "app/DriverControls.h"
#include "app/IOJoyStick.h"
#include "app/IOKeyboard.h"
#include "app/IOMouse.h"
#include "platform/input/ScriptedInput.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using plat::input::InstanceId;
using plat::input::kSystemKeyboard;
using plat::input::kSystemMouse;
using plat::input::ScriptedInput;

constexpr int kFull = 32767;

std::unique_ptr<CIODevice> Make(ScriptedInput& input, InstanceId id, int slot = 0) {
    auto device = CIODevice::CreateInputDevice(input, id, slot);
    EXPECT_NE(device, nullptr);
    if (device)
        EXPECT_TRUE(device->Acquire(true));
    return device;
}

struct Controls {
    int a, b, steering, up, down;
    friend bool operator==(const Controls&, const Controls&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Controls& c) {
        return os << "{A " << c.a << ", B " << c.b << ", steer " << c.steering << ", up " << c.up << ", down "
                  << c.down << "}";
    }
};

Controls Read(const CIODevice& d) {
    return {d.GetActionA(), d.GetActionB(), d.GetSteering(), d.GetUp(), d.GetDown()};
}

TEST(IODevice, ScaleAxis) {
    const struct {
        int value, min, max;
        bool invert;
        int expected;
    } cases[] = {
        {200, -127, 127, true, -127}, {200, -127, 127, false, 127}, {-300, -127, 127, false, -127},
        {50, -127, 127, true, -50},   {0, -127, 0, false, 127},     {-127, -127, 0, false, -127},
        {-64, -127, 0, false, -1},    {5, 0, 127, false, -117},     {0, 0, 127, false, -127},
        {127, 0, 127, false, 127},    {-50, 0, 127, false, -127},   {99, -127, 0, true, -127},
        {64, 0, 127, true, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.value << " in " << c.min << ".." << c.max << (c.invert ? " inverted" : ""));
        EXPECT_EQ(CIODevice::ScaleAxis(c.value, c.min, c.max, c.invert), c.expected);
    }
}

// Up and down on the two halves of one axis each get their half as the range.
TEST(IODevice, ResetControlsSetsRangesFromTheBindings) {
    using Range = CIODevice::Range;
    const struct {
        CIODevice::Bindings bindings;
        Range up, down;
    } cases[] = {
        {{49, 51, 0, 1, 0, 1, 4, 0, 4, 0}, {-127, 0}, {0, 127}},        // one axis
        {{49, 51, 0, 1, 0, 1, 47, 0, 47, 0}, {-127, 0}, {0, 127}},      // any code below the buttons
        {{49, 51, 0, 1, 0, 1, 4, 0, 8, 0}, {-127, 127}, {-127, 127}},   // two axes
        {{49, 51, 0, 1, 0, 1, 48, 0, 48, 0}, {-127, 127}, {-127, 127}}, // one button
        {{28, 54, 205, 0, 203, 0, 200, 0, 208, 0}, {-127, 127}, {-127, 127}},
    };
    ScriptedInput input;
    InstanceId stick = input.AddJoystick(3, 0, 8);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "up " << c.bindings[6] << " down " << c.bindings[8]);
        auto device = Make(input, stick);
        input.SetAxis(stick, 0, kFull);
        input.SetButton(stick, 0, true);
        ASSERT_TRUE(device->ReadInput(16)); // move the controls away from their reset values
        input.SetButton(stick, 0, false);
        ASSERT_NE(Read(*device), (Controls{0, 0, 0, -127, -127}));
        EXPECT_TRUE(device->SetBindings(c.bindings));
        EXPECT_EQ(Read(*device), (Controls{0, 0, 0, -127, -127}));
        EXPECT_EQ(device->GetSteeringRange(), (Range{-127, 127}));
        EXPECT_EQ(device->GetUpRange(), c.up);
        EXPECT_EQ(device->GetDownRange(), c.down);
    }
}

TEST(IODevice, KeyboardLayouts) {
    const struct {
        const char* name;
        CIODevice::Bindings layout;
    } layouts[] = {{"arrows", CIOKeyboard::kLayout1},
                   {"letters", CIOKeyboard::kLayout2},
                   {"keypad", CIOKeyboard::kLayout3}};
    // Keys by binding field: 0 action A, 1 action B, 2 right, 4 left, 6 up, 8 down.
    const struct {
        const char* what;
        std::vector<int> fields;
        Controls expected;
    } presses[] = {
        {"nothing", {}, {0, 0, 0, -127, -127}},     {"right", {2}, {0, 0, -127, -127, -127}},
        {"left", {4}, {0, 0, 127, -127, -127}},     {"right and left", {2, 4}, {0, 0, 0, -127, -127}},
        {"up", {6}, {0, 0, 0, 127, -127}},          {"down", {8}, {0, 0, 0, -127, 127}},
        {"actions", {0, 1}, {1, 1, 0, -127, -127}}, {"everything", {0, 1, 2, 4, 6, 8}, {1, 1, 0, 127, 127}},
    };
    for (const auto& layout : layouts) {
        for (const auto& press : presses) {
            SCOPED_TRACE(testing::Message() << layout.name << ": " << press.what);
            ScriptedInput input;
            auto keyboard = Make(input, kSystemKeyboard);
            ASSERT_EQ(keyboard->GetKind(), CIODevice::KIND_KEYBOARD);
            keyboard->SetBindings(layout.layout);
            for (int field : press.fields)
                input.SetKey(layout.layout[static_cast<std::size_t>(field)], true);
            ASSERT_TRUE(keyboard->ReadInput(16));
            EXPECT_EQ(Read(*keyboard), press.expected);
        }
    }
}

TEST(IODevice, KeyboardIgnoresCodesOutsideTheKeyTable) {
    ScriptedInput input;
    auto keyboard = Make(input, kSystemKeyboard);
    keyboard->SetBindings({-1, 256, 100000, 0, -200, 0, 1 << 30, 0, -2147483647 - 1, 0});
    for (int code = 0; code < 256; ++code)
        input.SetKey(code, true);
    ASSERT_TRUE(keyboard->ReadInput(16));
    EXPECT_EQ(Read(*keyboard), (Controls{0, 0, 0, -127, -127}));
}

TEST(IODevice, EveryDeviceSteersRightTheSameWay) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    auto keyboard = Make(input, kSystemKeyboard, 0);
    auto mouse = Make(input, kSystemMouse, 1);
    auto joystick = Make(input, stick, 2);
    input.SetKey(205, true);
    input.MoveMouse(12, 0);
    input.SetAxis(stick, 0, kFull);
    for (CIODevice* device : {keyboard.get(), mouse.get(), joystick.get()}) {
        SCOPED_TRACE(device->GetKind());
        ASSERT_TRUE(device->ReadInput(16));
        EXPECT_EQ(device->GetSteering(), -127);
    }
}

TEST(IODevice, Mouse) {
    const struct {
        const char* what;
        int dx, dy;
        std::vector<int> buttons; // 0 left, 1 right, 2 middle, 3 extra
        Controls expected;
    } cases[] = {
        {"still", 0, 0, {}, {0, 0, 0, -127, -127}},
        {"only up and down", 0, 40, {}, {0, 0, 0, -127, -127}},
        {"right", 3, -8, {}, {0, 0, -127, -127, -127}},
        {"left", -1, 0, {}, {0, 0, 127, -127, -127}},
        {"left button", 0, 0, {0}, {0, 0, 0, 127, -127}},
        {"middle button", 0, 0, {2}, {0, 0, 0, -127, 127}},
        {"right button", 0, 0, {1}, {1, 0, 0, -127, -127}},
        {"extra button", 0, 0, {3}, {0, 0, 0, -127, -127}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedInput input;
        auto mouse = Make(input, kSystemMouse);
        ASSERT_EQ(mouse->GetKind(), CIODevice::KIND_MOUSE);
        input.MoveMouse(c.dx, c.dy);
        for (int button : c.buttons)
            input.SetMouseButton(button, true);
        ASSERT_TRUE(mouse->ReadInput(16));
        EXPECT_EQ(Read(*mouse), c.expected);
    }
}

TEST(IODevice, JoystickButtonsComeFromTheRecords) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    auto joystick = Make(input, stick);
    ASSERT_EQ(joystick->GetKind(), CIODevice::KIND_JOYSTICK);

    input.SetButton(stick, 1, true); // A
    input.SetButton(stick, 0, true); // up
    input.SetButton(stick, 3, true); // B: never read from a joystick
    ASSERT_TRUE(joystick->ReadInput(16));
    EXPECT_EQ(Read(*joystick), (Controls{0x80, 0, 0, 127, -127}));

    // Held buttons without new records keep their values.
    ASSERT_TRUE(joystick->ReadInput(16));
    EXPECT_EQ(Read(*joystick), (Controls{0x80, 0, 0, 127, -127}));

    // A press and its release in one frame end released.
    input.SetButton(stick, 2, true);
    input.SetButton(stick, 2, false);
    input.SetButton(stick, 1, false);
    ASSERT_TRUE(joystick->ReadInput(16));
    EXPECT_EQ(Read(*joystick), (Controls{0, 0, 0, 127, -127}));
}

// Up and down on one axis (its two halves): the records of the axis crossing its centre set them, both
// pressed while the axis is below the centre.
TEST(IODevice, JoystickControlsBoundToAnAxisFollowItsCrossings) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick(3, 0, 8);
    auto joystick = Make(input, stick);
    joystick->SetBindings({49, 51, 0, 1, 0, 1, 4, 0, 4, 0});
    const struct {
        int raw; // of the y axis
        int up;  // and down
    } steps[] = {{-kFull, 127}, {-20000, 127}, {0, -127}, {1000, -127}, {kFull, -127}, {-30000, 127}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.raw);
        input.SetAxis(stick, 1, step.raw);
        ASSERT_TRUE(joystick->ReadInput(16));
        EXPECT_EQ(Read(*joystick).up, step.up);
        EXPECT_EQ(Read(*joystick).down, step.up);
    }
}

TEST(IODevice, JoystickSteeringPassesTheCentreWhenItChangesSide) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    auto joystick = Make(input, stick);
    const struct {
        int raw;
        int steering;
    } frames[] = {
        {-kFull, 127},               // full left (the default binding inverts X)
        {kFull, 0},                  // straight to full right: one frame of centre first
        {kFull, -127}, {16384, -53}, // same side: no stop at the centre
        {3000, 0},                   // inside the dead zone
        {-kFull, 127},               // from the centre no stop is needed
    };
    for (const auto& f : frames) {
        SCOPED_TRACE(f.raw);
        input.SetAxis(stick, 0, f.raw);
        ASSERT_TRUE(joystick->ReadInput(16));
        EXPECT_EQ(joystick->GetSteering(), f.steering);
    }
}

TEST(IODevice, JoystickSteeringCodes) {
    const struct {
        const char* what;
        int code, invert;
        bool buttonDown;
        int expected;
    } cases[] = {
        {"Y axis", 4, 0, false, 127},
        {"button held", 52, 0, true, 127},
        {"button released", 52, 0, false, -127},
        {"button inverted", 52, 1, true, -127},
        {"invert flag reads its low byte", 4, 0x100, false, 127},
        {"offset past the state", 80, 0, true, 0},
        {"negative offset", -4, 0, true, 0},
        {"between two axes", 2, 0, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedInput input;
        InstanceId stick = input.AddJoystick(3, 0, 8);
        auto joystick = Make(input, stick);
        joystick->SetBindings({49, 51, c.code, c.invert, 0, 0, 48, 0, 50, 0});
        input.SetAxis(stick, 0, kFull);
        input.SetAxis(stick, 1, kFull);
        input.SetButton(stick, 4, c.buttonDown);
        ASSERT_TRUE(joystick->ReadInput(16));
        EXPECT_EQ(joystick->GetSteering(), c.expected);
    }
}

TEST(IODevice, LostDevice) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    auto joystick = Make(input, stick);
    input.SetAxis(stick, 0, -kFull);
    input.SetButton(stick, 0, true);
    ASSERT_TRUE(joystick->ReadInput(16));
    EXPECT_EQ(Read(*joystick), (Controls{0, 0, 127, 127, -127}));

    // Lost and won back in one poll: the values are read at once.
    input.SetFocus(false);
    input.SetFocus(true);
    input.SetAxis(stick, 0, 0);
    EXPECT_TRUE(joystick->ReadInput(16));
    EXPECT_EQ(joystick->GetSteering(), 0);

    // Lost and not won back: the poll fails and the values stay.
    input.SetAxis(stick, 0, -kFull);
    ASSERT_TRUE(joystick->ReadInput(16));
    input.SetFocus(false);
    input.SetAxis(stick, 0, kFull);
    input.SetButton(stick, 0, false);
    EXPECT_FALSE(joystick->ReadInput(16));
    EXPECT_FALSE(joystick->ReadInput(16));
    EXPECT_EQ(Read(*joystick), (Controls{0, 0, 127, 127, -127}));

    // Focus back: the next poll acquires again.
    input.SetFocus(true);
    EXPECT_TRUE(joystick->ReadInput(16));
    EXPECT_EQ(joystick->GetSteering(), 0);

    // Unplugged: every poll fails.
    input.Detach(stick);
    EXPECT_FALSE(joystick->ReadInput(16));

    // A device object that never got its system device.
    CIOKeyboard bare(0);
    EXPECT_FALSE(bare.IsValid());
    EXPECT_FALSE(bare.ReadInput(16));
    EXPECT_FALSE(bare.Acquire(true));
}

TEST(IODevice, CreateInputDevice) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    InstanceId pad = input.AddJoystick(2, 1, 10, true);
    InstanceId broken = input.AddJoystick();
    input.SetOpenFails(broken, true);
    const struct {
        InstanceId id;
        int kind;
        CIODevice::Bindings bindings;
    } cases[] = {
        {kSystemMouse, CIODevice::KIND_MOUSE, CIOMouse::kDefaultBindings},
        {kSystemKeyboard, CIODevice::KIND_KEYBOARD, CIOKeyboard::kLayout1},
        {stick, CIODevice::KIND_JOYSTICK, CIOJoyStick::kDefaultBindings},
        {pad, CIODevice::KIND_JOYSTICK, CIOJoyStick::kGamepadBindings},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        auto device = CIODevice::CreateInputDevice(input, c.id, 3);
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->GetKind(), c.kind);
        EXPECT_EQ(device->GetSlot(), 3);
        EXPECT_EQ(device->GetBindings(), c.bindings);
        EXPECT_TRUE(device->IsValid());
    }
    EXPECT_EQ(CIODevice::CreateInputDevice(input, broken, 0), nullptr);
    EXPECT_EQ(CIODevice::CreateInputDevice(input, 12345, 0), nullptr);

    // Without a window nothing can be set up; without the focus a device is made but not acquired.
    input.SetWindow(false);
    EXPECT_EQ(CIODevice::CreateInputDevice(input, kSystemKeyboard, 0), nullptr);
    input.SetWindow(true);
    input.SetFocus(false);
    auto keyboard = CIODevice::CreateInputDevice(input, kSystemKeyboard, 0);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_FALSE(keyboard->Acquire(true));
}

TEST(IODevice, ControlRecord) {
    ScriptedInput input;
    auto keyboard = Make(input, kSystemKeyboard);
    input.SetKey(28, true);
    input.SetKey(208, true);
    ASSERT_TRUE(keyboard->ReadInput(16));
    keyboard->SetSteering(-60);
    CDriverControls controls;
    keyboard->GetControls(controls);
    EXPECT_EQ(controls.button1, 1);
    EXPECT_EQ(controls.button2, 0);
    EXPECT_EQ(controls.steering, -60);
    EXPECT_EQ(controls.axis1, -127);
    EXPECT_EQ(controls.axis2, 127);
}

TEST(IODevice, ForceFeedback) {
    ScriptedInput input;
    InstanceId shaker = input.AddJoystick(2, 0, 8, false, true);
    {
        auto joystick = Make(input, shaker);
        EXPECT_TRUE(joystick->HasForceFeedback());
        joystick->FeedbackPulse(0);
        joystick->FeedbackPulse(150000);
        joystick->FeedbackPush(0, 0, 3, 4000); // no direction: nothing
        joystick->FeedbackPush(2, 0, 3, 4000);
        joystick->FeedbackPush(2, 0, 3, 0);
        joystick->FeedbackLevel(7000);
        joystick->FeedbackLevel(0);
    }
    // The pulse and the push in polar directions, the push fired by the action A button as well (button
    // 1 by default); the constant force along x.
    const std::vector<std::string> expected = {
        "autocentre off",
        "#0 create sine 10000 200000 50000 polar",
        "#1 create constant -5000 -1 0 x",
        "#1 stop",
        "#2 create constant 5000 100000 0 polar trigger 1",
        "#0 duration 150000",
        "#0 start",
        "#2 direction 3 2",
        "#2 gain 4000",
        "#2 start",
        "#2 stop",
        "#1 gain 7000",
        "#1 start",
        "#1 stop",
        "#0 release",
        "#1 release",
        "#2 release",
    };
    EXPECT_EQ(input.EffectLog(shaker), expected);

    // The trigger follows the action A binding: another button, or none for an axis.
    const struct {
        int actionA;
        const char* push;
    } triggers[] = {{52, "create constant 5000 100000 0 polar trigger 4"},
                    {4, "create constant 5000 100000 0 polar"}};
    for (const auto& t : triggers) {
        SCOPED_TRACE(t.actionA);
        auto joystick = Make(input, shaker);
        CIODevice::Bindings bindings = joystick->GetBindings();
        bindings[0] = t.actionA;
        joystick->SetBindings(bindings);
        ASSERT_TRUE(joystick->CreateEffects());
        const std::string push = input.EffectLog(shaker).back(); // "#<effect> create ..."
        EXPECT_EQ(push.substr(push.find(' ') + 1), t.push);
    }

    // Without force feedback the calls do nothing and no effect exists.
    InstanceId plain = input.AddJoystick();
    auto joystick = Make(input, plain);
    EXPECT_FALSE(joystick->HasForceFeedback());
    joystick->FeedbackPulse(100);
    joystick->FeedbackPush(1, 1, 1, 100);
    joystick->FeedbackLevel(100);
    EXPECT_TRUE(input.EffectLog(plain).empty());
}

} // namespace
