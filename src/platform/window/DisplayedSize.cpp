#include "platform/window/DisplayedSize.h"

#include <SDL.h>
#include <SDL_syswm.h>

namespace plat::window {

std::optional<gfx2d::Size> DisplayedSize(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return std::nullopt;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes))
        return std::nullopt;
    return gfx2d::Size{attributes.width, attributes.height};
#else
    (void)window;
    return std::nullopt;
#endif
}

} // namespace plat::window
