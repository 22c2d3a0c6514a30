#pragma once

#include "app/standin/StandInManager.h"

namespace zentrix {

/// Stands in for the print manager until printing is built: no job is ever pending.
class CPrintManagerStandIn : public CStandInManager {
public:
    /// The per-frame call.
    virtual void Update(int /*ms*/) {}
    /// Whether a picture waits to be printed.
    virtual bool IsJobPending() const { return false; }
    /// Prints the waiting picture.
    virtual void ProcessPendingJob() {}
};

} // namespace zentrix
