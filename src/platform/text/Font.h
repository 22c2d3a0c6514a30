#pragma once

#include "platform/gfx2d/SurfaceView.h"
#include "platform/text/TextLayout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plat::text {

/// What is behind the characters.
enum class BackgroundMode {
    kTransparent = 1, ///< only the glyph pixels are written
    kOpaque = 2,      ///< each line's box (its advance width by the line height) is filled first
};

/// Colours and background mode of one text output. Colours are 0x00BBGGRR.
struct TextStyle {
    std::uint32_t textColour = 0x000000;
    std::uint32_t backgroundColour = 0xFFFFFF;
    BackgroundMode background = BackgroundMode::kOpaque;
};

/// The pixel of a 0x00BBGGRR colour in a format: each channel keeps its top bits, as many as its mask
/// has, and moves to the mask's place.
std::uint32_t PixelFromColour(std::uint32_t colour, const gfx2d::PixelFormat& format);

/// A face at one size, drawing code-page-1252 text into 16-bit pixels.
class Font {
public:
    virtual ~Font() = default;

    /// The name of the face this font shows.
    virtual const std::string& FaceName() const = 0;

    /// Cell height in pixels (ascent + descent); every line is this high.
    virtual int Height() const = 0;

    /// Advance width of each character.
    virtual const AdvanceTable& Advances() const = 0;

    /// Draws text into rect (see LayOutText for the format bits), clipped to rect and to the target.
    /// Returns the drawn height (TextLayout::height); 0 when nothing is drawn: empty text, a target that
    /// is not 16-bit, or a rectangle that leaves no pixel of the target.
    virtual int Draw(const gfx2d::SurfaceView& target, std::string_view text, const gfx2d::Rect& rect,
                     unsigned format, const TextStyle& style) const;

    /// The size text takes in the format (widest line by lines x height).
    gfx2d::Size Measure(std::string_view text, unsigned format) const;

protected:
    /// Writes the glyph pixels of one line, pen starting at (x, y) (the top of the line's box), only
    /// inside clip, which lies within the target.
    virtual void DrawGlyphs(const gfx2d::SurfaceView& target, const gfx2d::Rect& clip, std::int64_t x,
                            std::int64_t y, std::string_view line, std::uint16_t pixel) const = 0;
};

} // namespace plat::text
