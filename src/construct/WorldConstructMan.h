#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The track editor's world (id 2). The first world created, it sets up the shared world that every
/// world uses from then on; the editing itself is still to come.
class CWorldConstructMan : public CWorldMan {
public:
    /// The shared world is set up; 1 when it cannot be.
    int Create() override;
    int Destroy() override;
};

} // namespace zentrix
