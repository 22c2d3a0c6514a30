#pragma once

#include "world/WorldMan.h"

namespace zentrix {

/// The world of the video screen (id 13). The registry makes, creates and destroys it with the others, but
/// no game state that occurs shows it, so it is never current.
class CWorldVideoPlayMan : public CWorldMan {
public:
    /// Deactivates (when current) and destroys itself.
    ~CWorldVideoPlayMan() override;

    int Create() override;
    int Destroy() override;
    /// Acts only while this world is current.
    void Deactivate() override;
    /// Nothing.
    void Frame(unsigned ms) override;
};

} // namespace zentrix
