#pragma once

#include <cstddef>
#include <cstdint>

namespace plat::midi {

/// What the sequencer plays its songs on: a General MIDI synthesizer taking channel messages and
/// rendering stereo frames at its own rate.
class Synth {
public:
    virtual ~Synth() = default;
    /// A channel message: status 0x80..0xEF with its data bytes (a note-on of velocity 0 is a note-off).
    virtual void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    /// Every channel back to its power-on state and every voice gone.
    virtual void Reset() = 0;
    /// Every voice silenced at once: the next rendered frame is silent.
    virtual void SoundsOff() = 0;
    /// Renders the next `frames` stereo frames, left and right interleaved, into `out` (replacing what
    /// was there), nominally within -1..1.
    virtual void Render(float* out, int frames) = 0;
    /// Replaces the instrument bank with a SoundFont 2 bank read from memory (the bytes may be freed
    /// afterwards); false, keeping the bank it has, when the bytes are not one it can load.
    virtual bool LoadBank(const std::uint8_t* /*bytes*/, std::size_t /*size*/) { return false; }
};

} // namespace plat::midi
