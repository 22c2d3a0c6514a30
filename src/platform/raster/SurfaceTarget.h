#pragma once

#include "platform/gfx2d/SurfaceView.h"
#include "platform/raster/RenderTarget.h"

namespace plat::raster {

/// The render target over a locked 2D surface; an invalid (empty) target unless the view holds 5-6-5
/// pixels, so the device draws nothing into a surface of another format.
RenderTarget TargetFromSurface(const gfx2d::SurfaceView& view);

} // namespace plat::raster
