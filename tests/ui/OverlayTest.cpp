#include "render/ClippedBlt.h"
#include "render/CompoundOverlay.h"
#include "render/OverlayServices.h"
#include "render/SubOverlay.h"
#include "render/SurfaceMan.h"
#include "support/Tga.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <tuple>

using namespace zentrix;

namespace {

using namespace plat::gfx2d;
using testsupport::Image;
using testsupport::MakeTga24;
using testsupport::Rgb;

constexpr std::uint16_t kKey = 0xF81F;

/// Panel records and pictures in memory over memory surfaces.
class FakeServices final : public IOverlayServices {
public:
    FakeServices() { SetOverlayServices(this); }
    ~FakeServices() override { SetOverlayServices(nullptr); }
    CSurfaceMan* GetSurfaceMan() override { return &surfaces; }
    std::unique_ptr<Surface> CreateDDSurface(int width, int height) override {
        SurfaceRequest request;
        request.size = {width, height};
        auto surface = factory.CreateSurface(request);
        if (!surface)
            throw std::runtime_error("CreateSurface failure");
        return surface;
    }
    bool GetAssetData(int id, std::vector<std::uint8_t>& out) override {
        auto it = assets.find(id);
        if (it == assets.end())
            return false;
        out = it->second;
        return true;
    }
    bool GetInt(int id, int field, int& out, int element) override {
        auto it = fields.find({id, field, element});
        out = it == fields.end() ? 0 : it->second;
        return true;
    }
    /// A picture whose pixel (x, y) has red x and green y, so copies show where they came from.
    void AddPicture(int id, int width, int height) {
        Image image{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.pixels.push_back(
                    {static_cast<std::uint8_t>(x * 8), static_cast<std::uint8_t>(y * 4), 0});
        assets[id] = MakeTga24(image);
    }
    void AddRow(int panel, int i, std::array<int, 6> row) {
        for (int f = 0; f < 6; ++f)
            fields[{panel, CCompoundOverlay::kFieldShownX + f, i}] = row[f];
    }

    MemorySurfaceFactory factory;
    CSurfaceMan surfaces{factory};
    std::map<int, std::vector<std::uint8_t>> assets;
    std::map<std::tuple<int, int, int>, int> fields;
};

std::uint16_t PixelAt(Surface* surface, int x, int y) {
    SurfaceView view;
    EXPECT_EQ(surface->Lock(view), Result::Ok);
    const std::uint16_t value = view.Row16(y)[x];
    surface->Unlock();
    return value;
}

/// The 5-6-5 pixel of a test picture's pixel (x, y).
std::uint16_t PicturePixel(int x, int y) {
    return static_cast<std::uint16_t>(((x * 8) >> 3) << 11 | ((y * 4) >> 2) << 5);
}

TEST(ClippedBltTest, ClipsMovesTheSourceAndSkipsWhatFallsOutside) {
    struct Case {
        Rect dst, src;
        Point probe;            // destination pixel looked at
        std::uint16_t expected; // 0: left untouched
        const char* label;
    };
    // Source pixel (x, y) holds x + 1 for x < 16; the destination is 8 x 8.
    const Case cases[] = {
        {{-3, 0, 5, 1}, {0, 0, 8, 1}, {0, 0}, 4, "negative left shifts the source 1:1"},
        {{-2, 0, 6, 1}, {0, 0, 16, 1}, {0, 0}, 6, "a stretched source shifts by the scale"},
        {{8, 0, 12, 1}, {0, 0, 4, 1}, {7, 0}, 0, "starting at the right edge draws nothing"},
        {{-9, 0, -1, 1}, {0, 0, 8, 1}, {0, 0}, 0, "wholly left of the surface draws nothing"},
        {{6, 0, 10, 1}, {0, 0, 4, 1}, {7, 0}, 2, "cut at the right"},
    };
    auto source = Surface::Create({16, 1}, kFormat565);
    SurfaceView view;
    ASSERT_EQ(source->Lock(view), Result::Ok);
    for (int x = 0; x < 16; ++x)
        view.Row16(0)[x] = static_cast<std::uint16_t>(x + 1);
    source->Unlock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto dst = Surface::Create({8, 8}, kFormat565);
        EXPECT_TRUE(ClippedBlt(dst.get(), &c.dst, source.get(), &c.src, 0));
        EXPECT_EQ(PixelAt(dst.get(), c.probe.x, c.probe.y), c.expected);
    }
}

TEST(OverlayTest, PanelPiecesTakeTheirPictures) {
    FakeServices services;
    services.AddPicture(501, 32, 16);
    services.AddPicture(502, 8, 8);
    services.fields[{10, CCompoundOverlay::kFieldPictures, 0}] = 501;
    services.fields[{10, CCompoundOverlay::kFieldPictures, 1}] = 999; // missing: skipped
    services.fields[{10, CCompoundOverlay::kFieldPictures, 2}] = 502;
    services.AddRow(10, 0, {4, 2, 0, -50, 6, 5}); // inside picture 501: copied from (4, 2)
    services.AddRow(10, 1, {20, 10, 0, 0, 4, 4}); // inside picture 502? no: its top-left
    services.AddRow(10, 2, {2, 3, 0, 0, 4, 4});   // pictures ran out: 502 again, inside at (2, 3)
    CCompoundOverlay panel(10, 0);
    EXPECT_EQ(panel.GetWidth(), 32);
    EXPECT_EQ(panel.GetHeight(), 16);
    const auto& pieces = panel.GetPieces();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(PixelAt(pieces[0]->GetSurface(), 1, 1), PicturePixel(5, 3));
    EXPECT_EQ(PixelAt(pieces[1]->GetSurface(), 1, 1), PicturePixel(1, 1));
    EXPECT_EQ(PixelAt(pieces[2]->GetSurface(), 0, 0), PicturePixel(2, 3));

    // Coordinates are panel-picture coordinates: the first piece whose area holds the point answers.
    EXPECT_FALSE(panel.IsTransparentAt(5, 3));
    EXPECT_TRUE(panel.IsTransparentAt(31, 15)); // no piece there
    EXPECT_TRUE(panel.FillRect(0xFFFFFF, {20, 10, 22, 12}));
    EXPECT_EQ(PixelAt(pieces[1]->GetSurface(), 1, 1), 0xFFFF);
    EXPECT_FALSE(panel.FillRect(0xFFFFFF, {100, 100, 101, 101}));

    // Sliding: pieces sit at the panel position plus the blend of their offsets.
    panel.SetPosition(100, 200);
    panel.SetSlideFraction(0.5f);
    EXPECT_EQ(pieces[0]->GetX(), 4);
    EXPECT_EQ(std::make_pair(pieces[0]->COverlay::GetX(), pieces[0]->COverlay::GetY()),
              std::make_pair(102, 176)); // trunc(4 * .5) and trunc(2 * .5 - 50 * .5), toward zero
    panel.SetPosition(100, 200);
    panel.SetSlideFraction(1.0f);
    EXPECT_EQ(pieces[1]->COverlay::GetX(), 120);
}

TEST(OverlayTest, PanelWithoutRowsOrPicturesIsSafe) {
    FakeServices services;
    services.AddPicture(501, 12, 6);
    services.fields[{11, CCompoundOverlay::kFieldPictures, 0}] = 501;
    CCompoundOverlay whole(11, 0);
    ASSERT_EQ(whole.GetPieces().size(), 1u);
    EXPECT_EQ(whole.GetPieces()[0]->GetWidth(), 12);
    EXPECT_EQ(PixelAt(whole.GetSurface(), 3, 2), PicturePixel(3, 2));

    CCompoundOverlay missing(12, 0); // no record, no picture: one piece of no size
    auto screen = Surface::Create({64, 64}, kFormat565);
    EXPECT_EQ(missing.GetSurface(), nullptr);
    EXPECT_FALSE(missing.Blit(screen.get()));
    EXPECT_FALSE(missing.FillRect(0, {0, 0, 1, 1}));
    EXPECT_EQ(missing.ColourToPixel(0xFFFFFF), 0);
    EXPECT_EQ(PixelAt(screen.get(), 0, 0), 0);

    // A damaged record asks for a piece no surface can hold: it draws nothing and ends nothing.
    services.AddRow(13, 0, {0, 0, 0, 0, 5000, 10});
    CCompoundOverlay damaged(13, 0);
    EXPECT_EQ(damaged.GetSurface(), nullptr);
    EXPECT_FALSE(damaged.Blit(screen.get()));
}

TEST(OverlayTest, PicturesFromAssets) {
    FakeServices services;
    services.AddPicture(601, 4, 4);
    services.assets[602] =
        std::vector<std::uint8_t>(services.assets[601].begin(), services.assets[601].begin() + 17);
    struct Case {
        int id;
        int width;
        bool surface;
    };
    for (const Case c : {Case{601, 4, true}, Case{602, 0, false}, Case{603, 0, false}}) {
        SCOPED_TRACE(c.id);
        COverlay overlay(c.id);
        EXPECT_EQ(overlay.GetWidth(), c.width);
        EXPECT_EQ(overlay.GetSurface() != nullptr, c.surface);
        EXPECT_EQ(overlay.IsTransparentAt(1, 1), false);
    }
}

TEST(OverlayTest, BlitKeysClipsAndReadsPixels) {
    FakeServices services;
    COverlay overlay(20, 2);
    Surface* own = overlay.GetSurface();
    ASSERT_NE(own, nullptr);
    SurfaceView view;
    ASSERT_EQ(own->Lock(view), Result::Ok);
    for (int x = 0; x < 20; ++x)
        view.Row16(0)[x] = view.Row16(1)[x] = x == 12 ? kKey : static_cast<std::uint16_t>(x + 1);
    own->Unlock();

    struct Case {
        int x;
        Point probe;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {-10, {0, 0}, 11}, {-10, {2, 0}, 0 /* key skipped */}, {5, {4, 0}, 0}, {5, {24, 0}, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x * 100 + c.probe.x);
        auto screen = Surface::Create({64, 8}, kFormat565);
        overlay.SetPosition(c.x, 0);
        EXPECT_TRUE(overlay.Blit(screen.get()));
        EXPECT_EQ(PixelAt(screen.get(), c.probe.x, c.probe.y), c.expected);
    }

    EXPECT_TRUE(overlay.IsTransparentAt(12, 0));
    EXPECT_TRUE(overlay.IsTransparentAt(-1, 0));
    EXPECT_TRUE(overlay.IsTransparentAt(0, 2));
    EXPECT_FALSE(overlay.IsTransparentAt(0, 0));
    EXPECT_EQ(overlay.ColourToPixel(0xFFFFFF), 65535);
    EXPECT_EQ(overlay.ColourToPixel(0x0000FF), 0xF800);
    EXPECT_FALSE(overlay.FillRect(0xFFFFFF, {21, 0, 30, 2}));
    EXPECT_TRUE(overlay.FillRect(0xFF0000, {-5, 1, 3, 9}));
    EXPECT_EQ(PixelAt(own, 2, 1), 0x001F);
    EXPECT_EQ(PixelAt(own, 3, 1), 4);

    auto small = Surface::Create({2, 1}, kFormat565);
    EXPECT_TRUE(overlay.BlitTo(4, 0, small.get()));
    EXPECT_EQ(PixelAt(small.get(), 1, 0), 6);
    EXPECT_TRUE(overlay.BlitFrom(19, 0, small.get(), false, nullptr)); // clipped at the right edge
    EXPECT_EQ(PixelAt(own, 19, 0), 5);
    EXPECT_FALSE(overlay.BlitFrom(0, 0, nullptr, false, nullptr));
}

} // namespace
