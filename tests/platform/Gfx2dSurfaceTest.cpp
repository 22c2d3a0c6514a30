#include "platform/gfx2d/Blitter.h"
#include "platform/gfx2d/Surface.h"
#include "platform/gfx2d/SurfaceFactory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace plat::gfx2d;

/// The pixels of a 16-bit surface, row by row, read through a lock.
std::vector<std::uint16_t> Pixels(Surface& surface) {
    SurfaceView view;
    EXPECT_EQ(surface.Lock(view), Result::Ok);
    std::vector<std::uint16_t> out;
    for (int y = 0; y < view.size.height; ++y)
        for (int x = 0; x < view.size.width; ++x)
            out.push_back(view.Row16(y)[x]);
    surface.Unlock();
    return out;
}

/// A 5-6-5 surface whose pixel (x, y) holds 100 y + x + 1, so every copied pixel tells where it came from.
std::unique_ptr<Surface> Numbered(int width, int height) {
    auto surface = Surface::Create({width, height}, kFormat565);
    SurfaceView view;
    EXPECT_EQ(surface->Lock(view), Result::Ok);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            view.Row16(y)[x] = static_cast<std::uint16_t>(100 * y + x + 1);
    surface->Unlock();
    return surface;
}

std::uint16_t Source(int x, int y) {
    return static_cast<std::uint16_t>(100 * y + x + 1);
}

TEST(Gfx2dSurface, CreationRefusesBadSizesAndFormats) {
    struct Case {
        Size size;
        PixelFormat format;
        bool made;
    };
    const PixelFormat odd{PixelFormat::kRgb, 12, 0xF00, 0xF0, 0xF, 0};
    const PixelFormat argb{
        PixelFormat::kRgb | PixelFormat::kAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const Case cases[] = {
        {{1, 1}, kFormat565, true},
        {{Surface::kMaxSide, 2}, kFormat565, true},
        {{0, 5}, kFormat565, false},
        {{5, 0}, kFormat565, false},
        {{-3, 5}, kFormat565, false},
        {{Surface::kMaxSide + 1, 1}, kFormat565, false},
        {{1, 65535}, kFormat565, false},
        {{4, 4}, odd, false},
        {{3, 3}, argb, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.size.width << " x " << c.size.height << ", " << c.format.bitCount);
        EXPECT_EQ(Surface::Create(c.size, c.format) != nullptr, c.made);
    }
}

TEST(Gfx2dSurface, NewSurfacesAreZeroFilledWithAPaddedPitch) {
    auto surface = Surface::Create({3, 2}, kFormat565);
    const SurfaceDescription d = surface->Describe();
    EXPECT_EQ(d.size, (Size{3, 2}));
    EXPECT_EQ(d.format, kFormat565);
    EXPECT_GT(d.pitch, 3 * 2);
    EXPECT_EQ(d.pitch % 8, 0);
    for (std::uint16_t p : Pixels(*surface))
        EXPECT_EQ(p, 0);
}

TEST(Gfx2dSurface, LockIsExclusiveAndNeverLost) {
    auto surface = Surface::Create({4, 4}, kFormat565);
    SurfaceView view;
    EXPECT_EQ(surface->Unlock(), Result::NotLocked);
    ASSERT_EQ(surface->Lock(view, kLockNoWait), Result::Ok);
    EXPECT_EQ(view.pitch, surface->Describe().pitch);
    SurfaceView again;
    EXPECT_EQ(surface->Lock(again, kLockWait), Result::Busy);
    EXPECT_EQ(surface->Unlock(), Result::Ok);
    EXPECT_FALSE(surface->IsLost());
    EXPECT_EQ(surface->Restore(), Result::Ok);
}

TEST(Gfx2dSurface, ColourKeyIsReadBackOnlyWhenSet) {
    auto surface = Surface::Create({2, 2}, kFormat565);
    EXPECT_FALSE(surface->SourceColorKey().has_value());
    EXPECT_EQ(surface->SetSourceColorKey(0xF81F), Result::Ok);
    EXPECT_EQ(surface->SourceColorKey(), 0xF81Fu);
    EXPECT_EQ(surface->SetSourceColorKey(0x10000), Result::InvalidParams);
    EXPECT_EQ(surface->SourceColorKey(), 0xF81Fu);
    surface->ClearSourceColorKey();
    EXPECT_FALSE(surface->SourceColorKey().has_value());
}

TEST(Gfx2dSurface, FillWritesTheRawValueIntoTheRectangleOnly) {
    auto surface = Surface::Create({5, 4}, kFormat565);
    const Rect r{1, 1, 4, 3};
    ASSERT_EQ(surface->Fill(&r, 0xABCD), Result::Ok);
    const std::vector<std::uint16_t> pixels = Pixels(*surface);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixels[y * 5 + x], r.Contains(Point{x, y}) ? 0xABCD : 0) << x << "," << y;
    ASSERT_EQ(surface->Fill(nullptr, 0x1234), Result::Ok);
    for (std::uint16_t p : Pixels(*surface))
        EXPECT_EQ(p, 0x1234);
    EXPECT_EQ(surface->Fill(nullptr, 0x12345), Result::InvalidParams);
}

