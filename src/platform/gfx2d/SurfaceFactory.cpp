#include "platform/gfx2d/SurfaceFactory.h"

namespace plat::gfx2d {

std::unique_ptr<Surface> MemorySurfaceFactory::CreateSurface(const SurfaceRequest& request) {
    return Surface::Create(request.size, request.format.value_or(kFormat565));
}

} // namespace plat::gfx2d
