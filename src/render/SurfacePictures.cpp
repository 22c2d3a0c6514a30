#include "render/SurfacePictures.h"

#include "foundation/assets/Bitmap.h"
#include "render/SurfaceMan.h"

namespace zentrix {

std::unique_ptr<CBitmap> CSurfacePictures::MakePicture(std::vector<std::uint8_t> bytes) {
    // The size sits in the TGA header; shorter data is no picture.
    if (!m_surfaces || bytes.size() < CSurfaceMan::kTgaHeaderSize)
        return nullptr;
    const int width = bytes[12] | (bytes[13] << 8);
    const int height = bytes[14] | (bytes[15] << 8);
    std::unique_ptr<plat::gfx2d::Surface> surface =
        m_surfaces->CreateDDSurface(width, height, nullptr, true, false);
    if (!surface || !m_surfaces->LoadTGAToSurface(std::move(bytes), surface.get()))
        return nullptr;
    return std::make_unique<CBitmap>(std::move(surface));
}

} // namespace zentrix
