#include "platform/text/TtfFont.h"

#include "platform/system/DebugOutput.h"
#include "platform/text/CodePage1252.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace plat::text {
namespace {

// SDL_ttf is started while any font or library needs it and stopped after the last one goes.
std::shared_ptr<void> AcquireTtf() {
    static std::mutex mutex;
    static std::weak_ptr<void> current;
    std::lock_guard lock(mutex);
    if (auto running = current.lock())
        return running;
    if (TTF_Init() != 0) {
        system::DebugOutput(std::string("text: SDL_ttf cannot start: ") + TTF_GetError());
        return nullptr;
    }
    static int token;
    std::shared_ptr<void> running(&token, [](void*) { TTF_Quit(); });
    current = running;
    return running;
}

int CellHeightOf(TTF_Font* font) {
    return TTF_FontAscent(font) - TTF_FontDescent(font);
}

} // namespace

std::unique_ptr<TtfFont> TtfFont::Open(std::shared_ptr<const std::vector<std::uint8_t>> bytes, int height) {
    if (height < kMinHeight || height > kMaxHeight) {
        system::DebugOutput("text: font height " + std::to_string(height) + " is out of range");
        return nullptr;
    }
    if (!bytes || bytes->empty()) {
        system::DebugOutput("text: no font data");
        return nullptr;
    }
    auto runtime = AcquireTtf();
    if (!runtime)
        return nullptr;
    SDL_RWops* stream = SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size()));
    if (stream == nullptr)
        return nullptr;
    TTF_Font* font = TTF_OpenFontRW(stream, 1, 12);
    if (font == nullptr) {
        system::DebugOutput(std::string("text: not a font: ") + TTF_GetError());
        return nullptr;
    }
    std::unique_ptr<TtfFont> result(new TtfFont(std::move(runtime), std::move(bytes), font));
    result->SizeToCellHeight(height);
    return result;
}

TtfFont::TtfFont(std::shared_ptr<void> runtime, std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                 TTF_Font* font)
    : m_runtime(std::move(runtime)), m_bytes(std::move(bytes)), m_font(font) {
    const char* family = TTF_FontFaceFamilyName(font);
    const char* style = TTF_FontFaceStyleName(font);
    m_face = family ? family : "";
    m_style = style ? style : "";
    // Solid glyphs want the outlines fitted to whole pixels; kerning stays off, so a line is exactly the
    // sum of its characters' advances.
    TTF_SetFontHinting(font, TTF_HINTING_MONO);
    TTF_SetFontKerning(font, 0);
}

TtfFont::~TtfFont() {
    TTF_CloseFont(m_font);
}

void TtfFont::SizeToCellHeight(int height) {
    // The em is set as 1 point at a resolution in dots per inch, so one step is 1/72 pixel. Ascent +
    // descent grows with the em (nearly everywhere: rounding inside the font engine may step back once),
    // so a bisection lands on the first resolution that reaches the height and a look around it finds
    // an exact match, else the nearest height, the smaller on a tie.
    auto heightAt = [this](unsigned dpi) {
        TTF_SetFontSizeDPI(m_font, 1, dpi, dpi);
        return CellHeightOf(m_font);
    };
    unsigned low = 1;
    unsigned high = 72u * 8u * static_cast<unsigned>(height);
    while (low < high) {
        const unsigned middle = low + (high - low) / 2;
        if (heightAt(middle) >= height)
            high = middle;
        else
            low = middle + 1;
    }
    unsigned best = low;
    int bestHeight = heightAt(low);
    const unsigned from = low > 144 ? low - 144 : 1;
    for (unsigned dpi = from; dpi <= low + 144 && bestHeight != height; ++dpi) {
        const int h = heightAt(dpi);
        const int distance = std::abs(h - height);
        const int bestDistance = std::abs(bestHeight - height);
        if (distance < bestDistance || (distance == bestDistance && h < bestHeight)) {
            best = dpi;
            bestHeight = h;
        }
    }
    m_height = heightAt(best);
    if (m_height != height)
        system::DebugOutput("text: " + m_face + " has no size of cell height " + std::to_string(height) +
                            "; using " + std::to_string(m_height));
    for (int c = 0; c < 256; ++c) {
        int advance = 0;
        if (TTF_GlyphMetrics32(m_font, CodePointFromCodePage1252(static_cast<std::uint8_t>(c)), nullptr,
                               nullptr, nullptr, nullptr, &advance) != 0)
            advance = 0;
        m_advances[c] = std::max(0, advance);
    }
}

const TtfFont::Glyph& TtfFont::GlyphOf(std::uint8_t character) const {
    Glyph& glyph = m_glyphs[character];
    if (glyph.ready)
        return glyph;
    glyph.ready = true;
    // The character is rendered after a space: the line then starts at the space's pen position whatever
    // the character's left bearing, so the character's pen lies exactly one space advance to the right.
    std::string utf8 = " ";
    AppendUtf8(CodePointFromCodePage1252(character), utf8);
    SDL_Surface* surface = TTF_RenderUTF8_Solid(m_font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (surface == nullptr)
        return glyph;
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    const auto* pixels = static_cast<const std::uint8_t*>(surface->pixels);
    // Crop to the set pixels; the solid renderer writes palette index 0 for the background.
    int minX = surface->w, minY = surface->h, maxX = -1, maxY = -1;
    for (int y = 0; y < surface->h; ++y) {
        for (int x = 0; x < surface->w; ++x) {
            if (pixels[y * surface->pitch + x] != 0) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    if (maxX >= 0) {
        glyph.left = minX - m_advances[' '];
        glyph.top = minY;
        glyph.width = maxX - minX + 1;
        glyph.height = maxY - minY + 1;
        glyph.mask.resize(static_cast<std::size_t>(glyph.width) * glyph.height);
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.width; ++x)
                glyph.mask[static_cast<std::size_t>(y) * glyph.width + x] =
                    pixels[(minY + y) * surface->pitch + minX + x] != 0;
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return glyph;
}

void TtfFont::DrawGlyphs(const gfx2d::SurfaceView& target, const gfx2d::Rect& clip, std::int64_t x,
                         std::int64_t y, std::string_view line, std::uint16_t pixel) const {
    std::int64_t pen = x;
    for (char ch : line) {
        // No glyph reaches more than a cell height left of its pen: past that the line is done.
        if (pen - m_height >= clip.right)
            break;
        const auto character = static_cast<std::uint8_t>(ch);
        const std::int64_t advance = m_advances[character];
        if (pen + advance + m_height <= clip.left) {
            pen += advance;
            continue;
        }
        const Glyph& glyph = GlyphOf(character);
        const std::int64_t left = pen + glyph.left;
        const std::int64_t top = y + glyph.top;
        const std::int64_t x0 = std::max<std::int64_t>(left, clip.left);
        const std::int64_t x1 = std::min<std::int64_t>(left + glyph.width, clip.right);
        const std::int64_t y0 = std::max<std::int64_t>(top, clip.top);
        const std::int64_t y1 = std::min<std::int64_t>(top + glyph.height, clip.bottom);
        for (std::int64_t py = y0; py < y1; ++py) {
            const std::uint8_t* maskRow = glyph.mask.data() + (py - top) * glyph.width;
            std::uint16_t* row = target.Row16(static_cast<int>(py));
            for (std::int64_t px = x0; px < x1; ++px)
                if (maskRow[px - left])
                    row[px] = pixel;
        }
        pen += advance;
    }
}

} // namespace plat::text
