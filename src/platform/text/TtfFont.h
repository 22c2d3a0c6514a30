#pragma once

#include "platform/text/Font.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

struct _TTF_Font;

namespace plat::text {

/// A font over SDL_ttf, sized so that ascent + descent equals the asked cell height (within a pixel when
/// the face has no size that gives it exactly). Glyphs are drawn solid, without antialiasing, so no
/// edge pixel is blended against whatever lies below, and without kerning.
class TtfFont final : public Font {
public:
    /// Smallest and largest cell height a font is made at.
    static constexpr int kMinHeight = 1;
    static constexpr int kMaxHeight = 1024;

    /// Opens the font file held in bytes at a cell height; null (with a logged reason) when the bytes are
    /// not a font or the height is out of range. The font keeps the bytes.
    static std::unique_ptr<TtfFont> Open(std::shared_ptr<const std::vector<std::uint8_t>> bytes, int height);

    ~TtfFont() override;
    TtfFont(const TtfFont&) = delete;
    TtfFont& operator=(const TtfFont&) = delete;

    const std::string& FaceName() const override { return m_face; }
    int Height() const override { return m_height; }
    const AdvanceTable& Advances() const override { return m_advances; }

    /// The face's style ("Bold", "Regular"), as the file names it.
    const std::string& StyleName() const { return m_style; }

protected:
    void DrawGlyphs(const gfx2d::SurfaceView& target, const gfx2d::Rect& clip, std::int64_t x, std::int64_t y,
                    std::string_view line, std::uint16_t pixel) const override;

private:
    // The ink of one character: a mask of its set pixels, placed relative to the pen and the line top.
    struct Glyph {
        bool ready = false;
        int left = 0;
        int top = 0;
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> mask;
    };

    TtfFont(std::shared_ptr<void> runtime, std::shared_ptr<const std::vector<std::uint8_t>> bytes,
            _TTF_Font* font);
    void SizeToCellHeight(int height);
    const Glyph& GlyphOf(std::uint8_t character) const;

    std::shared_ptr<void> m_runtime; // keeps SDL_ttf started while the font lives
    std::shared_ptr<const std::vector<std::uint8_t>> m_bytes;
    _TTF_Font* m_font = nullptr;
    std::string m_face;
    std::string m_style;
    int m_height = 0;
    AdvanceTable m_advances{};
    mutable std::array<Glyph, 256> m_glyphs;
};

} // namespace plat::text
