#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

/// The route as the drivers and the race results read it: the ring of route nodes, their sections and
/// the queries on them. The route manager answers it; the drivers and the results never change it.
/// Node indices passed in lie in 0 .. node count - 1 (callers wrap them).
class IRaceRoute {
public:
    virtual ~IRaceRoute() = default;

    /// The nodes in the ring; 0 without a route.
    virtual int GetNodeCount() const = 0;
    /// Whether the last build found no closed, drivable route.
    virtual bool IsRouteBroken() const = 0;
    /// The route length in whole units.
    virtual int GetRouteLength() const = 0;
    /// The world position of node `node`.
    virtual CVector GetNodePosition(int node) const = 0;
    /// The route piece kind of node `node` (-1 none).
    virtual int GetNodeKind(int node) const = 0;
    /// The unit vector across the route at node `node`, in the ground plane; the positive lanes lie along
    /// it (zero where the route gives no direction).
    virtual CVector GetNodeSide(int node) const = 0;
    /// How far either side of node `node` drivers may keep (0: to the centre).
    virtual int GetNodeLaneWidth(int node) const = 0;
    /// The corner marks of node `node`: `towardsPositive` on a corner that turns towards the positive
    /// lanes, `towardsNegative` on one that turns the other way.
    virtual void GetNodeTurnFlags(int node, bool& towardsPositive, bool& towardsNegative) const = 0;
    /// The route piece kind of section `section` (-1 none).
    virtual int GetSectionKind(int section) const = 0;
    /// The route type of a piece kind (5: special pieces; -1 for a kind outside 0..44).
    virtual int GetRouteType(int kind) const = 0;
    /// The node nearest to `position` (ties to the later node); with `hint` only nodes fewer than 5 route
    /// steps from it, the hint itself when none qualifies. False without a hint when there is no node.
    virtual bool FindNearestNode(const CVector& position, int& node, const int* hint,
                                 bool skipSpecial) const = 0;
    /// The signed whole-unit offset of `position` from the route line near `hintNode`.
    virtual int GetDriverLateralOffset(const CVector& position, int hintNode) const = 0;
    /// Route steps between two nodes round the ring; -1 when more than half the ring apart.
    virtual int GetRouteSteps(int a, int b) const = 0;
    /// The sum of the whole-unit distances between consecutive nodes 0 .. `node`.
    virtual int GetRouteDistanceToNode(int node) const = 0;
    /// The whole units from the node before `node` to `node`, as the route's node record keeps them.
    virtual int GetNodeSpacing(int node) const = 0;
    /// The section holding `node`; false when none does.
    virtual bool GetSectionOfNode(int node, int& section) const = 0;
    /// Whether a car can get from section `from` to section `to` over the height steps.
    virtual bool CanReachSection(int from, int to) const = 0;
};

} // namespace zentrix
