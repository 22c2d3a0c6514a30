#pragma once

#include <string>

namespace zentrix {

/// Writes one entry of the engine log: "LOG: (reporter) " and the formatted message, appended to the
/// log file (started afresh by the first entry of a run, closed after each entry) and copied to the
/// debugger output.
void EngineLog(const char* reporter, const char* format, ...) __attribute__((format(printf, 2, 3)));

/// Sends the engine log to another file from now on (tests); the next entry starts it afresh.
void SetEngineLogFile(const std::string& path);

} // namespace zentrix
