#pragma once

#include "audio/RaceMusicLink.h"

namespace zentrix {

/// The music's view of the race: the last lap as the race world's results have it (no race, no last
/// lap).
class CWorldRaceMusicLink final : public IRaceMusicLink {
public:
    bool IsLastLap() const override;
};

} // namespace zentrix
