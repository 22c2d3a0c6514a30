#include "platform/text/TtfFont.h"
#include "platform/text/TtfFontLibrary.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace plat;
using plat::gfx2d::Rect;
using plat::text::BackgroundMode;
using plat::text::TextStyle;

namespace {

constexpr std::uint16_t kGuard = 0xABCD;
constexpr int kBorder = 4;

// A 16-bit picture inside a guard border: drawing must never reach the border.
struct Canvas {
    int width, height, stride;
    std::vector<std::uint16_t> pixels;

    Canvas(int w, int h, std::uint16_t fill = 0)
        : width(w), height(h), stride(w + 2 * kBorder),
          pixels(static_cast<std::size_t>(stride) * (h + 2 * kBorder), kGuard) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                At(x, y) = fill;
    }
    std::uint16_t& At(int x, int y) { return pixels[(y + kBorder) * stride + x + kBorder]; }
    gfx2d::SurfaceView View() {
        return {reinterpret_cast<std::uint8_t*>(&At(0, 0)), stride * 2, {width, height}, gfx2d::kFormat565};
    }
    bool GuardIntact() const {
        for (int y = 0; y < height + 2 * kBorder; ++y)
            for (int x = 0; x < stride; ++x) {
                const bool inside =
                    x >= kBorder && x < kBorder + width && y >= kBorder && y < kBorder + height;
                if (!inside && pixels[y * stride + x] != kGuard)
                    return false;
            }
        return true;
    }
};

const std::string kSerifPath = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";

} // namespace

TEST(Text, CellHeightOfTheInterfaceFontsIsWithinAPixel) {
    text::TtfFontLibrary library;
    for (int height : {14, 38, 19, 78, 18, 48, 24, 96}) {
        SCOPED_TRACE(height);
        auto font = library.CreateFont("Balloon XBd BT", height);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->FaceName(), "DejaVu Sans"); // the face is not added: the fallback stands in
        EXPECT_NEAR(font->Height(), height, 1);
        // A bar reaches from the top of the cell to its bottom and no further.
        Canvas canvas(60, 2 * height);
        const TextStyle white{0xFFFFFF, 0, BackgroundMode::kTransparent};
        ASSERT_EQ(font->Draw(canvas.View(), "|", {0, 0, 60, 2 * height}, 4, white), font->Height());
        int lowest = -1;
        for (int y = 0; y < 2 * height; ++y)
            for (int x = 0; x < 60; ++x)
                if (canvas.At(x, y) == 0xFFFF)
                    lowest = y;
        EXPECT_NEAR(lowest + 1, font->Height(), 1);
    }
}

TEST(Text, FormatsPlaceLinesAndOpaqueModeFillsOnlyEachLineBox) {
    text::TtfFontLibrary library;
    auto font = library.CreateFont("DejaVu Sans", 19);
    ASSERT_NE(font, nullptr);
    const int h = font->Height();
    const auto& adv = font->Advances();
    const int wH = adv['H'];
    const Rect rect{10, 5, 110, 75};
    struct Row {
        unsigned format;
        std::string text;
        std::vector<Rect> boxes;
        int result;
    };
    const std::vector<Row> rows = {
        {4, "HH\r\nH", {{10, 5, 10 + 2 * wH, 5 + h}, {10, 5 + h, 10 + wH, 5 + 2 * h}}, 2 * h},
        {4,
         "HH\nH\rH",
         {{10, 5, 10 + 2 * wH, 5 + h}, {10, 5 + h, 10 + wH, 5 + 2 * h}, {10, 5 + 2 * h, 10 + wH, 5 + 3 * h}},
         3 * h},
        {4, "H\r\n\r\nH", {{10, 5, 10 + wH, 5 + h}, {10, 5 + 2 * h, 10 + wH, 5 + 3 * h}}, 3 * h},
        {5,
         "HH\r\nH",
         {{10 + (100 - 2 * wH) / 2, 5, 10 + (100 - 2 * wH) / 2 + 2 * wH, 5 + h},
          {10 + (100 - wH) / 2, 5 + h, 10 + (100 - wH) / 2 + wH, 5 + 2 * h}},
         2 * h},
        {1, "H", {{10 + (100 - wH) / 2, 5, 10 + (100 - wH) / 2 + wH, 5 + h}}, h},
        {36,
         "HH\r\nH",
         {{10, 5 + (70 - h) / 2, 10 + 3 * wH + adv['\r'] + adv['\n'], 5 + (70 - h) / 2 + h}},
         (70 - h) / 2 + h},
        {37,
         "H",
         {{10 + (100 - wH) / 2, 5 + (70 - h) / 2, 10 + (100 - wH) / 2 + wH, 5 + (70 - h) / 2 + h}},
         (70 - h) / 2 + h},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "format " << row.format << " text " << row.text);
        auto inBox = [&](int x, int y) {
            for (const Rect& box : row.boxes)
                if (box.Contains(gfx2d::Point{x, y}))
                    return true;
            return false;
        };
        // Text in the background colour: what is painted is exactly the boxes.
        Canvas opaque(120, 90);
        EXPECT_EQ(font->Draw(opaque.View(), row.text, rect, row.format,
                             {0xFFFFFF, 0xFFFFFF, BackgroundMode::kOpaque}),
                  row.result);
        // Transparent red text: every glyph pixel inside a box, and every box shows ink.
        Canvas clear(120, 90);
        font->Draw(clear.View(), row.text, rect, row.format,
                   {0x0000FF, 0xFFFFFF, BackgroundMode::kTransparent});
        std::vector<int> ink(row.boxes.size(), 0);
        int stray = 0, wrongFill = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x) {
                wrongFill += (opaque.At(x, y) == 0xFFFF) != inBox(x, y);
                if (clear.At(x, y) == 0)
                    continue;
                stray += clear.At(x, y) != 0xF800 || !inBox(x, y);
                for (std::size_t b = 0; b < row.boxes.size(); ++b)
                    ink[b] += row.boxes[b].Contains(gfx2d::Point{x, y});
            }
        EXPECT_EQ(wrongFill, 0);
        EXPECT_EQ(stray, 0);
        for (int count : ink)
            EXPECT_GT(count, 0);
    }
}

