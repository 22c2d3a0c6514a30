#pragma once

namespace zentrix {

/// The modes of a computer driver. A mode of higher priority pre-empts the current one; the numbers are
/// the stored ones (3, 5, 7, 10, 11, 12 and 14 do not occur).
enum EAIMode : int {
    kAIModeNothing = 0, ///< before the first decision
    kAIModeRacingLine = 1,
    kAIModeCarInFront = 2,
    kAIModeCarInFrontOvertaking = 4,
    kAIModeCarBehind = 6,
    kAIModeCarBehindBlockIt = 8,
    kAIModeOncomingStuntTrack = 9,
    kAIModeOncomingPickup = 13,
    kAIModeOncomingPickupGoForIt = 15,
    kAIModeCrazy = 16,
};

/// The priority of a mode; -1 for a number outside 0..16, 0 for the numbers that do not occur.
constexpr int AIModePriority(int mode) {
    switch (mode) {
    case kAIModeNothing:
    case kAIModeRacingLine:
        return 1;
    case kAIModeCarInFront:
    case kAIModeCarInFrontOvertaking:
        return 6;
    case kAIModeCarBehind:
    case kAIModeCarBehindBlockIt:
        return 4;
    case kAIModeOncomingStuntTrack:
    case kAIModeCrazy:
        return 5;
    case kAIModeOncomingPickup:
    case kAIModeOncomingPickupGoForIt:
        return 2;
    default:
        return mode >= 0 && mode <= 16 ? 0 : -1;
    }
}

} // namespace zentrix
