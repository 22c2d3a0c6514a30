#pragma once

#include "platform/input/InputSystem.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace plat::input {

/// Input devices for tests: a script sets keys, mouse movement, joystick axes, hats and buttons, the
/// window's focus, and which devices are attached; force-feedback calls are written to a log.
class ScriptedInput final : public InputSystem {
public:
    /// Starts with the system mouse and keyboard attached and a focused window.
    ScriptedInput();
    ~ScriptedInput() override;

    /// Another connection to the same scripted devices (as each start of the game opens one).
    std::unique_ptr<ScriptedInput> Share() const;

    /// Attaches a joystick with `axes` axes, `hats` hats and `buttons` buttons; returns its id.
    InstanceId AddJoystick(int axes = 3, int hats = 1, int buttons = 8, bool gamepad = false,
                           bool forceFeedback = false);
    /// Detaches device `id`: enumeration leaves it out and its opened devices report it lost.
    void Detach(InstanceId id);
    /// Makes opening device `id` fail (or succeed again).
    void SetOpenFails(InstanceId id, bool fails);
    /// Whether the game has a main window.
    void SetWindow(bool present);
    /// Whether that window has the focus.
    void SetFocus(bool focused);

    /// Holds or releases the key with key code `code`.
    void SetKey(int code, bool down);
    /// Adds mouse movement (and wheel steps of 120) to what the next read reports.
    void MoveMouse(int dx, int dy, int wheel = 0);
    /// Holds or releases mouse button `button` (0 left, 1 right, 2 middle, 3 extra).
    void SetMouseButton(int button, bool down);
    /// Sets axis `axis` of joystick `id` to a raw position -32768..32767, as a state and as a change to
    /// buffer.
    void SetAxis(InstanceId id, int axis, int raw, std::uint32_t timeMs = 0);
    /// Sets hat `hat` of joystick `id` to direction bits (1 up, 2 right, 4 down, 8 left).
    void SetHat(InstanceId id, int hat, std::uint8_t bits);
    /// Presses or releases button `button` of joystick `id`, as a state and as a change to buffer.
    void SetButton(InstanceId id, int button, bool pressed, std::uint32_t timeMs = 0);

    /// The force-feedback calls made on joystick `id`, one line each ("#<effect> <call> <values>"); an
    /// effect is made as "create <sine|constant> <magnitude> <duration> <period> <polar|x|xy>", followed
    /// by " trigger <button>" when a button fires it.
    std::vector<std::string> EffectLog(InstanceId id) const;
    /// How many times device `id` was opened.
    int OpenCount(InstanceId id) const;

    std::vector<DeviceInstance> EnumerateDevices() override;
    std::unique_ptr<Device> OpenDevice(InstanceId id) override;

    struct Shared;
    struct Scripted;

private:
    explicit ScriptedInput(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
    Scripted* Find(InstanceId id) const;

    std::shared_ptr<Shared> m_shared;
};

} // namespace plat::input