TEST(Gfx2dSurface, BadRectanglesFailAndWriteNothing) {
    struct Case {
        Rect destination;
        Rect source;
        Result result;
        const char* label;
    };
    const Case cases[] = {
        {{0, 0, 0, 2}, {0, 0, 2, 2}, Result::InvalidRect, "empty destination"},
        {{3, 0, 1, 2}, {0, 0, 2, 2}, Result::InvalidRect, "inverted destination"},
        {{-1, 0, 1, 2}, {0, 0, 2, 2}, Result::InvalidRect, "destination left of the surface"},
        {{4, 4, 7, 6}, {0, 0, 3, 2}, Result::InvalidRect, "destination past the bottom right"},
        {{0, 0, 2, 2}, {2, 2, 2, 4}, Result::InvalidRect, "empty source"},
        {{0, 0, 2, 2}, {2, 2, 0, 0}, Result::InvalidRect, "inverted source"},
        {{0, 0, 2, 2}, {3, 3, 5, 5}, Result::InvalidRect, "source past the source surface"},
        {{0, 0, 2, 2}, {0, -1, 2, 1}, Result::InvalidRect, "source above the source surface"},
    };
    auto source = Numbered(4, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto destination = Surface::Create({6, 6}, kFormat565);
        EXPECT_EQ(destination->Blt(&c.destination, source.get(), &c.source, 0), c.result);
        EXPECT_EQ(destination->Blt(&c.destination, source.get(), &c.source, kBltKeySource), c.result);
        if (c.destination.IsEmpty() || !Rect{0, 0, 6, 6}.Contains(c.destination))
            EXPECT_EQ(destination->Fill(&c.destination, 0xFFFF), Result::InvalidRect);
        for (std::uint16_t p : Pixels(*destination))
            ASSERT_EQ(p, 0);
    }
    auto destination = Surface::Create({6, 6}, kFormat565);
    EXPECT_EQ(destination->Blt(nullptr, nullptr, nullptr, 0), Result::NoSource);
    // A whole 4 x 4 source does not fit a 2 x 2 destination rectangle placed outside.
    const Rect outside{5, 5, 7, 7};
    EXPECT_EQ(destination->Blt(&outside, source.get(), nullptr, 0), Result::InvalidRect);
}

TEST(Gfx2dSurface, PlainBlitCopiesTheSourceRectangle) {
    auto source = Numbered(4, 3);
    auto destination = Surface::Create({5, 5}, kFormat565);
    const Rect from{1, 1, 4, 3};
    const Rect to{2, 3, 5, 5};
    ASSERT_EQ(destination->Blt(&to, source.get(), &from, kBltWait), Result::Ok);
    const std::vector<std::uint16_t> pixels = Pixels(*destination);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixels[y * 5 + x], to.Contains(Point{x, y}) ? Source(x - 1, y - 2) : 0)
                << x << "," << y;
}

TEST(Gfx2dSurface, KeyedBlitLeavesExactlyTheKeyPixelsUntouched) {
    auto source = Numbered(4, 4);
    const std::uint16_t key = Source(1, 2);
    ASSERT_EQ(source->SetSourceColorKey(key), Result::Ok);
    auto destination = Surface::Create({4, 4}, kFormat565);
    ASSERT_EQ(destination->Fill(nullptr, 0x7777), Result::Ok);
    ASSERT_EQ(destination->Blt(nullptr, source.get(), nullptr, kBltKeySource), Result::Ok);
    const std::vector<std::uint16_t> keyed = Pixels(*destination);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(keyed[y * 4 + x], Source(x, y) == key ? 0x7777 : Source(x, y)) << x << "," << y;

    // Without the flag the key is ignored.
    ASSERT_EQ(destination->Blt(nullptr, source.get(), nullptr, 0), Result::Ok);
    EXPECT_EQ(Pixels(*destination)[2 * 4 + 1], key);
    // A source without a key copies every pixel.
    source->ClearSourceColorKey();
    ASSERT_EQ(destination->Fill(nullptr, 0x7777), Result::Ok);
    ASSERT_EQ(destination->Blt(nullptr, source.get(), nullptr, kBltKeySource), Result::Ok);
    EXPECT_EQ(Pixels(*destination)[2 * 4 + 1], key);
}

