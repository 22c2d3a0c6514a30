#include "platform/raster/SurfaceTarget.h"

namespace plat::raster {

RenderTarget TargetFromSurface(const gfx2d::SurfaceView& view) {
    const gfx2d::PixelFormat& f = view.format;
    if (f.bitCount != 16 || f.redMask != gfx2d::kFormat565.redMask ||
        f.greenMask != gfx2d::kFormat565.greenMask || f.blueMask != gfx2d::kFormat565.blueMask)
        return {};
    RenderTarget target{reinterpret_cast<std::uint16_t*>(view.pixels), view.pitch, view.size.width,
                        view.size.height};
    return target.IsValid() ? target : RenderTarget{};
}

} // namespace plat::raster
