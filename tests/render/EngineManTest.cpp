#include "render/EngineMan.h"
#include "engine/DisplayDevice.h"
#include "engine/TextureList.h"
#include "engine/Viewport.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/base/EventMan.h"
#include "platform/raster/SoftwareDisplayDriver.h"
#include "render/EngineServices.h"
#include "render/FakeEngineServices.h"
#include "render/FakeParticleServices.h"
#include "render/Overlay.h"
#include "render/ParticleSystem.h"
#include "render/SurfaceMan.h"
#include "support/Tga.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

using namespace zentrix;

namespace {

using namespace plat::gfx2d;
using plat::raster::Light;
using testsupport::Image;
using testsupport::MakeTga24;
using testsupport::Rgb;

Image Filled(int width, int height, Rgb colour) {
    return {width, height, std::vector<Rgb>(static_cast<std::size_t>(width * height), colour)};
}

class EngineManTest : public testing::Test {
protected:
    void SetUp() override {
        // The pointer: a 4 x 4 white square with a magenta corner.
        Image pointer = Filled(4, 4, {255, 255, 255});
        pointer.pixels[0] = {255, 0, 255};
        services.assets[CEngineMan::kPointerImageId] = MakeTga24(pointer);
        services.events.StartManager();
        ASSERT_TRUE(engine.CreateDevice(nullptr, 0));
        ASSERT_TRUE(engine.InitScene());
        services.surfaces = engine.GetSurfaceMan();
    }
    std::uint16_t BackPixel(int x, int y) {
        Surface* back = engine.GetDisplayDevice()->GetDeviceBackBuffer();
        SurfaceView view;
        EXPECT_EQ(back->Lock(view), Result::Ok);
        const std::uint16_t value = view.Row16(y)[x];
        back->Unlock();
        return value;
    }

