// Every test program runs headless: SDL gets its offscreen video and dummy audio drivers, and the
// software renderer, whose system GL libraries would otherwise leak under the leak checker. Set before
// any test starts; a value the caller already exported wins.
#include "platform/system/LeakSuppressions.h"

#include <cstdlib>

namespace {

struct HeadlessEnvironment {
    HeadlessEnvironment() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    }
} g_headless;

} // namespace

/// The test programs leave out the system libraries' own keeps from their leak reports, as the game does.
extern "C" const char* __lsan_default_suppressions() {
    return plat::system::kSystemLibraryLeaks;
}
