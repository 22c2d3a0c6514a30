#include "foundation/base/Utility.h"

#include "platform/clock/Monotonic.h"

#include <cstdlib>
#include <cstring>

namespace zentrix {

char* StrDup(const char* text) {
    if (!text)
        return nullptr;
    std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy)
        std::memcpy(copy, text, size);
    return copy;
}

void CutAtNewline(char* text) {
    if (!text)
        return;
    if (char* newline = std::strchr(text, '\n'))
        *newline = '\0';
}

double GetCycleCount() {
    return static_cast<double>(plat::clock::MonotonicNanoseconds() & 0xFFFFFFFFu);
}

} // namespace zentrix
