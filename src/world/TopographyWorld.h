#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CWorldTopography;

/// What ground followers ask of the world registry and the race world: which world is current, where
/// the track grid ends, the race world's terrain lookup and the surface values of the world theme.
class ITopographyWorld {
public:
    /// The race world's two ids: the race and its lap of honour.
    static constexpr int kRaceWorld = 1;
    static constexpr int kLapOfHonourWorld = 3;
    /// The surface values by field: the wheels' sideways grip and its second factor, the cars' slide
    /// angle, the slope push.
    static constexpr int kSurfaceSideGrip = 371;
    static constexpr int kSurfaceSideGripScale = 372;
    static constexpr int kSurfaceSlideAngle = 373;
    static constexpr int kSurfaceSlopePush = 374;

    virtual ~ITopographyWorld() = default;
    /// The current world's id, -1 when there is none.
    virtual int GetCurrentWorldId() const = 0;
    /// The world-space corners of the current track grid.
    virtual void GetGridBounds(CVector& minimum, CVector& maximum) const = 0;
    /// The race world's terrain lookup; null while none is built.
    virtual const CWorldTopography* GetTopography() const = 0;
    /// Float field 371, 372, 373 or 374 of the current theme's surface asset.
    virtual float GetSurfaceParam(int field) const = 0;

    /// Whether the id is one of the race world's.
    static bool IsRaceWorld(int id) { return id == kRaceWorld || id == kLapOfHonourWorld; }
};

} // namespace zentrix
