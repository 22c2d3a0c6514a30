#include "app/IOManager.h"
#include "app/GameOptions.h"
#include "app/InputServices.h"
#include "foundation/base/AppSettings.h"
#include "platform/input/ScriptedInput.h"
#include "platform/settings/MemoryStore.h"

#include <gtest/gtest.h>

#include <map>

using namespace zentrix;

namespace {

using plat::input::InstanceId;
using plat::input::ScriptedInput;

/// The application as the input manager sees it, with options kept in memory.
class FakeServices : public IInputServices {
public:
    bool HasErrorMan() const override { return errorMan; }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem() override {
        ++created;
        if (!inputAvailable)
            return nullptr;
        return input.Share();
    }
    CGameOptions* GetGameOptions() override { return withOptions ? &options : nullptr; }

    /// The stored value of option `name`, or -100 when none is stored.
    int Stored(const char* name) const {
        const std::string* value = store.Values().Find(name);
        return value ? CAppSettings::LeadingInt(*value) : -100;
    }
    void Store(int key, int value) { settings.SetInt(CGameOptions::GetOptionName(key), value); }

    ScriptedInput input;
    plat::settings::MemoryStore store;
    CAppSettings settings{store};
    CGameOptions options{settings, nullptr};
    bool withOptions = true;
    bool errorMan = true;
    bool inputAvailable = true;
    int created = 0;
};

std::array<int, 4> Indices(const CIOManager& manager) {
    return {manager.GetControllerDevice(0), manager.GetControllerDevice(1), manager.GetControllerDevice(2),
            manager.GetControllerDevice(3)};
}

TEST(IOManager, StartChecksTheControllerChoices) {
    const struct {
        const char* what;
        int joysticks;
        std::array<int, 4> stored; // -100: leave the option unset
        std::array<int, 4> afterFirst;
        std::array<int, 4> afterSecond;
        bool written;
        int writes[2]; // settings written by the first and the second start: only changed values
    } cases[] = {
        {"defaults with mouse and keyboard",
         0,
         {-100, -100, -100, -100},
         {1, 2, 3, 0},
         {1, 2, 3, 0},
         false,
         {1, 0}},
        {"valid choices stay", 2, {5, 4, 0, 1}, {5, 4, 0, 1}, {5, 4, 0, 1}, false, {1, 0}},
        {"a repeat: next free from 1, wrapping", 0, {1, 1, 2, 3}, {1, 0, 2, 3}, {1, 0, 2, 3}, true, {2, 0}},
        {"one fault per start", 0, {9, 9, 2, 3}, {1, 9, 2, 3}, {1, 0, 2, 3}, true, {2, 1}},
        {"below zero", 0, {-1, 2, 3, 0}, {1, 2, 3, 0}, {1, 2, 3, 0}, true, {2, 0}},
        {"a later slot out of range", 0, {1, 2, 3, 7}, {1, 2, 3, 0}, {1, 2, 3, 0}, true, {2, 0}},
        {"an extra joystick is free", 1, {1, 1, 2, 3}, {1, 4, 2, 3}, {1, 4, 2, 3}, true, {2, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeServices services;
        for (int j = 0; j < c.joysticks; ++j)
            services.input.AddJoystick();
        for (int i = 0; i < 4; ++i)
            if (c.stored[static_cast<std::size_t>(i)] != -100)
                services.Store(5 + i, c.stored[static_cast<std::size_t>(i)]);
        const int writesBefore = services.store.Writes();
        CIOManager manager(&services);
        ASSERT_EQ(manager.StartManager(), 0);
        EXPECT_TRUE(manager.IsStarted());
        EXPECT_EQ(manager.GetNumInputDevices(), 4 + c.joysticks);
        EXPECT_EQ(services.Stored("NumDevices"), 4 + c.joysticks);
        EXPECT_EQ(Indices(manager), c.afterFirst);
        EXPECT_EQ(services.store.Writes() - writesBefore, c.writes[0]);
        if (c.written) {
            const char* names[] = {"Controller1", "Controller2", "Controller3", "Controller4"};
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(services.Stored(names[i]), c.afterFirst[static_cast<std::size_t>(i)]);
        }
        manager.StopManager();
        const int writesBeforeSecond = services.store.Writes();
        ASSERT_EQ(manager.StartManager(), 0);
        EXPECT_EQ(Indices(manager), c.afterSecond);
        EXPECT_EQ(services.store.Writes() - writesBeforeSecond, c.writes[1]);
    }
}

// With fewer than four device indices the four slots cannot all differ; every start still ends.
TEST(IOManager, StartEndsWithFewerThanFourDevices) {
    class Sparse : public FakeServices {
    public:
        explicit Sparse(int detach) {
            if (detach >= 1)
                input.Detach(plat::input::kSystemMouse);
            if (detach >= 2)
                input.Detach(plat::input::kSystemKeyboard);
        }
    };
    const struct {
        int detached;
        int n;
    } cases[] = {{1, 3}, {2, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        Sparse services(c.detached);
        CIOManager manager(&services);
        for (int start = 0; start < 6; ++start) {
            ASSERT_EQ(manager.StartManager(), 0);
            EXPECT_EQ(manager.GetNumInputDevices(), c.n);
            manager.StopManager();
        }
        for (int index : Indices(manager))
            EXPECT_TRUE(index >= 0 && index < c.n) << index;
    }
}

TEST(IOManager, CannotStartWithoutTheApplicationOrItsInput) {
    {
        CIOManager manager(nullptr);
        EXPECT_TRUE(manager.CannotStart(nullptr));
        EXPECT_EQ(manager.StartManager(), 1);
    }
    {
        FakeServices services;
        services.errorMan = false;
        CIOManager manager(&services);
        EXPECT_EQ(manager.StartManager(), 1);
        EXPECT_EQ(services.created, 0);
    }
    {
        FakeServices services;
        services.inputAvailable = false;
        CIOManager manager(&services);
        EXPECT_EQ(manager.StartManager(), 1);
        EXPECT_FALSE(manager.IsStarted());
    }
    FakeServices services;
    CIOManager manager(&services);
    CIOManager other(&services);
    EXPECT_FALSE(manager.CannotStart(nullptr));
    EXPECT_TRUE(manager.CannotStart(&other));
    ASSERT_EQ(other.StartManager(), 0);
    EXPECT_FALSE(manager.CannotStart(&other));
}

TEST(IOManager, WithoutOptionsTheDefaultsStand) {
    FakeServices services;
    services.Store(5, 3);
    const int writesBefore = services.store.Writes();
    services.withOptions = false;
    CIOManager manager(&services);
    ASSERT_EQ(manager.StartManager(), 0);
    EXPECT_EQ(Indices(manager), (std::array<int, 4>{1, 2, 3, 0}));
    EXPECT_EQ(services.store.Writes(), writesBefore);
}

TEST(IOManager, AssignDevice) {
    FakeServices services;
    InstanceId stick = services.input.AddJoystick();
    CIOManager manager(&services);
    ASSERT_EQ(manager.StartManager(), 0);
    EXPECT_EQ(manager.AssignDevice(0, -1), nullptr);

    CIODevice* keyboard = manager.AssignDevice(0, 1);
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->GetKind(), CIODevice::KIND_KEYBOARD);
    EXPECT_EQ(keyboard->GetSlot(), 0);
    EXPECT_EQ(manager.GetDevice(0), keyboard);

    // Acquired at once: the first poll reads the keys.
    services.input.SetKey(205, true);
    manager.Poll(16);
    EXPECT_EQ(keyboard->GetSteering(), -127);

    // A negative entry resets the controls and keeps the device.
    EXPECT_EQ(manager.AssignDevice(0, -1), keyboard);
    EXPECT_EQ(keyboard->GetSteering(), 0);
    // An entry past the list leaves the slot alone.
    EXPECT_EQ(manager.AssignDevice(0, 3), keyboard);
    EXPECT_EQ(manager.AssignDevice(0, 99), keyboard);
    EXPECT_EQ(manager.AssignDevice(4, 1), nullptr);
    EXPECT_EQ(manager.AssignDevice(-1, 1), nullptr);

    CIODevice* joystick = manager.AssignDevice(1, 2);
    ASSERT_NE(joystick, nullptr);
    EXPECT_EQ(joystick->GetKind(), CIODevice::KIND_JOYSTICK);
    EXPECT_EQ(services.input.OpenCount(stick), 1);
    CIODevice* mouse = manager.AssignDevice(1, 0);
    ASSERT_NE(mouse, nullptr);
    EXPECT_EQ(mouse->GetKind(), CIODevice::KIND_MOUSE);

    // A device that cannot be opened leaves its slot empty, and the poll skips it.
    services.input.SetOpenFails(stick, true);
    EXPECT_EQ(manager.AssignDevice(2, 2), nullptr);
    EXPECT_EQ(manager.GetDevice(2), nullptr);
    manager.Poll(16);

    // Stopping frees every device; the next start lists the devices again.
    manager.StopManager();
    for (int slot = 0; slot < 4; ++slot)
        EXPECT_EQ(manager.GetDevice(slot), nullptr);
    EXPECT_EQ(manager.AssignDevice(0, 1), nullptr);
    services.input.AddJoystick();
    ASSERT_EQ(manager.StartManager(), 0);
    EXPECT_EQ(manager.GetNumInputDevices(), 6);
    EXPECT_EQ(services.created, 2);
}

TEST(IOManager, DeviceIndexToListedEntry) {
    FakeServices services;
    services.input.AddJoystick();
    services.input.AddJoystick();
    CIOManager manager(&services);
    ASSERT_EQ(manager.StartManager(), 0);
    const struct {
        int index;
        int entry;
    } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 3}, {6, -1}, {-1, -1}, {100, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(manager.EntryForDeviceIndex(c.index), c.entry);
    }
}

TEST(IOManager, RecordingAndPlaybackReachEveryDevice) {
    FakeServices services;
    CIOManager manager(&services);
    ASSERT_EQ(manager.StartManager(), 0);
    CIODevice* before = manager.AssignDevice(0, 1);
    manager.SetRecording(true);
    manager.SetPlayback(true);
    CIODevice* after = manager.AssignDevice(1, 0);
    for (CIODevice* device : {before, after}) {
        ASSERT_NE(device, nullptr);
        EXPECT_TRUE(device->IsRecording());
        EXPECT_TRUE(device->IsPlayback());
    }
    manager.SetRecording(false);
    EXPECT_FALSE(before->IsRecording());
}

} // namespace
