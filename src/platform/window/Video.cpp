#include "platform/window/Video.h"

#include "platform/window/DisplayFaults.h"

#include <SDL.h>

namespace plat::window {

namespace {

bool IsInvisible(std::string_view driver) {
    return driver == "offscreen" || driver == "dummy";
}

bool ListNames(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (list.substr(0, comma) == name)
            return true;
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

} // namespace

bool IsUsableVideoDriver(std::string_view driver, const char* requested) {
    if (driver.empty())
        return false;
    return !IsInvisible(driver) || (requested && ListNames(requested, driver));
}

bool StartVideo(std::string& why) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        why = std::string("SDL cannot start its video: ") + SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!IsUsableVideoDriver(driver ? driver : "", SDL_getenv("SDL_VIDEODRIVER"))) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        why = "no display was found (neither DISPLAY nor WAYLAND_DISPLAY names one)";
        return false;
    }
    RouteDisplayFaults();
    return true;
}

void StopVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace plat::window
