// Splits arbitrary text the way asset texts are split (the first byte is the delimiter) and checks that
// the pieces put back together give the text and that every piece reads as an int.
#include "foundation/string/DStr.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <list>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const char delim = static_cast<char>(data[0]);
    const CDStr text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::list<CDStr> pieces = Split(text, delim);
    const std::list<int> values = SplitToInts(text, delim);
    const std::size_t delimiters = static_cast<std::size_t>(std::count(text.begin(), text.end(), delim));
    if (pieces.size() != values.size() || pieces.size() != (text.empty() ? 0 : delimiters + 1))
        std::abort();
    CDStr joined;
    bool first = true;
    for (const CDStr& piece : pieces) {
        if (!first)
            joined += delim;
        joined += piece;
        first = false;
    }
    if (joined != text)
        std::abort();

    CDStr stripped = text;
    StripWhitespace(stripped);
    if (stripped.find_first_of(" \t\n\r") != CDStr::npos)
        std::abort();
    return 0;
}
