#include "race/RouteNodeMan.h"

namespace zentrix {

namespace {

// Most one-cell pieces run along z; the corners, forks and multi-cell pieces leave through the sides
// their footprint reaches. Kind 20 and the second list's last eight are open on every side and carry no
// road of their own: nothing leaves them for the route to follow.
constexpr std::uint8_t kStraight[] = {10};
constexpr std::uint8_t kTwoCellStraight[] = {8, 2};
constexpr std::uint8_t kCorner[] = {6};
constexpr std::uint8_t kWideCorner[] = {4, 0, 0, 2};
constexpr std::uint8_t kThreeCellStraight[] = {8, 0, 2};
constexpr std::uint8_t kReversedTwoCell[] = {2, 8};
constexpr std::uint8_t kOffsetTwoCell[] = {0, 2, 0, 8};

struct SKindRecord {
    const std::uint8_t* bytes;
    std::size_t count;
};

template <std::size_t N> constexpr SKindRecord Record(const std::uint8_t (&bytes)[N]) {
    return {bytes, N};
}

SKindRecord RecordOf(int kind) {
    switch (kind) {
    case 2:
    case 14:
    case 17:
    case 18:
        return Record(kTwoCellStraight);
    case 3:
    case 8:
        return Record(kCorner);
    case 4:
    case 9:
        return Record(kWideCorner);
    case 12:
    case 25:
        return Record(kThreeCellStraight);
    case 19:
        return Record(kReversedTwoCell);
    case 35:
        return Record(kOffsetTwoCell);
    case 20:
    case 37:
    case 38:
    case 39:
    case 40:
    case 41:
    case 42:
    case 43:
    case 44:
        return {nullptr, 0};
    default:
        return Record(kStraight);
    }
}

} // namespace

bool CRouteNodeMan::GetPieceConnections(int kind, SPieceConnections& out) {
    out.fill(0);
    if (kind < 0 || kind >= kPieceKindCount)
        return false;
    const SKindRecord record = RecordOf(kind);
    for (std::size_t i = 0; i < record.count; ++i)
        out[i] = record.bytes[i];
    return true;
}

} // namespace zentrix
