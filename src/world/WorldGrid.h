#pragma once

#include "foundation/math/Vector.h"
#include "world/GridCell.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zentrix {

class CTrackFileImage;
class CTrackObject;
class CWorldObject;

/// The track grid: 8 x 8 or 16 x 16 square cells of 32 world units, each with a ground height, the
/// piece anchored on it, its ground object and, for the cells a larger piece covers, its anchor cell.
/// Cell index i has its centre at 32 i - 100 on x and on z. The grid observes the objects it names; the
/// world registry owns them and tells the grid when one goes (`ForgetObject`).
class CWorldGrid {
public:
    static constexpr float kTileSize = 32.0f;
    static constexpr float kOrigin = -100.0f;
    /// World coordinates below this lie in no cell.
    static constexpr float kLowLimit = -115.0f;
    /// What an index outside the grid reads as.
    static constexpr std::uint32_t kNoIndex = 0xFFFFFFFFu;

    /// A grid of width x depth empty cells.
    CWorldGrid(std::uint32_t width, std::uint32_t depth);
    virtual ~CWorldGrid();
    CWorldGrid(const CWorldGrid&) = delete;
    CWorldGrid& operator=(const CWorldGrid&) = delete;

    std::uint32_t GetSizeX() const { return m_width; }
    std::uint32_t GetSizeZ() const { return m_depth; }
    /// The cell (x, z); null outside the grid.
    CGridCell* GetCell(std::uint32_t x, std::uint32_t z);
    const CGridCell* GetCell(std::uint32_t x, std::uint32_t z) const;
    /// 0.0 outside the grid and for a cell without ground, else the cell's height.
    float GetCellHeight(std::uint32_t x, std::uint32_t z) const;
    /// The cell's ground object; null outside the grid.
    CWorldObject* GetCellObject(std::uint32_t x, std::uint32_t z) const;
    /// The piece anchored on the cell, or through its owner the piece covering it; null outside.
    CTrackObject* GetPieceAt(std::uint32_t x, std::uint32_t z) const;
    /// Whether a larger piece anchored elsewhere covers the cell (a cell inside the grid).
    bool IsCoveredCell(std::uint32_t x, std::uint32_t z) const;
    /// Gives the cell a height; a cell without ground takes the object as its ground object. False
    /// outside the grid, and with `checkPiece` when a piece lies on the cell.
    bool SetCellHeight(CWorldObject* object, std::uint32_t x, std::uint32_t z, float height, bool checkPiece);
    /// Forgets the cell's ground and object, then sets them as SetCellHeight does; false outside.
    bool ResetCellHeight(CWorldObject* object, std::uint32_t x, std::uint32_t z, float height);
    /// Puts the piece on the grid with its anchor on (x, z), turned by `rotation` (0..3): every piece
    /// lying on a cell of its footprint leaves the grid and the world first. False outside the grid, for
    /// another rotation, and when a footprint cell lies outside (the pieces removed before stay removed).
    /// Heights and ground objects stay as they are.
    bool PlacePiece(CTrackObject* piece, std::uint32_t x, std::uint32_t z, std::uint32_t rotation);
    /// Takes the piece covering the cell off every cell it covers (the piece itself stays); false when
    /// none lies there.
    bool RemovePiece(std::uint32_t x, std::uint32_t z);
    /// Removes the cell's ground object from the world and leaves the cell without ground.
    void ClearCellObject(std::uint32_t x, std::uint32_t z);
    /// ClearCellObject, then RemovePiece, on every cell.
    void ClearAllCells();
    /// A fresh array of empty cells.
    void AllocateCells();
    /// A fresh array of width x depth empty cells.
    void AllocateCells(std::uint32_t width, std::uint32_t depth);
    /// No cells at all.
    void FreeCells();
    /// Clears every reference to an object that leaves the world: a piece is taken off its cells, a
    /// ground object leaves its cell without ground.
    void ForgetObject(const CWorldObject* object);

    /// Whether the pieces changed since the track length was last summed.
    bool IsDirty() const { return m_dirty; }
    /// The sum of the lengths of the pieces on their anchor cells, the theme's filler, small base plate
    /// and start piece left out; summed again only after the pieces changed.
    float GetTrackLength();

    /// Rebuilds the grid from a track file image (any version the reader knows). An image the reader
    /// refuses changes nothing and gives false.
    bool LoadFromImage(std::span<const std::uint8_t> image);
    /// The track file image of the grid; null when it cannot be made.
    std::unique_ptr<CTrackFileImage> CreateSaveData() const;

    static float IndexToWorldX(std::uint32_t i);
    static float IndexToWorldZ(std::uint32_t i);
    /// The cell index of a world coordinate; kNoIndex below -115.
    static std::uint32_t WorldXToIndex(float v);
    static std::uint32_t WorldZToIndex(float v);
    /// The world position of a cell (its x and z truncated), y 0.
    static CVector GridToWorld(const CVector& cell);
    /// The cell of a world position as floats, y 0; -1.0 for a coordinate in no cell.
    static CVector WorldToGrid(const CVector& position);

    /// Number of live grids.
    static int LiveCount();

private:
    bool IsInside(std::uint32_t x, std::uint32_t z) const { return x < m_width && z < m_depth; }
    const CGridCell& Cell(std::uint32_t x, std::uint32_t z) const {
        return m_cells[static_cast<std::size_t>(z) * m_width + x];
    }
    CGridCell& Cell(std::uint32_t x, std::uint32_t z) {
        return m_cells[static_cast<std::size_t>(z) * m_width + x];
    }

    std::vector<CGridCell> m_cells;
    std::uint32_t m_width;
    std::uint32_t m_depth;
    bool m_dirty = true;
    float m_trackLength = 0.0f;
};

} // namespace zentrix
