#pragma once

#include <string>
#include <string_view>

namespace plat::window {

/// Whether SDL's video driver `driver` may show the game. The offscreen and dummy drivers show nothing
/// to anyone: they are for tests and are taken only when `requested` (SDL_VIDEODRIVER, a comma-separated
/// list, or null) names them; SDL falls back to them on a machine without a display.
bool IsUsableVideoDriver(std::string_view driver, const char* requested);

/// Starts SDL's video on the player's display; each successful start is ended by StopVideo. False, with
/// the reason in `why`, when SDL cannot start or found no display to show anything on.
bool StartVideo(std::string& why);

/// Ends one StartVideo.
void StopVideo();

} // namespace plat::window
