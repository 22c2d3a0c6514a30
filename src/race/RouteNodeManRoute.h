#pragma once

#include "race/ComputerRoute.h"
#include "race/RaceRoute.h"

namespace zentrix {

class CRouteNodeMan;

/// The route manager's route as the drivers and the results read it, and as the computer driver reads it
/// besides.
class CRouteNodeManRoute : public IRaceRoute, public IComputerRoute {
public:
    explicit CRouteNodeManRoute(const CRouteNodeMan& route) : m_route(route) {}

    int GetNodeCount() const override;
    bool IsRouteBroken() const override;
    int GetRouteLength() const override;
    CVector GetNodePosition(int node) const override;
    int GetNodeKind(int node) const override;
    CVector GetNodeSide(int node) const override;
    int GetNodeLaneWidth(int node) const override;
    void GetNodeTurnFlags(int node, bool& towardsPositive, bool& towardsNegative) const override;
    int GetSectionKind(int section) const override;
    int GetRouteType(int kind) const override;
    bool FindNearestNode(const CVector& position, int& node, const int* hint,
                         bool skipSpecial) const override;
    int GetDriverLateralOffset(const CVector& position, int hintNode) const override;
    /// -1 where the route manager answers "unreachable".
    int GetRouteSteps(int a, int b) const override;
    int GetRouteDistanceToNode(int node) const override;
    int GetNodeSpacing(int node) const override;
    bool GetSectionOfNode(int node, int& section) const override;
    bool CanReachSection(int from, int to) const override;

    // What the computer driver reads besides.
    CRouteNode GetNodeRecord(int node) const override;
    int GetSectionCount() const override;
    SRouteSection GetSectionRecord(int section) const override;
    int GetStretchMean() const override;
    int GetLateralOffset(const CVector& position) const override;
    bool CanClimbTo(int from, int to) const override;

private:
    const CRouteNodeMan& m_route;
};

} // namespace zentrix
