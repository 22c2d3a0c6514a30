#pragma once

#include <string>
#include <vector>

namespace plat::system {

/// Replaces the running process by `program` with `args` after the program name; returns false (with
/// the reason on standard error) only when that failed.
bool ExecProgram(const std::string& program, const std::vector<std::string>& args);

/// Replaces the running process by a new run of the game's own executable with `args`; returns only on
/// failure.
bool RelaunchSelf(const std::vector<std::string>& args);

} // namespace plat::system
