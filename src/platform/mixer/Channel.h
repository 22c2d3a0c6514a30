#pragma once

#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/Wave.h"

#include <cstdint>

namespace plat::mixer {

/// One voice of the mixer: the wave it plays, where it is in it, how often it still loops, and the
/// volume and frequency it plays at. The mixer's lock guards it.
class Channel {
public:
    /// Where a play stands as the main thread sees it: a sound that the mixing has finished stays
    /// `kEnded` (still playing to the game) until Mixer::Poll takes its end.
    enum class State { kIdle, kPlaying, kEnded };

    /// Starts `wave` from its first frame: loops -1 endless, 0 once, n > 0 n + 1 times.
    void Start(const Wave* wave, std::uint32_t waveId, int loops, bool notify);
    /// Forgets the play at once (no end is reported for it).
    void Stop();
    /// Marks an ended play idle after its end was taken.
    void TakeEnd();

    /// Adds `frames` stereo frames of this channel into `sums` (left and right interleaved), at `step`
    /// wave frames per output frame in 32.32 fixed point. The number of frames mixed when the play ended
    /// within them, else -1.
    int MixInto(std::int32_t* sums, int frames, std::uint64_t step);

    State GetState() const { return m_state; }
    bool IsPlaying() const { return m_state != State::kIdle; }
    bool IsPaused() const { return m_paused; }
    void SetPaused(bool paused) { m_paused = paused; }
    bool Notifies() const { return m_notify; }
    std::uint32_t GetWaveId() const { return m_waveId; }
    /// When the play ended, in output frames since the instance opened, so ends are taken in order.
    std::uint64_t GetEndSequence() const { return m_endSequence; }
    void SetEndSequence(std::uint64_t sequence) { m_endSequence = sequence; }

    /// Volume 0..kMaxVolume and frequency in Hz; both stay from one play to the next.
    int GetVolume() const { return m_volume; }
    void SetVolume(int volume) { m_volume = volume; }
    int GetFrequency() const { return m_frequency; }
    void SetFrequency(int frequency) { m_frequency = frequency; }

private:
    int m_volume = kMaxVolume;
    int m_frequency = 0;
    const Wave* m_wave = nullptr;
    std::uint32_t m_waveId = 0;
    std::uint64_t m_position = 0; ///< 32.32 fixed point, in wave frames
    int m_loopsLeft = 0;
    State m_state = State::kIdle;
    bool m_paused = false;
    bool m_notify = false;
    std::uint64_t m_endSequence = 0;
};

} // namespace plat::mixer
