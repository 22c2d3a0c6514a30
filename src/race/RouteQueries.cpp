// The read-only queries on a built route: nearest nodes, route steps and distances, the nodes around a
// position, the lateral offset from the route line and the level tests between sections.

#include "race/RouteNodeMan.h"

#include "foundation/math/Geometry.h"
#include "world/WorldGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

/// Horizontal distance in whole units; positions from callers may be anything, so the conversion is
/// clamped (NaN reads as far away).
int Flat(const CVector& a, const CVector& b) {
    const float d = std::hypot(a.x - b.x, a.z - b.z);
    constexpr float kFar = 1.0e9f;
    return d < kFar ? static_cast<int>(d) : static_cast<int>(kFar);
}

bool SameCell(const CVector& a, const CVector& b) {
    const CVector ca = CWorldGrid::WorldToGrid(a);
    const CVector cb = CWorldGrid::WorldToGrid(b);
    return ca.x >= 0.0f && ca.z >= 0.0f && ca.x == cb.x && ca.z == cb.z;
}

/// The y component of u x v: which side of v the vector u lies on, seen from above.
float CrossY(float ux, float uz, float vx, float vz) {
    return uz * vx - ux * vz;
}

int ClampedWhole(float value) {
    constexpr float kLimit = 1.0e6f;
    if (!(value == value))
        return 0;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

} // namespace

int CRouteNodeMan::GetRouteSteps(int a, int b) const {
    if (!IsNode(a) || !IsNode(b))
        return kUnreachable;
    const int apart = std::abs(a - b);
    const int steps = std::min(apart, std::min(a, b) + m_nodeCount - std::max(a, b));
    return steps > m_nodeCount / 2 ? kUnreachable : steps;
}

