#pragma once

#include <cstdint>

namespace plat::mixer {

/// Sound made elsewhere that plays through a mixer instance (the music): the instance adds it to the
/// sum of its channels before clipping, on whichever thread renders, with the instance's lock held.
class Source {
public:
    virtual ~Source() = default;
    /// Adds `frames` stereo frames (left and right interleaved) into `sums`; it must not call the mixer.
    virtual void MixInto(std::int32_t* sums, int frames) = 0;
};

} // namespace plat::mixer
