#pragma once

namespace zentrix {

struct CRaceSetup;

/// The lap-of-honour panel (slide-out 14) as the world switch asks it: it rewrites the copy of the last
/// race's set-up that the lap of honour runs. A panel that does not answer it leaves the set-up as it is.
class ILapOfHonourLink {
public:
    virtual ~ILapOfHonourLink() = default;
    /// Rewrites the racer entries of the set-up for the lap of honour.
    virtual void FillRaceSetup(CRaceSetup& setup) = 0;
};

} // namespace zentrix
