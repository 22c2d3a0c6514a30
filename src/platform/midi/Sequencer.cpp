#include "platform/midi/Sequencer.h"

#include <algorithm>
#include <cmath>

namespace plat::midi {

void Sequencer::Play(const Song& song, Synth& synth) {
    synth.Reset();
    m_song = &song;
    m_next = 0;
    m_position = 0.0;
    m_songTempo = kDefaultTempo;
    m_fixedBpm = 0.0;
}

void Sequencer::Stop(Synth& synth) {
    m_song = nullptr;
    m_next = 0;
    m_position = 0.0;
    synth.SoundsOff();
}

void Sequencer::SetTempo(double bpm) {
    if (bpm > 0.0 && std::isfinite(bpm))
        m_fixedBpm = bpm;
}

double Sequencer::TicksPerFrame() const {
    const double quartersPerSecond = m_fixedBpm > 0.0 ? m_fixedBpm / 60.0 : 1e6 / m_songTempo;
    return quartersPerSecond * m_song->ticksPerQuarter / m_rate;
}

bool Sequencer::SendDue(Synth& synth) {
    const std::vector<SongEvent>& events = m_song->events;
    int budget = kEventsPerFrame;
    bool wrapped = false;
    for (;;) {
        for (; m_next < events.size() && events[m_next].tick <= m_position; ++m_next) {
            if (budget-- == 0)
                return false;
            const SongEvent& event = events[m_next];
            if (event.status == kTempoStatus) {
                if (m_fixedBpm <= 0.0)
                    m_songTempo = event.tempo;
            } else {
                synth.Send(event.status, event.data1, event.data2);
            }
        }
        // Every event of the pass is out (those at the length included): the next pass begins.
        if (wrapped || m_next < events.size() || m_position < m_song->length)
            return true;
        m_position -= m_song->length;
        if (m_position >= m_song->length)
            m_position = std::fmod(m_position, static_cast<double>(m_song->length));
        m_next = 0;
        m_songTempo = kDefaultTempo;
        wrapped = true;
    }
}

std::int64_t Sequencer::FramesToNext() const {
    std::uint32_t tick = m_song->length;
    if (m_next < m_song->events.size())
        tick = std::min(tick, m_song->events[m_next].tick);
    const double frames = std::ceil((tick - m_position) / TicksPerFrame());
    // A rounding that leaves the position just short of the tick sends it one frame later.
    if (!(frames >= 1.0))
        return 1;
    return frames > 1e9 ? 1000000000 : static_cast<std::int64_t>(frames);
}

void Sequencer::Render(Synth& synth, float* out, int frames) {
    while (frames > 0) {
        if (!m_song) {
            synth.Render(out, frames);
            return;
        }
        const bool allSent = SendDue(synth);
        const int run = allSent ? static_cast<int>(std::min<std::int64_t>(frames, FramesToNext())) : 1;
        synth.Render(out, run);
        m_position += run * TicksPerFrame();
        out += 2 * run;
        frames -= run;
    }
}

} // namespace plat::midi
