#pragma once

#include "platform/gfx2d/Geometry.h"

#include <cstdint>
#include <string_view>

namespace plat::gfx2d {
class Surface;
}
namespace plat::text {
class Font;
}

namespace zentrix {

class CCompoundOverlay;

/// The colour of a text's shadow: per channel, text OR background, halved. Colours are 0x00BBGGRR.
std::uint32_t ShadowColour(std::uint32_t textColour, std::uint32_t backgroundColour);

/// A box of text as the text controls draw it, in panel-picture coordinates.
struct SShadowedText {
    plat::gfx2d::Rect box;      ///< the area that must lie wholly on one piece, filled when asked
    plat::gfx2d::Rect textRect; ///< where the text goes
    std::string_view text;      ///< nothing to write when empty
    unsigned format = 0;
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0;
    bool fill = false;
    const plat::text::Font* font = nullptr;
};

/// Draws the box into the first piece of the panel picture that holds it wholly: the background fill when
/// asked, then the text three times, its shadow one pixel left on an opaque background, one pixel right,
/// and itself on top. False without a picture or when no piece holds the box; otherwise true, except
/// that a text written with nothing of it drawn is false. A surface that cannot be locked, or no font,
/// writes no text and counts as drawn.
bool DrawShadowedText(CCompoundOverlay* overlay, const SShadowedText& request);

/// Writes the request's text (box and fill aside) three times onto the surface, in surface coordinates,
/// as DrawShadowedText does: what the last pass drew (0 when nothing of it landed), or -1 when there was
/// no text, no font or the surface could not be locked.
int DrawShadowedTextOn(plat::gfx2d::Surface& surface, const SShadowedText& request);

} // namespace zentrix
