#pragma once

namespace zentrix {

struct CRaceSetup;

/// The lap-of-honour panel (slide-out 14) as the world switch asks it: the order in which the racers of
/// the last race finished. A panel that does not answer it leaves the set-up as it is.
class ILapOfHonourLink {
public:
    virtual ~ILapOfHonourLink() = default;
    /// Rewrites the racer entries of the set-up in finishing order.
    virtual void FillRaceSetup(CRaceSetup& setup) = 0;
};

} // namespace zentrix
