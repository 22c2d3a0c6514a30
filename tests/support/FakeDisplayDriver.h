#pragma once

#include "engine/DisplayDevice.h"
#include "platform/gfx2d/Presenter.h"
#include "platform/raster/RecordingDevice.h"
#include "platform/raster/SoftwareDisplayDriver.h"

#include <memory>
#include <vector>

namespace testsupport {

/// A display driver with the capabilities a test gives it; its device is a recording double the test
/// can read.
class FakeDriver final : public plat::raster::DisplayDriver {
public:
    explicit FakeDriver(
        std::vector<plat::raster::DeviceDescription> devices = {plat::raster::DeviceDescription{}},
        bool has3D = true, std::vector<int> depths = {16})
        : devices_(std::move(devices)), has3D_(has3D), depths_(std::move(depths)) {}

    bool Has3D() const override { return has3D_; }
    std::vector<plat::raster::DeviceDescription> Devices() const override { return devices_; }
    std::vector<int> DepthFormats() const override { return depths_; }
    plat::gfx2d::SurfaceFactory& Surfaces() override { return surfaces_; }
    std::unique_ptr<plat::gfx2d::Screen> OpenScreen(plat::gfx2d::Size size, int) override {
        auto presenter = std::make_unique<plat::gfx2d::HeadlessPresenter>();
        presenter_ = presenter.get();
        return plat::gfx2d::Screen::Create(size, std::move(presenter));
    }
    std::unique_ptr<plat::raster::Device> CreateDevice(plat::gfx2d::Surface&) override {
        auto device = std::make_unique<plat::raster::RecordingDevice>();
        device_ = device.get();
        return device;
    }

    plat::raster::RecordingDevice* device_ = nullptr;     // observed; owned by the display device
    plat::gfx2d::HeadlessPresenter* presenter_ = nullptr; // observed; owned by the screen

private:
    std::vector<plat::raster::DeviceDescription> devices_;
    bool has3D_;
    std::vector<int> depths_;
    plat::gfx2d::MemorySurfaceFactory surfaces_;
};

/// A listed display device for one test, deleted with the object: on the recording double, or on the
/// software rasterizer.
class TestDisplay {
public:
    /// A device of width x height; `software` draws for real, else calls are recorded.
    explicit TestDisplay(int width = 64, int height = 48, bool software = false) {
        plat::raster::DriverList drivers;
        if (software) {
            drivers.push_back(std::make_unique<plat::raster::SoftwareDisplayDriver>(
                std::make_unique<plat::gfx2d::HeadlessPresenter>()));
        } else {
            auto fake = std::make_unique<FakeDriver>();
            fake_ = fake.get();
            drivers.push_back(std::move(fake));
        }
        display_ = CreateDisplayDevice(std::move(drivers), 10, width, height, 16);
    }
    ~TestDisplay() { DeleteDisplayDevice(display_); }
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    CDisplayDevice& operator*() const { return *display_; }
    CDisplayDevice* operator->() const { return display_; }
    CDisplayDevice* get() const { return display_; }
    /// The recording double (recording displays only).
    plat::raster::RecordingDevice& Recorder() const { return *fake_->device_; }

private:
    FakeDriver* fake_ = nullptr;
    CDisplayDevice* display_ = nullptr;
};

} // namespace testsupport