TEST(Gfx2dSurface, StretchPicksTheSourcePixelUnderEachCentre) {
    struct Case {
        Size source;
        Size destination;
        std::vector<int> columns; // source column of each destination column
        std::vector<int> rows;
    };
    const Case cases[] = {
        {{2, 2}, {4, 4}, {0, 0, 1, 1}, {0, 0, 1, 1}},
        {{4, 4}, {2, 2}, {1, 3}, {1, 3}},
        {{3, 2}, {7, 3}, {0, 0, 1, 1, 1, 2, 2}, {0, 1, 1}},
        {{4, 1}, {4, 3}, {0, 1, 2, 3}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source.width << "x" << c.source.height << " -> "
                                        << c.destination.width << "x" << c.destination.height);
        auto source = Numbered(c.source.width, c.source.height);
        auto destination = Surface::Create(c.destination, kFormat565);
        ASSERT_EQ(destination->Blt(nullptr, source.get(), nullptr, 0), Result::Ok);
        const std::vector<std::uint16_t> pixels = Pixels(*destination);
        for (int y = 0; y < c.destination.height; ++y)
            for (int x = 0; x < c.destination.width; ++x)
                EXPECT_EQ(pixels[y * c.destination.width + x], Source(c.columns[x], c.rows[y]))
                    << x << "," << y;
    }
}

TEST(Gfx2dSurface, KeyedStretchSkipsKeyPixelsOfTheStretchedPicture) {
    auto source = Numbered(2, 2);
    ASSERT_EQ(source->SetSourceColorKey(Source(1, 0)), Result::Ok);
    auto destination = Surface::Create({6, 6}, kFormat565);
    const Rect to{1, 1, 5, 5};
    ASSERT_EQ(destination->Blt(&to, source.get(), nullptr, kBltKeySource), Result::Ok);
    const std::vector<std::uint16_t> pixels = Pixels(*destination);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            std::uint16_t expected = 0;
            if (to.Contains(Point{x, y})) {
                const std::uint16_t s = Source((x - 1) / 2, (y - 1) / 2);
                expected = s == Source(1, 0) ? 0 : s;
            }
            EXPECT_EQ(pixels[y * 6 + x], expected) << x << "," << y;
        }
    }
}

TEST(Gfx2dSurface, BlitWithinOneSurfaceMayOverlap) {
    auto surface = Numbered(5, 1);
    const Rect from{0, 0, 4, 1};
    const Rect to{1, 0, 5, 1};
    ASSERT_EQ(surface->Blt(&to, surface.get(), &from, 0), Result::Ok);
    EXPECT_EQ(Pixels(*surface), (std::vector<std::uint16_t>{1, 1, 2, 3, 4}));
}

TEST(Gfx2dSurface, BlitsRefuseLockedSurfacesAndOtherFormats) {
    auto source = Numbered(2, 2);
    auto destination = Surface::Create({2, 2}, kFormat565);
    SurfaceView view;
    ASSERT_EQ(source->Lock(view), Result::Ok);
    EXPECT_EQ(destination->Blt(nullptr, source.get(), nullptr, 0), Result::Busy);
    source->Unlock();
    ASSERT_EQ(destination->Lock(view), Result::Ok);
    EXPECT_EQ(destination->Blt(nullptr, source.get(), nullptr, 0), Result::Busy);
    EXPECT_EQ(destination->Fill(nullptr, 1), Result::Busy);
    destination->Unlock();
    for (std::uint16_t p : Pixels(*destination))
        EXPECT_EQ(p, 0);

    auto other = Surface::Create({2, 2}, kFormat555);
    EXPECT_EQ(other->Blt(nullptr, source.get(), nullptr, 0), Result::FormatMismatch);
}

