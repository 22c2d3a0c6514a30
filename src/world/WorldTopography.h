#pragma once

#include "render/GroundHint.h"
#include "world/TerrainMapper.h"
#include "world/WorldTopographyLink.h"

namespace zentrix {

/// The ground queries of a race world over its terrain lookup: how high the ground is under (x, z) and
/// which way it faces, from the highest triangle plane there. Fixed answers: 0.0 off the grid, -100.0
/// over the grid where no triangle lies. A hint (the last triangle found for one asker) answers a
/// repeated query nearby from that triangle alone.
class CWorldTopography : public CTerrainMapper, public IWorldTopographyLink {
public:
    /// The height over the grid where no triangle lies.
    static constexpr float kNoGround = -100.0f;
    /// The height off the grid.
    static constexpr float kOffGrid = 0.0f;

    /// The ground height under (x, z). A hint that holds a triangle containing the point answers alone
    /// (even when a higher triangle lies there too); otherwise the highest triangle of the point's cell,
    /// which the hint then holds (null when none). The normal, when asked for, is that triangle's, or
    /// (0, 1, 0) over no triangle. Off the grid: 0.0, with hint and normal left as they were.
    float GetHeight(float x, float z, CGroundHint* hint, CVector* normal) const;
    /// The same without a hint or a normal.
    float GetHeight(float x, float z) const override { return GetHeight(x, z, nullptr, nullptr); }
    /// The ground normal under (x, z): the hint's triangle when it contains the point, (0, 1, 0) off the
    /// grid (hint untouched), else the normal of FindHighestTriangle, which the hint then holds.
    CVector GetNormal(float x, float z, CGroundHint& hint) const;
    /// The highest triangle under (x, z) whose plane there lies above 0; null when none does.
    const TerrainTriangle* FindHighestTriangle(float x, float z) const;
    /// The triangle's plane height at (x, z); false when the point is not inside it.
    static bool GetTriangleHeight(float x, float z, const TerrainTriangle& t, float& height);

private:
    /// The highest triangle of the point's cell above `floor`, and its height.
    const TerrainTriangle* FindHighest(float x, float z, float floor, float& height) const;
};

} // namespace zentrix
