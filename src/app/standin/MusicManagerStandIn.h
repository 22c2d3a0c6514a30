#pragma once

#include "app/standin/StandInManager.h"

namespace zentrix {

/// Stands in for the music manager until the audio code is built: it plays nothing.
class CMusicManagerStandIn : public CStandInManager {
public:
    /// The per-frame call.
    virtual void Update(int /*ms*/) {}
    /// Sets the music volume.
    virtual void SetVolume(int /*volume*/) {}
    /// Switches the music on or off (off stops the piece playing).
    virtual void SetEnabled(bool /*enabled*/) {}
};

} // namespace zentrix
