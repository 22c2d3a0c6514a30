#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/PixelFormat.h"

#include <cstdint>

namespace plat::gfx2d {

/// A window onto pixels in memory: the first pixel, the distance between rows in bytes, the size and
/// the pixel format. It owns nothing; it is what a locked surface hands out and what the blitters and
/// the rasterizer draw into.
struct SurfaceView {
    std::uint8_t* pixels = nullptr;
    int pitch = 0;
    Size size;
    PixelFormat format;

    /// The rectangle covering every pixel of the view.
    Rect Bounds() const { return Rect::FromSize(size); }

    /// The first byte of row y.
    std::uint8_t* RowBytes(int y) const { return pixels + static_cast<std::ptrdiff_t>(y) * pitch; }

    /// Row y as 16-bit pixels (for 16-bit formats).
    std::uint16_t* Row16(int y) const { return reinterpret_cast<std::uint16_t*>(RowBytes(y)); }

    /// Row y as 32-bit pixels (for 32-bit formats).
    std::uint32_t* Row32(int y) const { return reinterpret_cast<std::uint32_t*>(RowBytes(y)); }

    /// The part of the view inside r, clipped to the view (an empty view when they do not meet).
    SurfaceView Subregion(const Rect& r) const {
        Rect clipped = Bounds().Intersect(r);
        if (clipped.IsEmpty())
            return {pixels, pitch, {0, 0}, format};
        return {RowBytes(clipped.top) + static_cast<std::ptrdiff_t>(clipped.left) * format.BytesPerPixel(),
                pitch,
                {clipped.Width(), clipped.Height()},
                format};
    }
};

} // namespace plat::gfx2d
