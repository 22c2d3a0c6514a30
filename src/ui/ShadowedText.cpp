#include "ui/ShadowedText.h"

#include "platform/gfx2d/Surface.h"
#include "platform/text/Font.h"
#include "render/CompoundOverlay.h"
#include "render/SubOverlay.h"

#include <optional>

namespace zentrix {

std::uint32_t ShadowColour(std::uint32_t textColour, std::uint32_t backgroundColour) {
    std::uint32_t shadow = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        std::uint32_t channel = ((textColour >> shift) & 0xFF) | ((backgroundColour >> shift) & 0xFF);
        shadow |= (channel >> 1) << shift;
    }
    return shadow;
}

namespace {

/// Nothing when the piece does not hold the box wholly; else what drawing on it gave.
std::optional<bool> DrawOnPiece(CSubOverlay& piece, const SShadowedText& request) {
    using plat::gfx2d::Point;
    using plat::gfx2d::Rect;
    // A piece's own GetX is where it lies in the panel picture once shown.
    const Rect area = Rect::At({piece.GetX(), piece.GetY()}, {piece.GetWidth(), piece.GetHeight()});
    const Rect& box = request.box;
    if (box.left < area.left || box.top < area.top || box.right > area.right || box.bottom > area.bottom)
        return std::nullopt;
    plat::gfx2d::Surface* surface = piece.GetSurface();
    if (!surface)
        return true;
    if (request.fill)
        piece.FillRect(request.backgroundColour, box);
    if (request.text.empty())
        return true;

    const SShadowedText moved{box,
                              request.textRect.Offset(Point{-area.left, -area.top}),
                              request.text,
                              request.format,
                              request.textColour,
                              request.backgroundColour,
                              false,
                              request.font};
    return DrawShadowedTextOn(*surface, moved) != 0;
}

} // namespace

int DrawShadowedTextOn(plat::gfx2d::Surface& surface, const SShadowedText& request) {
    plat::gfx2d::SurfaceView view;
    if (request.text.empty() || !request.font || surface.Lock(view) != plat::gfx2d::Result::Ok)
        return -1;
    const plat::gfx2d::Rect& text = request.textRect;
    const std::uint32_t shadow = ShadowColour(request.textColour, request.backgroundColour);
    using plat::gfx2d::Point;
    using plat::text::BackgroundMode;
    const plat::text::Font& font = *request.font;
    font.Draw(view, request.text, text.Offset(Point{-1, 0}), request.format,
              {shadow, request.backgroundColour, BackgroundMode::kOpaque});
    font.Draw(view, request.text, text.Offset(Point{1, 0}), request.format,
              {shadow, request.backgroundColour, BackgroundMode::kTransparent});
    const int drawn = font.Draw(view, request.text, text, request.format,
                                {request.textColour, request.backgroundColour, BackgroundMode::kTransparent});
    surface.Unlock();
    return drawn;
}

bool DrawShadowedText(CCompoundOverlay* overlay, const SShadowedText& request) {
    if (!overlay)
        return false;
    for (const auto& piece : overlay->GetPieces())
        if (std::optional<bool> drawn = DrawOnPiece(*piece, request))
            return *drawn;
    return false;
}

} // namespace zentrix
