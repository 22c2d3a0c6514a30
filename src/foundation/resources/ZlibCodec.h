#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zentrix {

/// zlib blocks of the resource libraries: the uncompressed length (u32, little-endian), then a zlib stream.
namespace ZlibCodec {

constexpr std::size_t kPrefixSize = 4;

/// Inflates the stream after the prefix into dest (capacity bytes); false on a block shorter than the
/// prefix and on any decompressor result but success. outLength receives the decoded size.
bool Decode(const std::uint8_t* block, std::size_t storedLength, std::uint8_t* dest, std::size_t capacity,
            std::size_t& outLength);

/// Compresses data at the given zlib level (0-9) into a prefixed block.
std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data, int level);

} // namespace ZlibCodec

} // namespace zentrix
