#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the music manager until the audio code is built: it plays nothing.
class CMusicManagerStandIn : public CManagerInterface {
public:
    ~CMusicManagerStandIn() override = default;
    int StartManager() override {
        m_bStarted = true;
        return 0;
    }
    int StopManager() override {
        m_bStarted = false;
        return 0;
    }
    /// The per-frame call.
    virtual void Update(int /*ms*/) {}
    /// Sets the music volume.
    virtual void SetVolume(int /*volume*/) {}
    /// Switches the music on or off (off stops the piece playing).
    virtual void SetEnabled(bool /*enabled*/) {}
};
