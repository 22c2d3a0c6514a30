#pragma once

#include "platform/midi/Song.h"
#include "platform/midi/Synth.h"

#include <cstddef>
#include <cstdint>

namespace plat::midi {

/// Plays a song on a synthesizer, looping for ever: before each output frame it sends the events due at
/// that frame, and it renders the frames in between in one piece. One pass runs over ticks [0, length);
/// the events at the length itself (the closing note-offs) go out before the wrap. The tempo follows
/// the song's tempo changes (120 beats per minute until the first) unless a tempo has been fixed.
/// At most kEventsPerFrame events go out before one frame (the rest follow in the next frames), and a
/// pass wraps at most once per frame, so a frame costs a bounded amount of work whatever the song is.
class Sequencer {
public:
    static constexpr int kEventsPerFrame = 16;

    /// A sequencer rendering at `rate` frames per second.
    explicit Sequencer(int rate) : m_rate(rate) {}

    /// Resets the synthesizer and starts `song` (which must outlive the play) from tick 0 with its own
    /// tempo map.
    void Play(const Song& song, Synth& synth);
    /// Ends the play and silences the synthesizer at once.
    void Stop(Synth& synth);
    /// Fixes the tempo, from the current position on and across loops until the next Play, at `bpm`
    /// beats per minute; the song's tempo changes are ignored meanwhile. A bpm of 0 or less is ignored.
    void SetTempo(double bpm);
    /// Renders `frames` stereo frames (interleaved) into `out`, sending the song's events as they fall
    /// due; without a song the synthesizer renders on its own.
    void Render(Synth& synth, float* out, int frames);

    bool IsPlaying() const { return m_song != nullptr; }
    const Song* GetSong() const { return m_song; }
    /// The position within the pass, in ticks.
    double GetPosition() const { return m_position; }

private:
    /// Sends what is due at the current position, wrapping the pass when it is over; false when the
    /// frame's budget of events ran out first.
    bool SendDue(Synth& synth);
    /// Ticks per output frame at the tempo in force.
    double TicksPerFrame() const;
    /// Output frames, 1 or more, until the next event or the end of the pass falls due.
    std::int64_t FramesToNext() const;

    const int m_rate;
    const Song* m_song = nullptr;
    std::size_t m_next = 0; ///< index of the next event to send
    double m_position = 0.0;
    std::uint32_t m_songTempo = kDefaultTempo;
    double m_fixedBpm = 0.0; ///< the tempo set by SetTempo, 0 while the song's own tempo runs
};

} // namespace plat::midi
