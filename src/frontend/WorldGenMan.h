#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the start-up and exit pictures (id 14). It shows no background of its own (the picture
/// panel puts the exit pictures behind the view itself) and takes any background away when it is left.
class CWorldGenMan : public CWorldMan {
public:
    /// Deactivates (when current) and destroys itself.
    ~CWorldGenMan() override;

    /// Destroys itself first, then counts as created; 0.
    int Create() override;
    int Destroy() override;
    /// Takes the background away.
    void Activate() override;
    /// Acts only while this world is current: takes the background away and clears the world.
    void Deactivate() override;
    /// Nothing.
    void Frame(unsigned ms) override;
};

} // namespace zentrix
