#pragma once

#include "platform/gfx2d/Screen.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "platform/raster/Device.h"

#include <memory>
#include <vector>

namespace plat::raster {

/// A 3D device as its display driver describes it before it is made.
struct DeviceDescription {
    bool hardwareRasterization = true;
    /// 1: point sampling only; above 1: bilinear filtering.
    int textureFilter = 2;
    bool hardwareTransformAndLight = false;
};

/// A display driver: what it offers, the full-screen display it opens and the 3D device it makes.
class DisplayDriver {
public:
    virtual ~DisplayDriver() = default;

    /// True when the driver draws 3D.
    virtual bool Has3D() const = 0;
    /// Its 3D devices, in the order it lists them.
    virtual std::vector<DeviceDescription> Devices() const = 0;
    /// Depth bits of its z-buffer formats, in the order it lists them.
    virtual std::vector<int> DepthFormats() const = 0;
    /// The maker of its off-screen surfaces.
    virtual gfx2d::SurfaceFactory& Surfaces() = 0;
    /// Opens the display: a flipping screen of `size`; null when it cannot.
    virtual std::unique_ptr<gfx2d::Screen> OpenScreen(gfx2d::Size size, int bitsPerPixel) = 0;
    /// Makes the 3D device that draws into `backBuffer`; null when it cannot.
    virtual std::unique_ptr<Device> CreateDevice(gfx2d::Surface& backBuffer) = 0;
};

/// The display drivers of the machine, in the order it reports them.
using DriverList = std::vector<std::unique_ptr<DisplayDriver>>;

} // namespace plat::raster
