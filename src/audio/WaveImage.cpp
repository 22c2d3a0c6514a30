#include "audio/WaveImage.h"

#include <cstring>

namespace zentrix {

namespace {

constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kMinFormatBytes = 16;
constexpr std::uint32_t kMaxFormatBytes = 18;

std::uint16_t Read16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

std::uint32_t Read32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(Read16(at)) | static_cast<std::uint32_t>(Read16(at + 2)) << 16;
}

/// Looks for chunk `id` from `at` on; on success `at` is the first byte of its data and `length` its size.
/// A chunk header or a chunk that does not fit in the image ends the search.
bool FindChunk(const std::uint8_t* bytes, std::size_t size, const char* id, std::size_t& at,
               std::uint32_t& length) {
    while (size - at >= kChunkHeaderBytes) {
        const bool wanted = std::memcmp(bytes + at, id, 4) == 0;
        const std::uint32_t stated = Read32(bytes + at + 4);
        at += kChunkHeaderBytes;
        if (stated > size - at)
            return false;
        if (wanted) {
            length = stated;
            return true;
        }
        at += stated;
    }
    return false;
}

} // namespace

bool ReadWaveImage(const std::uint8_t* bytes, std::size_t size, SWaveImage& out, std::string& error) {
    if (bytes == nullptr || size < kHeaderBytes || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        error = "not a RIFF WAVE image";
        return false;
    }
    std::size_t at = kHeaderBytes;
    std::uint32_t length = 0;
    if (!FindChunk(bytes, size, "fmt ", at, length)) {
        error = "no whole \"fmt \" chunk";
        return false;
    }
    if (length < kMinFormatBytes || length > kMaxFormatBytes) {
        error = "a \"fmt \" chunk of " + std::to_string(length) + " bytes (16 to 18 expected)";
        return false;
    }
    SWaveImage image;
    image.format.formatTag = Read16(bytes + at);
    image.format.channels = Read16(bytes + at + 2);
    image.format.samplesPerSecond = Read32(bytes + at + 4);
    image.format.bitsPerSample = Read16(bytes + at + 14);
    at += length;
    if (!FindChunk(bytes, size, "data", at, length)) {
        error = "no whole \"data\" chunk after the \"fmt \" chunk";
        return false;
    }
    if (!image.format.IsPlayable()) {
        error = "not PCM of 1 or 2 channels, 8 or 16 bits, 1 to 192000 Hz";
        return false;
    }
    if (length < static_cast<std::uint32_t>(image.format.BlockBytes())) {
        error = "no whole sample frame";
        return false;
    }
    image.dataOffset = at;
    image.dataLength = length;
    out = image;
    return true;
}

} // namespace zentrix
