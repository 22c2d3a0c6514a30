#pragma once

#include <string_view>

namespace plat::system {

/// Writes a line of debugging text to standard error, or nowhere while debug output is off.
void DebugOutput(std::string_view text);

/// Turns debug output on or off; it starts on when the environment sets ZENTRIX_DEBUG.
void SetDebugOutputEnabled(bool enabled);

/// Whether debug output currently reaches standard error.
bool IsDebugOutputEnabled();

} // namespace plat::system
