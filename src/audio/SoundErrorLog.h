#pragma once

#include <string>

namespace zentrix {

/// Writes a failure of the sound or the music to the error manager's sound log ("Sound.log"), and to the
/// debugging text; nothing reaches the log while the application has no error manager.
void LogSoundError(const std::string& text);

} // namespace zentrix
