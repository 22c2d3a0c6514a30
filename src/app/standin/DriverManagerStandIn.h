#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the driver manager until the racing code is built: no drivers exist to update.
class CDriverManagerStandIn : public CManagerInterface {
public:
    ~CDriverManagerStandIn() override = default;
    int StartManager() override {
        m_bStarted = true;
        return 0;
    }
    int StopManager() override {
        m_bStarted = false;
        return 0;
    }
    /// Updates every driver once per frame; there are none yet.
    virtual void Update(int /*ms*/) {}
};
