#include "engine/TextureFormat.h"

#include "platform/raster/Texture.h"

#include <bit>

namespace zentrix {

namespace {

// Position of the lowest set bit; 0 for an empty mask.
int Shift(std::uint32_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

} // namespace

void EnumTextureFormat(std::vector<TextureFormatRecord>& records, const plat::gfx2d::PixelFormat& format) {
    if (!plat::raster::IsTextureFormat(format))
        return;
    TextureFormatRecord r;
    r.format = format;
    r.bytesPerPixel = format.BytesPerPixel();
    r.redMask = format.redMask;
    r.greenMask = format.greenMask;
    r.blueMask = format.blueMask;
    r.alphaMask = format.alphaMask;
    r.redShift = Shift(r.redMask);
    r.greenShift = Shift(r.greenMask);
    r.blueShift = Shift(r.blueMask);
    r.alphaShift = Shift(r.alphaMask);
    r.redBits = std::popcount(r.redMask);
    r.greenBits = std::popcount(r.greenMask);
    r.blueBits = std::popcount(r.blueMask);
    r.alphaBits = std::popcount(r.alphaMask);
    records.insert(records.begin(), r);
}

} // namespace zentrix
