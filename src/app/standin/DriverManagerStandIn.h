#pragma once

#include "app/standin/StandInManager.h"

namespace zentrix {

/// Stands in for the driver manager until the racing code is built: no drivers exist to update.
class CDriverManagerStandIn : public CStandInManager {
public:
    /// Updates every driver once per frame; there are none yet.
    virtual void Update(int /*ms*/) {}
};

} // namespace zentrix
