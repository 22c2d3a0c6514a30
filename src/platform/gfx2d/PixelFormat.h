#pragma once

#include <bit>
#include <cstdint>

namespace plat::gfx2d {

/// The layout of one pixel: how many bits it takes and where each colour channel sits. Surfaces, the
/// screen and the 3D device's textures all describe their pixels with it.
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
    /// Turns a pixel of this layout into 0xAARRGGBB, widening each channel to 8 bits (alpha 255 when the
    /// layout has none).
    std::uint32_t ToArgb(std::uint32_t pixel) const;
    /// Turns 0xAARRGGBB into this layout, keeping the top bits of each channel.
    std::uint32_t FromArgb(std::uint32_t argb) const;

    friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

/// 16-bit red 5, green 6, blue 5: the screen's format, the default for every surface and the first
/// texture layout the 3D device offers.
inline constexpr PixelFormat kFormat565{PixelFormat::kRgb, 16, 0xF800, 0x07E0, 0x001F, 0};
/// 16-bit red 5, green 5, blue 5 with the top bit unused.
inline constexpr PixelFormat kFormat555{PixelFormat::kRgb, 16, 0x7C00, 0x03E0, 0x001F, 0};
/// 16-bit alpha 1, red 5, green 5, blue 5.
inline constexpr PixelFormat kFormatArgb1555{
    PixelFormat::kRgb | PixelFormat::kAlphaPixels, 16, 0x7C00, 0x03E0, 0x001F, 0x8000};
/// 16-bit alpha 4, red 4, green 4, blue 4.
inline constexpr PixelFormat kFormatArgb4444{
    PixelFormat::kRgb | PixelFormat::kAlphaPixels, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
/// 32-bit 0xAARRGGBB.
inline constexpr PixelFormat kFormatArgb8888{
    PixelFormat::kRgb | PixelFormat::kAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};

/// Number of set bits in a channel mask.
constexpr int MaskBitCount(std::uint32_t mask) {
    return std::popcount(mask);
}

/// Position of the lowest set bit of a channel mask; 31 for an empty mask, so shifting a channel
/// value reduced to nothing by it still gives 0.
constexpr int MaskShift(std::uint32_t mask) {
    return mask == 0 ? 31 : std::countr_zero(mask);
}

// The 16-bit colour codec every part of the game shares. Packing truncates each 8-bit channel to its
// top bits; unpacking widens a channel back to 8 bits by repeating its top bits, so 0 and full stay 0
// and 255.

/// A 5-6-5 pixel from 8-bit channels.
constexpr std::uint16_t PackRgb565(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

/// A 5-6-5 pixel from 0x??RRGGBB.
constexpr std::uint16_t PackRgb565(std::uint32_t rgb) {
    return static_cast<std::uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

/// A 5-5-5 pixel (top bit clear) from 8-bit channels.
constexpr std::uint16_t PackRgb555(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return static_cast<std::uint16_t>((red >> 3) << 10 | (green >> 3) << 5 | blue >> 3);
}

/// A 5-bit channel widened to 8 bits.
constexpr std::uint32_t Widen5(std::uint32_t c) {
    return (c << 3) | (c >> 2);
}

/// A 6-bit channel widened to 8 bits.
constexpr std::uint32_t Widen6(std::uint32_t c) {
    return (c << 2) | (c >> 4);
}

/// A 5-6-5 pixel as 0xFFRRGGBB.
constexpr std::uint32_t UnpackRgb565(std::uint16_t p) {
    return 0xFF000000u | Widen5((p >> 11) & 0x1Fu) << 16 | Widen6((p >> 5) & 0x3Fu) << 8 | Widen5(p & 0x1Fu);
}

/// A 5-5-5 pixel as 0xFFRRGGBB; the top bit is not read.
constexpr std::uint32_t UnpackRgb555(std::uint16_t p) {
    return 0xFF000000u | Widen5((p >> 10) & 0x1Fu) << 16 | Widen5((p >> 5) & 0x1Fu) << 8 | Widen5(p & 0x1Fu);
}

} // namespace plat::gfx2d
