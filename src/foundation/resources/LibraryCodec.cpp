#include "foundation/resources/LibraryCodec.h"

#include "foundation/resources/HuffmanCodec.h"
#include "foundation/resources/LittleEndian.h"
#include "foundation/resources/ZlibCodec.h"

#include <stdexcept>

namespace zentrix {

namespace LibraryCodec {

namespace {

const SCodec kHuffmanCodec{&HuffmanCodec::Decode, &LittleEndian::ReadU32};
const SCodec kZlibCodec{&ZlibCodec::Decode, &LittleEndian::ReadU32};

std::size_t MinimumBlockSize(std::uint32_t method) {
    return method == kHuffman ? HuffmanCodec::kMinBlockSize : ZlibCodec::kPrefixSize;
}

/// The most a well-formed block of this length can decode to, so a corrupt prefix costs no allocation:
/// deflate expands at most about 1032 to 1, and a Huffman code takes at least one bit per byte unless the
/// block holds a single value.
std::size_t MaxDecodedSize(std::uint32_t method, std::span<const std::uint8_t> stored) {
    if (method == kZlib)
        return (stored.size() - ZlibCodec::kPrefixSize) * 1032 + 1024;
    if (LittleEndian::ReadU32(stored.data() + 4) < 256)
        return kMaxUncompressedSize;
    return (stored.size() - HuffmanCodec::kHeaderSize) / 4 * 32;
}

} // namespace

const SCodec* Find(std::uint32_t method) {
    switch (method) {
    case kHuffman:
        return &kHuffmanCodec;
    case kZlib:
        return &kZlibCodec;
    default:
        return nullptr;
    }
}

std::optional<std::vector<std::uint8_t>>
DecodeEntry(std::uint32_t method, std::span<const std::uint8_t> stored, std::string& error) {
    if (method == kStored)
        return std::vector<std::uint8_t>(stored.begin(), stored.end());
    const SCodec* codec = Find(method);
    if (codec == nullptr) {
        error = "unknown codec method " + std::to_string(method);
        return std::nullopt;
    }
    if (stored.size() < MinimumBlockSize(method)) {
        error = "coded block of " + std::to_string(stored.size()) + " bytes is too short";
        return std::nullopt;
    }
    const std::uint32_t size = codec->uncompressedSize(stored.data());
    if (size > kMaxUncompressedSize || size > MaxDecodedSize(method, stored)) {
        error = "coded block claims " + std::to_string(size) + " bytes";
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(size);
    std::size_t outLength = 0;
    if (!codec->decode(stored.data(), stored.size(), out.data(), out.size(), outLength)) {
        error = "coded block is corrupt";
        return std::nullopt;
    }
    out.resize(outLength);
    return out;
}

std::vector<std::uint8_t> EncodeEntry(std::uint32_t method, std::span<const std::uint8_t> data,
                                      int zlibLevel) {
    switch (method) {
    case kStored:
        return std::vector<std::uint8_t>(data.begin(), data.end());
    case kHuffman:
        return HuffmanCodec::Encode(data);
    case kZlib:
        return ZlibCodec::Encode(data, zlibLevel);
    default:
        throw std::invalid_argument("unknown codec method");
    }
}

} // namespace LibraryCodec

} // namespace zentrix
