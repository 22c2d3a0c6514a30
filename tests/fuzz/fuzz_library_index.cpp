// The index part of a resource library, and the decoding of every entry it names from the bytes after it.
#include "foundation/resources/LibraryCodec.h"
#include "foundation/resources/LibraryIndex.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first two bytes split the input into an index part and a data part.
    if (size < 2)
        return 0;
    const std::size_t split = std::min<std::size_t>((data[0] | (data[1] << 8)), size - 2);
    std::span<const std::uint8_t> index(data + 2, split);
    std::span<const std::uint8_t> part(data + 2 + split, size - 2 - split);
    std::vector<SLibraryEntry> entries;
    std::string error;
    std::vector<std::string> skipped;
    LibraryIndex::Parse(index, 1, entries, error, skipped);
    for (const auto& e : entries) {
        if (e.offset > part.size() || e.storedSize > part.size() - e.offset)
            continue;
        LibraryCodec::DecodeEntry(e.method, part.subspan(e.offset, e.storedSize), error);
    }
    return 0;
}
