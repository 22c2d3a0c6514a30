#pragma once

#include "platform/gfx2d/Geometry.h"

#include <optional>

struct SDL_Window;

namespace plat::window {

/// The size the display itself gives the window, asked of the X server; nullopt when SDL's video does
/// not run on X11 (then SDL's own size is the truth). SDL takes the desktop's size as soon as it asks for
/// full screen, whether or not anyone grants it: without a window manager nobody does.
std::optional<gfx2d::Size> DisplayedSize(SDL_Window* window);

} // namespace plat::window
