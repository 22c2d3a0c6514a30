#pragma once

#include "platform/input/InputSystem.h"

#include <memory>

namespace zentrix {

class CGameOptions;

/// What the input manager needs of the application: whether the application can host it, a fresh
/// connection to the input devices at every start, and the persistent options.
class IInputServices {
public:
    virtual ~IInputServices() = default;
    /// Whether the application object and its error manager exist.
    virtual bool HasErrorMan() const = 0;
    /// A new connection to the input devices, tied to the main window; null when there is none.
    virtual std::unique_ptr<plat::input::InputSystem> CreateInputSystem() = 0;
    /// The persistent options (null while they do not exist).
    virtual CGameOptions* GetGameOptions() = 0;
};

} // namespace zentrix
