// Huffman-coded library entries.
#include "foundation/resources/LibraryCodec.h"

#include <cstddef>
#include <cstdint>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    LibraryCodec::DecodeEntry(LibraryCodec::kHuffman, std::span(data, size), error);
    return 0;
}