TEST(Text, NothingIsDrawnOutsideTheRectangleOrTheSurface) {
    text::TtfFontLibrary library;
    auto font = library.CreateFont("DejaVu Sans", 38);
    ASSERT_NE(font, nullptr);
    const std::vector<Rect> rects = {
        {2, 2, 38, 28},  {-1, 0, 39, 30}, {-20, -20, 20, 20}, {15, 10, 90, 90}, {-100, -100, 200, 200},
        {40, 0, 80, 30}, {0, 30, 40, 60}, {30, 20, 10, 5},    {5, 5, 6, 6},
    };
    for (const Rect& rect : rects)
        for (unsigned format : {4u, 5u, 36u})
            for (auto mode : {BackgroundMode::kTransparent, BackgroundMode::kOpaque}) {
                SCOPED_TRACE(::testing::Message()
                             << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom
                             << " format " << format << " mode " << static_cast<int>(mode));
                Canvas canvas(40, 30);
                const int result = font->Draw(canvas.View(), "W&&ide text\r\nsecond line", rect, format,
                                              {0xFFFFFF, 0x00FF00, mode});
                const Rect clip = rect.Intersect({0, 0, 40, 30});
                EXPECT_TRUE(canvas.GuardIntact());
                int outside = 0;
                for (int y = 0; y < 30; ++y)
                    for (int x = 0; x < 40; ++x)
                        outside += canvas.At(x, y) != 0 && !clip.Contains(gfx2d::Point{x, y});
                EXPECT_EQ(outside, 0);
                EXPECT_EQ(result == 0, clip.IsEmpty());
            }
}

TEST(Text, PrefixesAndLineBreaks) {
    struct Row {
        std::string text;
        unsigned format;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"A&&B", 4, {"A&B"}},
        {"A&B", 4, {"AB"}},
        {"&", 4, {""}},
        {"&&&", 4, {"&"}},
        {"&&&&x&", 4, {"&&x"}},
        {"a&\nb", 4, {"a", "b"}},
        {"a\r\nb", 4, {"a", "b"}},
        {"a\n\rb", 4, {"a", "", "b"}},
        {"a\r\n", 4, {"a"}},
        {"\n", 4, {""}},
        {"", 4, {}},
        {std::string("a\0b", 3), 4, {"a"}},
        {"a\r\nb&&", 36, {"a\r\nb&"}},
    };
    text::AdvanceTable advances;
    advances.fill(3);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const auto layout = text::LayOutText(row.text, row.format, {0, 0, 100, 50}, 10, advances);
        std::vector<std::string> lines;
        for (const auto& line : layout.lines) {
            lines.push_back(layout.text.substr(line.begin, line.length));
            EXPECT_EQ(line.width, 3 * static_cast<std::int64_t>(line.length));
        }
        EXPECT_EQ(lines, row.lines);
    }
}

