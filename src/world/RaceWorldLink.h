#pragma once

namespace zentrix {

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
};

} // namespace zentrix
