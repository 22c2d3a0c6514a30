#include "foundation/base/FatalError.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace zentrix {

void FatalError(const char* format, ...) {
    char text[400];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    std::_Exit(3);
}

} // namespace zentrix
