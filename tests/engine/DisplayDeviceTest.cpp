#include "engine/DisplayDevice.h"
#include "platform/gfx2d/Presenter.h"
#include "platform/raster/RecordingDevice.h"
#include "platform/raster/SoftwareDisplayDriver.h"
#include "support/FakeDisplayDriver.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using namespace plat::raster;
using plat::gfx2d::HeadlessPresenter;
using plat::gfx2d::kFormat565;
using plat::gfx2d::kFormatArgb8888;
constexpr auto U = [](auto e) { return static_cast<std::uint32_t>(e); };

using testsupport::FakeDriver;

constexpr DeviceDescription kBilinear{true, 2, false};
constexpr DeviceDescription kPointOnly{true, 1, false};
constexpr DeviceDescription kTnL{true, 2, true};
constexpr std::uint32_t kEngineFlags = CDisplayDevice::kFlagDirect3D | CDisplayDevice::kFlagPreferLaterDriver;

TEST(DisplayDevice, InitLeavesTheEngineDefaultsOnTheDevice) {
    auto drivers = DriverList();
    drivers.push_back(std::make_unique<FakeDriver>(std::vector{kBilinear}));
    auto* fake = static_cast<FakeDriver*>(drivers.back().get());
    CDisplayDevice* display = CreateDisplayDevice(std::move(drivers), kEngineFlags, 64, 48, 16);
    ASSERT_NE(display, nullptr);
    const DeviceState& s = fake->m_device->State();

    struct RenderCase {
        RenderState state;
        std::uint32_t value;
    };
    const RenderCase renders[] = {{RenderState::ShadeMode, U(ShadeMode::Gouraud)},
                                  {RenderState::SpecularEnable, 0},
                                  {RenderState::DitherEnable, 1},
                                  {RenderState::TexturePerspective, 1},
                                  {RenderState::Lighting, 1},
                                  {RenderState::FogEnable, 0},
                                  {RenderState::SrcBlend, U(BlendFactor::SrcAlpha)},
                                  {RenderState::DestBlend, U(BlendFactor::InvSrcAlpha)}};
    for (const RenderCase& c : renders) {
        SCOPED_TRACE(U(c.state));
        EXPECT_EQ(s.Get(c.state), c.value);
        std::uint32_t cached = 0;
        display->GetRenderState(c.state, cached);
        EXPECT_EQ(cached, c.value);
    }
    struct StageCase {
        int stage;
        StageState state;
        std::uint32_t value;
    };
    const StageCase stages[] = {{0, StageState::TexCoordIndex, 0},
                                {0, StageState::ColourOp, U(TextureOp::Modulate)},
                                {0, StageState::ColourArg1, U(TextureArg::Texture)},
                                {0, StageState::ColourArg2, U(TextureArg::Current)},
                                {0, StageState::AlphaOp, U(TextureOp::SelectArg1)},
                                {0, StageState::AlphaArg1, U(TextureArg::Texture)},
                                {0, StageState::MagFilter, U(TextureFilter::Linear)},
                                {0, StageState::MinFilter, U(TextureFilter::Linear)},
                                {1, StageState::TexCoordIndex, 1},
                                {1, StageState::ColourOp, U(TextureOp::Disable)},
                                {1, StageState::AlphaOp, U(TextureOp::Disable)},
                                {1, StageState::AlphaArg1, U(TextureArg::Current)},
                                {1, StageState::AlphaArg2, U(TextureArg::Texture)},
                                {1, StageState::MinFilter, U(TextureFilter::Linear)}};
    for (const StageCase& c : stages) {
        SCOPED_TRACE(std::to_string(c.stage) + "/" + std::to_string(U(c.state)));
        EXPECT_EQ(s.Get(c.stage, c.state), c.value);
    }
    EXPECT_EQ(s.CurrentMaterial().diffuse, (ColourF{1, 1, 1, 1}));
    EXPECT_EQ(s.CurrentMaterial().ambient, (ColourF{1, 1, 1, 1}));
    EXPECT_EQ(s.CurrentMaterial().emissive, (ColourF{0, 0, 0, 0}));

    EXPECT_EQ(display->GetFormatCode(), 0x5650);
    EXPECT_EQ(GetColourKey2D(), 0xF81F);
    EXPECT_TRUE(display->HasMultiTexture());
    EXPECT_FALSE(display->IsHardwareTnL());
    // Records are pushed at the head: the last format reported comes first.
    ASSERT_EQ(display->TextureFormats().size(), 4u);
    EXPECT_EQ(display->TextureFormats().front().format, kFormatArgb8888);
    EXPECT_EQ(display->TextureFormats().back().format, kFormat565);
    const TextureFormatRecord& argb1555 = display->TextureFormats()[2];
    EXPECT_EQ(argb1555.redShift, 10);
    EXPECT_EQ(argb1555.alphaBits, 1);
    EXPECT_EQ(argb1555.blueShift, 0);
    const auto& quads = display->QuadIndices();
    EXPECT_EQ((std::vector<int>(quads.begin() + 6, quads.begin() + 12)),
              (std::vector<int>{4, 5, 6, 4, 6, 7}));
    EXPECT_EQ(quads.back(), 255);

    display->FlipDevice();
    EXPECT_EQ(fake->m_presenter->PresentCount(), 1);
    DeleteDisplayDevice(display);
}

