#pragma once

#include "world/TopographyWorld.h"

namespace zentrix {

/// The world registry as ground followers ask it: the current world, the track grid's bounds in world
/// space (half a tile beyond the cells), the race world's terrain lookup and the surface values of the
/// current theme's surface asset. The registry installs it while the worlds exist.
class CTopographyWorldLink final : public ITopographyWorld {
public:
    /// The surface asset of theme 0; the others follow by theme.
    static constexpr int kFirstSurfaceAsset = 59080;

    int GetCurrentWorldId() const override;
    /// From (-116, 0, -116) to (32 x width - 116, 0, 32 x depth - 116); both corners (-116, 0, -116)
    /// without a grid, so that everything lies off it.
    void GetGridBounds(CVector& minimum, CVector& maximum) const override;
    const CWorldTopography* GetTopography() const override { return GetRaceTerrain(); }
    /// The float field of asset 59080 + theme; 0.0 where it cannot be read.
    float GetSurfaceParam(int field) const override;

    /// The race world's terrain lookup; null while the race world has built none.
    static const CWorldTopography* GetRaceTerrain();
};

} // namespace zentrix
