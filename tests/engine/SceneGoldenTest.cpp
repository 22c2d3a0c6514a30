#include "engine/Camera.h"
#include "engine/Entity.h"
#include "engine/GeometryBuffer.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "engine/TextureList.h"
#include "engine/Viewport.h"
#include "support/FakeDisplayDriver.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A top-down 24-bit TGA of width x height whose pixel colours come from `colour` as 0xRRGGBB.
Bytes MakeTga(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    Bytes tga(18, 0);
    tga[2] = 2, tga[12] = static_cast<std::uint8_t>(width), tga[14] = static_cast<std::uint8_t>(height);
    tga[16] = 24, tga[17] = 0x20;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            tga.insert(tga.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                                   static_cast<std::uint8_t>(c >> 16)});
        }
    return tga;
}

CTexture* Load(const Bytes& tga, const char* name) {
    return NewTextureFromMemory(tga.data(), tga.size(), name);
}

TEST(SceneGolden, DecalsOfTwoRootsThroughTheSoftwareDevice) {
    testsupport::TestDisplay display(64, 48, true);
    ASSERT_NE(display.get(), nullptr);
    auto viewport = display->CreateViewport(0, 0, 64, 48);
    viewport->SetClearColour(20, 30, 60);
    CCamera camera(nullptr, 32.0f);
    CScene scene;
    scene.SetRoot(1, std::make_unique<CEntity>());

    // A checker cut out at its corners, a grey cloud taking alpha from its colour, an additive spark.
    CTexture* checker = Load(MakeTga(8, 8,
                                     [](int x, int y) -> std::uint32_t {
                                         if ((x == 0 || x == 7) && (y == 0 || y == 7))
                                             return 0xFF00FF;
                                         return ((x / 2 + y / 2) % 2) ? 0xE02020 : 0xF0D040;
                                     }),
                             "checker.tga");
    CTexture* cloud = Load(
        MakeTga(4, 4, [](int x, int y) { return 0x404040u * static_cast<std::uint32_t>(1 + (x + y) % 3); }),
        "cloud!x.tga");
    CTexture* spark = Load(MakeTga(2, 2, [](int, int) { return 0x806020u; }), "spark!@.tga");
    ASSERT_TRUE(checker->GetFlags() & 0x10);

    CGeometryBuffer billboards;
    billboards.Resize(4);
    billboards.SetCount(4);
    billboards.GetVertices()[0] = {-4.0f, 0.0f, -10.0f, 3.0f, checker, 0xFFFFFFFF};
    billboards.GetVertices()[1] = {-1.0f, 0.5f, -9.0f, 4.0f, cloud, 0xFFFFFFFF};
    billboards.GetVertices()[2] = {4.0f, 2.0f, -8.0f, 2.0f, spark, 0xFFFFFFFF};
    billboards.GetVertices()[3] = {0.0f, -5.0f, -10.0f, 1.0f, nullptr, 0xFF00C000};
    CGeometryBuffer sprites;
    sprites.SetMode(CGeometryBuffer::kModeScreenSprites);
    sprites.Resize(1);
    sprites.SetCount(1);
    sprites.GetVertices()[0] = {6.0f, -3.0f, -10.0f, 4.0f, checker, 0xFFFFFFFF};
    scene.AddToDecalList(&billboards, 0);
    scene.AddToDecalList(&sprites, 1);

    viewport->PrepareScene(&camera, &scene);
    viewport->RenderScene(&camera, &scene);

    plat::gfx2d::SurfaceView view;
    ASSERT_EQ(display->GetDeviceBackBuffer()->Lock(view), plat::gfx2d::Result::Ok);
    const auto image = testsupport::FromRgb565(view.Row16(0), view.pitch, 64, 48);
    display->GetDeviceBackBuffer()->Unlock();
    EXPECT_TRUE(testsupport::MatchesGolden("engine_scene_decals", image));
    DeleteAllTextures();
}

} // namespace
