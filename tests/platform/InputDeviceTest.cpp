#include "platform/input/Device.h"
#include "platform/input/ScriptedInput.h"
#include "platform/input/SdlInputSystem.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace plat::input;

std::int32_t Get32(const std::uint8_t* state, int offset) {
    std::int32_t v = 0;
    std::memcpy(&v, state + offset, sizeof v);
    return v;
}

/// Opens and acquires a device the way the game sets one up.
std::unique_ptr<Device> OpenReady(ScriptedInput& input, InstanceId id, StateFormat format,
                                  std::size_t buffer = 16) {
    auto device = input.OpenDevice(id);
    EXPECT_NE(device, nullptr);
    if (!device)
        return nullptr;
    EXPECT_EQ(device->SetDataFormat(format), Result::Ok);
    EXPECT_EQ(device->SetCooperativeLevel(format == StateFormat::Joystick, true), Result::Ok);
    EXPECT_EQ(device->SetBufferSize(buffer), Result::Ok);
    EXPECT_EQ(device->Acquire(), Result::Ok);
    return device;
}

TEST(InputDevice, SetUpMustFitTheDeviceAndTheWindow) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    const struct {
        InstanceId id;
        StateFormat format;
        Result expected;
    } formats[] = {
        {kSystemKeyboard, StateFormat::Keyboard, Result::Ok},
        {kSystemKeyboard, StateFormat::Mouse, Result::InvalidParam},
        {kSystemMouse, StateFormat::Mouse, Result::Ok},
        {kSystemMouse, StateFormat::Joystick, Result::InvalidParam},
        {stick, StateFormat::Joystick, Result::Ok},
        {stick, StateFormat::Keyboard, Result::InvalidParam},
        {stick, StateFormat::None, Result::InvalidParam},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(testing::Message() << f.id << " format " << static_cast<int>(f.format));
        EXPECT_EQ(input.OpenDevice(f.id)->SetDataFormat(f.format), f.expected);
    }

    // Without a format or a cooperative level nothing can be acquired.
    auto keyboard = input.OpenDevice(kSystemKeyboard);
    EXPECT_EQ(keyboard->Acquire(), Result::InvalidParam);
    keyboard->SetDataFormat(StateFormat::Keyboard);
    EXPECT_EQ(keyboard->Acquire(), Result::InvalidParam);

    // An axis range belongs to an axis.
    auto joystick = input.OpenDevice(stick);
    EXPECT_EQ(joystick->SetAxisRange(2, -127, 127), Result::InvalidParam);
    EXPECT_EQ(joystick->SetAxisRange(kJoyHats, -127, 127), Result::InvalidParam);

    input.SetWindow(false);
    EXPECT_EQ(keyboard->SetCooperativeLevel(false, true), Result::InvalidParam);
}

TEST(InputDevice, MouseReportsMovementSinceTheLastRead) {
    ScriptedInput input;
    input.MoveMouse(50, 50); // before acquiring: not the game's
    auto mouse = OpenReady(input, kSystemMouse, StateFormat::Mouse);
    input.MoveMouse(7, -3, 1);
    input.MoveMouse(2, 0);
    input.SetMouseButton(0, true);
    input.SetMouseButton(2, true);
    std::uint8_t state[kMouseStateSize];
    ASSERT_EQ(mouse->ReadState(state, sizeof state), Result::Ok);
    EXPECT_EQ(Get32(state, kMouseX), 9);
    EXPECT_EQ(Get32(state, kMouseY), -3);
    EXPECT_EQ(Get32(state, kMouseWheel), 120);
    EXPECT_EQ(state[kMouseButtons + 0], kDown);
    EXPECT_EQ(state[kMouseButtons + 1], 0);
    EXPECT_EQ(state[kMouseButtons + 2], kDown);
    ASSERT_EQ(mouse->ReadState(state, sizeof state), Result::Ok);
    EXPECT_EQ(Get32(state, kMouseX), 0);
    EXPECT_EQ(Get32(state, kMouseY), 0);
    EXPECT_EQ(state[kMouseButtons + 0], kDown);
}

