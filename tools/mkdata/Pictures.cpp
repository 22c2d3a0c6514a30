#include "Pictures.h"

#include "Generators.h"
#include "ResourceSet.h"
#include "platform/fs/FileSystem.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/gfx2d/SurfaceView.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TtfFontLibrary.h"

#include <algorithm>
#include <map>
#include <memory>

namespace mkdata {

namespace {

constexpr int kMaxSide = 1024;

/// A picture being drawn: 8-bit RGB, top row first.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    void Fill(int x, int y, int w, int h, const std::uint8_t (&colour)[4]) {
        for (int row = std::max(y, 0); row < std::min(y + h, height); ++row)
            for (int col = std::max(x, 0); col < std::min(x + w, width); ++col)
                for (int c = 0; c < 3; ++c)
                    rgb[static_cast<std::size_t>((row * width + col) * 3 + c)] = colour[c];
    }

    std::vector<std::uint8_t> ToTga() const {
        std::vector<std::uint8_t> out(18, 0);
        out[2] = 2; // uncompressed true colour
        out[12] = static_cast<std::uint8_t>(width);
        out[13] = static_cast<std::uint8_t>(width >> 8);
        out[14] = static_cast<std::uint8_t>(height);
        out[15] = static_cast<std::uint8_t>(height >> 8);
        out[16] = 24;
        for (int row = height - 1; row >= 0; --row) // bottom row first
            for (int col = 0; col < width; ++col) {
                const std::uint8_t* p = &rgb[static_cast<std::size_t>((row * width + col) * 3)];
                out.insert(out.end(), {p[2], p[1], p[0]});
            }
        return out;
    }
};

/// The sample font at a cell height, opened once per height; null when the font file cannot be read.
const plat::text::Font* FontOfHeight(int height) {
    static plat::text::TtfFontLibrary library;
    static const std::vector<std::uint8_t> bytes = plat::fs::ReadWholeFile(kFontFile).bytes;
    static std::map<int, std::unique_ptr<plat::text::Font>> fonts;
    if (bytes.empty())
        return nullptr;
    std::unique_ptr<plat::text::Font>& font = fonts[height];
    if (!font)
        font = library.OpenFont(bytes, height);
    return font.get();
}

/// Writes `text` in the ink colour on one line of the rectangle, centred vertically, and horizontally
/// when asked; false when the font cannot be had.
bool Write(Canvas& canvas, const plat::gfx2d::Rect& rect, const std::uint8_t (&ink)[4], int height,
           bool centre, const std::string& text) {
    const plat::text::Font* font = FontOfHeight(height);
    if (font == nullptr)
        return false;
    // The glyphs go into a mask of the picture's size; the ink takes the pixels they touch.
    std::vector<std::uint16_t> mask(static_cast<std::size_t>(canvas.width * canvas.height), 0);
    const plat::gfx2d::SurfaceView view{reinterpret_cast<std::uint8_t*>(mask.data()),
                                        canvas.width * 2,
                                        {canvas.width, canvas.height},
                                        plat::gfx2d::kFormat565};
    const unsigned format = plat::text::kFormatSingleLine | plat::text::kFormatVCenter |
                            (centre ? plat::text::kFormatCenter : 0u);
    font->Draw(view, text, rect, format, {0xFFFFFF, 0x000000, plat::text::BackgroundMode::kTransparent});
    for (int row = 0; row < canvas.height; ++row)
        for (int col = 0; col < canvas.width; ++col)
            if (mask[static_cast<std::size_t>(row * canvas.width + col)] != 0)
                canvas.Fill(col, row, 1, 1, ink);
    return true;
}

bool Rectangle(const std::vector<std::string>& args, std::size_t first, const Canvas& canvas,
               plat::gfx2d::Rect& out) {
    int x = 0, y = 0, w = 0, h = 0;
    if (!Number(args[first], 0, canvas.width - 1, x) || !Number(args[first + 1], 0, canvas.height - 1, y) ||
        !Number(args[first + 2], 1, canvas.width - x, w) || !Number(args[first + 3], 1, canvas.height - y, h))
        return false;
    out = {x, y, x + w, y + h};
    return true;
}

bool Draw(Canvas& canvas, const DrawStep& step, std::string& error) {
    const std::string where = "draw line " + std::to_string(step.line) + ": ";
    const std::vector<std::string>& args = step.args;
    plat::gfx2d::Rect rect;
    std::uint8_t colour[4];
    if (!args.empty() && args[0] == "fill") {
        if (args.size() != 6 || !Rectangle(args, 1, canvas, rect) || !Colour(args[5], colour)) {
            error = where + "fill takes a rectangle x y width height inside the picture and a colour r,g,b";
            return false;
        }
        canvas.Fill(rect.left, rect.top, rect.Width(), rect.Height(), colour);
        return true;
    }
    int height = 0;
    if (args.size() != 8 || args[0] != "text" || !Rectangle(args, 1, canvas, rect) ||
        !Colour(args[5], colour) || !Number(args[6], 6, kMaxTextHeight, height) ||
        (args[7] != "left" && args[7] != "centre") || step.text.empty()) {
        error = where + "expected fill <x> <y> <w> <h> <r,g,b> or text <x> <y> <w> <h> <r,g,b> <height 6-" +
                std::to_string(kMaxTextHeight) + "> <left|centre> <text>, inside the picture";
        return false;
    }
    if (!Write(canvas, rect, colour, height, args[7] == "centre", step.text)) {
        error = where + std::string(kFontFile) + ": cannot be read (Debian package fonts-dejavu-core)";
        return false;
    }
    return true;
}

} // namespace

bool MakePicture(const std::vector<std::string>& args, const std::vector<DrawStep>& steps,
                 std::vector<std::uint8_t>& out, std::string& error) {
    Canvas canvas;
    std::uint8_t colour[4];
    if (args.size() != 3 || !Number(args[0], 1, kMaxSide, canvas.width) ||
        !Number(args[1], 1, kMaxSide, canvas.height) || !Colour(args[2], colour)) {
        error = "picture takes width and height 1-1024 and a colour r,g,b";
        return false;
    }
    canvas.rgb.resize(static_cast<std::size_t>(canvas.width * canvas.height * 3));
    canvas.Fill(0, 0, canvas.width, canvas.height, colour);
    for (const DrawStep& step : steps)
        if (!Draw(canvas, step, error))
            return false;
    out = canvas.ToTga();
    return true;
}

bool MakeButton(const std::vector<std::string>& args, const std::string& label,
                std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0, height = 0, textHeight = 0;
    std::uint8_t face[4];
    std::uint8_t ink[4];
    if (args.size() != 5 || !Number(args[0], 8, kMaxSide, width) || !Number(args[1], 8, kMaxSide, height) ||
        !Colour(args[2], face) || !Colour(args[3], ink) || !Number(args[4], 6, kMaxTextHeight, textHeight) ||
        label.empty()) {
        error = "button takes width and height 8-1024, face and ink colours r,g,b, a text height 6-" +
                std::to_string(kMaxTextHeight) + " and a label";
        return false;
    }
    Canvas canvas{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height * 3))};
    canvas.Fill(0, 0, width, height, ink);
    canvas.Fill(2, 2, width - 4, height - 4, face);
    if (!Write(canvas, {2, 2, width - 2, height - 2}, ink, textHeight, true, label)) {
        error = std::string(kFontFile) + ": cannot be read (Debian package fonts-dejavu-core)";
        return false;
    }
    out = canvas.ToTga();
    return true;
}

} // namespace mkdata
