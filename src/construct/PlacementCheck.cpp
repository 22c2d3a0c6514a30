#include "construct/PlacementCheck.h"

#include "race/RouteNodeMan.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <vector>

namespace zentrix {

namespace {

struct SCell {
    int x;
    int z;
    int index; ///< in the footprint
};

bool IsInside(const CWorldGrid& grid, int x, int z) {
    return x >= 0 && z >= 0 && static_cast<std::uint32_t>(x) < grid.GetSizeX() &&
           static_cast<std::uint32_t>(z) < grid.GetSizeZ();
}

/// The footprint cells of the piece anchored on (x, z) as it is turned now.
std::vector<SCell> FootprintCells(const CTrackObject& piece, int x, int z) {
    std::vector<SCell> cells;
    const auto& footprint = piece.GetFootprint();
    for (std::size_t i = 0; i < footprint.size(); ++i) {
        const CTrackObject::SCellOffset turned = piece.RotateOffset(footprint[i]);
        cells.push_back({x + turned.x, z + turned.z, static_cast<int>(i)});
    }
    return cells;
}

/// The four neighbours of a cell: the offset, the cell's own side towards it and the neighbour's side
/// facing back.
struct SNeighbour {
    int dx;
    int dz;
    int own;
    int facing;
};
constexpr SNeighbour kNeighbours[] = {{-1, 0, 1, 4}, {1, 0, 4, 1}, {0, -1, 8, 2}, {0, 1, 2, 8}};

} // namespace

int GetPieceKind(const CTrackObject& piece) {
    return CRouteNodeMan::GetPieceKind(&piece);
}

int GetCellSides(int kind, int index, int rotation) {
    CRouteNodeMan::SPieceConnections record{};
    // A footprint may list more cells than the record holds: those lead nowhere.
    if (index < 0 || index >= static_cast<int>(record.size()) ||
        !CRouteNodeMan::GetPieceConnections(kind, record))
        return 0;
    return CTrackObject::TurnSideMask(record[static_cast<std::size_t>(index)], rotation);
}

int GetPieceCellIndex(const CTrackObject& piece, int x, int z) {
    const CVector anchor = CWorldGrid::WorldToGrid(piece.Position());
    if (anchor.x < 0.0f || anchor.z < 0.0f)
        return -1;
    for (const SCell& cell : FootprintCells(piece, static_cast<int>(anchor.x), static_cast<int>(anchor.z)))
        if (cell.x == x && cell.z == z)
            return cell.index;
    return -1;
}

bool CheckBorders(const CTrackObject& piece, int x, int z, const CWorldGrid& grid) {
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (!piece.GetPieceClass(pieceClass, index) ||
        (pieceClass != CTrackObject::kClassMain && pieceClass != CTrackObject::kClassSecond))
        return true;
    const int kind = GetPieceKind(piece);
    if (kind == kHeightBlockKind)
        return true;
    const bool allSides = kind == kOpenKind;
    const int lastX = static_cast<int>(grid.GetSizeX()) - 1;
    const int lastZ = static_cast<int>(grid.GetSizeZ()) - 1;
    for (const SCell& cell : FootprintCells(piece, x, z)) {
        if (!IsInside(grid, cell.x, cell.z))
            return false;
        const int sides = GetCellSides(kind, cell.index, piece.GetRotation());
        if ((cell.z == 0 && (allSides || (sides & 8))) || (cell.x == 0 && (allSides || (sides & 1))) ||
            (cell.z == lastZ && (allSides || (sides & 2))) || (cell.x == lastX && (allSides || (sides & 4))))
            return false;
    }
    return true;
}

bool CheckConnections(const CTrackObject& piece, int x, int z, const CWorldGrid& grid) {
    int pieceClass = CTrackObject::kClassNone;
    std::int16_t index = -1;
    if (!piece.GetPieceClass(pieceClass, index) || pieceClass == CTrackObject::kClassNone)
        return true;
    const bool scenery = pieceClass == CTrackObject::kClassScenery;
    const int kind = GetPieceKind(piece);
    if (kind == kHeightBlockKind)
        return true;

    std::vector<SCell> cells;
    for (const SCell& cell : FootprintCells(piece, x, z))
        if (IsInside(grid, cell.x, cell.z))
            cells.push_back(cell);
    const auto isOwnCell = [&cells](int cx, int cz) {
        for (const SCell& cell : cells)
            if (cell.x == cx && cell.z == cz)
                return true;
        return false;
    };

    int connections = 0;
    int matches = 0;
    int mismatches = 0;
    for (const SCell& cell : cells) {
        const int sides = scenery ? 0 : GetCellSides(kind, cell.index, piece.GetRotation());
        for (const SNeighbour& n : kNeighbours) {
            const int nx = cell.x + n.dx;
            const int nz = cell.z + n.dz;
            if (!IsInside(grid, nx, nz) || isOwnCell(nx, nz))
                continue;
            const CTrackObject* neighbour =
                grid.GetPieceAt(static_cast<std::uint32_t>(nx), static_cast<std::uint32_t>(nz));
            if (!neighbour)
                continue;
            const bool open = !scenery && (kind == kOpenKind || (sides & n.own));
            int neighbourClass = CTrackObject::kClassNone;
            std::int16_t neighbourIndex = -1;
            neighbour->GetPieceClass(neighbourClass, neighbourIndex);
            if (neighbourClass == CTrackObject::kClassMain || neighbourClass == CTrackObject::kClassSecond) {
                const int neighbourKind = GetPieceKind(*neighbour);
                const int neighbourSides = GetCellSides(neighbourKind, GetPieceCellIndex(*neighbour, nx, nz),
                                                        neighbour->GetRotation());
                if (neighbourKind == kOpenKind || (neighbourSides & n.facing)) {
                    ++connections;
                    if (open)
                        ++matches;
                } else if (open) {
                    ++mismatches;
                }
            } else if (neighbourClass == CTrackObject::kClassScenery && !scenery && open) {
                ++matches;
            }
        }
    }
    if (mismatches > 0)
        return false;
    if (connections > 0 && matches == 0)
        return false;
    if (scenery)
        return connections == 0 && matches == 0;
    return connections == matches;
}

} // namespace zentrix
