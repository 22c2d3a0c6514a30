#pragma once

#include "race/Driver.h"

namespace zentrix {

/// Stands in for the computer driver until it is built: the base driver of the given kind, ready, handing
/// its car the released controls.
class CDriverStandIn : public CDriver {
public:
    CDriverStandIn(int kind, int driverIndex, int slot, IDriverServices* services)
        : CDriver(driverIndex, slot, services) {
        SetKind(kind);
        SetReady(true);
    }
    void GetControls(CDriverControls& out) const override { out = CDriverControls{}; }
};

} // namespace zentrix
