#pragma once

#include <cstdint>

namespace plat::raster {

/// A 16-bit 5-6-5 colour buffer the device draws into; it observes memory that someone else owns.
struct RenderTarget {
    std::uint16_t* pixels = nullptr;
    int pitchBytes = 0;
    int width = 0;
    int height = 0;

    /// First pixel of row y.
    std::uint16_t* Row(int y) const {
        return reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(pixels) +
                                                static_cast<std::ptrdiff_t>(y) * pitchBytes);
    }
    /// True when the target can be drawn into.
    bool IsValid() const { return pixels != nullptr && width > 0 && height > 0 && pitchBytes >= width * 2; }
};

} // namespace plat::raster
