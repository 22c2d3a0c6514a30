#pragma once

#include "platform/mixer/MixerTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plat::mixer {

/// A wave's samples as the mixer keeps them: its own copy in signed 16 bits, frames of one or two
/// interleaved samples, so the caller's bytes may go as soon as the wave is open.
class Wave {
public:
    /// Converts `length` bytes of the format; a partial last frame is dropped. Null when the format is
    /// not playable or no whole frame is there.
    static std::unique_ptr<Wave> FromBytes(const WaveFormat& format, const std::uint8_t* bytes,
                                           std::size_t length);

    /// Number of frames (at least 1).
    std::uint32_t GetFrameCount() const { return m_frameCount; }
    /// 1 mono, 2 stereo.
    int GetChannels() const { return m_channels; }
    /// Left and right sample of a frame (the same for mono); frame < GetFrameCount().
    void GetFrame(std::uint32_t frame, int& left, int& right) const {
        const std::size_t at = static_cast<std::size_t>(frame) * static_cast<std::size_t>(m_channels);
        left = m_samples[at];
        right = m_samples[at + static_cast<std::size_t>(m_channels) - 1];
    }

private:
    Wave() = default;

    std::vector<std::int16_t> m_samples;
    std::uint32_t m_frameCount = 0;
    int m_channels = 1;
};

} // namespace plat::mixer
