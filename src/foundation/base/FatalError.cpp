#include "foundation/base/FatalError.h"

#include "platform/fs/FileSystem.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <typeinfo>

namespace zentrix {

namespace {

void (*g_log)(const char*) = nullptr;
thread_local const CFatalErrorFile* g_reading = nullptr;

[[noreturn]] void EndWith(const char* text) {
    char line[700];
    const std::string file = FatalErrorFileName();
    if (!file.empty())
        std::snprintf(line, sizeof line, "fatal error: %s (reading %s)", text, file.c_str());
    else
        std::snprintf(line, sizeof line, "fatal error: %s", text);
    std::fprintf(stderr, "%s\n", line);
    std::fflush(stderr);
    if (g_log)
        g_log(line);
    std::_Exit(3);
}

[[noreturn]] void OnTerminate() {
    // What an uncaught exception said, rather than the runtime's bare abort.
    char text[400] = "the program was ended by an unexpected condition";
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            std::snprintf(text, sizeof text, "%s", e.what());
        } catch (...) {
            std::snprintf(text, sizeof text, "an unknown exception was not caught");
        }
    }
    EndWith(text);
}

} // namespace

void FatalError(const char* format, ...) {
    char text[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    // A text that ends its own line is written as one line.
    for (std::size_t n = std::char_traits<char>::length(text); n > 0 && text[n - 1] == '\n'; --n)
        text[n - 1] = '\0';
    EndWith(text);
}

void SetFatalErrorLog(void (*log)(const char* text)) {
    g_log = log;
}

void InstallFatalTerminateHandler() {
    std::set_terminate(&OnTerminate);
}

CFatalErrorFile::CFatalErrorFile(std::string_view name) : m_name(name), m_outer(g_reading) {
    g_reading = this;
}

CFatalErrorFile::~CFatalErrorFile() {
    g_reading = m_outer;
}

std::string FatalErrorFileName() {
    if (!g_reading || g_reading->m_name.empty())
        return {};
    // Game paths are written with backslashes; the player reads the system's form.
    const std::string native = plat::fs::Resolve(g_reading->m_name).native;
    return native.empty() ? g_reading->m_name : native;
}

} // namespace zentrix
