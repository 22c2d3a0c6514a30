#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Surface.h"

#include <cstdint>

namespace zentrix {

/// Copies (or, with kBltColorFill, fills) onto the destination after clipping the destination rectangle
/// to the destination surface and moving the source rectangle with it, scaled when the blit stretches.
/// A null destination rectangle is the whole destination, a null source rectangle one of the destination
/// rectangle's size at the origin. A rectangle that starts beyond the surface, is inverted or is clipped
/// away draws nothing. Always true: callers draw what fits and never retry.
bool ClippedBlt(plat::gfx2d::Surface* destination, const plat::gfx2d::Rect* destinationRect,
                const plat::gfx2d::Surface* source, const plat::gfx2d::Rect* sourceRect, unsigned flags,
                std::uint32_t fillValue = 0);

} // namespace zentrix
