#include "foundation/assets/Bitmap.h"

#include <algorithm>

namespace zentrix {

using plat::gfx2d::MaskBitCount;
using plat::gfx2d::MaskShift;
using plat::gfx2d::PixelFormat;
using plat::gfx2d::Result;

CBitmap::CBitmap(std::unique_ptr<plat::gfx2d::Surface> surface) : m_surface(std::move(surface)) {
    ++s_liveCount;
    if (m_surface) {
        const plat::gfx2d::SurfaceDescription description = m_surface->Describe();
        m_width = description.size.width;
        m_height = description.size.height;
    }
}

CBitmap::~CBitmap() {
    Unlock();
    --s_liveCount;
}

plat::gfx2d::Surface* CBitmap::GetSurface() {
    if (m_surface && m_surface->IsLost())
        m_surface->Restore();
    return m_surface.get();
}

bool CBitmap::Lock(plat::gfx2d::SurfaceView& out, unsigned flags) {
    Unlock();
    if (!m_surface || m_surface->Lock(out, flags) != Result::Ok)
        return false;
    m_locked = true;
    return true;
}

void CBitmap::Unlock() {
    if (!m_locked)
        return;
    m_surface->Unlock();
    m_locked = false;
}

std::uint32_t CBitmap::ColorToPixel(std::uint32_t colour) const {
    if (!m_surface)
        return 0;
    const PixelFormat& format = m_surface->Describe().format;
    const std::uint32_t channels[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
    const std::uint32_t masks[3] = {format.redMask, format.greenMask, format.blueMask};
    std::uint32_t pixel = 0;
    for (int i = 0; i < 3; ++i) {
        // A channel wider than a byte keeps the byte as it is.
        const int drop = std::max(0, 8 - MaskBitCount(masks[i]));
        pixel |= (channels[i] >> drop) << MaskShift(masks[i]);
    }
    return pixel;
}

} // namespace zentrix
