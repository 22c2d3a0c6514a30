#include "platform/system/DebugOutput.h"

#include <cstdio>
#include <cstdlib>

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
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void SetDebugOutputEnabled(bool enabled) {
    Enabled() = enabled;
}

bool IsDebugOutputEnabled() {
    return Enabled();
}

} // namespace plat::system
