#pragma once

#include <bit>
#include <cstdint>

namespace plat::gfx2d {

/// The layout of one pixel: how many bits it takes and where each colour channel sits.
struct PixelFormat {
    /// The pixel holds red, green and blue channels described by the masks.
    static constexpr std::uint32_t kRgb = 1u << 0;
    /// The pixel also holds an alpha channel (alphaMask is meaningful).
    static constexpr std::uint32_t kAlphaPixels = 1u << 1;

    std::uint32_t flags = 0;
    int bitCount = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    std::uint32_t alphaMask = 0;

    /// Bytes one pixel takes in memory (0 for an unusable bit count).
    constexpr int BytesPerPixel() const {
        return (bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32) ? bitCount / 8 : 0;
    }

    friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

/// 16-bit red 5, green 6, blue 5: the screen's format and the default for every surface.
inline constexpr PixelFormat kFormat565{PixelFormat::kRgb, 16, 0xF800, 0x07E0, 0x001F, 0};

/// 16-bit red 5, green 5, blue 5 with the top bit unused.
inline constexpr PixelFormat kFormat555{PixelFormat::kRgb, 16, 0x7C00, 0x03E0, 0x001F, 0};

/// Number of set bits in a channel mask.
constexpr int MaskBitCount(std::uint32_t mask) {
    return std::popcount(mask);
}

/// Position of the lowest set bit of a channel mask; 31 for an empty mask, so shifting a channel
/// value reduced to nothing by it still gives 0.
constexpr int MaskShift(std::uint32_t mask) {
    return mask == 0 ? 31 : std::countr_zero(mask);
}

} // namespace plat::gfx2d
