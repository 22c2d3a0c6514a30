#include "foundation/resources/ZlibCodec.h"

#include "foundation/resources/LittleEndian.h"

#include <stdexcept>
#include <zlib.h>

namespace zentrix {

namespace ZlibCodec {

bool Decode(const std::uint8_t* block, std::size_t storedLength, std::uint8_t* dest, std::size_t capacity,
            std::size_t& outLength) {
    outLength = 0;
    if (storedLength < kPrefixSize)
        return false;
    uLongf destLength = static_cast<uLongf>(capacity);
    // zlib wants a non-null destination even for an empty result.
    Bytef empty = 0;
    const int result = uncompress(capacity != 0 ? dest : &empty, &destLength, block + kPrefixSize,
                                  static_cast<uLong>(storedLength - kPrefixSize));
    if (result != Z_OK)
        return false;
    outLength = destLength;
    return true;
}

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data, int level) {
    std::vector<std::uint8_t> block(kPrefixSize + compressBound(static_cast<uLong>(data.size())));
    LittleEndian::WriteU32(block.data(), static_cast<std::uint32_t>(data.size()));
    uLongf length = static_cast<uLongf>(block.size() - kPrefixSize);
    const Bytef empty = 0;
    if (compress2(block.data() + kPrefixSize, &length, data.empty() ? &empty : data.data(),
                  static_cast<uLong>(data.size()), level) != Z_OK)
        throw std::runtime_error("zlib could not compress a library entry");
    block.resize(kPrefixSize + length);
    return block;
}

} // namespace ZlibCodec

} // namespace zentrix
