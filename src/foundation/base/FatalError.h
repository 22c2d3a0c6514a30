#pragma once

#include <string>
#include <string_view>

namespace zentrix {

/// Ends the program at once with status 3 after writing the formatted text to standard error and to the
/// fatal-error log (when one is set), naming the file being read when there is one (CFatalErrorFile); for
/// conditions the engine cannot go on from. Exit handlers do not run, so no leak report follows.
[[noreturn]] void FatalError(const char* format, ...) __attribute__((format(printf, 1, 2)));

/// Where fatal errors are also written (null: nowhere but standard error); the function must not return
/// into the failed code, it only writes.
void SetFatalErrorLog(void (*log)(const char* text));

/// Makes an uncaught exception a fatal error: its text is written as FatalError writes, instead of the
/// runtime's bare abort.
void InstallFatalTerminateHandler();

/// Names the file being read while it lives, so that a fatal error meanwhile says which file it was.
/// Nested ones name the innermost.
class CFatalErrorFile {
public:
    explicit CFatalErrorFile(std::string_view name);
    ~CFatalErrorFile();
    CFatalErrorFile(const CFatalErrorFile&) = delete;
    CFatalErrorFile& operator=(const CFatalErrorFile&) = delete;

private:
    std::string m_name;
    const CFatalErrorFile* m_outer;
    friend std::string FatalErrorFileName();
};

/// The file a fatal error now would name, as the system writes its path (empty when none).
std::string FatalErrorFileName();

} // namespace zentrix
