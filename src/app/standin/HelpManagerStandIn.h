#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the help manager until spoken help is built: it plays no help.
class CHelpManagerStandIn : public CManagerInterface {
public:
    ~CHelpManagerStandIn() override = default;
    int StartManager() override {
        m_bStarted = true;
        return 0;
    }
    int StopManager() override {
        m_bStarted = false;
        return 0;
    }
    /// The per-frame call (made twice a frame).
    virtual void Update(int /*ms*/) {}
    /// Takes up the help setting kept over a restart.
    virtual void RestoreAfterRestart() {}
};
