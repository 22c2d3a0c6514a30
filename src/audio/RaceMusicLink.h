#pragma once

namespace zentrix {

/// What the music asks of the race: whether the current race has reached its last lap. The race fills
/// it; without one the music reads no last lap.
class IRaceMusicLink {
public:
    virtual ~IRaceMusicLink() = default;
    virtual bool IsLastLap() const = 0;
};

} // namespace zentrix
