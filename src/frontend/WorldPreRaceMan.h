#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the pre-race screen (id 6), which lies behind the race-end options: its background,
/// taken away again when it is left, and the pointer.
/// One of the four screens that set up the shared world (grid, root frame, spawning), which is built
/// once and freed by whichever of them is destroyed first.
class CWorldPreRaceMan : public CWorldMan {
public:
    /// Deactivates (when current) and destroys itself.
    ~CWorldPreRaceMan() override;

    /// The shared world is set up; 1 when it cannot be.
    int Create() override;
    /// Frees the shared world when created; 0.
    int Destroy() override;
    void Activate() override;
    /// Acts only while this world is current.
    void Deactivate() override;
};

} // namespace zentrix
