#pragma once

#include <cstdint>

namespace zentrix {

class CTrackObject;

/// One track piece the route passes, in route order, with the nodes it added.
struct SRouteSection {
    int kind = -1;                 ///< route piece kind (-1: none)
    int rotation = -1;             ///< the piece's quarter turn (-1: none)
    std::uint16_t level = 0;       ///< tile level of the cell the route leaves the piece from
    int direction = -1;            ///< travel direction on leaving the piece (-1: none)
    CTrackObject* piece = nullptr; ///< not owned
    int firstNode = 0;
    int lastNode = 0;

    void Reset() { *this = SRouteSection(); }
};

} // namespace zentrix
