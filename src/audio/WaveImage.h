#pragma once

#include "platform/mixer/MixerTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zentrix {

/// Where a RIFF WAVE image keeps its samples and how they are laid out.
struct SWaveImage {
    plat::mixer::WaveFormat format;
    std::size_t dataOffset = 0; ///< first byte of the samples within the image
    std::size_t dataLength = 0; ///< bytes of samples, all within the image
};

/// Reads the "fmt " chunk (16 to 18 bytes) and the "data" chunk after it from a RIFF WAVE image of `size`
/// bytes. Chunks in between are skipped by their stated size (no pad byte). Only PCM of 1 or 2 channels,
/// 8 or 16 bits, 1 to 192000 Hz and at least one whole frame is accepted; otherwise false with the reason
/// in `error`. Nothing outside the image is read.
bool ReadWaveImage(const std::uint8_t* bytes, std::size_t size, SWaveImage& out, std::string& error);

} // namespace zentrix