    FakeEngineServices services;
    CEngineMan engine{&services};
};

TEST_F(EngineManTest, MainLightsFollowThemeAndMode) {
    struct Case {
        int mode, theme, light;
        CVector diffuse, ambient;
        std::array<std::uint8_t, 3> clear;
    };
    const Case cases[] = {
        {1, 0, 0, {1, 1, 1}, {0.5f, 0.5f, 0.5f}, {14, 80, 9}},
        {1, 3, 3, {0.9f, 0.9f, 0.8f}, {0, 0, 0}, {29, 111, 0}},
        {0, 2, 0, {1.0f, 0.6f, 0.1f}, {0.27f, 0.13f, 0.13f}, {124, 59, 42}},
        {1, 4, 0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " theme " << c.theme << " light " << c.light);
        services.theme = c.theme;
        engine.SetupLighting(c.mode);
        Light light;
        ASSERT_TRUE(engine.GetLight(c.light, light));
        EXPECT_TRUE(VectorNear({light.diffuse.r, light.diffuse.g, light.diffuse.b}, c.diffuse));
        EXPECT_TRUE(VectorNear({light.ambient.r, light.ambient.g, light.ambient.b}, c.ambient));
        const std::uint32_t clear = engine.GetViewport()->GetClearColour();
        EXPECT_EQ(clear & 0xFFFFFF, (c.clear[0] << 16) | (c.clear[1] << 8) | c.clear[2]);
    }
    struct Colour {
        int mode, theme;
        CVector tint, steady;
    };
    for (const Colour& c : {Colour{1, 1, {0.8f, 0.9f, 1.0f}, {0.5f, 0.5f, 0.5f}},
                            Colour{0, 2, {0.7f, 0.6f, 0.6f}, {0.8f, 0.8f, 0.8f}}, Colour{0, 5, {}, {}}}) {
        services.theme = c.theme;
        engine.SetupLighting(c.mode);
        EXPECT_TRUE(VectorNear(engine.GetCarTint(), c.tint)) << c.theme;
        EXPECT_TRUE(VectorNear(engine.GetHighlightSteady(), c.steady)) << c.theme;
        EXPECT_TRUE(VectorNear(engine.GetHighlightFlash1(), c.theme < 4 ? CVector(0, 1, 0) : CVector()))
            << c.theme;
    }
}

TEST_F(EngineManTest, LightSlots) {
    Light extra;
    extra.position = {0.0f, 0.0f, 30.0f};
    for (int i = 4; i < CEngineMan::kLightSlots; ++i)
        ASSERT_EQ(engine.AddLight(extra), i);
    EXPECT_EQ(engine.AddLight(extra), -1);

    engine.SetupLighting(1);
    Light out;
    EXPECT_FALSE(engine.GetLight(5, out));
    EXPECT_TRUE(engine.GetLight(4, out));
    const auto near = engine.GetLightsByDistance({0.0f, 50.0f, 0.0f});
    ASSERT_EQ(near.size(), 5u);
    EXPECT_FLOAT_EQ(near[0].distance, 160.0f);
    EXPECT_FLOAT_EQ(near[4].distance, std::sqrt(50.0f * 50.0f + 30.0f * 30.0f));
    engine.SetupLighting(0);
    EXPECT_EQ(engine.GetLightsByDistance({}).size(), 100u);

    // Stored handles come back as -1 or stale: out-of-range indices are refused.
    for (int bad : {-1, 100, 1000}) {
        engine.RemoveLight(bad);
        engine.SetLight(bad, extra);
        EXPECT_FALSE(engine.GetLight(bad, out));
    }
    engine.RemoveLight(7);
    EXPECT_EQ(engine.AddLight(extra), 7);
}

TEST_F(EngineManTest, BackgroundPicture) {
    services.assets[900] = MakeTga24(Filled(640, 480, {0, 0, 255}));
    EXPECT_TRUE(engine.SetBackgroundImage(900));
    EXPECT_FALSE(engine.GetViewport()->GetColourClear());
    EXPECT_FALSE(engine.SetBackgroundImage(900)); // the current one: nothing changes
    EXPECT_EQ(engine.GetBackgroundImageId(), 900);
    engine.RenderFrame();
    engine.RenderFrame();
    EXPECT_EQ(BackPixel(320, 10), 0x001F);

    EXPECT_FALSE(engine.SetBackgroundImage(-1));
    EXPECT_EQ(engine.GetBackgroundImageId(), -1);
    EXPECT_TRUE(engine.GetViewport()->GetColourClear());
    EXPECT_FALSE(engine.SetBackgroundImage(901)); // no picture
    EXPECT_EQ(engine.GetBackgroundImageId(), -1);
}

TEST_F(EngineManTest, PointerAndOverlaysOnTheBackBuffer) {
    // Hide and show in one frame leave the pointer shown; a pointer at (0, 0) draws at (-15, -2).
    services.events.PostMessage(VORNMSG_HIDE_POINTER);
    services.events.PostMessage(VORNMSG_SHOW_POINTER);
    engine.Update();
    EXPECT_TRUE(engine.IsPointerVisible());
    services.mouseX = 17;
    services.mouseY = 4;
    engine.RenderFrame();
    engine.Update();
    EXPECT_EQ(BackPixel(2, 2), 0);      // the keyed corner
    EXPECT_EQ(BackPixel(3, 3), 0xFFFF); // white
    EXPECT_EQ(BackPixel(6, 2), 0);
    engine.RenderFrame();
    services.mouseX = services.mouseY = 0;
    engine.RenderFrame();
    engine.Update();
    EXPECT_EQ(engine.GetPointer()->GetX(), -15);
    EXPECT_EQ(engine.GetPointer()->GetY(), -2);

    // Three keyed overlays go over the others, in the order met.
    auto square = [](std::uint32_t colour, bool keyed) {
        auto overlay = std::make_unique<COverlay>(8, 8);
        overlay->SetPosition(100, 100);
        overlay->FillRect(colour, {0, 0, 8, 8});
        overlay->SetKeyedFlag(keyed);
        return overlay;
    };
    engine.AddRenderObject(square(0x0000FF, true));
    engine.AddRenderObject(square(0x00FF00, true));
    COverlay* blue = engine.AddRenderObject(square(0xFF0000, true));
    engine.AddRenderObject(square(0xFFFFFF, false));
    engine.RenderFrame();
    engine.Update();
    EXPECT_EQ(BackPixel(104, 104), 0x001F);
    engine.DeleteOverlay(blue);
    EXPECT_FALSE(engine.HasRenderObject(blue));
    engine.RenderFrame();
    engine.Update();
    EXPECT_EQ(BackPixel(104, 104), 0x07E0);

    services.events.SetPointerMessage(4242); // no such picture: no pointer drawn, nothing thrown
    engine.Update();
    EXPECT_EQ(engine.GetPointerImageId(), 4242);
    EXPECT_EQ(engine.GetPointer()->GetSurface(), nullptr);
}

TEST(EngineManDeviceTest, FallsBackOnceThenFails) {
    FakeEngineServices services;
    std::vector<Size> asked;
    int failures = 1;
    CEngineMan engine(&services, [&](plat::window::Window*, Size size) {
        asked.push_back(size);
        plat::raster::DriverList drivers;
        if (failures-- <= 0)
            drivers.push_back(
                std::make_unique<plat::raster::SoftwareDisplayDriver>(std::make_unique<HeadlessPresenter>()));
        return drivers;
    });
    EXPECT_TRUE(engine.CreateDevice(nullptr, 2));
    EXPECT_EQ(asked, (std::vector<Size>{{1024, 768}, {640, 480}}));
    engine.Shutdown();

    failures = 5;
    EXPECT_FALSE(engine.CreateDevice(nullptr, 1));
    EXPECT_FALSE(engine.InitScene());
}

} // namespace

namespace {

TEST_F(EngineManTest, FramesAdvanceParticleSystemsAndShutdownEndsThemAndTheTextures) {
    FakeParticleServices particles;
    particles.AddKind(9020);
    CParticleSystem::SetServices(&particles);
    CParticleSystem* s = CParticleSystem::Create(9020, {}, nullptr, 0);
    ASSERT_TRUE(s);
    struct Case {
        float factor;
        float remaining;
    };
    // 25 x factor truncated, then 0.7 of it truncated; a factor that is not a number advances nothing.
    const Case cases[] = {
        {2.0f, 965}, {1.0f, 948}, {0.5f, 940}, {std::numeric_limits<float>::quiet_NaN(), 940}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        services.frameFactor = c.factor;
        engine.RenderFrame();
        EXPECT_EQ(s->GetRemainingLifetime(), c.remaining);
    }
    // Textures loaded by name live in the engine's list until its shutdown.
    NewTexture();
    NewTexture();
    EXPECT_EQ(TextureCount(), 2u);
    engine.Shutdown();
    EXPECT_EQ(TextureCount(), 0u);
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 0);
    EXPECT_TRUE(particles.scene.GetDecalList(0).empty());
    CParticleSystem::FreeKinds();
    CParticleSystem::SetServices(nullptr);
}

} // namespace
