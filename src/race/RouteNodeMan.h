#pragma once

#include <array>
#include <cstdint>

namespace zentrix {

/// The route through the track's pieces. The editor's placement check shares its piece connection table:
/// for each piece kind, the sides through which the road leaves each cell of the piece's footprint.
class CRouteNodeMan {
public:
    /// Piece kinds: main-list index 0..29, second-list index + 30 (30..44).
    static constexpr int kPieceKindCount = 45;
    /// One side mask (1 -x, 2 +z, 4 +x, 8 -z) per footprint cell, in footprint order, before rotation.
    using SPieceConnections = std::array<std::uint8_t, 9>;

    /// The record of a piece kind; false (and an all-zero record) for a kind outside 0..44.
    static bool GetPieceConnections(int kind, SPieceConnections& out);
};

} // namespace zentrix
