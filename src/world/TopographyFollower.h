#pragma once

#include "foundation/math/Vector.h"
#include "render/GroundHint.h"

namespace zentrix {

class ITopographyWorld;

/// The base of everything that asks for the ground under itself (contact points, contact nets,
/// ground-following objects): the race world's ground with this follower's own triangle hint, the
/// plane y = 0 outside the race worlds, and a height of 1000000.0 off the track grid, so that a point
/// there counts as below ground and is lifted far above the world.
class CTopographyFollower {
public:
    /// The height off the track grid.
    static constexpr float kOffWorld = 1000000.0f;

    CTopographyFollower() = default;
    virtual ~CTopographyFollower() = default;

    /// The ground height under (x, z); the normal, when asked for, is set only where a race world's
    /// terrain answers.
    float GetGroundHeight(float x, float z, CVector* normal);
    /// The ground normal under (x, z): (0, 1, 0) outside the race worlds and off the terrain.
    CVector GetGroundNormal(float x, float z);
    const CGroundHint& GetGroundHint() const { return m_groundHint; }

    /// The world every follower asks (the world registry installs itself; null: none, which answers as
    /// a world without terrain).
    static void SetWorld(ITopographyWorld* world);
    static ITopographyWorld* GetWorld();

protected:
    CGroundHint m_groundHint;
};

} // namespace zentrix
