#include "platform/window/KeyTranslation.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

// Typed text of any bytes gives at most one character per byte.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<plat::window::Event> events;
    plat::window::TranslateText(std::string_view(reinterpret_cast<const char*>(data), size), events);
    if (events.size() > size)
        std::abort();
    return 0;
}
