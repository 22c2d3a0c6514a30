#pragma once

#include "platform/input/InputSystem.h"

#include <SDL.h>

#include <memory>

namespace plat::input {

/// The input devices over SDL2: the keyboard by key position, the mouse's movement since each read,
/// and joysticks with their button changes and axis crossings buffered from the window's event drain.
class SdlInputSystem final : public InputSystem {
public:
    /// Starts SDL's joystick support; devices are tied to `window` (may be null: then no device can be
    /// set up). Check IsReady afterwards.
    explicit SdlInputSystem(SDL_Window* window);
    ~SdlInputSystem() override;
    SdlInputSystem(const SdlInputSystem&) = delete;
    SdlInputSystem& operator=(const SdlInputSystem&) = delete;

    /// A started input system for `window`, or null (the reason on stderr) when SDL's joystick support
    /// cannot start.
    static std::unique_ptr<SdlInputSystem> Open(SDL_Window* window);

    /// Whether SDL's joystick support started.
    bool IsReady() const { return m_ready; }
    /// Takes a joystick event (a button or an axis) that came out of the window's event drain and hands it
    /// to every open connection (the game opens a new one at each start of its input); other events are
    /// ignored.
    static void HandleEvent(const SDL_Event& event);

    std::vector<DeviceInstance> EnumerateDevices() override;
    std::unique_ptr<Device> OpenDevice(InstanceId id) override;

    struct Hub;

private:
    std::shared_ptr<Hub> m_hub;
    bool m_ready = false;
    bool m_haptic = false;
};

} // namespace plat::input
