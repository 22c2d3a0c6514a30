#pragma once

#include "app/standin/StandInManager.h"

namespace zentrix {

/// Stands in for the route manager until the racing code is built: no route exists.
class CRouteNodeManStandIn : public CStandInManager {
public:
};

} // namespace zentrix
