#pragma once

#include <cstdint>

namespace zentrix {

class CTrackObject;

/// What the track file reader and the pieces build a track with: the track-edit operations (the track
/// editor's, so that a loaded track is made of the same objects as an edited one) and the registry's
/// base plate and grid size. Given through `SWorldLinks::trackBuild`; without one no track is read.
class ITrackBuildLink {
public:
    virtual ~ITrackBuildLink() = default;

    /// Gives cell (x, z) the ground height with its ground object (a height block above 0.0; none, and no
    /// ground, otherwise).
    virtual void SetTileHeight(std::uint32_t x, std::uint32_t z, float height) = 0;
    /// Makes the piece of `assetId` and places it on cell (x, z) turned by `rotation`; null when no piece
    /// is made or the grid refuses it (nothing is then left behind).
    virtual CTrackObject* PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                          std::uint32_t rotation) = 0;
    /// Takes the piece covering cell (x, z) off the grid and out of the world and mends the cells under it.
    virtual void RemoveTrackPiece(std::uint32_t x, std::uint32_t z) = 0;
    /// Brings every cell's ground object in line with its height and piece, once the grid is filled.
    virtual void UpdateAllTiles() = 0;
    /// Makes the base plate of the theme and grid size under the grid; false when none could be made.
    virtual bool CreateBasePlate() = 0;
    /// Makes `index` the grid size index (0: 8 x 8 cells, 1: 16 x 16).
    virtual void SetGridSizeIndex(int index) = 0;
};

} // namespace zentrix
