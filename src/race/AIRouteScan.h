#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class IComputerRoute;
class IRaceRoute;

/// The computer driver's walks along the route: the distance between two nodes, the next corner and its
/// class, the side of the corner after the next straight, and the next stunt piece. Every walk goes round
/// the ring at most once, so a route without what is looked for ends the walk.
class CAIRouteScan {
public:
    /// Corner classes beyond the cornering data's ten: none.
    static constexpr int kNoClass = -1;
    /// Piece kinds the classes are made of.
    static constexpr int kSmallCornerKinds[2] = {3, 8};
    static constexpr int kBigCornerKinds[2] = {4, 9};
    /// The piece kind that counts as a corner without the corner mark (its class is always 2).
    static constexpr int kChicaneKind = 19;
    static constexpr int kChicaneClass = 2;

    struct SFound {
        int node = -1;    ///< the node found
        int distance = 0; ///< whole units along the route to it
        int kind = -1;    ///< its piece kind
    };

    CAIRouteScan(const IRaceRoute& route, const IComputerRoute& records)
        : m_route(route), m_records(records) {}

    int NodeCount() const;
    /// `node` + `steps` round the ring (0 for a route without nodes).
    int Step(int node, int steps) const;
    /// The distance along the route from node `from` forwards to node `to`, as the drivers measure it
    /// (CDriver::ForwardRouteDistance); -1 for a node outside the route.
    int ForwardDistance(int from, int to) const;
    /// The first node from `from` on (itself included) with the corner mark or of kind 19; the distance
    /// counts from -1. False when a whole lap finds none.
    bool FindNextCorner(int from, SFound& out) const;
    /// The class (0..9) of the corner at node `node`: kind 19 gives 2; a single small or big corner 0 or
    /// 1; with a corner section before or after it (both: the one whose node lies nearer to `from`) the
    /// pair's class by sizes and ways. kNoClass for anything else.
    int CornerClass(int node, const CVector& from) const;
    /// Whether two corners turn the same way: their rotations differ by one quarter turn either way.
    static bool SameWay(int rotationA, int rotationB);
    /// The corner after the straight that follows `node`: -1 none, 1 turning towards the negative
    /// lanes' flag (B), 2 the positive lanes' flag (A), 0 neither.
    int LookAhead(int node) const;
    /// The first node from `from` on (itself included) of a special piece, or of a ramp that rises in the
    /// direction of travel. False when a whole lap finds none.
    bool FindStuntAhead(int from, SFound& out) const;

private:
    /// 1 small corner, 2 big corner, 0 other.
    static int CornerSize(int kind);

    const IRaceRoute& m_route;
    const IComputerRoute& m_records;
};

} // namespace zentrix
