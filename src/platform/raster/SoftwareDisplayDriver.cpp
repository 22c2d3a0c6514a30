#include "platform/raster/SoftwareDisplayDriver.h"

#include "platform/raster/SoftwareDevice.h"
#include "platform/raster/SurfaceTarget.h"

namespace plat::raster {

SoftwareDisplayDriver::SoftwareDisplayDriver(std::unique_ptr<gfx2d::Presenter> presenter)
    : m_presenter(std::move(presenter)) {}

std::unique_ptr<gfx2d::Screen> SoftwareDisplayDriver::OpenScreen(gfx2d::Size size, int bitsPerPixel) {
    if (bitsPerPixel != 16 || !m_presenter)
        return nullptr;
    return gfx2d::Screen::Create(size, std::move(m_presenter));
}

std::unique_ptr<Device> SoftwareDisplayDriver::CreateDevice(gfx2d::Surface& backBuffer) {
    gfx2d::SurfaceView view;
    if (backBuffer.Lock(view) != gfx2d::Result::Ok)
        return nullptr;
    const RenderTarget target = TargetFromSurface(view);
    backBuffer.Unlock();
    if (!target.IsValid())
        return nullptr;
    return std::make_unique<SoftwareDevice>(target);
}

} // namespace plat::raster
