#pragma once

#include <cstdint>

namespace zentrix {

class CTrackObject;
class CWorldObject;

// The track-edit operations over the current world's grid. The editor, the registry's theme and grid
// changes and the track file reader all build tracks with them, so a loaded track and an edited one are
// made of the same objects. "Asset id" of a piece or tile object is its type id.

/// Makes the piece of `assetId` and places it with its footprint at cell (x, z); null when no track piece
/// is made, the rotation is not 0..3, the footprint leaves the grid or meets ground of 32.0 or more, or the
/// grid refuses it (no object of its own is then left behind).
CTrackObject* PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z, std::uint32_t rotation);
/// Removes the piece covering cell (x, z) and puts ground tiles or supports back on its cells.
void RemoveTrackPiece(std::uint32_t x, std::uint32_t z);
/// Gives cell (x, z) height `height` with its height block (returned); a ground tile and no ground when
/// the height makes no block.
CWorldObject* SetTileHeight(std::uint32_t x, std::uint32_t z, float height);
/// Brings the support of cell (x, z) in line with its height and piece.
void RefreshTile(std::uint32_t x, std::uint32_t z);
/// `RefreshTile` on every cell.
void UpdateAllTiles();
/// A flat track of ground tiles, without start piece. The flag changes nothing.
void ClearTrack(bool flag);
/// The theme's ground tile on cell (x, z).
void PlaceGroundTile(std::uint32_t x, std::uint32_t z);

/// 0.0 for a piece that cannot stand raised, else the lowest ground height under its footprint.
float GetLowestFootprintHeight(const CTrackObject& piece);
/// Every footprint cell is on the grid with ground below 32.0.
bool FitsOnGrid(const CTrackObject& piece);
/// The piece has supports for raised ground.
bool CanStandRaised(const CTrackObject& piece);
/// Every footprint cell takes height `height` (none below 0.1) and its support follows.
void LevelFootprint(const CTrackObject& piece, float height);
/// `RemoveTrackPiece` on every footprint cell.
void RemovePiecesUnderFootprint(const CTrackObject& piece);
/// Deletes every piece still covering a footprint cell.
void DeletePiecesOnFootprint(const CTrackObject& piece);
/// `RefreshTile` on every footprint cell.
void RefreshFootprintTiles(const CTrackObject& piece);

} // namespace zentrix
