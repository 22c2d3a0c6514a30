#pragma once

#include "foundation/math/Vector.h"
#include "race/RouteNode.h"
#include "race/RouteSection.h"

namespace zentrix {

/// What the computer driver reads of the route besides what every driver reads (IRaceRoute): whole node
/// and section records, the stretch mean, the lateral offset of any position and the climb test. The route
/// manager's view answers both; node and section indices passed in are wrapped by the caller.
class IComputerRoute {
public:
    virtual ~IComputerRoute() = default;

    /// A copy of node `node`; a reset node outside the route.
    virtual CRouteNode GetNodeRecord(int node) const = 0;
    virtual int GetSectionCount() const = 0;
    /// A copy of section `section`; a reset section outside the route.
    virtual SRouteSection GetSectionRecord(int section) const = 0;
    /// The mean length of the straights between corners, whole units.
    virtual int GetStretchMean() const = 0;
    /// The signed whole-unit offset of `position` from the route line through the nodes around it.
    virtual int GetLateralOffset(const CVector& position) const = 0;
    /// Whether a computer driver can climb from section `from` to section `to`.
    virtual bool CanClimbTo(int from, int to) const = 0;
};

} // namespace zentrix
