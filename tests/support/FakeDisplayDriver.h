#pragma once

#include "engine/DisplayDevice.h"
#include "platform/gfx2d/Presenter.h"
#include "platform/raster/RecordingDevice.h"
#include "platform/raster/SoftwareDisplayDriver.h"

#include <memory>
#include <vector>

using namespace zentrix;

namespace testsupport {

/// A display driver with the capabilities a test gives it; its device is a recording double the test
/// can read.
class FakeDriver final : public plat::raster::DisplayDriver {
public:
    explicit FakeDriver(
        std::vector<plat::raster::DeviceDescription> devices = {plat::raster::DeviceDescription{}},
        bool has3D = true, std::vector<int> depths = {16})
        : m_devices(std::move(devices)), m_has3D(has3D), m_depths(std::move(depths)) {}

    bool Has3D() const override { return m_has3D; }
    std::vector<plat::raster::DeviceDescription> Devices() const override { return m_devices; }
    std::vector<int> DepthFormats() const override { return m_depths; }
    plat::gfx2d::SurfaceFactory& Surfaces() override { return m_surfaces; }
    std::unique_ptr<plat::gfx2d::Screen> OpenScreen(plat::gfx2d::Size size, int) override {
        auto presenter = std::make_unique<plat::gfx2d::HeadlessPresenter>();
        m_presenter = presenter.get();
        return plat::gfx2d::Screen::Create(size, std::move(presenter));
    }
    std::unique_ptr<plat::raster::Device> CreateDevice(plat::gfx2d::Surface&) override {
        auto device = std::make_unique<plat::raster::RecordingDevice>();
        m_device = device.get();
        return device;
    }

    plat::raster::RecordingDevice* m_device = nullptr;     // observed; owned by the display device
    plat::gfx2d::HeadlessPresenter* m_presenter = nullptr; // observed; owned by the screen

private:
    std::vector<plat::raster::DeviceDescription> m_devices;
    bool m_has3D;
    std::vector<int> m_depths;
    plat::gfx2d::MemorySurfaceFactory m_surfaces;
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
            m_fake = fake.get();
            drivers.push_back(std::move(fake));
        }
        m_display = CreateDisplayDevice(std::move(drivers), 10, width, height, 16);
    }
    ~TestDisplay() { DeleteDisplayDevice(m_display); }
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    CDisplayDevice& operator*() const { return *m_display; }
    CDisplayDevice* operator->() const { return m_display; }
    CDisplayDevice* get() const { return m_display; }
    /// The recording double (recording displays only).
    plat::raster::RecordingDevice& Recorder() const { return *m_fake->m_device; }

private:
    FakeDriver* m_fake = nullptr;
    CDisplayDevice* m_display = nullptr;
};

} // namespace testsupport
