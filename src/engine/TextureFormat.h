#pragma once

#include "platform/gfx2d/PixelFormat.h"

#include <cstdint>
#include <vector>

namespace zentrix {

/// One texture layout the display device offers, with what the pixel converter needs of each channel.
struct TextureFormatRecord {
    plat::gfx2d::PixelFormat format;
    int bytesPerPixel = 0;
    std::uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    int redShift = 0, greenShift = 0, blueShift = 0, alphaShift = 0;
    int redBits = 0, greenBits = 0, blueBits = 0, alphaBits = 0;
};

/// Adds a layout the device reported to `records` (newest first). Layouts of under 16 bits are
/// not usable for textures and are skipped.
void EnumTextureFormat(std::vector<TextureFormatRecord>& records, const plat::gfx2d::PixelFormat& format);

} // namespace zentrix
