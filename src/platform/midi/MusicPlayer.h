#pragma once

#include "platform/midi/Synth.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace plat::mixer {
class Mixer;
}

namespace plat::midi {

/// A song loaded in one player. It names the player as well as the song, so another player refuses it.
struct SongHandle {
    std::uint32_t player = 0;
    std::uint32_t song = 0;

    explicit operator bool() const { return song != 0; }
    bool operator==(const SongHandle&) const = default;
};

/// The game's music: Standard MIDI Files played on a General MIDI synthesizer by our own sequencer,
/// looping, at the song's tempo or a fixed one, sounding through a mixer instance, which renders it
/// with the sound effects (on the audio device's thread, or in the tests' offline renders). The game
/// calls it from its main thread; one lock keeps those calls apart from the rendering.
class MusicPlayer {
public:
    /// Why Open failed.
    enum class OpenError { kNone, kNoMixer, kNoSynth, kNoBank };

    /// A player on the software synthesizer with the system's General MIDI bank, sounding through
    /// `mixer`; null, with the reason, without a mixer, a synthesizer or the bank.
    static std::unique_ptr<MusicPlayer> Open(mixer::Mixer* mixer, OpenError& error);
    /// A player on `synth` (tests: a recording synthesizer); null without a mixer or a synthesizer.
    static std::unique_ptr<MusicPlayer> Open(mixer::Mixer* mixer, std::unique_ptr<Synth> synth);
    /// Stops; the mixer keeps rendering silence for it (it may be gone already, so it is not called).
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    /// Replaces the instrument bank with a SoundFont 2 bank from memory; false (the bank kept) when it
    /// does not load.
    bool LoadBank(const std::uint8_t* bytes, std::size_t size);
    /// Reads a Standard MIDI File into a song of its own (the bytes are not kept); a null handle, with
    /// the reason logged, when the file is refused.
    SongHandle LoadSong(const std::uint8_t* bytes, std::size_t size);
    /// Forgets a song; the song playing is stopped first. Other handles are ignored.
    void ReleaseSong(SongHandle song);
    /// Stops what plays, resets the synthesizer and plays the song from its start, looping for ever;
    /// false for a handle this player does not hold.
    bool Play(SongHandle song);
    /// Fixes the tempo of the song playing at `bpm` beats per minute from its current position on, across
    /// loops, until the next Play; values of 0 or less are ignored.
    void SetTempo(int bpm);
    /// Stops at once: the next rendered frame is silent.
    void Stop();
    /// A linear factor on the synthesizer's output (0 or more).
    void SetGain(float gain);

    /// Whether a song plays, and which.
    bool IsPlaying();
    SongHandle GetSong();
    /// Where the song playing is within its pass, in ticks (0 when none plays).
    double GetPosition();

private:
    class Output;
    explicit MusicPlayer(std::shared_ptr<Output> output);

    std::shared_ptr<Output> m_output;
    const std::uint32_t m_id;
    std::uint32_t m_nextSong = 1;
};

} // namespace plat::midi
