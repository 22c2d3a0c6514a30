#include "race/RouteNodeManRoute.h"

#include "race/RouteNodeMan.h"

namespace zentrix {

int CRouteNodeManRoute::GetNodeCount() const {
    return m_route.GetNodeCount();
}

bool CRouteNodeManRoute::IsRouteBroken() const {
    return m_route.IsRouteBroken();
}

int CRouteNodeManRoute::GetRouteLength() const {
    return m_route.GetRouteLength();
}

CVector CRouteNodeManRoute::GetNodePosition(int node) const {
    return m_route.GetNode(node).position;
}

int CRouteNodeManRoute::GetNodeKind(int node) const {
    return m_route.GetNode(node).kind;
}

CVector CRouteNodeManRoute::GetNodeSide(int node) const {
    return m_route.GetNode(node).side;
}

int CRouteNodeManRoute::GetNodeLaneWidth(int node) const {
    return m_route.GetNode(node).laneWidth;
}

void CRouteNodeManRoute::GetNodeTurnFlags(int node, bool& towardsPositive, bool& towardsNegative) const {
    const CRouteNode record = m_route.GetNode(node);
    towardsPositive = record.turnA != 0;
    towardsNegative = record.turnB != 0;
}

int CRouteNodeManRoute::GetSectionKind(int section) const {
    if (section < 0 || section >= m_route.GetSectionCount())
        return -1;
    const SRouteSection* record = m_route.GetSectionWrapped(section, nullptr);
    return record ? record->kind : -1;
}

int CRouteNodeManRoute::GetRouteType(int kind) const {
    return CRouteNodeMan::GetRouteType(kind);
}

bool CRouteNodeManRoute::FindNearestNode(const CVector& position, int& node, const int* hint,
                                         bool skipSpecial) const {
    return m_route.FindNearestNode(position, node, hint ? *hint : CRouteNodeMan::kNoNode, skipSpecial);
}

int CRouteNodeManRoute::GetDriverLateralOffset(const CVector& position, int hintNode) const {
    return m_route.GetDriverLateralOffset(position, hintNode);
}

int CRouteNodeManRoute::GetRouteSteps(int a, int b) const {
    const int steps = m_route.GetRouteSteps(a, b);
    return steps == CRouteNodeMan::kUnreachable ? -1 : steps;
}

int CRouteNodeManRoute::GetRouteDistanceToNode(int node) const {
    return m_route.GetRouteDistanceToNode(node);
}

int CRouteNodeManRoute::GetNodeSpacing(int node) const {
    return GetNodeRecord(node).distance;
}

bool CRouteNodeManRoute::GetSectionOfNode(int node, int& section) const {
    int index = -1;
    if (!m_route.GetSectionOfNode(node, &index))
        return false;
    section = index;
    return true;
}

bool CRouteNodeManRoute::CanReachSection(int from, int to) const {
    return m_route.CanReachSection(from, to);
}

// ---- what the computer driver reads besides ----

CRouteNode CRouteNodeManRoute::GetNodeRecord(int node) const {
    return node >= 0 && node < m_route.GetNodeCount() ? m_route.GetNode(node) : CRouteNode();
}

int CRouteNodeManRoute::GetSectionCount() const {
    return m_route.GetSectionCount();
}

SRouteSection CRouteNodeManRoute::GetSectionRecord(int section) const {
    if (section < 0 || section >= m_route.GetSectionCount())
        return SRouteSection();
    const SRouteSection* record = m_route.GetSectionWrapped(section, nullptr);
    return record ? *record : SRouteSection();
}

int CRouteNodeManRoute::GetStretchMean() const {
    return m_route.GetStretchMean();
}

int CRouteNodeManRoute::GetLateralOffset(const CVector& position) const {
    return m_route.GetLateralOffset(position);
}

bool CRouteNodeManRoute::CanClimbTo(int from, int to) const {
    return m_route.CanClimbTo(from, to);
}

} // namespace zentrix
