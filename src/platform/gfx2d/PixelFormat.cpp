#include "platform/gfx2d/PixelFormat.h"

namespace plat::gfx2d {

namespace {

// Channel value of `pixel` under `mask`, widened to 8 bits; `absent` when the mask is empty.
std::uint32_t Widen(std::uint32_t pixel, std::uint32_t mask, std::uint32_t absent) {
    if (mask == 0)
        return absent;
    int shift = std::countr_zero(mask);
    std::uint32_t max = mask >> shift;
    std::uint32_t v = (pixel & mask) >> shift;
    return (v * 255 + max / 2) / max;
}

// 8-bit channel value narrowed to `mask` (top bits kept).
std::uint32_t Narrow(std::uint32_t v8, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    int bits = std::popcount(mask);
    if (bits >= 8)
        return (v8 << (shift + bits - 8)) & mask;
    return ((v8 >> (8 - bits)) << shift) & mask;
}

} // namespace

std::uint32_t PixelFormat::ToArgb(std::uint32_t pixel) const {
    return Widen(pixel, alphaMask, 255) << 24 | Widen(pixel, redMask, 0) << 16 |
           Widen(pixel, greenMask, 0) << 8 | Widen(pixel, blueMask, 0);
}

std::uint32_t PixelFormat::FromArgb(std::uint32_t argb) const {
    return Narrow(argb >> 24, alphaMask) | Narrow((argb >> 16) & 0xFF, redMask) |
           Narrow((argb >> 8) & 0xFF, greenMask) | Narrow(argb & 0xFF, blueMask);
}

} // namespace plat::gfx2d
