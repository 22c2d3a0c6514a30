#pragma once

#include "foundation/base/ManagerInterface.h"
#include "platform/mixer/MixerTypes.h"

#include <array>
#include <memory>
#include <vector>

namespace plat::mixer {
class Mixer;
}

namespace zentrix {

class CSound;
class ISoundControllerLink;

/// Drives the mixer for the game's sound effects: one instance of 21 channels at 22050 Hz, channel 0 for
/// interface sounds, 1 for spoken help, 2 for the endless random playlist and 3 to 20 for game sounds
/// found free by the mixer; with per-channel volume, frequency, stop and pause. Only the game sound
/// controller makes, starts, updates, stops and deletes it. Volumes are mixer volumes 0..32767, levels
/// 0.0..1.0.
class CSoundManager : public CManagerInterface {
public:
    static constexpr int kChannelCount = 21;
    static constexpr int kSampleRate = 22050;
    static constexpr int kFrontEndChannel = 0;
    static constexpr int kHelpChannel = 1;
    static constexpr int kPlaylistChannel = 2;
    static constexpr int kFirstEffectChannel = 3;
    /// Volume of every playlist sample: 45 percent.
    static constexpr int kPlaylistVolume = 14745;

    /// A manager that is not started: volume 100 percent, master volume 32767, not paused, no playlist.
    /// `output` is where the mixer it opens plays (the device, or offline for tests).
    explicit CSoundManager(ISoundControllerLink& controller,
                           plat::mixer::Output output = plat::mixer::Output::kDevice);
    ~CSoundManager() override;
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    /// Opens the mixer and sets every channel to the master volume; 1 without an error manager or
    /// without an audio device (the game then runs silent).
    int StartManager() override;
    /// Closes the mixer; 0.
    int StopManager() override;

    /// Plays an interface sound once on channel 0 at full volume: 0, or -1 without the wave or a play.
    int PlayFrontEndSound(int soundId);
    /// Plays a spoken help item on channel 1 (looping when asked): 1, or -1.
    int PlayHelpSound(int soundId, bool loop);
    /// Makes the list the playlist and draws a sample four times (the last draw is the one heard).
    void StartPlaylist(std::vector<int> soundIds);
    /// Empties the playlist and stops channel 2.
    void StopPlaylist();
    /// Draws a sample of the playlist and plays it once on channel 2, with a notice at its end.
    void PlayNextPlaylistSample();
    /// A playlist sample has ended: the controller plays the next one.
    void OnPlaylistSampleEnd();
    /// Plays a game sound at a level of the master volume: the channel, or -1.
    int PlaySound(int soundId, float level, bool loop);
    /// Plays a game sound on a free channel of 3..20 (none while paused): the channel, or -1.
    int PlayGameSound(int soundId, int loops, int volume);
    /// Plays a wave on a channel at a volume (-1: the master volume) scaled by the volume percent, and at
    /// a percentage of its own frequency (-1: its own); 0, or -1 when the mixer refuses.
    int PlayOnChannel(int channel, const CSound& wave, int loops, bool notify, int volume,
                      int frequencyPercent);

    /// Stops a channel at once.
    void StopChannel(int channel);
    /// Sets a channel's volume to a level of the master volume; 0, or 1 on failure.
    int SetChannelLevel(int channel, float level);
    /// Sets a channel's volume (channel -1: all); a channel already at that volume is left alone. Nothing
    /// is sent while paused. 0, or 1 on failure.
    int SetChannelVolume(int volume, int channel);
    /// Plays a channel at a factor of the frequency it was started with; nothing is sent while paused or
    /// when the factor is the one last applied. 0, or 1 on failure.
    int SetChannelFrequencyFactor(int channel, float factor);
    /// Whether a channel plays (a paused one does).
    bool IsChannelPlaying(int channel);
    /// Whether spoken help plays.
    bool IsHelpChannelBusy() { return IsChannelPlaying(kHelpChannel); }
    /// Pauses or resumes the game-sound channels 3..20 (0..2 play on); true when the state changed.
    bool SetPaused(bool paused);
    bool IsPaused() const { return m_paused; }
    /// Sets the effects volume, 0..100 percent (clamped); the master volume follows. Sounds already
    /// playing keep their volume.
    void SetVolumePercent(int percent);
    int GetVolumePercent() const { return m_volumePercent; }
    int GetMasterVolume() const { return m_masterVolume; }
    const std::vector<int>& GetPlaylist() const { return m_playlist; }

    /// The mixer instance for the music to play into; null when not started.
    plat::mixer::Mixer* GetDirectSound() const;
    /// The mixer instance; null when none is open.
    plat::mixer::Mixer* GetMixerHandle() const { return m_mixer.get(); }
    /// The per-frame call: takes the ends of sounds from the mixer and starts the next playlist sample
    /// for each ended one.
    void Update();
    /// Writes the text of the mixer's last error to the error log; whether there was one.
    bool ReportMixerError();

private:
    bool IsChannel(int channel) const { return channel >= 0 && channel < kChannelCount; }
    /// trunc(master volume x level), within 0..32767.
    int LevelToVolume(float level) const;

    ISoundControllerLink& m_controller;
    const plat::mixer::Output m_output;
    std::unique_ptr<plat::mixer::Mixer> m_mixer;
    std::array<unsigned, kChannelCount> m_baseFrequency{};
    int m_volumePercent = 100;
    int m_masterVolume = 32767;
    bool m_paused = false;
    std::vector<int> m_playlist;
    std::array<float, kChannelCount> m_frequencyFactor{};
    std::array<int, kChannelCount> m_channelVolume{};
};

} // namespace zentrix
