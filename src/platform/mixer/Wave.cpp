#include "platform/mixer/Wave.h"

#include <limits>

namespace plat::mixer {

std::unique_ptr<Wave> Wave::FromBytes(const WaveFormat& format, const std::uint8_t* bytes,
                                      std::size_t length) {
    const int block = format.BlockBytes();
    if (!format.IsPlayable() || bytes == nullptr)
        return nullptr;
    const std::size_t frames = length / static_cast<std::size_t>(block);
    // Positions are 32.32 fixed point in frames, so a wave holds fewer than 2^32 of them.
    if (frames == 0 || frames > std::numeric_limits<std::uint32_t>::max() - 1)
        return nullptr;
    std::unique_ptr<Wave> wave(new Wave);
    wave->m_channels = format.channels;
    wave->m_frameCount = static_cast<std::uint32_t>(frames);
    const std::size_t count = frames * format.channels;
    wave->m_samples.resize(count);
    if (format.bitsPerSample == 8) {
        // 8-bit samples are unsigned around 128.
        for (std::size_t i = 0; i < count; ++i)
            wave->m_samples[i] = static_cast<std::int16_t>((bytes[i] - 128) * 256);
    } else {
        for (std::size_t i = 0; i < count; ++i)
            wave->m_samples[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return wave;
}

} // namespace plat::mixer
