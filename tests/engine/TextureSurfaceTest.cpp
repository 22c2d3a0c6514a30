#include "engine/TextureSurface.h"
#include "engine/Texture.h"
#include "engine/TexturePixel.h"
#include "platform/raster/Texture.h"
#include "support/FakeDisplayDriver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrix;

namespace {

using namespace plat::raster;
using plat::gfx2d::kFormat565;
using plat::gfx2d::kFormatArgb1555;
using plat::gfx2d::kFormatArgb4444;
using plat::gfx2d::kFormatArgb8888;
using plat::gfx2d::PixelFormat;
using testsupport::TestDisplay;
using Bytes = std::vector<std::uint8_t>;

std::vector<TextureFormatRecord> Records(const std::vector<PixelFormat>& reported) {
    std::vector<TextureFormatRecord> records;
    for (const PixelFormat& f : reported)
        EnumTextureFormat(records, f);
    return records;
}

TEST(TextureSurface, BestFormatForEveryEngineFormat) {
    const auto device = Records(
        {kFormat565, kFormatArgb1555, kFormatArgb4444, kFormatArgb8888}); // as the rasterizer lists them
    const auto threeFormats = Records({kFormat565, kFormatArgb1555, kFormatArgb4444});
    struct Case {
        const std::vector<TextureFormatRecord>* list;
        std::uint32_t format;
        bool keyed, translucent;
        PixelFormat chosen;
    };
    const Case cases[] = {
        {&device, kFormat5650, false, false, kFormat565},
        {&device, kFormat8880, false, false, kFormat565},
        {&device, kFormat5550, false, false, kFormat565}, // second pass: 5-6-5 has one green bit too many
        {&device, kFormat5650, true, false, kFormatArgb1555},
        {&device, kFormat5550, true, false, kFormatArgb1555},
        {&device, kFormat8880, true, false, kFormatArgb1555},
        {&device, kFormat5650, false, true, kFormatArgb4444},
        {&device, kFormat5550, false, true, kFormatArgb4444},
        {&device, kFormat8880, false, true, kFormatArgb8888},
        {&device, kFormat8888, false, true, kFormatArgb8888},
        {&device, kFormat4444, false, true, kFormatArgb4444},
        {&device, kFormat5551, false, false, kFormatArgb1555},
        {&device, kFormat5551, false, true, kFormatArgb4444},
        {&threeFormats, kFormat8880, false, false, kFormat565},
        {&threeFormats, kFormat8888, false, true, kFormatArgb4444}, // shortfall 4 beats 1-5-5-5's 7
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.format) + (c.keyed ? " keyed" : "") +
                     (c.translucent ? " translucent" : ""));
        EXPECT_EQ(GetBestTextureFormat(*c.list, c.format, c.keyed, c.translucent).format, c.chosen);
    }
    EXPECT_EXIT(GetBestTextureFormat(device, 0x1234, false, false), ::testing::ExitedWithCode(3), "");
    EXPECT_EXIT(GetBestTextureFormat({}, kFormat5650, false, false), ::testing::ExitedWithCode(3), "");
}

// Converts a 3 x 3 texture into a layout and reads pixel (x, y) back as 0xAARRGGBB.
std::uint32_t Filled(const CTexture& texture, const PixelFormat& layout, int x, int y) {
    const TextureFormatRecord record = Records({layout}).front();
    Texture surface(texture.GetWidth(), texture.GetHeight(), layout);
    const Texture::Lock lock = surface.LockPixels();
    FillTextureSurface(record, lock.bytes, lock.pitchBytes, texture);
    surface.Unlock();
    return surface.Argb()[y * texture.GetWidth() + x];
}

std::unique_ptr<CTexture> Texture24(const char* name, const std::vector<TexelRgba>& pixels) {
    Bytes tga(18, 0);
    tga[2] = 2, tga[12] = 3, tga[14] = static_cast<std::uint8_t>(pixels.size() / 3), tga[16] = 24,
    tga[17] = 0x20;
    for (const TexelRgba& p : pixels)
        tga.insert(tga.end(), {p.b, p.g, p.r});
    auto t = std::make_unique<CTexture>();
    t->LoadFromMemory(tga.data(), tga.size(), name);
    return t;
}

TEST(TextureSurface, KeyedPixelsTakeTheirNeighboursColourAndAlphaComesFromColour) {
    const TexelRgba key{255, 0, 255, 0}, grey{90, 90, 90, 255}, light{180, 180, 180, 255};
    // The corner's neighbours wrap round the edges: seven greys and the opposite corner's light.
    const auto corner = Texture24("k.tga", {key, grey, grey, grey, grey, grey, grey, grey, light});
    ASSERT_TRUE(corner->GetFlags() & kTexKeyed);
    EXPECT_EQ(Filled(*corner, kFormatArgb8888, 0, 0), 0x00656565u); // (7 x 90 + 180) / 8 = 101, alpha 0
    EXPECT_EQ(Filled(*corner, kFormatArgb8888, 1, 1), 0xFF5A5A5Au);
    EXPECT_EQ(Filled(*Texture24("k.tga", std::vector<TexelRgba>(3, key)), kFormatArgb8888, 1, 0),
              0x00000000u);

    const TexelRgba colour{200, 100, 40, 255};
    EXPECT_EQ(Filled(*Texture24("glass!x.tga", {colour, colour, colour}), kFormatArgb8888, 0, 0) >> 24,
              200u >> 2);
    EXPECT_EQ(Filled(*Texture24("glass!05.tga", {colour, colour, colour}), kFormatArgb8888, 0, 0) >> 24, 85u);
    // Into 4-4-4-4 the alpha keeps its top bits and widens again.
    EXPECT_EQ(Filled(*Texture24("glass!05.tga", {colour, colour, colour}), kFormatArgb4444, 0, 0),
              0x55CC6622u);
}

