#include "engine/EngineLog.h"

#include "foundation/base/Messages.h"
#include "platform/fs/FileSystem.h"

#include <cstdarg>
#include <cstdio>

namespace zentrix {

namespace {

std::string g_logFile = "ombrel.log";
bool g_logStarted = false;

} // namespace

void EngineLog(const char* reporter, const char* format, ...) {
    char message[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    char entry[1200];
    std::snprintf(entry, sizeof entry, "LOG: (%s) %s", reporter, message);

    std::FILE* file = plat::fs::OpenStream(g_logFile, g_logStarted ? "a+" : "w");
    g_logStarted = true;
    if (file) {
        std::fputs(entry, file);
        std::fclose(file);
    }
    DebugOutput(entry);
}

void SetEngineLogFile(const std::string& path) {
    g_logFile = path;
    g_logStarted = false;
}

} // namespace zentrix
