#pragma once

#include <cstdint>

namespace plat::mixer {

/// The loudest channel volume: samples pass at their own level.
constexpr int kMaxVolume = 32767;
/// Channel number that SetVolume reads as "every channel".
constexpr int kAllChannels = -1;
/// A channel's frequency may reach this many times the output rate.
constexpr int kMaxSpeedUp = 8;
/// Highest sampling rate a wave may declare.
constexpr std::uint32_t kMaxWaveRate = 192000;
/// Format tag of plain PCM samples, the only kind the mixer plays.
constexpr std::uint16_t kFormatPcm = 1;

/// Where an instance's sound goes.
enum class Output {
    kDevice,  ///< the system's audio device, fed from its own thread
    kOffline, ///< nowhere: the owner pulls frames with Mixer::Render (tests)
};

/// Results of the mixer's calls; every call records its own, which Mixer::GetLastError reports.
enum Result : int {
    kOk = 0,
    kErrorClosed = 1,  ///< the instance has been closed
    kErrorChannel = 2, ///< no such channel
    kErrorWave = 3,    ///< the wave handle names no open wave of this instance
    kErrorFormat = 4,  ///< samples the mixer cannot play
};

/// How a wave's samples are laid out: PCM, 8-bit unsigned or 16-bit little-endian signed, one or two
/// interleaved channels.
struct WaveFormat {
    std::uint16_t formatTag = kFormatPcm;
    std::uint16_t channels = 1;
    std::uint32_t samplesPerSecond = 22050;
    std::uint16_t bitsPerSample = 16;

    /// Bytes of one frame (a sample of every channel); 0 for a layout the mixer does not play.
    int BlockBytes() const {
        if (formatTag != kFormatPcm || channels < 1 || channels > 2 ||
            (bitsPerSample != 8 && bitsPerSample != 16))
            return 0;
        return channels * bitsPerSample / 8;
    }
    /// Whether the mixer can open samples of this format.
    bool IsPlayable() const {
        return BlockBytes() > 0 && samplesPerSecond >= 1 && samplesPerSecond <= kMaxWaveRate;
    }
};

/// A wave opened in one mixer instance. It names the instance as well as the wave, so another instance
/// (or one opened after this one closed) refuses it.
struct WaveHandle {
    std::uint32_t instance = 0;
    std::uint32_t wave = 0;

    explicit operator bool() const { return wave != 0; }
    bool operator==(const WaveHandle&) const = default;
};

} // namespace plat::mixer
