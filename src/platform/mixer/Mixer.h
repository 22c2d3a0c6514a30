#pragma once

#include "platform/mixer/AudioDevice.h"
#include "platform/mixer/Channel.h"
#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/Source.h"
#include "platform/mixer/Wave.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace plat::mixer {

/// One mixer instance: a fixed set of channels summed into 16-bit stereo at the output rate and clipped.
/// The game calls it from its main thread; with a device, SDL's audio thread renders from it, both under
/// one lock. Ends of sounds are only seen where the game polls for them: a sound plays, to every query,
/// from Play until Stop, FreeWave or the Poll that takes its end. The audio thread never runs game code.
class Mixer {
public:
    /// An instance of `channelCount` channels (1..64) mixing at `rate` Hz (1..192000); with kDevice it
    /// plays on the system's audio device. Null when the device cannot be opened or the numbers are out
    /// of range.
    static std::unique_ptr<Mixer> Open(int rate, int channelCount, Output output);
    /// Closes the instance.
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    /// Stops every channel, frees every wave and ends the instance: every later call fails with
    /// kErrorClosed and rendering gives silence.
    void Close();

    /// Copies the samples (8-bit unsigned becomes signed 16-bit); a partial last frame is dropped. A null
    /// handle when the format is not playable, no whole frame is given, or the instance is closed.
    WaveHandle OpenWave(const WaveFormat& format, const std::uint8_t* bytes, std::size_t length);
    /// Stops, without notice, every channel playing the wave, then frees it; other handles are ignored.
    void FreeWave(WaveHandle wave);

    /// Sets a channel's volume (or every channel's, kAllChannels), clamped to 0..kMaxVolume; heard from
    /// the next rendered frame.
    int SetVolume(int channel, int volume);
    /// Sets a channel's frequency in Hz, clamped to 0..kMaxSpeedUp x the output rate; 0 holds the sound
    /// silent but playing.
    int SetFrequency(int channel, int hz);
    /// Plays a wave from its first frame, replacing (without notice) what the channel played: loops -1
    /// endless, 0 once, n > 0 n + 1 times; `notify` asks for a notice from Poll when it ends by itself.
    int Play(int channel, WaveHandle wave, int loops, bool notify);
    /// Stops a channel at once, without notice; a pending notice of it is dropped.
    int Stop(int channel);
    /// Silences a playing channel in its place; it still counts as playing. An idle channel is left alone.
    int Pause(int channel);
    /// Goes on from the frame where the channel was paused.
    int Resume(int channel);

    /// Whether the channel plays (paused, or ended but not yet polled, included).
    bool IsPlaying(int channel);
    /// The lowest channel of first..last that does not play, -1 when all do.
    int FindFreeChannel(int first, int last);
    /// Takes the ends mixed since the last poll, in the order they happened: those channels become
    /// idle, and the channel of each play started with `notify` is returned.
    std::vector<int> Poll();

    /// The volume and frequency a channel was last given (-1 for no such channel).
    int GetVolume(int channel);
    int GetFrequency(int channel);

    /// Lets `source` sound through the instance from the next rendered frame, in place of the one before
    /// (null: none). The instance keeps it until it closes or another is attached.
    void AttachSource(std::shared_ptr<Source> source);

    /// Mixes the next `frames` frames into `out`, interleaved stereo. The device's thread calls it; an
    /// offline instance's owner calls it instead.
    void Render(std::int16_t* out, int frames);

    /// The result of the last call (kOk when it succeeded); errors never stick.
    int GetLastError();
    /// A text for a result code.
    static const char* GetErrorText(int code);

    int GetRate() const { return m_rate; }
    int GetChannelCount() const { return static_cast<int>(m_channels.size()); }

private:
    Mixer(int rate, int channelCount);
    static void Fill(void* user, std::int16_t* out, int frames);
    /// Records and returns a result; the lock is held.
    int Record(int result);
    /// Checks an open instance and a channel number; records the failure. The lock is held.
    bool CheckChannel(int channel);
    void StopAll();

    const int m_rate;
    const std::uint32_t m_instance;
    std::mutex m_lock;
    bool m_open = true;
    std::vector<Channel> m_channels;
    std::map<std::uint32_t, std::unique_ptr<Wave>> m_waves;
    std::uint32_t m_nextWave = 1;
    std::uint64_t m_framesRendered = 0;
    int m_lastError = kOk;
    std::vector<std::int32_t> m_sums;
    std::shared_ptr<Source> m_source;
    std::unique_ptr<AudioDevice> m_device;
};

} // namespace plat::mixer
