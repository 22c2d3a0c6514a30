#include "foundation/resources/ResourceDebug.h"

#include <cstdio>

namespace ResourceDebug {

void Output(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

} // namespace ResourceDebug
