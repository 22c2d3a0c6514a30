#pragma once

#include <string>
#include <vector>

namespace zentrix {

class IEntrySystem;

/// Exit code of a start that failed (the player was told why).
constexpr int kExitStartFailed = 2;

/// The game's entry: single instance, the runtime check, then the application's start, run and stop,
/// and the relaunch it may ask for. `args` are the arguments after the program name. Returns the exit
/// code: 0; 1 after a restart request whose relaunch failed; kExitStartFailed when the lock could not be
/// taken or the application could not start.
int RunGame(const std::vector<std::string>& args, IEntrySystem& system);

/// 0 when the installed graphics runtime lets the game go on, 1 when the game must end.
int CheckDirectXVersion(IEntrySystem& system);

/// The game's command-line text: each argument preceded by a blank.
std::string BuildCommandLine(const std::vector<std::string>& args);

/// The base library's error handler while the game runs: reports neither show a box nor stop the game.
void NullErrorHandler(int code, const char* text);

} // namespace zentrix