TEST(Text, ColoursAreReducedToThePixelFormat) {
    struct Row {
        std::uint32_t colour;
        gfx2d::PixelFormat format;
        std::uint32_t pixel;
    };
    const Row rows[] = {
        {0xFFFFFF, gfx2d::kFormat565, 0xFFFF}, {0x0000FF, gfx2d::kFormat565, 0xF800},
        {0x00FF00, gfx2d::kFormat565, 0x07E0}, {0xFF0000, gfx2d::kFormat565, 0x001F},
        {0x808080, gfx2d::kFormat565, 0x8410}, {0x0000FF, gfx2d::kFormat555, 0x7C00},
        {0xFF00FF, gfx2d::kFormat555, 0x7C1F}, {0x070307, gfx2d::kFormat565, 0x0000},
    };
    for (const Row& row : rows)
        EXPECT_EQ(text::PixelFromColour(row.colour, row.format), row.pixel) << std::hex << row.colour;

    // A target that is not 16-bit is refused untouched.
    text::TtfFontLibrary library;
    auto font = library.CreateFont("", 14);
    std::vector<std::uint32_t> pixels(16 * 16, 7);
    const gfx2d::PixelFormat format32{gfx2d::PixelFormat::kRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0};
    EXPECT_EQ(font->Draw({reinterpret_cast<std::uint8_t*>(pixels.data()), 64, {16, 16}, format32}, "x",
                         {0, 0, 16, 16}, 4, {}),
              0);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 7u), 256);
}

TEST(Text, AddedFontFilesAreFoundByFaceUntilRemoved) {
    testsupport::TempFolder folder;
    std::filesystem::copy_file(kSerifPath, folder / "Balonxb.ttf");
    folder.Write("notafont.ttf", "hello");
    const std::string path = folder.Game("BALONXB.TTF");
    text::TtfFontLibrary library;
    auto face = [&](std::string_view name) {
        auto font = library.CreateFont(name, 19);
        return font ? font->FaceName() : std::string("<none>");
    };

    EXPECT_EQ(face("DejaVu Serif"), "DejaVu Sans");
    EXPECT_FALSE(library.AddFontFile(folder.Game("missing.ttf")));
    EXPECT_FALSE(library.AddFontFile(folder.Game("notafont.ttf")));
    ASSERT_TRUE(library.AddFontFile(path));
    ASSERT_TRUE(library.AddFontFile(path));
    EXPECT_EQ(face("dejavu serif"), "DejaVu Serif");
    EXPECT_EQ(face("DejaVu Serif Book"), "DejaVu Serif");
    EXPECT_EQ(face("DejaVu Seri"), "DejaVu Sans");

    // The file may go while the face stays added.
    auto font = library.CreateFont("DejaVu Serif", 19);
    std::filesystem::remove(folder / "Balonxb.ttf");
    Canvas canvas(60, 30);
    EXPECT_EQ(font->Draw(canvas.View(), "Ag", {0, 0, 60, 30}, 4, {}), font->Height());

    EXPECT_TRUE(library.RemoveFontFile(path));
    EXPECT_EQ(face("DejaVu Serif"), "DejaVu Serif"); // added twice: still there once
    EXPECT_TRUE(library.RemoveFontFile(path));
    EXPECT_EQ(face("DejaVu Serif"), "DejaVu Sans");
    EXPECT_FALSE(library.RemoveFontFile(path));

    EXPECT_EQ(face(""), "DejaVu Sans");
    EXPECT_EQ(library.CreateFont("DejaVu Sans", 0), nullptr);
    EXPECT_EQ(library.CreateFont("DejaVu Sans", text::TtfFont::kMaxHeight + 1), nullptr);
    EXPECT_EQ(library.OpenFontFile(folder.Game("missing.ttf"), 14)->FaceName(), "DejaVu Sans");
    EXPECT_EQ(text::TtfFontLibrary("/nowhere.ttf").CreateFont("DejaVu Sans", 14), nullptr);
}

TEST(Text, TruncatedFontDataFailsCleanly) {
    std::ifstream in(kSerifPath, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 100000u);
    text::TtfFontLibrary library;
    auto whole = library.OpenFont(bytes, 19);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->FaceName(), "DejaVu Serif");
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{12}, std::size_t{200},
                             std::size_t{5000}, bytes.size() / 2, bytes.size() - 1}) {
        SCOPED_TRACE(size);
        auto font = library.OpenFont(std::span(bytes).first(size), 19);
        if (size < 5000)
            EXPECT_EQ(font, nullptr);
        if (font) {
            Canvas canvas(60, 30);
            font->Draw(canvas.View(), "Ag\xE9", {0, 0, 60, 30}, 5, {});
            EXPECT_TRUE(canvas.GuardIntact());
        }
    }
}
