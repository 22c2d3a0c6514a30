#pragma once

#include "app/ManagerInterface.h"

/// Stands in for the print manager until printing is built: no job is ever pending.
class CPrintManagerStandIn : public CManagerInterface {
public:
    ~CPrintManagerStandIn() override = default;
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
    /// Whether a picture waits to be printed.
    virtual bool IsJobPending() const { return false; }
    /// Prints the waiting picture.
    virtual void ProcessPendingJob() {}
};
