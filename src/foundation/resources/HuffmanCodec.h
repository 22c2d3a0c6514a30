#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zentrix {

/// Huffman blocks of the resource libraries. A block is the uncompressed length (u32), the root node
/// (u32), a child table of 1024 u16 entries (inner node k has its bit-0 child at 2k and its bit-1 child at
/// 2k + 1; nodes 0-255 are the byte values, 256-511 inner nodes), then the codes as 32-bit words filled from
/// bit 0 upward. All integers are little-endian.
namespace HuffmanCodec {

constexpr std::size_t kHeaderSize = 2056;
/// The smallest block: the header and one bit-stream word.
constexpr std::size_t kMinBlockSize = kHeaderSize + 4;

/// Decodes a block of storedLength bytes into dest, which holds capacity bytes. Every node visited must be a
/// byte value or an inner node below 512 and no word beyond the block is read; false on any violation and on
/// a length that does not fit dest. outLength receives the number of bytes written.
bool Decode(const std::uint8_t* block, std::size_t storedLength, std::uint8_t* dest, std::size_t capacity,
            std::size_t& outLength);

/// Encodes data as a block; a single distinct byte value (or none) gives the 2060-byte block with that value
/// as the root and no codes.
std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> data);

} // namespace HuffmanCodec

} // namespace zentrix
