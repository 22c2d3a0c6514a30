#include "platform/mixer/Channel.h"

namespace plat::mixer {

void Channel::Start(const Wave* wave, std::uint32_t waveId, int loops, bool notify) {
    m_wave = wave;
    m_waveId = waveId;
    m_position = 0;
    m_loopsLeft = loops < 0 ? -1 : loops;
    m_state = State::kPlaying;
    m_paused = false;
    m_notify = notify;
}

void Channel::Stop() {
    m_wave = nullptr;
    m_waveId = 0;
    m_state = State::kIdle;
    m_paused = false;
    m_notify = false;
}

void Channel::TakeEnd() {
    Stop();
}

int Channel::MixInto(std::int32_t* sums, int frames, std::uint64_t step) {
    // A paused channel holds its place; a frequency of 0 holds the sound silent but playing.
    if (m_state != State::kPlaying || m_paused || step == 0)
        return -1;
    const std::uint32_t count = m_wave->GetFrameCount();
    const std::int64_t volume = m_volume;
    for (int i = 0; i < frames; ++i) {
        const std::uint32_t frame = static_cast<std::uint32_t>(m_position >> 32);
        const std::int64_t fraction = static_cast<std::int64_t>(m_position & 0xFFFFFFFFu);
        int left = 0;
        int right = 0;
        m_wave->GetFrame(frame, left, right);
        if (fraction != 0) {
            // Between two frames: towards the next one, which after the last is the first again when
            // the sound loops.
            int nextLeft = left;
            int nextRight = right;
            if (frame + 1 < count)
                m_wave->GetFrame(frame + 1, nextLeft, nextRight);
            else if (m_loopsLeft != 0)
                m_wave->GetFrame(0, nextLeft, nextRight);
            left += static_cast<int>(((nextLeft - left) * fraction) >> 32);
            right += static_cast<int>(((nextRight - right) * fraction) >> 32);
        }
        sums[2 * i] += static_cast<std::int32_t>(left * volume / kMaxVolume);
        sums[2 * i + 1] += static_cast<std::int32_t>(right * volume / kMaxVolume);
        m_position += step;
        // A step may cross more than one pass of a very short wave.
        while ((m_position >> 32) >= count) {
            if (m_loopsLeft == 0) {
                m_state = State::kEnded;
                return i + 1;
            }
            if (m_loopsLeft > 0)
                --m_loopsLeft;
            m_position -= static_cast<std::uint64_t>(count) << 32;
        }
    }
    return -1;
}

} // namespace plat::mixer
