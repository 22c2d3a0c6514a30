#pragma once

#include "platform/gfx2d/Surface.h"

#include <memory>

namespace plat::window {
class Window;
}

namespace zentrix {

/// What the print manager takes from the rest of the game: a canvas surface, spoken help and the game
/// window. The game fills it; tests give their own.
class IPrintServices {
public:
    virtual ~IPrintServices() = default;
    /// An off-screen surface in the screen's format; null when none can be made.
    virtual std::unique_ptr<plat::gfx2d::Surface> CreateCanvas(int width, int height) = 0;
    /// Plays help item `id` with `priority`.
    virtual void PlayHelp(int id, int priority) = 0;
    /// The game's window, or null.
    virtual plat::window::Window* GetWindow() = 0;
};

} // namespace zentrix
