#pragma once

#include "platform/gfx2d/Presenter.h"
#include "platform/raster/DisplayDriver.h"

namespace plat::raster {

/// The one display driver of this platform: memory surfaces shown through a presenter and the software
/// rasterizer as its 3D device (hardware rasterisation with bilinear filtering, no transform and
/// lighting, one 16-bit z-buffer format).
class SoftwareDisplayDriver final : public DisplayDriver {
public:
    /// A driver whose screen shows its pictures through `presenter`.
    explicit SoftwareDisplayDriver(std::unique_ptr<gfx2d::Presenter> presenter);

    bool Has3D() const override { return true; }
    std::vector<DeviceDescription> Devices() const override { return {DeviceDescription{}}; }
    std::vector<int> DepthFormats() const override { return {16}; }
    gfx2d::SurfaceFactory& Surfaces() override { return m_surfaces; }
    /// The screen, once; only 16 bits per pixel are offered.
    std::unique_ptr<gfx2d::Screen> OpenScreen(gfx2d::Size size, int bitsPerPixel) override;
    /// A software device over the back buffer's pixels, which a memory surface never moves.
    std::unique_ptr<Device> CreateDevice(gfx2d::Surface& backBuffer) override;

private:
    std::unique_ptr<gfx2d::Presenter> m_presenter;
    gfx2d::MemorySurfaceFactory m_surfaces;
};

} // namespace plat::raster