TEST(InputDevice, JoystickStateLayout) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick(3, 1, 5);
    auto joystick = OpenReady(input, stick, StateFormat::Joystick);
    joystick->SetRange(-127, 127);
    joystick->SetDeadZone(1500);
    joystick->SetSaturation(9900);
    joystick->SetAxisRange(8, 0, 100);
    input.SetAxis(stick, 0, 32767);
    input.SetAxis(stick, 1, -16384);
    input.SetAxis(stick, 2, 0);
    input.SetAxis(stick, 3, 32767); // the device has only three axes
    input.SetHat(stick, 0, 2);
    input.SetButton(stick, 4, true);

    std::uint8_t state[kJoystickStateSize];
    ASSERT_EQ(joystick->ReadState(state, sizeof state), Result::Ok);
    EXPECT_EQ(Get32(state, 0), 127);
    EXPECT_EQ(Get32(state, 4), -53);
    EXPECT_EQ(Get32(state, 8), 50);
    for (int offset = 12; offset < kJoyHats; offset += 4)
        EXPECT_EQ(Get32(state, offset), 0) << offset;
    EXPECT_EQ(static_cast<std::uint32_t>(Get32(state, kJoyHats)), 9000u);
    for (int hat = 1; hat < kJoyHatCount; ++hat)
        EXPECT_EQ(static_cast<std::uint32_t>(Get32(state, kJoyHats + 4 * hat)), kHatCentred);
    for (int button = 0; button < kJoyButtonCount; ++button)
        EXPECT_EQ(state[kJoyButtons + button], button == 4 ? kDown : 0) << button;
}

TEST(InputDevice, ButtonRecordsInOrderSixteenDeep) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick(2, 0, 8);
    input.SetButton(stick, 1, true); // opened later: never seen
    auto joystick = OpenReady(input, stick, StateFormat::Joystick);
    input.SetButton(stick, 0, true, 10); // before acquiring a second time below: dropped
    joystick->Unacquire();
    ASSERT_EQ(joystick->Acquire(), Result::Ok);

    for (int i = 0; i < 20; ++i)
        input.SetButton(stick, 2, i % 2 == 0, static_cast<std::uint32_t>(100 + i));
    std::vector<BufferedRecord> records;
    ASSERT_EQ(joystick->ReadBuffered(records, 10), Result::Ok);
    ASSERT_EQ(records.size(), 10u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].offset, static_cast<std::uint32_t>(kJoyButtons + 2));
        EXPECT_EQ(records[i].data, i % 2 == 0 ? kDown : 0u);
        EXPECT_EQ(records[i].timeMs, 100 + i);
        EXPECT_EQ(records[i].sequence, records[0].sequence + i);
    }
    // The buffer held sixteen; the last four were dropped.
    ASSERT_EQ(joystick->ReadBuffered(records, 16), Result::Ok);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records.back().timeMs, 115u);
    ASSERT_EQ(joystick->ReadBuffered(records, 16), Result::Ok);
    EXPECT_TRUE(records.empty());
}

// An axis is buffered when it crosses its centre (below it, on it, above it), in order with the buttons;
// moves on one side are left to the state.
TEST(InputDevice, AxisCrossingsAreBufferedWithTheButtons) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick(2, 0, 8);
    input.SetAxis(stick, 1, -30000); // below the centre when acquired: no crossing yet
    auto joystick = OpenReady(input, stick, StateFormat::Joystick);
    joystick->Unacquire();
    joystick->SetRange(-127, 127);
    joystick->SetDeadZone(1500);
    ASSERT_EQ(joystick->Acquire(), Result::Ok);
    const struct {
        int axis, raw; // axis -1: button 3 pressed
        bool recorded;
        std::int32_t data; // of the record
    } steps[] = {
        {1, -20000, false, 0}, {0, 3000, false, 0},  {0, 20000, true, 69},
        {0, 32767, false, 0},  {-1, 0, true, 0x80},  {0, -32768, true, -127},
        {1, 100, true, 0},     {2, 32767, false, 0}, // no axis 2
    };
    std::vector<std::pair<std::uint32_t, std::int32_t>> expected;
    std::uint32_t time = 0;
    for (const auto& step : steps) {
        if (step.axis < 0)
            input.SetButton(stick, 3, true, ++time);
        else
            input.SetAxis(stick, step.axis, step.raw, ++time);
        if (step.recorded)
            expected.emplace_back(step.axis < 0 ? kJoyButtons + 3 : 4 * step.axis, step.data);
    }
    std::vector<BufferedRecord> records;
    ASSERT_EQ(joystick->ReadBuffered(records, 16), Result::Ok);
    std::vector<std::pair<std::uint32_t, std::int32_t>> got;
    for (const BufferedRecord& r : records)
        got.emplace_back(r.offset, static_cast<std::int32_t>(r.data));
    EXPECT_EQ(got, expected);
}

TEST(InputDevice, LosingTheFocusLosesTheDevice) {
    ScriptedInput input;
    InstanceId stick = input.AddJoystick();
    auto joystick = OpenReady(input, stick, StateFormat::Joystick);
    input.SetButton(stick, 0, true);
    input.SetFocus(false);
    std::vector<BufferedRecord> records;
    EXPECT_EQ(joystick->ReadBuffered(records, 16), Result::InputLost);
    EXPECT_EQ(joystick->ReadBuffered(records, 16), Result::NotAcquired);
    EXPECT_EQ(joystick->Acquire(), Result::OtherHasPriority);
    std::uint8_t state[kJoystickStateSize];
    EXPECT_EQ(joystick->ReadState(state, sizeof state), Result::NotAcquired);

    input.SetFocus(true);
    ASSERT_EQ(joystick->Acquire(), Result::Ok);
    ASSERT_EQ(joystick->ReadBuffered(records, 16), Result::Ok);
    EXPECT_TRUE(records.empty()) << "the queue is emptied when the device is lost";

    input.Detach(stick);
    EXPECT_EQ(joystick->Poll(), Result::InputLost);
    EXPECT_EQ(joystick->Acquire(), Result::InvalidParam);
}

