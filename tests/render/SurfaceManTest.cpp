#include "render/SurfaceMan.h"
#include "foundation/assets/Bitmap.h"
#include "support/Tga.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using namespace zentrix;

namespace {

using namespace plat::gfx2d;
using testsupport::Image;
using testsupport::MakeTga24;
using testsupport::MakeTgaHeader;
using testsupport::Rgb;

/// A factory that refuses chosen memory kinds and notes every request.
class PickyFactory final : public SurfaceFactory {
public:
    std::unique_ptr<Surface> CreateSurface(const SurfaceRequest& request) override {
        requests.push_back(request.memory);
        if ((request.memory == MemoryKind::Video && refuseVideo) ||
            (request.memory == MemoryKind::System && refuseSystem))
            return nullptr;
        return m_memory.CreateSurface(request);
    }
    bool refuseVideo = false;
    bool refuseSystem = false;
    std::vector<MemoryKind> requests;

private:
    MemorySurfaceFactory m_memory;
};

std::vector<std::uint16_t> Pixels(Surface& surface) {
    SurfaceView view;
    EXPECT_EQ(surface.Lock(view), Result::Ok);
    std::vector<std::uint16_t> out;
    for (int y = 0; y < view.size.height; ++y)
        out.insert(out.end(), view.Row16(y), view.Row16(y) + view.size.width);
    surface.Unlock();
    return out;
}

Image Uniform(int width, int height, Rgb colour) {
    return {width, height, std::vector<Rgb>(static_cast<std::size_t>(width * height), colour)};
}

class SurfaceManTest : public testing::Test {
protected:
    MemorySurfaceFactory factory;
    CSurfaceMan surfaces{factory};
};

TEST_F(SurfaceManTest, CreatedSurfacesCarryMagentaAsTheirKey) {
    struct Case {
        const PixelFormat* format;
        std::uint32_t key;
        const char* label;
    };
    const Case cases[] = {
        {nullptr, 0xF81F, "default 5-6-5"}, {&kFormat565, 0xF81F, "5-6-5"}, {&kFormat555, 0x7C1F, "5-5-5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto keyed = surfaces.CreateDDSurface(16, 8, c.format, true, false);
        ASSERT_NE(keyed, nullptr);
        EXPECT_EQ(keyed->GetSize(), (Size{16, 8}));
        EXPECT_EQ(keyed->SourceColorKey(), c.key);
        auto plain = surfaces.CreateDDSurface(16, 8, c.format, false, false);
        ASSERT_NE(plain, nullptr);
        EXPECT_FALSE(plain->SourceColorKey().has_value());
    }
    EXPECT_EQ(surfaces.CreateDDSurface(0, 8, nullptr, true, false), nullptr);
}

TEST_F(SurfaceManTest, VideoMemoryFallsBackToSystemMemoryOnce) {
    PickyFactory picky;
    CSurfaceMan manager(picky);
    picky.refuseVideo = true;
    EXPECT_NE(manager.CreateDDSurface(4, 4, nullptr, true, true), nullptr);
    EXPECT_EQ(picky.requests, (std::vector<MemoryKind>{MemoryKind::Video, MemoryKind::System}));

    picky.requests.clear();
    picky.refuseSystem = true;
    EXPECT_EQ(manager.CreateDDSurface(4, 4, nullptr, true, true), nullptr);
    EXPECT_EQ(manager.CreateDDSurface(4, 4, nullptr, true, false), nullptr);
    EXPECT_EQ(picky.requests,
              (std::vector<MemoryKind>{MemoryKind::Video, MemoryKind::System, MemoryKind::System}));
}

TEST_F(SurfaceManTest, KnowsFiveSixFiveFromOtherLayouts) {
    const PixelFormat rgb32{PixelFormat::kRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0};
    const PixelFormat wide565{PixelFormat::kRgb, 32, 0xF800, 0x07E0, 0x001F, 0};
    EXPECT_TRUE(surfaces.IsSurface565(Surface::Create({2, 2}, kFormat565).get()));
    EXPECT_FALSE(surfaces.IsSurface565(Surface::Create({2, 2}, kFormat555).get()));
    EXPECT_FALSE(surfaces.IsSurface565(Surface::Create({2, 2}, rgb32).get()));
    EXPECT_FALSE(surfaces.IsSurface565(Surface::Create({2, 2}, wide565).get()));
    EXPECT_FALSE(surfaces.IsSurface565(nullptr));
}

TEST_F(SurfaceManTest, TwentyFourBitImagesArePackedForTheSurface) {
    struct Case {
        const PixelFormat* format;
        Rgb colour;
        std::uint16_t pixel;
    };
    const Case cases[] = {
        {&kFormat555, {255, 255, 255}, 0x7FFF}, {&kFormat565, {255, 255, 255}, 0xFFFF},
        {&kFormat565, {255, 0, 0}, 0xF800},     {&kFormat565, {0, 255, 0}, 0x07E0},
        {&kFormat555, {0, 255, 0}, 0x03E0},     {&kFormat565, {255, 0, 255}, 0xF81F},
        {&kFormat565, {8, 4, 8}, 0x0821},       {&kFormat555, {8, 8, 8}, 0x0421},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.pixel);
        auto surface = surfaces.CreateDDSurface(3, 2, c.format, true, false);
        ASSERT_TRUE(surfaces.LoadTGAToSurface(MakeTga24(Uniform(3, 2, c.colour)), surface.get()));
        for (std::uint16_t p : Pixels(*surface))
            EXPECT_EQ(p, c.pixel);
    }
}

TEST_F(SurfaceManTest, ImagesEndTopRowFirstInAPaddedSurface) {
    // Three pixels a row take six bytes; the surface rows are further apart than that.
    const Image picture{3,
                        3,
                        {{255, 0, 0},
                         {0, 255, 0},
                         {0, 0, 255},
                         {0, 0, 0},
                         {255, 255, 255},
                         {0, 0, 0},
                         {8, 0, 0},
                         {0, 8, 0},
                         {0, 0, 8}}};
    auto surface = surfaces.CreateDDSurface(3, 3, nullptr, true, false);
    ASSERT_GT(surface->Describe().pitch, 3 * 2);
    ASSERT_TRUE(surfaces.LoadTGAToSurface(MakeTga24(picture), surface.get()));
    EXPECT_EQ(Pixels(*surface),
              (std::vector<std::uint16_t>{0xF800, 0x07E0, 0x001F, 0, 0xFFFF, 0, 0x0800, 0x0040, 0x0001}));
}

// Pictures are decoded as the engine's textures are: an image-ID field is skipped, and top-first and
// run-length files give the same picture as the plain bottom-first one.
TEST_F(SurfaceManTest, EveryStorageOfAPictureLoadsAlike) {
    const Image picture{2, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};
    const std::vector<std::uint8_t> plain = MakeTga24(picture);
    std::vector<std::uint8_t> withId = plain;
    withId[0] = 3;
    withId.insert(withId.begin() + 18, {0xEE, 0xEE, 0xEE});
    std::vector<std::uint8_t> topFirst = MakeTgaHeader(2, 2, 24);
    topFirst[17] = 0x20;
    std::vector<std::uint8_t> runLength = MakeTgaHeader(2, 2, 24);
    runLength[2] = 10;
    for (const Rgb& c : picture.pixels)
        topFirst.insert(topFirst.end(), {c.b, c.g, c.r});
    // One literal packet per pixel, the bottom row first as in the plain file.
    for (int y = 1; y >= 0; --y)
        for (int x = 0; x < 2; ++x) {
            const Rgb& c = picture.pixels[static_cast<std::size_t>(y * 2 + x)];
            runLength.insert(runLength.end(), {0x00, c.b, c.g, c.r});
        }
    const std::vector<std::uint16_t> expected{0xF800, 0x07E0, 0x001F, 0xFFFF};
    for (const auto& file : {plain, withId, topFirst, runLength}) {
        auto surface = surfaces.CreateDDSurface(2, 2, nullptr, true, false);
        ASSERT_TRUE(surfaces.LoadTGAToSurface(file, surface.get()));
        EXPECT_EQ(Pixels(*surface), expected);
    }
    std::vector<std::uint8_t> mapped = plain;
    mapped[2] = 1; // a colour-mapped image is not read
    auto surface = surfaces.CreateDDSurface(2, 2, nullptr, true, false);
    EXPECT_FALSE(surfaces.LoadTGAToSurface(mapped, surface.get()));
}

TEST_F(SurfaceManTest, FlipSwapsRowsAndLeavesASingleRow) {
    auto two = surfaces.CreateDDSurface(2, 2, nullptr, false, false);
    const Rect top{0, 0, 2, 1};
    ASSERT_EQ(two->Fill(&top, 0x1111), Result::Ok);
    ASSERT_TRUE(surfaces.FlipSurfaceVertically(two.get()));
    EXPECT_EQ(Pixels(*two), (std::vector<std::uint16_t>{0, 0, 0x1111, 0x1111}));

    auto one = surfaces.CreateDDSurface(3, 1, nullptr, false, false);
    const Rect first{0, 0, 1, 1};
    ASSERT_EQ(one->Fill(&first, 0x2222), Result::Ok);
    ASSERT_TRUE(surfaces.FlipSurfaceVertically(one.get()));
    EXPECT_EQ(Pixels(*one), (std::vector<std::uint16_t>{0x2222, 0, 0}));

    SurfaceView view;
    ASSERT_EQ(one->Lock(view), Result::Ok);
    EXPECT_FALSE(surfaces.FlipSurfaceVertically(one.get()));
    one->Unlock();
}

TEST_F(SurfaceManTest, RefusedImagesLeaveTheSurfaceAsItWas) {
    struct Case {
        std::vector<std::uint8_t> image;
        Size surface;
        const char* label;
    };
    std::vector<std::uint8_t> thirtyTwo = MakeTgaHeader(2, 2, 32);
    thirtyTwo.resize(18 + 2 * 2 * 4, 0x40);
    std::vector<std::uint8_t> eight = MakeTgaHeader(2, 2, 8);
    eight.resize(18 + 4, 0x40);
    const Case cases[] = {
        {thirtyTwo, {2, 2}, "32-bit image"},
        {eight, {2, 2}, "8-bit image"},
        {MakeTga24(Uniform(4, 2, {9, 9, 9})), {3, 2}, "image wider than the surface"},
        {MakeTga24(Uniform(2, 4, {9, 9, 9})), {2, 3}, "image taller than the surface"},
        {{}, {2, 2}, "no data"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto surface = surfaces.CreateDDSurface(c.surface.width, c.surface.height, nullptr, false, false);
        ASSERT_EQ(surface->Fill(nullptr, 0x1234), Result::Ok);
        EXPECT_FALSE(surfaces.LoadTGAToSurface(c.image, surface.get()));
        for (std::uint16_t p : Pixels(*surface))
            ASSERT_EQ(p, 0x1234);
    }
    EXPECT_FALSE(surfaces.LoadTGAToSurface(MakeTga24(Uniform(2, 2, {1, 2, 3})), nullptr));
    auto locked = surfaces.CreateDDSurface(2, 2, nullptr, false, false);
    SurfaceView view;
    ASSERT_EQ(locked->Lock(view), Result::Ok);
    EXPECT_FALSE(surfaces.LoadTGAToSurface(MakeTga24(Uniform(2, 2, {1, 2, 3})), locked.get()));
    locked->Unlock();
}

TEST_F(SurfaceManTest, EveryPrefixOfAnImageFailsCleanly) {
    const std::vector<std::uint8_t> whole = MakeTga24(Uniform(5, 3, {200, 100, 50}));
    for (std::size_t n = 0; n < whole.size(); ++n) {
        SCOPED_TRACE(n);
        auto surface = surfaces.CreateDDSurface(5, 3, nullptr, true, false);
        // An exact-size copy, so that reading past the end would be caught.
        EXPECT_FALSE(surfaces.LoadTGAToSurface(std::vector<std::uint8_t>(whole.begin(), whole.begin() + n),
                                               surface.get()));
        for (std::uint16_t p : Pixels(*surface))
            ASSERT_EQ(p, 0);
    }
    auto surface = surfaces.CreateDDSurface(5, 3, nullptr, true, false);
    EXPECT_TRUE(surfaces.LoadTGAToSurface(whole, surface.get()));
}

TEST_F(SurfaceManTest, SixteenBitImagesAreAcceptedWithoutPixels) {
    std::vector<std::uint8_t> image = MakeTgaHeader(2, 2, 16);
    image.resize(18 + 8, 0xFF);
    auto surface = surfaces.CreateDDSurface(2, 2, nullptr, true, false);
    EXPECT_TRUE(surfaces.LoadTGAToSurface(image, surface.get()));
    for (std::uint16_t p : Pixels(*surface))
        EXPECT_EQ(p, 0);
}

TEST_F(SurfaceManTest, BitmapReportsSizeConvertsColoursAndRelocks) {
    const int before = CBitmap::LiveCount();
    {
        CBitmap bitmap(surfaces.CreateDDSurface(12, 7, nullptr, true, false));
        EXPECT_EQ(CBitmap::LiveCount(), before + 1);
        EXPECT_EQ(bitmap.GetWidth(), 12);
        EXPECT_EQ(bitmap.GetHeight(), 7);

        struct Case {
            std::uint32_t colour;
            std::uint32_t pixel;
        };
        for (const Case& c : {Case{0x000000FF, 0xF800}, Case{0x0000FF00, 0x07E0}, Case{0x00FF0000, 0x001F},
                              Case{0x00FFFFFF, 0xFFFF}, Case{0x00FF00FF, 0xF81F}, Case{0x00102030, 0x3102}})
            EXPECT_EQ(bitmap.ColorToPixel(c.colour), c.pixel) << std::hex << c.colour;

        SurfaceView first, second;
        ASSERT_TRUE(bitmap.Lock(first));
        EXPECT_EQ(first.size, (Size{12, 7}));
        EXPECT_EQ(first.pitch, bitmap.GetSurface()->Describe().pitch);
        ASSERT_TRUE(bitmap.Lock(second)); // unlocks before locking again
        EXPECT_EQ(second.pixels, first.pixels);
        bitmap.Unlock();
        EXPECT_FALSE(bitmap.IsLocked());
        EXPECT_FALSE(bitmap.GetSurface()->IsLocked());
        ASSERT_TRUE(bitmap.Lock(first)); // the destructor unlocks and releases
    }
    EXPECT_EQ(CBitmap::LiveCount(), before);

    CBitmap other(surfaces.CreateDDSurface(2, 2, &kFormat555, true, false));
    EXPECT_EQ(other.ColorToPixel(0x000000FF), 0x7C00u);
    EXPECT_EQ(other.ColorToPixel(0x0000FF00), 0x03E0u);

    CBitmap empty(nullptr);
    SurfaceView view;
    EXPECT_EQ(empty.GetWidth(), 0);
    EXPECT_EQ(empty.GetSurface(), nullptr);
    EXPECT_FALSE(empty.Lock(view));
}

} // namespace