TEST(Gfx2dSurface, WiderPixelsCopyAndKeyAllTheirBytes) {
    const PixelFormat rgb24{PixelFormat::kRgb, 24, 0xFF0000, 0xFF00, 0xFF, 0};
    const PixelFormat rgb32{PixelFormat::kRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0};
    for (const PixelFormat& format : {rgb24, rgb32}) {
        SCOPED_TRACE(format.bitCount);
        auto source = Surface::Create({2, 1}, format);
        const Rect left{0, 0, 1, 1};
        ASSERT_EQ(source->Fill(&left, 0x123456), Result::Ok);
        const Rect right{1, 0, 2, 1};
        ASSERT_EQ(source->Fill(&right, 0xFF00FF), Result::Ok);
        ASSERT_EQ(source->SetSourceColorKey(0xFF00FF), Result::Ok);
        auto destination = Surface::Create({4, 1}, format);
        ASSERT_EQ(destination->Fill(nullptr, 0x0A0B0C), Result::Ok);
        ASSERT_EQ(destination->Blt(nullptr, source.get(), nullptr, kBltKeySource), Result::Ok);
        SurfaceView view;
        ASSERT_EQ(destination->Lock(view), Result::Ok);
        const int bytes = format.BytesPerPixel();
        auto pixel = [&](int x) {
            std::uint32_t v = 0;
            for (int i = 0; i < 3; ++i)
                v |= static_cast<std::uint32_t>(view.pixels[x * bytes + i]) << (8 * i);
            return v;
        };
        EXPECT_EQ(pixel(0), 0x123456u);
        EXPECT_EQ(pixel(1), 0x123456u);
        EXPECT_EQ(pixel(2), 0x0A0B0Cu);
        EXPECT_EQ(pixel(3), 0x0A0B0Cu);
        destination->Unlock();
    }
}

TEST(Gfx2dSurface, SubregionIsClippedToTheView) {
    auto surface = Surface::Create({4, 4}, kFormat565);
    SurfaceView view;
    ASSERT_EQ(surface->Lock(view), Result::Ok);
    const SurfaceView part = view.Subregion({2, 1, 9, 3});
    EXPECT_EQ(part.size, (Size{2, 2}));
    EXPECT_EQ(part.pixels, view.pixels + view.pitch + 4);
    EXPECT_EQ(view.Subregion({5, 5, 9, 9}).size, (Size{0, 0}));
    surface->Unlock();
}

TEST(Gfx2dSurface, FactoryDefaultsToTheScreenFormat) {
    MemorySurfaceFactory factory;
    auto plain = factory.CreateSurface({{8, 8}, std::nullopt, MemoryKind::Video});
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->Format(), kFormat565);
    auto other = factory.CreateSurface({{8, 8}, kFormat555, MemoryKind::System});
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->Format(), kFormat555);
    EXPECT_EQ(factory.CreateSurface({{0, 8}, std::nullopt, MemoryKind::System}), nullptr);
}

TEST(Gfx2dSurface, StretchIndexMatchesItsDefinition) {
    for (int source = 1; source < 9; ++source)
        for (int destination = 1; destination < 9; ++destination)
            for (int d = 0; d < destination; ++d) {
                const int s = StretchSourceIndex(d, source, destination);
                ASSERT_GE(s, 0);
                ASSERT_LT(s, source);
                // The centre of destination pixel d falls inside source pixel s.
                const double centre = (d + 0.5) * source / destination;
                ASSERT_LE(s, centre);
                ASSERT_GT(s + 1, centre);
            }
}

// The one 16-bit codec: packing keeps each channel's top bits, unpacking repeats them, so every pixel
// comes back from a round trip as it was and the packed word and the three channels agree.
TEST(PixelCodec, SixteenBitPixelsRoundTripAndPackingTruncates) {
    for (std::uint32_t p = 0; p < 0x10000; ++p) {
        const auto pixel = static_cast<std::uint16_t>(p);
        const std::uint32_t wide = UnpackRgb565(pixel);
        ASSERT_EQ(PackRgb565(wide), pixel);
        ASSERT_EQ(PackRgb565(wide >> 16 & 0xFF, wide >> 8 & 0xFF, wide & 0xFF), pixel);
        const std::uint32_t wide555 = UnpackRgb555(pixel);
        ASSERT_EQ(wide555, UnpackRgb555(static_cast<std::uint16_t>(pixel & 0x7FFF)));
        ASSERT_EQ(PackRgb555(wide555 >> 16 & 0xFF, wide555 >> 8 & 0xFF, wide555 & 0xFF), pixel & 0x7FFF);
    }
    struct Case {
        std::uint32_t rgb;
        std::uint16_t p565, p555;
        std::uint32_t back565;
    };
    const Case cases[] = {{0xFF00FF, 0xF81F, 0x7C1F, 0xFFFF00FF},
                          {0xFF8040, 0xFC08, 0x7E08, 0xFFFF8242},
                          {0x070307, 0x0000, 0x0000, 0xFF000000},
                          {0x080408, 0x0821, 0x0401, 0xFF080408}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.rgb);
        EXPECT_EQ(PackRgb565(c.rgb), c.p565);
        EXPECT_EQ(PackRgb555(c.rgb >> 16, c.rgb >> 8 & 0xFF, c.rgb & 0xFF), c.p555);
        EXPECT_EQ(UnpackRgb565(c.p565), c.back565);
    }
}

} // namespace