TEST(DisplayDevice, StateCacheSendsARepeatedValueOnce) {
    DriverList drivers;
    drivers.push_back(std::make_unique<FakeDriver>(std::vector{kBilinear}));
    auto* fake = static_cast<FakeDriver*>(drivers.back().get());
    CDisplayDevice* display = CreateDisplayDevice(std::move(drivers), kEngineFlags, 32, 32, 16);
    ASSERT_NE(display, nullptr);
    RecordingDevice& device = *fake->m_device;
    device.ClearCalls();

    std::uint32_t value = 0;
    display->GetRenderState(RenderState::ZFunc, value);
    EXPECT_EQ(value, 0xFFFFFFFFu); // never set: all bits
    display->SetRenderState(RenderState::ZWriteEnable, 0);
    display->SetRenderState(RenderState::ZWriteEnable, 0);
    display->SetRenderState(RenderState::Lighting, 1); // already set by Init
    display->SetTextureStageState(0, StageState::Address, U(TextureAddress::Clamp));
    display->SetTextureStageState(0, StageState::Address, U(TextureAddress::Clamp));
    display->SetTextureStageState(1, StageState::Address, U(TextureAddress::Clamp));
    display->SetRenderState(RenderState::ZWriteEnable, 1);
    EXPECT_EQ(device.CountOf(RenderState::ZWriteEnable), 2) << device.Describe();
    EXPECT_EQ(device.CountOf(RenderState::Lighting), 0);
    EXPECT_EQ(device.CountOf(RecordingDevice::Kind::SetTextureStageState), 2);
    display->GetRenderState(RenderState::ZWriteEnable, value);
    EXPECT_EQ(value, 1u);
    DeleteDisplayDevice(display);
}

TEST(DisplayDevice, DriverChoiceByScoreAndTheLaterDriverFlag) {
    struct Case {
        const char* what;
        std::vector<std::vector<DeviceDescription>> drivers;
        std::vector<bool> has3D;
        std::uint32_t flags;
        int chosen; // -1: none, creation fails
    };
    const Case cases[] = {
        {"equal scores, first kept", {{kBilinear}, {kBilinear}}, {true, true}, 2, 0},
        {"equal scores, flag 8 takes the last", {{kBilinear}, {kBilinear}}, {true, true}, kEngineFlags, 1},
        {"a higher later score wins", {{kPointOnly}, {kBilinear}}, {true, true}, 2, 1},
        {"the score is that of the last device", {{kTnL, kPointOnly}, {kBilinear}}, {true, true}, 2, 1},
        {"a driver without 3D is skipped", {{kTnL}, {kBilinear}}, {false, true}, 2, 1},
        {"no 3D driver", {{kBilinear}}, {false}, kEngineFlags, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DriverList drivers;
        std::vector<FakeDriver*> fakes;
        for (std::size_t i = 0; i < c.drivers.size(); ++i) {
            drivers.push_back(std::make_unique<FakeDriver>(c.drivers[i], c.has3D[i]));
            fakes.push_back(static_cast<FakeDriver*>(drivers.back().get()));
        }
        CDisplayDevice* display = CreateDisplayDevice(std::move(drivers), c.flags, 16, 16, 16);
        EXPECT_EQ(display != nullptr, c.chosen >= 0);
        for (std::size_t i = 0; display != nullptr && i < fakes.size(); ++i)
            EXPECT_EQ(fakes[i]->m_device != nullptr, static_cast<int>(i) == c.chosen) << i;
        DeleteDisplayDevice(display);
    }
}

TEST(DisplayDevice, WithoutAMatchingZBufferOrDeviceCreationFails) {
    DriverList drivers;
    drivers.push_back(std::make_unique<FakeDriver>(std::vector{kBilinear}, true, std::vector<int>{24, 32}));
    EXPECT_EQ(CreateDisplayDevice(std::move(drivers), kEngineFlags, 16, 16, 16), nullptr);

    DriverList tnl;
    tnl.push_back(std::make_unique<FakeDriver>(std::vector{kTnL}));
    CDisplayDevice* display = CreateDisplayDevice(std::move(tnl), kEngineFlags, 16, 16, 16);
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(display->IsHardwareTnL());
    CDisplayDevice stranger(DriverList{}, kEngineFlags, 16, 16, 16);
    DeleteDisplayDevice(&stranger); // not in the list: ignored
    DeleteDisplayDevice(display);
}

TEST(DisplayDevice, OnTheSoftwareDriverAClearedBackBufferIsShownByTheFlip) {
    DriverList drivers;
    drivers.push_back(std::make_unique<SoftwareDisplayDriver>(std::make_unique<HeadlessPresenter>()));
    CDisplayDevice* display = CreateDisplayDevice(std::move(drivers), kEngineFlags, 20, 10, 16);
    ASSERT_NE(display, nullptr);
    EXPECT_FALSE(display->IsHardwareTnL());
    ASSERT_NE(display->GetDirectDraw(), nullptr);
    Device& device = *display->GetRenderDevice();
    device.SetViewport({5, 2, 10, 6, 0, 1});
    device.Clear(kClearTarget, 0xFF0000, 1.0f);
    display->FlipDevice();
    plat::gfx2d::SurfaceView view;
    ASSERT_EQ(display->GetPrimarySurface()->Lock(view), plat::gfx2d::Result::Ok);
    EXPECT_EQ(view.Row16(2)[5], 0xF800);
    EXPECT_EQ(view.Row16(7)[14], 0xF800);
    EXPECT_EQ(view.Row16(1)[5], 0);
    EXPECT_EQ(view.Row16(2)[15], 0);
    display->GetPrimarySurface()->Unlock();
    DeleteDisplayDevice(display);
}

} // namespace
