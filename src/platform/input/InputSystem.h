#pragma once

#include "platform/input/Device.h"
#include "platform/input/InputTypes.h"

#include <memory>
#include <vector>

namespace plat::input {

/// The game's access to its input devices.
class InputSystem {
public:
    virtual ~InputSystem() = default;
    /// The attached devices: the system mouse, the system keyboard, then every joystick.
    virtual std::vector<DeviceInstance> EnumerateDevices() = 0;
    /// Opens the device `id`; null when it is no longer attached.
    virtual std::unique_ptr<Device> OpenDevice(InstanceId id) = 0;
};

} // namespace plat::input
