#include "world/TrackEdit.h"

#include "foundation/assets/AssetMan.h"
#include "render/VornMesh.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace zentrix {

namespace {

constexpr float kNoPieceHeight = 32.0f;

CAssetMan* Assets() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetAssetMan() : nullptr;
}

CVector CellPosition(std::uint32_t x, std::uint32_t z) {
    return CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z)));
}

/// The support's asset for a piece (or -1) over ground of `height`; -1: none.
int WantedTileObject(int pieceId, float height) {
    CAssetMan* assets = Assets();
    if (!assets)
        return -1;
    return assets->GetWorldAssetId(0, assets->GetHeightPieceColumn(pieceId, height));
}

/// A track object of `id` at the cell, at height 0; an object of another kind is removed again.
CTrackObject* MakeTileObject(int id, std::uint32_t x, std::uint32_t z) {
    const CVector at = CellPosition(x, z);
    CWorldObject* object = CWorldMan::CreateWorldObject(id, at.x, 0.0f, at.z, -1);
    auto* tile = dynamic_cast<CTrackObject*>(object);
    if (!tile && object)
        CWorldMan::RemoveObject(object);
    if (tile)
        tile->SetRotation(0);
    return tile;
}

/// The cells of the piece's footprint, turned, from its own cell; cells off the grid keep their signed
/// coordinates so that callers can refuse them.
std::vector<std::pair<std::int64_t, std::int64_t>> FootprintCells(const CTrackObject& piece) {
    CVector position;
    piece.GetPosition(position);
    const CVector cell = CWorldGrid::WorldToGrid(position);
    const auto ax = static_cast<std::int64_t>(cell.x + 0.5f);
    const auto az = static_cast<std::int64_t>(cell.z + 0.5f);
    std::vector<std::pair<std::int64_t, std::int64_t>> cells;
    for (const CTrackObject::SCellOffset& offset : piece.GetFootprint()) {
        const CTrackObject::SCellOffset turned = piece.RotateOffset(offset);
        cells.emplace_back(ax + turned.x, az + turned.z);
    }
    return cells;
}

bool OnGrid(const CWorldGrid& grid, std::int64_t x, std::int64_t z) {
    return x >= 0 && z >= 0 && x < grid.GetSizeX() && z < grid.GetSizeZ();
}

template <typename F> void ForFootprint(const CTrackObject& piece, F&& f) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid)
        return;
    for (const auto& [x, z] : FootprintCells(piece))
        if (OnGrid(*grid, x, z))
            f(*grid, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z));
}

} // namespace

CTrackObject* PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z, std::uint32_t rotation) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid || rotation > 3)
        return nullptr;
    CWorldObject* object = CWorldMan::CreateWorldObject(assetId, 0.0f, 0.0f, 0.0f, -1);
    auto* piece = dynamic_cast<CTrackObject*>(object);
    if (!piece) {
        if (object)
            CWorldMan::RemoveObject(object);
        return nullptr;
    }
    piece->SetPositionVector(CellPosition(x, z));
    piece->SetRotation(static_cast<int>(rotation));
    if (!FitsOnGrid(*piece)) {
        CWorldMan::RemoveObject(piece);
        return nullptr;
    }
    const float y = GetLowestFootprintHeight(*piece);
    CVector at = CellPosition(x, z);
    at.y = y;
    piece->SetPositionVector(at);
    RemovePiecesUnderFootprint(*piece);
    DeletePiecesOnFootprint(*piece);
    LevelFootprint(*piece, y);
    if (!grid->PlacePiece(piece, x, z, rotation)) {
        CWorldMan::RemoveObject(piece);
        return nullptr;
    }
    RefreshFootprintTiles(*piece);
    piece->OnPlaced();
    return piece;
}

void RemoveTrackPiece(std::uint32_t x, std::uint32_t z) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    CTrackObject* piece = grid ? grid->GetPieceAt(x, z) : nullptr;
    if (!piece)
        return;
    const auto cells = FootprintCells(*piece);
    grid->RemovePiece(x, z);
    CAssetMan* assets = Assets();
    for (const auto& [cx, cz] : cells) {
        if (!OnGrid(*grid, cx, cz))
            continue;
        const auto ux = static_cast<std::uint32_t>(cx);
        const auto uz = static_cast<std::uint32_t>(cz);
        if (grid->GetCellHeight(ux, uz) >= 0.1f) {
            RefreshTile(ux, uz);
            continue;
        }
        grid->ClearCellObject(ux, uz);
        if (!assets)
            continue;
        CTrackObject* tile = MakeTileObject(assets->GetWorldBaseId(), ux, uz);
        if (!tile)
            continue;
        if (!grid->PlacePiece(tile, ux, uz, 0)) {
            CWorldMan::RemoveObject(tile);
            continue;
        }
        if (CVornMesh* mesh = tile->GetMesh())
            mesh->ApplySceneLighting();
    }
    CWorldMan::RemoveObject(piece);
}

