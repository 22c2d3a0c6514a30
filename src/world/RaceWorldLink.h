#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CWorldObject;
class IWorldTopographyLink;
struct CRaceSetup;

/// What the world registry asks of the race world (ids 1 and 3), which sits above the world: the race
/// start and the ground it builds. The race world manager answers it.
class IRaceWorldLink {
public:
    virtual ~IRaceWorldLink() = default;
    /// Starts a race from the set-up; a lap of honour runs the last race again.
    virtual void StartRace(const CRaceSetup& setup, bool lapOfHonour) = 0;
    /// The ground of the running race; null before a race has built one.
    virtual IWorldTopographyLink* GetTopography() = 0;

    // What the cars ask.
    /// Whether a race was started since the world was last left (cars then own their tuning).
    virtual bool HasStarted() const { return false; }
    /// Whether the race is paused (cars stand still).
    virtual bool IsPaused() const { return false; }
    /// A taunt report about the car's driver (the race's taunt queue may drop it).
    virtual void ReportTauntEvent(CWorldObject* /*car*/, int /*event*/) {}

    // What the spawn pads ask.
    /// Whether the race runs (after the start, before the end).
    virtual bool IsRaceActive() const { return false; }
    /// A new jam truck, driven by a factory driver in `driverSlot`, that starts after `delayMs`; null
    /// when none could be made.
    virtual CWorldObject* SpawnJamTruck(int /*delayMs*/, int /*driverSlot*/) { return nullptr; }
    /// A jam truck that ended: no driver watches it any longer.
    virtual void RemoveJamTruck(CWorldObject* /*truck*/) {}

    // What the stunt pieces ask.
    /// A camera shot of `car` from `position` for `durationMs`. The race takes the request and does
    /// nothing with it: by design its own cameras stay on, and no stunt camera exists.
    virtual void RequestStuntCam(const CVector& /*position*/, CWorldObject* /*car*/,
                                 unsigned /*durationMs*/) {}
};

} // namespace zentrix
