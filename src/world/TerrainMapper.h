#pragma once

#include "world/TerrainTriangle.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace zentrix {

class CEntity;
class CMesh;
class CTexture;

/// The ground of a race world sorted for lookup: every mesh triangle that can carry a car, in a uniform
/// grid of 25 x 25-unit cells over the X/Z plane, each cell with its own list (newest triangle first).
/// A query then reads only the triangles of one cell.
///
/// The meshes come from files, so the build is bounded: vertices that are not finite count nowhere, a
/// grid wider than kMaxCellsPerSide cells is refused (the lookup stays empty and answers as outside),
/// triangles are clipped to the grid, and at most kMaxRecords records are kept.
class CTerrainMapper {
public:
    /// The side of a cell after a build.
    static constexpr float kCellSize = 25.0f;
    /// What XToCell and ZToCell answer outside the grid.
    static constexpr std::uint32_t kNoCell = 0xFFFFFFFFu;
    /// The widest grid a build makes: 25600 units a side, fifty times the largest track.
    static constexpr std::uint32_t kMaxCellsPerSide = 1024;
    /// The most records the lookup keeps; a track needs a few thousand.
    static constexpr std::size_t kMaxRecords = std::size_t{1} << 20;
    /// Triangles with a corner above this height are overhead parts, never ground.
    static constexpr float kHighestGround = 50.0f;
    /// The least y of a triangle's unnormalised normal for it to be ground.
    static constexpr float kLeastUpward = 0.1f;

    /// Whether a face's texture marks the face as no ground (flag byte 0 of its texture asset).
    using NoGroundTexture = std::function<bool(const CTexture* texture)>;

    CTerrainMapper() = default;
    virtual ~CTerrainMapper();
    CTerrainMapper(const CTerrainMapper&) = delete;
    CTerrainMapper& operator=(const CTerrainMapper&) = delete;

    /// Builds the lookup from a frame tree: a grid over the X/Z extent of every mesh vertex (hidden
    /// meshes included) and the world origin, then every ground triangle of the visible meshes' face list
    /// 0 whose texture is not marked. True only when every triangle offered went in; a grid too wide is
    /// refused (logged) and leaves the lookup empty.
    bool Build(const CEntity* root, const NoGroundTexture& isNoGround = {});
    /// Clear, then an empty grid of countX x countZ cells of the given sizes whose cell (0, 0) starts at
    /// (originX, originZ). False, with nothing stored, when the sizes are not finite and positive, a count
    /// is 0 or above kMaxCellsPerSide, or the grid cannot be allocated.
    bool Init(float cellSizeX, float cellSizeZ, std::uint32_t countX, std::uint32_t countZ, float originX,
              float originZ);
    /// Frees every record and the grid; all sizes, counts and the origin become 0. Hints made before no
    /// longer match.
    void Clear();
    /// Offers triangles: rejected ones are dropped silently, the others go into every cell they cover.
    /// False when one could not be stored whole (a cell outside the grid, no room).
    bool AddTriangles(const TriangleCorners* triangles, std::size_t count);

    /// The column of x: trunc((x - origin X) / cell size X), or kNoCell when that is not a column.
    std::uint32_t XToCell(float x) const;
    /// The row of z, as XToCell.
    std::uint32_t ZToCell(float z) const;
    /// The list of cell (ix, iz); null when the cell is empty or out of range.
    const TerrainTriangle* GetCell(std::uint32_t ix, std::uint32_t iz) const;

    std::uint32_t GetCountX() const { return m_countX; }
    std::uint32_t GetCountZ() const { return m_countZ; }
    float GetOriginX() const { return m_originX; }
    float GetOriginZ() const { return m_originZ; }
    float GetCellSizeX() const { return m_cellSizeX; }
    float GetCellSizeZ() const { return m_cellSizeZ; }
    /// The records kept (one per covered cell per triangle).
    std::size_t GetRecordCount() const { return m_records.size(); }
    /// Names this build of the lookup in the hints it hands out; changes at every Init and Clear.
    std::uint64_t GetGeneration() const { return m_generation; }

    /// Whether (x, z) lies in the triangle's X/Z projection, by the crossing-number rule with half-open
    /// edges, so that a point on an edge shared by two triangles lies in exactly one.
    static bool IsInsideTriangle(float x, float z, const TerrainTriangle& t);
    /// Whether a triangle can never carry a car: a corner that is not finite or lies above
    /// kHighestGround, a degenerate triangle, or one whose (c1 - c0) x (c2 - c0) has y below
    /// kLeastUpward (down-facing, steep or tiny).
    static bool IsRejectedTriangle(const TriangleCorners& corners);

protected:
    /// Whether (x, z) lies off the grid: below the origin or at or beyond the far edge.
    bool IsOutsideGrid(float x, float z) const;

private:
    /// Widens the X/Z extent by every finite vertex of every mesh of the tree.
    static void GetBounds(const CEntity* root, float& minX, float& maxX, float& minZ, float& maxZ);
    /// Offers the ground faces of every visible mesh of the tree; true when all went in.
    bool AddFrameTree(const CEntity* root, const NoGroundTexture& isNoGround);
    /// Offers the faces of one mesh.
    bool AddMeshFaces(const CMesh& mesh, const NoGroundTexture& isNoGround);
    /// Stores one accepted triangle in every cell it covers.
    bool AddTriangle(const TriangleCorners& corners);
    /// The cells from `low` to `high` on one axis, clipped to the grid; false when the clip cut
    /// something off (empty: first > last).
    static bool CellRange(float low, float high, float origin, float size, std::uint32_t count,
                          std::uint32_t& first, std::uint32_t& last);

    std::vector<TerrainTriangle*> m_cells; ///< list heads, cell (ix, iz) at ix + iz * count X
    std::deque<TerrainTriangle> m_records; ///< owns every record; addresses stay put
    float m_cellSizeX = 0.0f;
    float m_cellSizeZ = 0.0f;
    float m_originZ = 0.0f;
    float m_originX = 0.0f;
    std::uint32_t m_countX = 0;
    std::uint32_t m_countZ = 0;
    std::uint64_t m_generation = 0;
    bool m_recordLimitLogged = false;
};

} // namespace zentrix
