#pragma once

#include <cstdint>

namespace zentrix {

class CTrackObject;
class CWorldGrid;

// The editor's placement check: whether a piece about to be placed on a cell meets its neighbours
// (each open side facing an open side) and keeps its road on the grid. Piece kinds are 0..29 for the
// main list's pieces and 30..44 for the second list's; each footprint cell has a side mask (1 -x, 2 +z,
// 4 +x, 8 -z) from the route's connection table, turned with the piece.

/// The kind the height blocks classify as, and the kind open on every side.
constexpr int kHeightBlockKind = 11;
constexpr int kOpenKind = 20;

/// The piece's kind; -1 for scenery and pieces in no list.
int GetPieceKind(const CTrackObject& piece);
/// The side mask of footprint cell `index` of a kind, turned `rotation` quarter turns; 0 (closed) for a
/// kind without record and for an index past the record's nine cells.
int GetCellSides(int kind, int index, int rotation);
/// The index in the piece's footprint of grid cell (x, z), as the piece lies on the grid; -1 when the
/// piece does not cover that cell.
int GetPieceCellIndex(const CTrackObject& piece, int x, int z);

/// Whether the piece, with its anchor on cell (x, z) and its own rotation, leads off the grid: false
/// when a footprint cell is outside the grid or opens across the grid's border. Pieces outside the two
/// piece lists and the height block always pass; kind 20 is open on every side.
bool CheckBorders(const CTrackObject& piece, int x, int z, const CWorldGrid& grid);
/// Whether the piece on cell (x, z) meets the pieces around it: every open side that faces a piece
/// meets an open side of it, no open side faces scenery, and no neighbour opens towards it unmet.
/// Scenery fits where nothing opens towards it. The height block and pieces in no list always pass.
bool CheckConnections(const CTrackObject& piece, int x, int z, const CWorldGrid& grid);

} // namespace zentrix
