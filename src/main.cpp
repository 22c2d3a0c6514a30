#include "app/ProgramEntry.h"
#include "app/SystemEntry.h"
#include "foundation/base/FatalError.h"
#include "foundation/base/Veltrin.h"
#include "game/GameParts.h"
#include "platform/system/LeakSuppressions.h"
#include "platform/system/TerminationSignals.h"
#include "platform/window/DisplayFaults.h"

#include <string>
#include <vector>

using namespace zentrix;

namespace {

/// Brackets the whole run with the base library's start and stop; the stop (with its leak report) runs
/// at a normal exit only.
struct CStartup {
    CStartup() { VeltrinStartup(); }
    ~CStartup() { VeltrinShutdown(); }
    CStartup(const CStartup&) = delete;
    CStartup& operator=(const CStartup&) = delete;
};

CStartup g_Startup;

} // namespace

/// What the leak checker of a sanitized build leaves out: the system libraries' own keeps.
extern "C" const char* __lsan_default_suppressions() {
    return plat::system::kSystemLibraryLeaks;
}

int main(int argc, char** argv) {
    plat::system::InstallTerminationHandlers();
    InstallFatalTerminateHandler();
    // A display that fails under the running game ends it as any fault does: said, logged, status 3.
    plat::window::SetDisplayFaultHandler([](const char* why) { FatalError("%s", why); });
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    CSystemEntry system([] { return std::make_unique<CGameParts>(); });
    return RunGame(args, system);
}
