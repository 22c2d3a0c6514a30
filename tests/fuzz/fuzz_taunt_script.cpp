// Reads arbitrary bytes as a face animation script: every stored frame lies in 0..1999, a tag is set
// whole or not at all, and only frames in range hold sounds.
#include "race/TauntScript.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CTauntScript script;
    const int dropped = script.Read(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz");
    if (dropped < 0)
        std::abort();
    for (int tag = 0; tag < CTauntScript::kTagCount; ++tag) {
        const int first = script.GetFirst(tag);
        const int last = script.GetLast(tag);
        if ((first == -1) != (last == -1))
            std::abort();
        if (first < -1 || first >= CTauntScript::kMaxFrames || last < -1 || last >= CTauntScript::kMaxFrames)
            std::abort();
    }
    if (script.GetFrameSound(-1) != -1 || script.GetFrameSound(CTauntScript::kMaxFrames) != -1)
        std::abort();
    return 0;
}
