#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the world map (id 7). The registry makes, creates and destroys it with the others, but no
/// game state shows its screen, so it is never current.
class CWorldMapMan : public CWorldMan {
public:
    /// Deactivates (when current) and destroys itself.
    ~CWorldMapMan() override;

    /// Destroys itself first, then counts as created; 0.
    int Create() override;
    int Destroy() override;
    /// Acts only while this world is current.
    void Deactivate() override;
    /// Nothing.
    void Frame(unsigned ms) override;
};

} // namespace zentrix
