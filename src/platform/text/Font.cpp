#include "platform/text/Font.h"

#include "platform/gfx2d/Blitter.h"

#include <algorithm>

namespace plat::text {

std::uint32_t PixelFromColour(std::uint32_t colour, const gfx2d::PixelFormat& format) {
    const std::uint32_t channels[3] = {colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF};
    const std::uint32_t masks[3] = {format.redMask, format.greenMask, format.blueMask};
    std::uint32_t pixel = 0;
    for (int i = 0; i < 3; ++i) {
        const int bits = std::min(8, gfx2d::MaskBitCount(masks[i]));
        if (bits == 0)
            continue;
        pixel |= ((channels[i] >> (8 - bits)) << gfx2d::MaskShift(masks[i])) & masks[i];
    }
    return pixel;
}

int Font::Draw(const gfx2d::SurfaceView& target, std::string_view text, const gfx2d::Rect& rect,
               unsigned format, const TextStyle& style) const {
    if (target.pixels == nullptr || target.format.BytesPerPixel() != 2)
        return 0;
    const gfx2d::Rect clip = rect.Intersect(target.Bounds());
    if (clip.IsEmpty())
        return 0;
    const TextLayout layout = LayOutText(text, format, rect, Height(), Advances());
    const auto textPixel = static_cast<std::uint16_t>(PixelFromColour(style.textColour, target.format));
    const auto backPixel = PixelFromColour(style.backgroundColour, target.format);
    for (const LaidOutLine& line : layout.lines) {
        // Lines wholly above or below the clip draw nothing.
        if (line.y + Height() <= clip.top || line.y >= clip.bottom)
            continue;
        if (style.background == BackgroundMode::kOpaque && line.width > 0) {
            const gfx2d::Rect box{
                static_cast<int>(std::clamp<std::int64_t>(line.x, clip.left, clip.right)),
                static_cast<int>(std::clamp<std::int64_t>(line.y, clip.top, clip.bottom)),
                static_cast<int>(std::clamp<std::int64_t>(line.x + line.width, clip.left, clip.right)),
                static_cast<int>(std::clamp<std::int64_t>(line.y + Height(), clip.top, clip.bottom))};
            if (!box.IsEmpty())
                gfx2d::FillPixels(target, box, backPixel);
        }
        DrawGlyphs(target, clip, line.x, line.y,
                   std::string_view(layout.text).substr(line.begin, line.length), textPixel);
    }
    return layout.height;
}

gfx2d::Size Font::Measure(std::string_view text, unsigned format) const {
    return MeasureText(text, format, Height(), Advances());
}

} // namespace plat::text
