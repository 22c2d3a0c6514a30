#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// One point of the route on the road, a plain record copied whole.
struct CRouteNode {
    /// The lane width a node starts with, before the piece narrows it.
    static constexpr std::uint16_t kDefaultLaneWidth = 8;

    int kind = -1; ///< route piece kind of the tile the node lies on (-1: a reset node)
    CVector side;  ///< unit vector across the route in the ground plane; positive lanes lie on it
    std::uint16_t laneWidth = kDefaultLaneWidth; ///< 0: drivers keep to the centre
    std::uint16_t distance = 0;                  ///< whole units from the previous node
    std::uint8_t turnA = 0;      ///< a corner whose rotation is a quarter turn after the travel direction
    std::uint8_t turnB = 0;      ///< a corner whose rotation is opposite the travel direction
    CVector position;            ///< world position
    std::uint8_t cornerMark = 0; ///< the node lies on a corner piece

    /// Back to the reset node.
    void Reset() { *this = CRouteNode(); }
};

} // namespace zentrix