TEST(InputDevice, SdlSystemListsMouseAndKeyboardFirst) {
    SdlInputSystem input(nullptr);
    ASSERT_TRUE(input.IsReady());
    auto devices = input.EnumerateDevices();
    ASSERT_GE(devices.size(), 2u);
    EXPECT_EQ(devices[0].type, kTypeMouse);
    EXPECT_EQ(devices[1].type, kTypeKeyboard);
    for (std::size_t i = 2; i < devices.size(); ++i)
        EXPECT_EQ(devices[i].type, kTypeJoystick);

    // Without a window a device can be opened but not tied to the game.
    auto keyboard = input.OpenDevice(kSystemKeyboard);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->SetDataFormat(StateFormat::Keyboard), Result::Ok);
    EXPECT_EQ(keyboard->SetCooperativeLevel(false, true), Result::InvalidParam);
    EXPECT_EQ(input.OpenDevice(1 << 30), nullptr);

    SDL_Event event{};
    event.type = SDL_JOYBUTTONDOWN;
    event.jbutton.which = 1 << 30;
    SdlInputSystem::HandleEvent(event); // a joystick nobody opened is ignored
}

// A virtual joystick stands in for a real one: its axes, hats and buttons go through SDL's own joystick
// code, and its button events through the window's event drain.
TEST(InputDevice, SdlJoystickThroughTheEventDrain) {
    // SDL itself ignores joysticks while none of its windows has the focus, unless told otherwise.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0);
    SDL_Window* window = SDL_CreateWindow("input", 0, 0, 64, 48, SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr);
    {
        auto input = std::make_unique<SdlInputSystem>(window);
        ASSERT_TRUE(input->IsReady());
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 6, 1);
        ASSERT_GE(index, 0);
        auto devices = input->EnumerateDevices();
        ASSERT_EQ(devices.size(), 3u);
        ASSERT_EQ(devices[2].type, kTypeJoystick);
        EXPECT_EQ(devices[2].subtype, kSubtypeGamepad);
        auto joystick = input->OpenDevice(devices[2].id);
        ASSERT_NE(joystick, nullptr);
        ASSERT_EQ(joystick->SetDataFormat(StateFormat::Joystick), Result::Ok);
        // Headless windows never get the focus: a background device reads without it.
        ASSERT_EQ(joystick->SetCooperativeLevel(true, false), Result::Ok);
        joystick->SetBufferSize(16);
        joystick->SetRange(-127, 127);
        ASSERT_EQ(joystick->Acquire(), Result::Ok);

        SDL_JoystickSetVirtualAxis(SDL_JoystickFromInstanceID(static_cast<SDL_JoystickID>(devices[2].id)), 0,
                                   32767);
        SDL_Joystick* sdl = SDL_JoystickFromInstanceID(static_cast<SDL_JoystickID>(devices[2].id));
        SDL_JoystickSetVirtualButton(sdl, 5, SDL_PRESSED);
        SDL_JoystickSetVirtualHat(sdl, 0, SDL_HAT_LEFT);
        SDL_JoystickUpdate();
        SDL_Event event;
        while (SDL_PollEvent(&event))
            SdlInputSystem::HandleEvent(event);

        // The axis left its centre, then the button went down.
        std::vector<BufferedRecord> records;
        ASSERT_EQ(joystick->ReadBuffered(records, 16), Result::Ok);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].offset, 0u);
        EXPECT_EQ(records[0].data, 127u);
        EXPECT_EQ(records[1].offset, static_cast<std::uint32_t>(kJoyButtons + 5));
        EXPECT_EQ(records[1].data, kDown);
        std::uint8_t state[kJoystickStateSize];
        ASSERT_EQ(joystick->ReadState(state, sizeof state), Result::Ok);
        EXPECT_EQ(Get32(state, 0), 127);
        EXPECT_EQ(Get32(state, 4), 0);
        EXPECT_EQ(static_cast<std::uint32_t>(Get32(state, kJoyHats)), 27000u);
        EXPECT_EQ(state[kJoyButtons + 5], kDown);
        EXPECT_EQ(state[kJoyButtons + 6], 0) << "the device has six buttons";
        // An opened device keeps working after the connection that opened it has gone.
        input.reset();
        EXPECT_EQ(joystick->ReadState(state, sizeof state), Result::Ok);
        joystick.reset();
        SDL_JoystickDetachVirtual(index);
    }
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
