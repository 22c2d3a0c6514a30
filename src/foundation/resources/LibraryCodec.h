#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrix {

/// The codec table of the resource libraries, indexed by an entry's method number.
namespace LibraryCodec {

enum Method : std::uint32_t { kStored = 0, kHuffman = 1, kZlib = 2 };
constexpr std::uint32_t kMethodCount = 3;

/// The largest entry a library hands out; a block claiming more is corrupt.
constexpr std::size_t kMaxUncompressedSize = std::size_t{256} << 20;

/// One column of the table: decode (block, stored length, destination, its capacity, out length) and the
/// uncompressed size read from a block's prefix.
struct SCodec {
    bool (*decode)(const std::uint8_t*, std::size_t, std::uint8_t*, std::size_t, std::size_t&);
    std::uint32_t (*uncompressedSize)(const std::uint8_t*);
};

/// The codec of a method; null for the stored method (nothing to decode) and for unknown methods.
const SCodec* Find(std::uint32_t method);

/// Turns the stored bytes of an entry into its content; nullopt (and a reason in error) when the method is
/// unknown, the block is shorter than its format's minimum, its size prefix exceeds kMaxUncompressedSize,
/// or the codec fails.
std::optional<std::vector<std::uint8_t>>
DecodeEntry(std::uint32_t method, std::span<const std::uint8_t> stored, std::string& error);

/// The stored bytes of data under method (the writers' side); zlib uses the given level.
std::vector<std::uint8_t> EncodeEntry(std::uint32_t method, std::span<const std::uint8_t> data,
                                      int zlibLevel = 9);

} // namespace LibraryCodec

} // namespace zentrix
