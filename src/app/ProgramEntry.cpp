#include "app/ProgramEntry.h"

#include "app/App.h"
#include "app/AppParts.h"
#include "app/EntrySystem.h"
#include "app/Win.h"
#include "foundation/base/Messages.h"

#include <cstdio>
#include <memory>

namespace zentrix {

using plat::system::InstanceLock;

std::string BuildCommandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& arg : args) {
        line += ' ';
        line += arg;
    }
    return line;
}

void NullErrorHandler(int /*code*/, const char* /*text*/) {}

int CheckDirectXVersion(IEntrySystem& system) {
    plat::system::RuntimeVersion found = system.QueryRuntimeVersion();
    if (!found.libraryFound) {
        system.ShowMessageBox("Invalid Machine Configuration", "Missing or Invalid DSetup.DLL",
                              plat::system::Buttons::Ok);
        return 1;
    }
    std::uint32_t version = 0;
    std::uint32_t revision = 0;
    int result = 0;
    bool called = found.functionFound;
    if (called) {
        version = found.version;
        revision = found.revision;
        result = found.result;
    }
    bool passes = called && (result & 0xFFFF) != 0 && (version >> 16) == 4 && (version & 0xFFFF) == 7;
    if (passes)
        return 0;

    char text[200];
    std::snprintf(text, sizeof(text), "Your current DX version = %u.%02u.%02u.%04u", version >> 16,
                  version & 0xFFFF, revision >> 16, revision & 0xFFFF);
    char caption[64];
    std::snprintf(caption, sizeof(caption), "Required DX version = %d.%02d", 4, 7);
    std::string question = text;
    question += "\nThere might be problems, but shouldn't be.\nDo you still want to continue?";
    int answer = system.ShowMessageBox(caption, question, plat::system::Buttons::YesNo);
    return answer == plat::system::kAnswerYes ? 0 : 1;
}

int RunGame(const std::vector<std::string>& args, IEntrySystem& system) {
    // A lock held elsewhere is the running game (a relaunch never finds its own: exec releases it).
    std::string problem;
    switch (system.TakeInstanceLock(problem)) {
    case InstanceLock::Result::Owned:
        break;
    case InstanceLock::Result::AlreadyExists:
        system.Tell("the game is already running (" + problem + ")");
        return 0;
    case InstanceLock::Result::Failed:
        system.ShowMessageBox(CWin::kTitle, "The game cannot start: " + problem + ".",
                              plat::system::Buttons::Ok);
        return kExitStartFailed;
    }

    SetErrorHandler(NullErrorHandler);
    bool restart = false;
    bool started = true;
    if (CheckDirectXVersion(system) == 0) {
        auto app = std::make_unique<CApp>(BuildCommandLine(args), system.CreateAppParts());
        g_pApp = app.get();
        // A failed start has told the player why and set the quit flag, so the run returns at once.
        started = app->StartManager() == 0;
        restart = app->Run(true);
        app->StopManager();
        app.reset();
        g_pApp = nullptr;
    }
    SetErrorHandler(nullptr);
    if (!started)
        return kExitStartFailed;

    if (restart) {
        std::vector<std::string> again = args;
        again.push_back("RESTART");
        system.Relaunch(again);
        return 1;
    }
    return 0;
}

} // namespace zentrix
