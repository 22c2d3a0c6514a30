#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the main screen (id 4): its background, the pointer with its picture, and the
/// camera over the front-end scene.
/// One of the four screens that set up the shared world (grid, root frame, spawning), which is built
/// once and freed by whichever of them is destroyed first.
class CWorldMainScreenMan : public CWorldMan {
public:
    /// Deactivates (when current) and destroys itself.
    ~CWorldMainScreenMan() override;

    /// The shared world is set up; 1 when it cannot be.
    int Create() override;
    /// Frees the shared world when created; 0.
    int Destroy() override;
    void Activate() override;
    /// Acts only while this world is current.
    void Deactivate() override;
};

} // namespace zentrix
