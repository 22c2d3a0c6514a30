#pragma once

namespace zentrix {

/// Ends the program at once with status 3 after writing the formatted text to standard error; for
/// conditions the engine cannot go on from. Exit handlers do not run, so no leak report follows.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace zentrix
