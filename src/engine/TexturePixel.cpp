#include "engine/TexturePixel.h"

#include "foundation/base/FatalError.h"
#include "platform/gfx2d/PixelFormat.h"

#include <cstddef>

namespace zentrix {

namespace {

std::uint8_t Widen4(unsigned c) {
    return static_cast<std::uint8_t>(c * 17);
}

std::uint8_t* PixelAt(int x, int y, int width, std::uint8_t* pixels, int bytes) {
    const std::size_t index =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    return pixels + index * static_cast<std::size_t>(bytes);
}

// The channels of a 16-bit pixel widened to 0xFFRRGGBB; the key colour (magenta) reads with alpha 0.
void Channels(std::uint32_t argb, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue,
              std::uint8_t& alpha) {
    red = static_cast<std::uint8_t>(argb >> 16), green = static_cast<std::uint8_t>(argb >> 8),
    blue = static_cast<std::uint8_t>(argb);
    alpha = red == 255 && green == 0 && blue == 255 ? 0 : 255;
}

} // namespace

int GetTextureBPP(std::uint32_t format) {
    switch (format) {
    case kFormat4444:
    case kFormat5550:
    case kFormat5551:
    case kFormat5650:
        return 2;
    case kFormat8880:
        return 3;
    case kFormat8888:
        return 4;
    default:
        FatalError("Unknown texture format %x", format);
    }
}

void GetTexturePixel(int x, int y, int width, const std::uint8_t* pixels, std::uint32_t format,
                     std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue, std::uint8_t& alpha) {
    const int bytes = GetTextureBPP(format);
    const std::uint8_t* p = PixelAt(x, y, width, const_cast<std::uint8_t*>(pixels), bytes);
    const unsigned w = bytes == 2 ? static_cast<unsigned>(p[0] | (p[1] << 8)) : 0;
    switch (format) {
    case kFormat4444:
        alpha = Widen4(w >> 12), red = Widen4((w >> 8) & 15), green = Widen4((w >> 4) & 15),
        blue = Widen4(w & 15);
        return;
    case kFormat5550:
    case kFormat5551:
        Channels(plat::gfx2d::UnpackRgb555(static_cast<std::uint16_t>(w)), red, green, blue, alpha);
        if (format == kFormat5551)
            alpha = (w & 0x8000) ? 255 : 0;
        return;
    case kFormat5650:
        Channels(plat::gfx2d::UnpackRgb565(static_cast<std::uint16_t>(w)), red, green, blue, alpha);
        return;
    case kFormat8880:
        blue = p[0], green = p[1], red = p[2];
        alpha = red == 255 && green == 0 && blue == 255 ? 0 : 255;
        return;
    default: // kFormat8888
        blue = p[0], green = p[1], red = p[2], alpha = p[3];
        return;
    }
}

void SetTexturePixel(int x, int y, int width, std::uint8_t* pixels, std::uint32_t format, std::uint8_t red,
                     std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
    const int bytes = GetTextureBPP(format);
    std::uint8_t* p = PixelAt(x, y, width, pixels, bytes);
    const bool keyedFormat = format == kFormat5550 || format == kFormat5650 || format == kFormat8880;
    if (keyedFormat && alpha == 0)
        red = 255, green = 0, blue = 255;
    unsigned w = 0;
    switch (format) {
    case kFormat4444:
        w = ((alpha >> 4u) << 12) | ((red >> 4u) << 8) | ((green >> 4u) << 4) | (blue >> 4u);
        break;
    case kFormat5550:
    case kFormat5551:
        w = plat::gfx2d::PackRgb555(red, green, blue);
        if (format == kFormat5551 && (alpha & 0x80))
            w |= 0x8000;
        break;
    case kFormat5650:
        w = plat::gfx2d::PackRgb565(red, green, blue);
        break;
    case kFormat8880:
        p[0] = blue, p[1] = green, p[2] = red;
        return;
    default: // kFormat8888
        p[0] = blue, p[1] = green, p[2] = red, p[3] = alpha;
        return;
    }
    p[0] = static_cast<std::uint8_t>(w);
    p[1] = static_cast<std::uint8_t>(w >> 8);
}

} // namespace zentrix
