#include "platform/system/DebugOutput.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace plat::system {

namespace {

bool& Enabled() {
    static bool enabled = std::getenv("ZENTRIX_DEBUG") != nullptr;
    return enabled;
}

} // namespace

void DebugOutput(std::string_view text) {
    if (!Enabled())
        return;
    // One write per message, so messages of the program and its libraries never interleave mid-line.
    std::string line(text);
    if (line.empty() || line.back() != '\n')
        line += '\n';
    std::string_view rest = line;
    while (!rest.empty()) {
        ssize_t n = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (n <= 0)
            return;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

void SetDebugOutputEnabled(bool enabled) {
    Enabled() = enabled;
}

bool IsDebugOutputEnabled() {
    return Enabled();
}

} // namespace plat::system
