#pragma once

#include "platform/input/InputTypes.h"

#include <array>
#include <memory>
#include <vector>

namespace plat::input {

/// Where one opened device's raw data comes from: the system back-end or a test script.
class DeviceSource {
public:
    virtual ~DeviceSource() = default;
    /// Whether the game has a main window the device can be tied to.
    virtual bool HasWindow() const = 0;
    /// Whether that window has the input focus now.
    virtual bool HasFocus() const = 0;
    /// Whether the device still exists.
    virtual bool IsAttached() const = 0;
    /// The key states by key code, kDown when held (keyboards).
    virtual void ReadKeys(std::array<std::uint8_t, kKeyboardStateSize>& keys) { keys.fill(0); }
    /// Movement since the previous call and the buttons now (mice).
    virtual void ReadMouse(MouseRaw& mouse) { mouse = {}; }
    /// Axes, hats and buttons now (joysticks).
    virtual void ReadJoystick(JoystickRaw& joystick) { joystick = {}; }
    /// Takes the button and axis changes that arrived since the previous call, oldest first (joysticks).
    virtual std::vector<JoystickEvent> TakeJoystickEvents() { return {}; }
    /// Whether the device can play force-feedback effects.
    virtual bool HasForceFeedback() const { return false; }
    /// Turns the device's own centring force on or off; false when it cannot.
    virtual bool SetAutoCentre(bool) { return false; }
    /// A new force-feedback effect, or null when the device cannot play it.
    virtual std::unique_ptr<Effect> CreateEffect(const EffectDesc&) { return nullptr; }
};

} // namespace plat::input
