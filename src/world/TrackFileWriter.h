#pragma once

#include <memory>

namespace zentrix {

class CTrackFileImage;
class CWorldGrid;

/// A blank version 5 track image; null when it cannot be allocated.
std::unique_ptr<CTrackFileImage> AllocateTrackImage();

/// The version 5 image of a grid: its size, the current theme, the engine's lighting mode and whether the
/// route is closed in the header; per cell of the grid its height and the piece anchored on it (the
/// theme's filler left out) with their rotations. Null when the image cannot be allocated.
std::unique_ptr<CTrackFileImage> WriteTrackImage(const CWorldGrid& grid);

} // namespace zentrix
