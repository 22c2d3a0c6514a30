// The text of "resource.cfg".
#include "foundation/resources/ResourceConfig.h"

#include <cstddef>
#include <cstdint>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto pairs = CResourceConfig::ParseText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& [name, value] : pairs)
        if (name.size() > CResourceConfig::kMaxTokenLength ||
            value.size() > CResourceConfig::kMaxTokenLength || name.empty())
            __builtin_trap();
    return 0;
}
