#pragma once

#include "platform/gfx2d/SurfaceView.h"

#include <cstdint>
#include <optional>

// The pixel loops behind surface blits. They trust their arguments: rectangles lie inside their views,
// both views share one pixel format, and source and destination do not overlap. Surface::Blt checks all
// of that before it calls them.

namespace plat::gfx2d {

/// The source coordinate (relative to the source rectangle) that destination coordinate d (relative to
/// the destination rectangle) shows when sourceLength pixels are stretched over destinationLength: the
/// source pixel under the centre of the destination pixel, (2d + 1) x source / (2 x destination).
constexpr int StretchSourceIndex(int d, int sourceLength, int destinationLength) {
    return static_cast<int>((2LL * d + 1) * sourceLength / (2LL * destinationLength));
}

/// Writes the raw pixel value into every pixel of r.
void FillPixels(const SurfaceView& destination, const Rect& r, std::uint32_t value);

/// Copies source rectangle sourceRect onto destinationRect, stretching by nearest neighbour when the
/// sizes differ; with a key, source pixels equal to it are skipped.
void CopyPixels(const SurfaceView& destination, const Rect& destinationRect, const SurfaceView& source,
                const Rect& sourceRect, std::optional<std::uint32_t> key);

} // namespace plat::gfx2d
