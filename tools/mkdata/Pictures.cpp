#include "Pictures.h"

#include "Generators.h"
#include "ResourceSet.h"
#include "platform/fs/FileSystem.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/gfx2d/SurfaceView.h"
#include "platform/text/TextLayout.h"
#include "platform/text/TtfFontLibrary.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <utility>

namespace mkdata {

namespace {

constexpr int kMaxSide = 1024;

/// A picture being drawn: 8-bit RGBA, top row first. Written as 24 bits unless it keeps its alpha.
struct Canvas {
    int width = 0;
    int height = 0;
    bool alpha = false;
    std::vector<std::uint8_t> rgba;

    Canvas(int w, int h, const std::uint8_t (&ground)[4], bool withAlpha)
        : width(w), height(h), alpha(withAlpha), rgba(static_cast<std::size_t>(w * h * 4)) {
        Fill(0, 0, w, h, ground);
    }

    /// Mixes the colour into the pixel by `cover` (0 leaves it, 1 replaces it), alpha included.
    void Blend(int x, int y, const std::uint8_t (&colour)[4], float cover) {
        if (x < 0 || y < 0 || x >= width || y >= height || cover <= 0.0f)
            return;
        std::uint8_t* p = &rgba[static_cast<std::size_t>((y * width + x) * 4)];
        for (int c = 0; c < 4; ++c)
            p[c] = static_cast<std::uint8_t>(std::lround(p[c] + (colour[c] - p[c]) * std::min(cover, 1.0f)));
    }

    void Fill(int x, int y, int w, int h, const std::uint8_t (&colour)[4]) {
        for (int row = std::max(y, 0); row < std::min(y + h, height); ++row)
            for (int col = std::max(x, 0); col < std::min(x + w, width); ++col)
                std::copy(colour, colour + 4, &rgba[static_cast<std::size_t>((row * width + col) * 4)]);
    }

    std::vector<std::uint8_t> ToTga() const {
        std::vector<std::uint8_t> out(18, 0);
        out[2] = 2; // uncompressed true colour
        out[12] = static_cast<std::uint8_t>(width);
        out[13] = static_cast<std::uint8_t>(width >> 8);
        out[14] = static_cast<std::uint8_t>(height);
        out[15] = static_cast<std::uint8_t>(height >> 8);
        out[16] = alpha ? 32 : 24;
        out[17] = alpha ? 8 : 0;                    // alpha bits
        for (int row = height - 1; row >= 0; --row) // bottom row first
            for (int col = 0; col < width; ++col) {
                const std::uint8_t* p = &rgba[static_cast<std::size_t>((row * width + col) * 4)];
                out.insert(out.end(), {p[2], p[1], p[0]});
                if (alpha)
                    out.push_back(p[3]);
            }
        return out;
    }