CWorldObject* SetTileHeight(std::uint32_t x, std::uint32_t z, float height) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    CAssetMan* assets = Assets();
    if (!grid || !assets || !grid->GetCell(x, z))
        return nullptr;
    grid->ClearCellObject(x, z);
    const int id = height > 0.0f ? WantedTileObject(-1, height) : -1;
    if (id != -1) {
        CTrackObject* block = MakeTileObject(id, x, z);
        if (!block)
            return nullptr;
        RemovePiecesUnderFootprint(*block);
        DeletePiecesOnFootprint(*block);
        grid->ResetCellHeight(block, x, z, height);
        return block;
    }
    // A piece over more cells than this one goes as a whole, its other cells getting their ground back,
    // rather than leaving those cells bare under a ground tile placed over its anchor.
    if (grid->GetPieceAt(x, z))
        RemoveTrackPiece(x, z);
    if (grid->GetPieceAt(x, z))
        return nullptr;
    CTrackObject* tile = MakeTileObject(assets->GetWorldBaseId(), x, z);
    if (tile && !grid->PlacePiece(tile, x, z, 0))
        CWorldMan::RemoveObject(tile);
    return nullptr;
}

void RefreshTile(std::uint32_t x, std::uint32_t z) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid || !grid->GetCell(x, z))
        return;
    const float height = grid->GetCellHeight(x, z);
    const CTrackObject* piece = grid->GetPieceAt(x, z);
    const auto* current = dynamic_cast<const CTrackObject*>(grid->GetCellObject(x, z));
    const int wanted = WantedTileObject(piece ? piece->GetTypeId() : -1, height);
    if (wanted == (current ? current->GetTypeId() : -1))
        return;
    grid->ClearCellObject(x, z);
    if (wanted == -1)
        return;
    if (CTrackObject* support = MakeTileObject(wanted, x, z)) {
        support->SetRotation(piece ? piece->GetRotation() : 0);
        grid->ResetCellHeight(support, x, z, height);
    }
}

void UpdateAllTiles() {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid)
        return;
    for (std::uint32_t x = 0; x < grid->GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid->GetSizeZ(); ++z)
            RefreshTile(x, z);
}

void ClearTrack(bool /*flag*/) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid)
        return;
    for (std::uint32_t x = 0; x < grid->GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid->GetSizeZ(); ++z) {
            if (CTrackObject* piece = grid->GetPieceAt(x, z)) {
                grid->RemovePiece(x, z);
                CWorldMan::RemoveObject(piece);
            }
            if (grid->GetCellHeight(x, z) > 0.0f)
                grid->ClearCellObject(x, z);
            PlaceGroundTile(x, z);
        }
}

void PlaceGroundTile(std::uint32_t x, std::uint32_t z) {
    if (CAssetMan* assets = Assets())
        PlaceTrackPiece(assets->GetWorldBaseId(), x, z, 0);
}

float GetLowestFootprintHeight(const CTrackObject& piece) {
    if (!CanStandRaised(piece))
        return 0.0f;
    bool any = false;
    float lowest = 0.0f;
    ForFootprint(piece, [&](CWorldGrid& grid, std::uint32_t x, std::uint32_t z) {
        const float h = grid.GetCellHeight(x, z);
        lowest = any ? std::min(lowest, h) : h;
        any = true;
    });
    return lowest;
}

bool FitsOnGrid(const CTrackObject& piece) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid)
        return false;
    for (const auto& [x, z] : FootprintCells(piece))
        if (!OnGrid(*grid, x, z) || grid->GetCellHeight(static_cast<std::uint32_t>(x),
                                                        static_cast<std::uint32_t>(z)) >= kNoPieceHeight)
            return false;
    return true;
}

bool CanStandRaised(const CTrackObject& piece) {
    CAssetMan* assets = Assets();
    return assets && assets->GetHeightPieceColumn(piece.GetTypeId(), 10.0f) != -1;
}

void LevelFootprint(const CTrackObject& piece, float height) {
    ForFootprint(piece, [height](CWorldGrid& grid, std::uint32_t x, std::uint32_t z) {
        if (height >= 0.1f)
            grid.SetCellHeight(grid.GetCellObject(x, z), x, z, height, false);
        else
            grid.ClearCellObject(x, z);
        RefreshTile(x, z);
    });
}

void RemovePiecesUnderFootprint(const CTrackObject& piece) {
    ForFootprint(piece, [](CWorldGrid&, std::uint32_t x, std::uint32_t z) { RemoveTrackPiece(x, z); });
}

void DeletePiecesOnFootprint(const CTrackObject& piece) {
    ForFootprint(piece, [&piece](CWorldGrid& grid, std::uint32_t x, std::uint32_t z) {
        CTrackObject* other = grid.GetPieceAt(x, z);
        if (other && other != &piece) {
            grid.RemovePiece(x, z);
            CWorldMan::RemoveObject(other);
        }
    });
}

void RefreshFootprintTiles(const CTrackObject& piece) {
    ForFootprint(piece, [](CWorldGrid&, std::uint32_t x, std::uint32_t z) { RefreshTile(x, z); });
}

} // namespace zentrix
