#include "render/SurfaceMan.h"

#include "platform/gfx2d/TgaImage.h"

#include <cstdio>
#include <cstring>

namespace zentrix {

using plat::gfx2d::MaskBitCount;
using plat::gfx2d::MemoryKind;
using plat::gfx2d::PixelFormat;
using plat::gfx2d::Result;
using plat::gfx2d::Surface;
using plat::gfx2d::SurfaceView;

CSurfaceMan::CSurfaceMan(plat::gfx2d::SurfaceFactory& factory) : m_factory(&factory) {}

std::unique_ptr<Surface> CSurfaceMan::CreateDDSurface(int width, int height, const PixelFormat* format,
                                                      bool setColorKey, bool videoMemory) {
    plat::gfx2d::SurfaceRequest request;
    request.size = {width, height};
    if (format)
        request.format = *format;
    request.memory = videoMemory ? MemoryKind::Video : MemoryKind::System;
    std::unique_ptr<Surface> surface = m_factory->CreateSurface(request);
    if (!surface && videoMemory) {
        request.memory = MemoryKind::System;
        surface = m_factory->CreateSurface(request);
    }
    if (!surface)
        return nullptr;
    if (setColorKey) {
        const PixelFormat& made = surface->Describe().format;
        if (surface->SetSourceColorKey(made.redMask | made.blueMask) != Result::Ok)
            return nullptr;
    }
    return surface;
}

bool CSurfaceMan::IsSurface565(const Surface* surface) const {
    if (!surface)
        return false;
    const PixelFormat& format = surface->Describe().format;
    if ((format.flags & PixelFormat::kRgb) && format.bitCount != 16)
        return false;
    return MaskBitCount(format.redMask) == 5 && MaskBitCount(format.greenMask) == 6 &&
           MaskBitCount(format.blueMask) == 5;
}

bool CSurfaceMan::LoadTGAToSurface(std::vector<std::uint8_t> image, Surface* surface) {
    // The image is a local copy of the caller's bytes, freed whichever way this returns.
    plat::gfx2d::TgaImage tga;
    if (!tga.ReadHeader(image.data(), image.size())) {
        std::fprintf(stderr, "LoadTGAToSurface: image of %zu bytes has no complete header\n", image.size());
        return false;
    }
    if (tga.depth != 24 && tga.depth != 15 && tga.depth != 16) {
        std::fprintf(stderr, "LoadTGAToSurface: pixel depth %d is not supported\n", tga.depth);
        return false;
    }
    if (!surface) {
        std::fprintf(stderr, "LoadTGAToSurface: no surface to load into\n");
        return false;
    }
    const plat::gfx2d::Size size = surface->GetSize();
    if (tga.width > size.width || tga.height > size.height) {
        std::fprintf(stderr, "LoadTGAToSurface: %d x %d image does not fit a %d x %d surface\n", tga.width,
                     tga.height, size.width, size.height);
        return false;
    }
    if (tga.depth == 24) {
        if (surface->Describe().format.BytesPerPixel() != 2) {
            std::fprintf(stderr, "LoadTGAToSurface: the surface does not hold 16-bit pixels\n");
            return false;
        }
        const plat::gfx2d::TgaImage::Result decoded =
            tga.Decode(image.data(), image.size(), Surface::kMaxSide);
        if (decoded != plat::gfx2d::TgaImage::Result::Ok) {
            std::fprintf(stderr, "LoadTGAToSurface: %s\n",
                         decoded == plat::gfx2d::TgaImage::Result::Unsupported
                             ? "the image type is not one that is read"
                             : "the image holds fewer bytes than its pixels");
            return false;
        }
    }
    image = {};
    const bool is565 = IsSurface565(surface);
    SurfaceView view;
    if (surface->Lock(view, plat::gfx2d::kLockWait) != Result::Ok) {
        std::fprintf(stderr, "LoadTGAToSurface: cannot lock the surface\n");
        return false;
    }
    if (tga.depth == 24) {
        // The picture's rows go in bottom first, so that turning the whole surface over below leaves
        // its top row first.
        const std::uint8_t* p = tga.pixels.data();
        for (int y = tga.height - 1; y >= 0; --y) {
            std::uint8_t* row = view.RowBytes(y);
            for (int x = 0; x < tga.width; ++x, p += 3) {
                const unsigned blue = p[0], green = p[1], red = p[2];
                const std::uint16_t value = is565 ? plat::gfx2d::PackRgb565(red, green, blue)
                                                  : plat::gfx2d::PackRgb555(red, green, blue);
                std::memcpy(row + x * 2, &value, 2);
            }
        }
    }
    if (surface->Unlock() != Result::Ok)
        return false;
    return FlipSurfaceVertically(surface);
}

bool CSurfaceMan::FlipSurfaceVertically(Surface* surface) {
    if (!surface)
        return false;
    SurfaceView view;
    if (surface->Lock(view, plat::gfx2d::kLockWait) != Result::Ok)
        return false;
    std::vector<std::uint8_t> temp(static_cast<std::size_t>(view.pitch));
    const int height = view.size.height;
    for (int i = 0; i < height / 2; ++i) {
        std::uint8_t* top = view.RowBytes(i);
        std::uint8_t* bottom = view.RowBytes(height - 1 - i);
        std::memcpy(temp.data(), top, temp.size());
        std::memcpy(top, bottom, temp.size());
        std::memcpy(bottom, temp.data(), temp.size());
    }
    return surface->Unlock() == Result::Ok;
}

} // namespace zentrix