bool CRouteNodeMan::FindNearestNode(const CVector& position, int& node, int hint, bool skipSpecial) const {
    if (m_nodeCount == 0)
        return false;
    // A hint from another route (or none) leaves the search open.
    const bool hinted = IsNode(hint);
    int best = kNoNode;
    int bestDistance = 0;
    for (int i = 0; i < m_nodeCount; ++i) {
        if (skipSpecial && GetRouteType(Node(i).kind) == kRouteTypeSpecial)
            continue;
        if (hinted && GetRouteSteps(hint, i) >= 5)
            continue;
        const int d = Flat(position, Node(i).position);
        if (best == kNoNode || d <= bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    if (best != kNoNode) {
        node = best;
        return true;
    }
    if (hinted) {
        node = hint;
        return true;
    }
    return false;
}

bool CRouteNodeMan::FindNearestCornerNode(const CVector& position, int& node, int hint) const {
    const bool hinted = IsNode(hint);
    int best = kNoNode;
    int bestKey = 0;
    for (int i = 0; i < m_nodeCount; ++i) {
        if (GetRouteType(Node(i).kind) != kRouteTypeCorner)
            continue;
        if (hinted) {
            const int steps = GetRouteSteps(hint, i);
            if (steps != kUnreachable && (best == kNoNode || steps < bestKey)) {
                best = i;
                bestKey = steps;
            }
        } else {
            const int d = Flat(position, Node(i).position);
            if (best == kNoNode || d <= bestKey) {
                best = i;
                bestKey = d;
            }
        }
    }
    if (best == kNoNode)
        return false;
    node = best;
    return true;
}

int CRouteNodeMan::FindNearestNodeOnTile(const CVector& position, int reference) const {
    int best = kNoNode;
    int bestSteps = kUnreachable;
    for (int i = 0; i < m_nodeCount; ++i) {
        if (!SameCell(position, Node(i).position))
            continue;
        const int steps = GetRouteSteps(reference, i);
        if (steps < bestSteps) {
            best = i;
            bestSteps = steps;
        }
    }
    return best;
}

bool CRouteNodeMan::IsOnNodeTile(const CVector& position) const {
    for (int i = 0; i < m_nodeCount; ++i)
        if (SameCell(position, Node(i).position))
            return true;
    return false;
}

int CRouteNodeMan::GetRouteDistanceToNode(int i) const {
    if (m_nodeCount < 2 || i <= 0)
        return 0;
    i = std::min(i, m_nodeCount - 1);
    int distance = 0;
    for (int k = 1; k <= i; ++k)
        distance += Flat(Node(k).position, Node(k - 1).position);
    return distance;
}

void CRouteNodeMan::PairWithNearerNeighbour(const CVector& position, int node, int& from, int& to) const {
    const int next = node + 1 >= m_nodeCount ? 0 : node + 1;
    const int previous = node == 0 ? m_nodeCount - 1 : node - 1;
    if (Flat(position, Node(previous).position) < Flat(position, Node(next).position)) {
        from = previous;
        to = node;
    } else {
        from = node;
        to = next;
    }
}

bool CRouteNodeMan::GetRouteSegment(const CVector& position, int& from, int& to, int hint) const {
    if (m_nodeCount < 2)
        return false;
    const bool hinted = IsNode(hint);
    // Without a hint the two nearest nodes; with one the two fewest route steps from it, the nearer of
    // equals first.
    const auto better = [&](int i, int than) {
        if (hinted) {
            const int si = GetRouteSteps(hint, i);
            const int st = GetRouteSteps(hint, than);
            if (si != st)
                return si < st;
        }
        return Flat(position, Node(i).position) <= Flat(position, Node(than).position);
    };
    int first = kNoNode;
    int second = kNoNode;
    for (int i = 0; i < m_nodeCount; ++i) {
        if (GetRouteType(Node(i).kind) == kRouteTypeSpecial)
            continue;
        if (hinted && GetRouteSteps(hint, i) == kUnreachable)
            continue;
        if (first == kNoNode || better(i, first)) {
            second = first;
            first = i;
        } else if (second == kNoNode || better(i, second)) {
            second = i;
        }
    }
    if (second == kNoNode)
        return false;
    if (GetRouteSteps(first, second) <= 1) {
        if ((first + 1) % m_nodeCount == second) {
            from = first;
            to = second;
        } else {
            from = second;
            to = first;
        }
        return true;
    }
    PairWithNearerNeighbour(position, first, from, to);
    return true;
}

bool CRouteNodeMan::GetNeighbourNodes(const CVector& position, int& a, int& b, int hint) const {
    int nearest = kNoNode;
    if (m_nodeCount < 2 || !FindNearestNode(position, nearest, hint, false) || !IsNode(nearest))
        return false;
    PairWithNearerNeighbour(position, nearest, a, b);
    return true;
}

int CRouteNodeMan::LateralOffset(const CVector& position, int a, int b) const {
    const CVector& pa = Node(a).position;
    const CVector& pb = Node(b).position;
    const CVector& p = position;
    // The crossing line runs through P square to the route line A-B, so the offset is P's distance from
    // that line. (Square to A-P instead, a car beside node A would measure many times its real distance
    // and be put back as off the road.)
    const CVector q = p - OrientedNormal(p, pa, pb);
    const float side = CrossY(p.x - pa.x, p.z - pa.z, pb.x - pa.x, pb.z - pa.z);
    const float sign = side <= 0.0f ? -1.0f : 1.0f;
    const auto same = [](const CVector& u, const CVector& v) { return u.x == v.x && u.z == v.z; };

    float crossX = 0.0f;
    float crossZ = 0.0f;
    const float abx = pb.x - pa.x;
    const float abz = pb.z - pa.z;
    const float pqx = q.x - p.x;
    const float pqz = q.z - p.z;
    const float denominator = CrossY(abx, abz, pqx, pqz);
    if (same(pa, p) || same(pa, q)) {
        crossX = pa.x;
        crossZ = pa.z;
    } else if (same(pb, p) || same(pb, q)) {
        crossX = pb.x;
        crossZ = pb.z;
    } else if (same(p, q) || denominator == 0.0f) {
        // The line through P has no direction, or runs along the route: no crossing to measure to, so
        // the distance to the route line itself.
        const float length = std::hypot(abx, abz);
        if (length == 0.0f)
            return ClampedWhole(sign * std::hypot(p.x - pa.x, p.z - pa.z));
        return ClampedWhole(side / length);
    } else {
        const float t = CrossY(p.x - pa.x, p.z - pa.z, pqx, pqz) / denominator;
        crossX = pa.x + abx * t;
        crossZ = pa.z + abz * t;
    }
    return ClampedWhole(sign * std::hypot(p.x - crossX, p.z - crossZ));
}

int CRouteNodeMan::GetLateralOffset(const CVector& position) const {
    int a = kNoNode;
    int b = kNoNode;
    if (!GetNeighbourNodes(position, a, b, kNoNode))
        return 0;
    return LateralOffset(position, a, b);
}

int CRouteNodeMan::GetDriverLateralOffset(const CVector& position, int currentNode) const {
    int nearest = kNoNode;
    if (m_nodeCount < 2 || !FindNearestNode(position, nearest, currentNode, false) || !IsNode(nearest))
        return 0;
    int a = kNoNode;
    int b = kNoNode;
    PairWithNearerNeighbour(position, nearest, a, b);
    return LateralOffset(position, a, b);
}

bool CRouteNodeMan::CanReachSection(int from, int to) const {
    if (from < 0 || to < 0 || from >= m_sectionCount || to >= m_sectionCount)
        return false;
    const SRouteSection& f = m_sections[static_cast<std::size_t>(from)];
    const SRouteSection& t = m_sections[static_cast<std::size_t>(to)];
    const int toType = GetRouteType(t.kind);
    if (toType < 0 || toType > 5)
        return false;
    const int lf = f.level;
    const int lt = t.level;
    if (lf >= lt && toType != kRouteTypeRamp)
        return true;
    if (IsFallingRamp(t))
        return (IsRisingRamp(f) && lt <= lf) || lf > lt || (f.kind == 13 && lt <= lf + 1);
    if (IsRisingRamp(t))
        return lf >= lt || ((GetRouteType(f.kind) == kRouteTypeRamp || f.kind == 13) && lt <= lf + 1);
    return lf >= lt || ((f.kind == 13 || IsRisingRamp(f)) && lt <= lf + 1);
}

bool CRouteNodeMan::CanClimbTo(int from, int to) const {
    if (from < 0 || to < 0 || from >= m_sectionCount || to >= m_sectionCount)
        return false;
    const SRouteSection& f = m_sections[static_cast<std::size_t>(from)];
    const SRouteSection& t = m_sections[static_cast<std::size_t>(to)];
    const int lf = f.level;
    const int lt = t.level;
    if (lf >= lt && GetRouteType(t.kind) != kRouteTypeRamp)
        return true;
    if (IsFallingRamp(t))
        return lt <= lf - 1;
    if (IsRisingRamp(t))
        return lt <= lf;
    return false;
}

} // namespace zentrix