    /// The picture as 5-6-5 pixels, top row first, as a raw video frame holds them.
    void AppendRgb565(std::vector<std::uint8_t>& out) const {
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            const std::uint16_t v = plat::gfx2d::PackRgb565(rgba[i], rgba[i + 1], rgba[i + 2]);
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
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

/// Reads `count` numbers from args[first] on; shapes may reach past the picture's edges, where they are cut.
bool Numbers(const std::vector<std::string>& args, std::size_t first, std::size_t count, int* out) {
    for (std::size_t i = 0; i < count; ++i)
        if (!Number(args[first + i], -kMaxSide, 2 * kMaxSide, out[i]))
            return false;
    return true;
}

/// Draws every pixel whose centre `cover` gives more than 0, mixed by that amount.
template <typename Cover> void Shape(Canvas& canvas, const Cover& cover) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const auto [amount, colour] = cover(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            if (amount > 0.0f)
                canvas.Blend(x, y, *colour, amount);
        }
}

using Colour4 = std::uint8_t[4];

/// The shapes: oval, arc, tri and line (see MakePicture). False when the words do not make one.
bool DrawShape(Canvas& canvas, const std::vector<std::string>& args) {
    std::uint8_t colour[4];
    const Colour4* ink = &colour;
    int n[6] = {};
    const std::string& kind = args[0];
    if (kind == "oval" && (args.size() == 6 || (args.size() == 7 && args[6] == "soft")) &&
        Numbers(args, 1, 4, n) && n[2] > 0 && n[3] > 0 && Colour(args[5], colour)) {
        const bool soft = args.size() == 7;
        const float cx = static_cast<float>(n[0]), cy = static_cast<float>(n[1]);
        const float rx = static_cast<float>(n[2]), ry = static_cast<float>(n[3]);
        Shape(canvas, [&](float x, float y) {
            const float d = std::hypot((x - cx) / rx, (y - cy) / ry);
            return std::pair{d > 1.0f ? 0.0f : soft ? 1.0f - d : 1.0f, ink};
        });
        return true;
    }
    if (kind == "arc" && args.size() == 8 && Numbers(args, 1, 6, n) && n[2] > 0 && n[3] > 0 &&
        Colour(args[7], colour)) {
        // Angles in degrees from the +x axis towards +y (clockwise on the picture), from n[4] to n[5].
        const float cx = static_cast<float>(n[0]), cy = static_cast<float>(n[1]);
        const float radius = static_cast<float>(n[2]), half = static_cast<float>(n[3]) / 2.0f;
        const float from = static_cast<float>(n[4]), to = static_cast<float>(n[5]);
        Shape(canvas, [&](float x, float y) {
            const float d = std::hypot(x - cx, y - cy);
            float angle = std::atan2(y - cy, x - cx) * 180.0f / std::numbers::pi_v<float>;
            while (angle < from)
                angle += 360.0f;
            const bool in = std::abs(d - radius) <= half && angle <= to;
            return std::pair{in ? 1.0f : 0.0f, ink};
        });
        return true;
    }
    if (kind == "tri" && args.size() == 8 && Numbers(args, 1, 6, n) && Colour(args[7], colour)) {
        auto side = [&](int a, int b, float x, float y) {
            return (static_cast<float>(n[b]) - static_cast<float>(n[a])) *
                       (y - static_cast<float>(n[a + 1])) -
                   (static_cast<float>(n[b + 1]) - static_cast<float>(n[a + 1])) *
                       (x - static_cast<float>(n[a]));
        };
        Shape(canvas, [&](float x, float y) {
            const float s0 = side(0, 2, x, y), s1 = side(2, 4, x, y), s2 = side(4, 0, x, y);
            const bool in = (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
            return std::pair{in ? 1.0f : 0.0f, ink};
        });
        return true;
    }
    if (kind == "line" && args.size() == 7 && Numbers(args, 1, 5, n) && n[4] > 0 && Colour(args[6], colour)) {
        const float ax = static_cast<float>(n[0]), ay = static_cast<float>(n[1]);
        const float dx = static_cast<float>(n[2]) - ax, dy = static_cast<float>(n[3]) - ay;
        const float length2 = dx * dx + dy * dy;
        const float half = static_cast<float>(n[4]) / 2.0f;
        Shape(canvas, [&](float x, float y) {
            const float t =
                length2 > 0.0f ? std::clamp(((x - ax) * dx + (y - ay) * dy) / length2, 0.0f, 1.0f) : 0.0f;
            const bool in = std::hypot(x - (ax + t * dx), y - (ay + t * dy)) <= half;
            return std::pair{in ? 1.0f : 0.0f, ink};
        });
        return true;
    }
    return false;
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
    if (!args.empty() && (args[0] == "oval" || args[0] == "arc" || args[0] == "tri" || args[0] == "line")) {
        if (!DrawShape(canvas, args)) {
            error = where +
                    "expected oval <x> <y> <rx> <ry> <r,g,b[,a]> [soft], arc <x> <y> <radius> <width> <from> "
                    "<to> <r,g,b[,a]>, tri <x1> <y1> <x2> <y2> <x3> <y3> <r,g,b[,a]> or line <x1> <y1> <x2> "
                    "<y2> <width> <r,g,b[,a]>";
            return false;
        }
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

/// Whether a step's frames ("a-b", or "a-b/n:k": of those, the first k of every n) hold the frame.
bool OnFrame(const std::string& frames, int frame, bool& valid) {
    valid = true;
    if (frames.empty())
        return true;
    int first = 0, last = 0, period = 1, shown = 1;
    const std::size_t dash = frames.find('-');
    const std::size_t slash = frames.find('/');
    const std::size_t colon = frames.find(':');
    const std::string range = frames.substr(0, slash);
    valid = dash != std::string::npos && dash < range.size() &&
            Number(range.substr(0, dash), 0, 100000, first) &&
            Number(range.substr(dash + 1), first, 100000, last) &&
            (slash == std::string::npos ||
             (colon != std::string::npos && colon > slash &&
              Number(frames.substr(slash + 1, colon - slash - 1), 1, 100000, period) &&
              Number(frames.substr(colon + 1), 1, period, shown)));
    return valid && frame >= first && frame <= last && (frame - first) % period < shown;
}

} // namespace

bool MakePicture(const std::vector<std::string>& args, const std::vector<DrawStep>& steps,
                 std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0, height = 0;
    std::uint8_t colour[4];
    if (args.size() != 3 || !Number(args[0], 1, kMaxSide, width) || !Number(args[1], 1, kMaxSide, height) ||
        !Colour(args[2], colour)) {
        error = "picture takes width and height 1-1024 and a colour r,g,b[,a]";
        return false;
    }
    // A ground colour with its alpha makes a 32-bit picture.
    Canvas canvas(width, height, colour, std::count(args[2].begin(), args[2].end(), ',') == 3);
    for (const DrawStep& step : steps) {
        if (!step.frames.empty()) {
            error = "draw line " + std::to_string(step.line) + ": frames belong to a video's draw lines";
            return false;
        }
        if (!Draw(canvas, step, error))
            return false;
    }
    out = canvas.ToTga();
    return true;
}

bool MakeDrawnVideo(const std::vector<std::string>& args, const std::vector<DrawStep>& steps,
                    std::vector<std::uint8_t>& out, std::string& error) {
    int width = 0, height = 0, frames = 0;
    std::uint8_t ground[4];
    if (args.size() != 4 || !Number(args[0], 4, 256, width) || !Number(args[1], 4, 256, height) ||
        !Number(args[2], 1, 1000, frames) || !Colour(args[3], ground)) {
        error = "rawvideo takes width and height 4-256, 1-1000 frames and a ground colour r,g,b";
        return false;
    }
    out.clear();
    for (char c : std::string("VORN_VIDEO 1"))
        out.push_back(static_cast<std::uint8_t>(c));
    out.resize(20, 0); // the magic's zero byte and the rest of its field
    for (const int value : {frames, width, height, 16})
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> shift));
    for (int frame = 0; frame < frames; ++frame) {
        Canvas canvas(width, height, ground, false);
        for (const DrawStep& step : steps) {
            bool valid = true;
            const bool on = OnFrame(step.frames, frame, valid);
            if (!valid) {
                error = "draw line " + std::to_string(step.line) + ": frames are <first>-<last>, or " +
                        "<first>-<last>/<every n>:<k> for the first k of every n";
                return false;
            }
            if (on && !Draw(canvas, step, error))
                return false;
        }
        const std::size_t start = out.size();
        canvas.AppendRgb565(out);
        StampFrameNumber(&out[start], width, frame);
    }
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
    Canvas canvas(width, height, ink, false);
    canvas.Fill(2, 2, width - 4, height - 4, face);
    if (!Write(canvas, {2, 2, width - 2, height - 2}, ink, textHeight, true, label)) {
        error = std::string(kFontFile) + ": cannot be read (Debian package fonts-dejavu-core)";
        return false;
    }
    out = canvas.ToTga();
    return true;
}

} // namespace mkdata