TEST(TextureSurface, CompressionOnlyForOpaqueTexturesOfWholeBlocks) {
    struct Case {
        int width, height;
        std::uint32_t format, flags, expected;
    };
    const Case cases[] = {
        {32, 32, kFormat5650, 0, kDxt1},
        {30, 32, kFormat5650, 0, 0},
        {32, 30, kFormat5650, kTexAlwaysCompress, 0},
        {32, 32, kFormat5650, kTexNeverCompress, 0},
        {32, 32, kFormat8888, kTexTranslucent, 0},
        {32, 32, kFormat8888, kTexTranslucent | kTexAlwaysCompress, kDxt5},
        {32, 32, kFormat5650, kTexDynamic, 0},
    };
    for (const Case& c : cases) {
        CTexture t;
        t.SetImage(c.width, c.height, c.format, Bytes(static_cast<std::size_t>(c.width * c.height * 4)));
        t.SetFlags(c.flags);
        EXPECT_EQ(ChooseTextureCompression(kDxt1 | kDxt5, t), c.expected)
            << c.width << "x" << c.height << " " << c.flags;
        EXPECT_EQ(ChooseTextureCompression(0, t), 0u);
    }
}

TEST(TextureSurface, PixelsWrittenUnderALockReachTheDeviceSurface) {
    TestDisplay display(16, 16, true);
    CTexture t;
    t.SetImage(2, 1, kFormat5650, {0, 0, 0, 0});
    CreateTextureSurface(*display, t);
    ASSERT_NE(t.GetDeviceSurface(), nullptr);
    EXPECT_EQ(display->TextureRecords(), std::vector<CTexture*>{&t});

    CTexture::LockRecord lock;
    t.Lock(display.get(), lock); // the device surface itself
    ASSERT_EQ(lock.status, 0);
    lock.bits[0] = 0x00, lock.bits[1] = 0xF8; // red
    t.Unlock(display.get());
    EXPECT_EQ(t.GetDeviceSurface()->Argb()[0], 0xFFFF0000u);

    t.Lock(nullptr, lock);                    // the texture's own pixels, uploaded again at Unlock
    lock.bits[2] = 0x1F, lock.bits[3] = 0x00; // blue
    t.Unlock(nullptr);
    EXPECT_EQ(t.GetDeviceSurface()->Argb()[1], 0xFF0000FFu);

    ReleaseTextureSurfaces(*display, t);
    EXPECT_EQ(t.GetDeviceSurface(), nullptr);
    EXPECT_TRUE(display->TextureRecords().empty());
}

TEST(TextureSurface, BindingSetsAddressingAndTheAlphaTest) {
    TestDisplay display;
    RecordingDevice& device = display.Recorder();
    CTexture keyedClamped, plain;
    keyedClamped.SetImage(1, 1, kFormat5650, {0, 0});
    keyedClamped.SetFlags(kTexKeyed | kTexClamp);
    plain.SetImage(1, 1, kFormat5650, {0, 0});
    CreateTextureSurface(*display, keyedClamped);

    BindTexture(*display, &keyedClamped, 0);
    EXPECT_EQ(device.State().Get(RenderState::AlphaTestEnable), 1u);
    EXPECT_EQ(device.State().Get(0, StageState::Address), static_cast<std::uint32_t>(TextureAddress::Clamp));
    EXPECT_EQ(device.State().BoundTexture(0), keyedClamped.GetDeviceSurface());
    BindTexture(*display, &plain, 0, false); // alpha test left as it stands
    EXPECT_EQ(device.State().Get(RenderState::AlphaTestEnable), 1u);
    EXPECT_EQ(device.State().Get(0, StageState::Address), static_cast<std::uint32_t>(TextureAddress::Wrap));
    BindTexture(*display, &plain, 0);
    EXPECT_EQ(device.State().Get(RenderState::AlphaTestEnable), 0u);

    BindTexture(*display, &keyedClamped, 3);
    ReleaseAllTextureSurfaces(*display);
    for (int stage : {0, 3}) {
        EXPECT_EQ(device.State().BoundTexture(stage), nullptr);
        EXPECT_EQ(display->BoundTexture(stage), nullptr);
    }
    EXPECT_EQ(PackColour16(*display, 0xFF, 0x84, 0x08), 0xFC21u); // 5-6-5 screen
}

} // namespace
