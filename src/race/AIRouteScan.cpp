#include "race/AIRouteScan.h"

#include "race/ComputerRoute.h"
#include "race/Driver.h"
#include "race/RaceRoute.h"
#include "race/RouteNodeMan.h"

#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

float FlatDistance(const CVector& a, const CVector& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

} // namespace

int CAIRouteScan::NodeCount() const {
    return m_route.GetNodeCount();
}

int CAIRouteScan::Step(int node, int steps) const {
    const int count = NodeCount();
    if (count <= 0)
        return 0;
    const int moved = (node + steps) % count;
    return moved < 0 ? moved + count : moved;
}

int CAIRouteScan::ForwardDistance(int from, int to) const {
    return CDriver::ForwardRouteDistance(m_route, from, to);
}

bool CAIRouteScan::FindNextCorner(int from, SFound& out) const {
    const int count = NodeCount();
    if (from < 0 || from >= count)
        return false;
    int node = from;
    int distance = -1;
    // One lap at most: a route without corners has no next corner.
    for (int steps = 0; steps < count; ++steps) {
        const CRouteNode record = m_records.GetNodeRecord(node);
        if (record.cornerMark != 0 || record.kind == kChicaneKind) {
            out = {node, distance, record.kind};
            return true;
        }
        node = Step(node, 1);
        distance += m_records.GetNodeRecord(node).distance;
    }
    return false;
}

int CAIRouteScan::CornerSize(int kind) {
    for (int k : kSmallCornerKinds)
        if (kind == k)
            return 1;
    for (int k : kBigCornerKinds)
        if (kind == k)
            return 2;
    return 0;
}

bool CAIRouteScan::SameWay(int rotationA, int rotationB) {
    int difference = std::abs(rotationA - rotationB);
    if (difference > 2)
        difference -= 4;
    return std::abs(difference) == 1;
}

int CAIRouteScan::CornerClass(int node, const CVector& from) const {
    if (node < 0 || node >= NodeCount())
        return kNoClass;
    if (m_records.GetNodeRecord(node).kind == kChicaneKind)
        return kChicaneClass;
    int index = -1;
    const int sections = m_records.GetSectionCount();
    if (sections <= 0 || !m_route.GetSectionOfNode(node, index) || index < 0 || index >= sections)
        return kNoClass;
    const SRouteSection corner = m_records.GetSectionRecord(index);
    const int size = CornerSize(corner.kind);
    if (size == 0)
        return kNoClass;
    const int before = (index + sections - 1) % sections;
    const int after = (index + 1) % sections;
    const SRouteSection previous = m_records.GetSectionRecord(before);
    const SRouteSection next = m_records.GetSectionRecord(after);
    const bool previousCorner = before != index && CornerSize(previous.kind) != 0;
    const bool nextCorner = after != index && CornerSize(next.kind) != 0;
    const SRouteSection* neighbour = nullptr;
    if (previousCorner && nextCorner) {
        const float toPrevious = FlatDistance(from, m_route.GetNodePosition(Step(previous.lastNode, 0)));
        const float toNext = FlatDistance(from, m_route.GetNodePosition(Step(next.firstNode, 0)));
        neighbour = toNext < toPrevious ? &next : &previous;
    } else if (previousCorner) {
        neighbour = &previous;
    } else if (nextCorner) {
        neighbour = &next;
    }
    if (!neighbour)
        return size == 1 ? 0 : 1;
    const bool same = SameWay(corner.rotation, neighbour->rotation);
    const int other = CornerSize(neighbour->kind);
    if (size == 1 && other == 1)
        return same ? 2 : 3;
    if (size == 2 && other == 2)
        return same ? 4 : 5;
    if (size == 2)
        return same ? 6 : 8;
    return same ? 7 : 9;
}

int CAIRouteScan::LookAhead(int node) const {
    const int count = NodeCount();
    if (node < 0 || node >= count)
        return -1;
    int at = Step(node, 1);
    // Past the corner the driver may still be on, then along the straight to the next one.
    while (at != node && m_records.GetNodeRecord(at).cornerMark != 0)
        at = Step(at, 1);
    while (at != node && m_records.GetNodeRecord(at).cornerMark == 0)
        at = Step(at, 1);
    if (at == node)
        return -1;
    const CRouteNode corner = m_records.GetNodeRecord(at);
    if (corner.turnB != 0)
        return 1;
    if (corner.turnA != 0)
        return 2;
    return 0;
}

bool CAIRouteScan::FindStuntAhead(int from, SFound& out) const {
    const int count = NodeCount();
    if (from < 0 || from >= count)
        return false;
    int node = from;
    int distance = 0;
    for (int steps = 0; steps < count; ++steps) {
        const int kind = m_records.GetNodeRecord(node).kind;
        const int type = m_route.GetRouteType(kind);
        bool stunt = type == CRouteNodeMan::kRouteTypeSpecial;
        if (type == CRouteNodeMan::kRouteTypeRamp) {
            int section = -1;
            if (m_route.GetSectionOfNode(node, section)) {
                const SRouteSection ramp = m_records.GetSectionRecord(section);
                // A ramp counts when it rises the way the route runs over it.
                stunt = !ramp.piece ||
                        (ramp.direction >= 0 && ramp.direction <= 3 && ramp.rotation == ramp.direction);
            }
        }
        if (stunt) {
            out = {node, distance, kind};
            return true;
        }
        node = Step(node, 1);
        distance += m_records.GetNodeRecord(node).distance;
    }
    return false;
}

} // namespace zentrix
