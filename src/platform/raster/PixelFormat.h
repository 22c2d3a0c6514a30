#pragma once

#include <cstdint>

namespace plat::raster {

/// A packed RGB(A) pixel layout: bits per pixel and one mask per channel (alpha mask 0 = opaque).
struct PixelFormat {
    int bitsPerPixel = 16;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    std::uint32_t alphaMask = 0;

    /// Bytes one pixel takes.
    int BytesPerPixel() const { return bitsPerPixel / 8; }
    /// True when the layout is one the device can store textures in (2, 3 or 4 bytes, non-empty masks).
    bool IsValid() const;
    /// Turns a pixel of this layout into 0xAARRGGBB, widening each channel to 8 bits.
    std::uint32_t ToArgb(std::uint32_t pixel) const;
    /// Turns 0xAARRGGBB into this layout, keeping the top bits of each channel.
    std::uint32_t FromArgb(std::uint32_t argb) const;

    friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

/// The layouts the device offers for textures, in the order it lists them.
inline constexpr PixelFormat kRgb565{16, 0xF800, 0x07E0, 0x001F, 0};
inline constexpr PixelFormat kArgb1555{16, 0x7C00, 0x03E0, 0x001F, 0x8000};
inline constexpr PixelFormat kArgb4444{16, 0x0F00, 0x00F0, 0x000F, 0xF000};
inline constexpr PixelFormat kArgb8888{32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};

/// Packs 0x??RRGGBB into a 5-6-5 pixel by truncating each channel.
inline std::uint16_t PackRgb565(std::uint32_t rgb) {
    return static_cast<std::uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

/// Widens a 5-6-5 pixel to 0xFFRRGGBB by repeating each channel's top bits.
inline std::uint32_t UnpackRgb565(std::uint16_t p) {
    std::uint32_t r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

} // namespace plat::raster
