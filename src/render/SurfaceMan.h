#pragma once

#include "platform/gfx2d/PixelFormat.h"
#include "platform/gfx2d/Surface.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "platform/gfx2d/TgaImage.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

/// Makes the 16-bit off-screen surfaces of the 2D pictures and fills them from TGA images in memory.
class CSurfaceMan {
public:
    /// Bytes of a TGA header.
    static constexpr std::size_t kTgaHeaderSize = plat::gfx2d::TgaImage::kHeaderSize;

    /// A surface manager creating its surfaces with the factory (not owned; it must outlive this).
    explicit CSurfaceMan(plat::gfx2d::SurfaceFactory& factory);
    virtual ~CSurfaceMan() = default;

    CSurfaceMan(const CSurfaceMan&) = delete;
    CSurfaceMan& operator=(const CSurfaceMan&) = delete;

    /// A new off-screen surface of the given size, in the screen's format when no format is given; with
    /// setColorKey its source colour key is magenta (its red mask OR its blue mask). A surface asked for
    /// in video memory falls back to system memory. Null when it cannot be made.
    std::unique_ptr<plat::gfx2d::Surface> CreateDDSurface(int width, int height,
                                                          const plat::gfx2d::PixelFormat* format,
                                                          bool setColorKey, bool videoMemory);

    /// True for a 5-6-5 surface; false for a 5-5-5 one, for an RGB format that is not 16 bits and for
    /// a null surface.
    bool IsSurface565(const plat::gfx2d::Surface* surface) const;

    /// Fills the surface from a TGA image (the image is consumed on every path), decoded as the engine's
    /// textures are (`plat::gfx2d::TgaImage`: the image-ID field skipped, raw or run-length pixels, either
    /// row order). 24-bit images are packed into the surface's 16-bit layout, written bottom row first,
    /// and the whole surface is then turned over, so the picture ends top row first in the surface's last
    /// rows; 15- and 16-bit images are accepted but write no pixels. False
    /// for any other depth, for a 24-bit image of another type or shorter than its pixels, for a surface
    /// that is missing, smaller than the image or (for 24-bit images) not 16-bit, and when locking fails.
    bool LoadTGAToSurface(std::vector<std::uint8_t> image, plat::gfx2d::Surface* surface);

    /// Swaps the surface's rows top to bottom; false when it cannot be locked or unlocked.
    bool FlipSurfaceVertically(plat::gfx2d::Surface* surface);

private:
    plat::gfx2d::SurfaceFactory* m_factory;
};

} // namespace zentrix
