#pragma once

#include <cstddef>
#include <cstdint>

namespace zentrix {

/// True for the engine texture formats that carry alpha: 0x4444, 0x5551 and 0x8888.
bool IsAlphaFormat(std::uint32_t format);

/// A picture file held in memory and read from front to back.
struct TextureSource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
};

/// Copies the next n bytes of the source into destination and moves past them; with restart the
/// reading starts over at byte 0 first. False, with nothing copied and the position kept, when fewer
/// than n bytes are left.
bool TextureReadBytes(void* destination, TextureSource& source, std::size_t n, bool restart);

} // namespace zentrix
