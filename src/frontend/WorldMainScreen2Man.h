#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the second main screen (id 5). It sets up the shared world (a no-op once another world has);
/// the screen's own scene is still to come.
class CWorldMainScreen2Man : public CWorldMan {
public:
    /// The shared world is set up; 1 when it cannot be.
    int Create() override {
        const int result = CWorldMan::Create();
        return InitSharedWorld() ? result : 1;
    }
    int Destroy() override {
        FreeSharedWorld();
        return CWorldMan::Destroy();
    }
};

} // namespace zentrix
