#pragma once

#include "platform/gfx2d/PixelFormat.h"

#include <cstdint>
#include <vector>

namespace plat::raster {

/// True when the device can store textures in the layout: 2, 3 or 4 bytes a pixel, masks inside the
/// pixel and every colour channel present.
bool IsTextureFormat(const gfx2d::PixelFormat& format);

/// A texture surface: pixels in one of the device's texture layouts, written through Lock/Unlock.
/// Unlock widens them to 0xAARRGGBB, which is what the rasterizer samples.
class Texture {
public:
    /// Pixels of a locked texture: the first byte and the distance between rows.
    struct Lock {
        std::uint8_t* bytes = nullptr;
        int pitchBytes = 0;
    };

    /// A width x height texture of `format`, all pixels 0. Sizes are clamped to 1..4096.
    Texture(int width, int height, gfx2d::PixelFormat format);

    /// Gives write access to the stored pixels.
    Lock LockPixels();
    /// Ends a write and refreshes the sampled copy.
    void Unlock();
    /// Writes the whole texture from 0xAARRGGBB values (row by row, width x height of them).
    void SetArgb(const std::vector<std::uint32_t>& argb);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const gfx2d::PixelFormat& Format() const { return m_format; }
    /// Sampled pixels, 0xAARRGGBB, row by row without padding.
    const std::uint32_t* Argb() const { return m_argb.data(); }
    /// The sampled pixels again with a wrapped border, WrappedPitch() values a row and Height() + 1
    /// rows: the last column repeats the first and the last row the first, so a texel's right and
    /// lower neighbours under wrapping always lie next to it.
    const std::uint32_t* WrappedArgb() const { return m_wrapped.data(); }
    /// Distance between rows of WrappedArgb() in values (Width() + 1).
    int WrappedPitch() const { return m_width + 1; }

private:
    int m_width;
    int m_height;
    gfx2d::PixelFormat m_format;
    int m_pitch;
    std::vector<std::uint8_t> m_stored;
    std::vector<std::uint32_t> m_argb;
    std::vector<std::uint32_t> m_wrapped;
};

} // namespace plat::raster
