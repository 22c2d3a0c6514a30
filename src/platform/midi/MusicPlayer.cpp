#include "platform/midi/MusicPlayer.h"

#include "platform/midi/Sequencer.h"
#include "platform/midi/SoftwareSynth.h"
#include "platform/midi/Song.h"
#include "platform/mixer/Mixer.h"
#include "platform/system/DebugOutput.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace plat::midi {

namespace {

std::uint32_t NextPlayer() {
    static std::atomic<std::uint32_t> counter{0};
    return ++counter;
}

/// Loudest value added to the mixer's sum for one sample: far past clipping, well within its range.
constexpr float kMaxSum = 8.0f * mixer::kMaxVolume;

} // namespace

/// What the mixer renders: the synthesizer, the sequencer, the songs and the gain, under one lock.
class MusicPlayer::Output : public mixer::Source {
public:
    Output(int rate, std::unique_ptr<Synth> synth) : synth(std::move(synth)), sequencer(rate) {}

    void MixInto(std::int32_t* sums, int frames) override {
        std::lock_guard<std::mutex> hold(lock);
        if (!synth)
            return;
        buffer.resize(std::max(buffer.size(), static_cast<std::size_t>(2 * frames)));
        sequencer.Render(*synth, buffer.data(), frames);
        for (int i = 0; i < 2 * frames; ++i) {
            const float value = buffer[static_cast<std::size_t>(i)] * gain * mixer::kMaxVolume;
            if (!std::isnan(value))
                sums[i] += static_cast<std::int32_t>(std::clamp(value, -kMaxSum, kMaxSum));
        }
    }

    std::mutex lock;
    std::unique_ptr<Synth> synth;
    Sequencer sequencer;
    std::map<std::uint32_t, std::unique_ptr<Song>> songs;
    std::uint32_t playing = 0;
    float gain = 1.0f;
    std::vector<float> buffer;
};

std::unique_ptr<MusicPlayer> MusicPlayer::Open(mixer::Mixer* mixer, OpenError& error) {
    if (!mixer) {
        error = OpenError::kNoMixer;
        return nullptr;
    }
    std::string why;
    SoftwareSynth::Failure failure = SoftwareSynth::Failure::kNone;
    std::unique_ptr<SoftwareSynth> synth =
        SoftwareSynth::Open(mixer->GetRate(), SoftwareSynth::Bank::kSystem, failure, why);
    if (!synth) {
        system::DebugOutput("midi: " + why);
        error = failure == SoftwareSynth::Failure::kBank ? OpenError::kNoBank : OpenError::kNoSynth;
        return nullptr;
    }
    error = OpenError::kNone;
    return Open(mixer, std::move(synth));
}

std::unique_ptr<MusicPlayer> MusicPlayer::Open(mixer::Mixer* mixer, std::unique_ptr<Synth> synth) {
    if (!mixer || !synth)
        return nullptr;
    auto output = std::make_shared<Output>(mixer->GetRate(), std::move(synth));
    mixer->AttachSource(output);
    return std::unique_ptr<MusicPlayer>(new MusicPlayer(std::move(output)));
}

MusicPlayer::MusicPlayer(std::shared_ptr<Output> output) : m_output(std::move(output)), m_id(NextPlayer()) {}

MusicPlayer::~MusicPlayer() {
    std::lock_guard<std::mutex> hold(m_output->lock);
    m_output->sequencer.Stop(*m_output->synth);
    m_output->songs.clear();
    m_output->synth.reset();
}

bool MusicPlayer::LoadBank(const std::uint8_t* bytes, std::size_t size) {
    std::lock_guard<std::mutex> hold(m_output->lock);
    return m_output->synth->LoadBank(bytes, size);
}

SongHandle MusicPlayer::LoadSong(const std::uint8_t* bytes, std::size_t size) {
    auto song = std::make_unique<Song>();
    std::string error;
    if (!ReadSong(bytes, size, *song, error)) {
        system::DebugOutput("midi: " + error);
        return {};
    }
    std::lock_guard<std::mutex> hold(m_output->lock);
    const std::uint32_t id = m_nextSong++;
    m_output->songs.emplace(id, std::move(song));
    return SongHandle{m_id, id};
}

void MusicPlayer::ReleaseSong(SongHandle song) {
    std::lock_guard<std::mutex> hold(m_output->lock);
    if (song.player != m_id || m_output->songs.count(song.song) == 0)
        return;
    // The sequencer reads the song while it plays.
    if (m_output->playing == song.song) {
        m_output->sequencer.Stop(*m_output->synth);
        m_output->playing = 0;
    }
    m_output->songs.erase(song.song);
}

bool MusicPlayer::Play(SongHandle song) {
    std::lock_guard<std::mutex> hold(m_output->lock);
    const auto found = m_output->songs.find(song.song);
    if (song.player != m_id || found == m_output->songs.end())
        return false;
    m_output->sequencer.Stop(*m_output->synth);
    m_output->sequencer.Play(*found->second, *m_output->synth);
    m_output->playing = song.song;
    return true;
}

void MusicPlayer::SetTempo(int bpm) {
    std::lock_guard<std::mutex> hold(m_output->lock);
    if (bpm > 0)
        m_output->sequencer.SetTempo(bpm);
}

void MusicPlayer::Stop() {
    std::lock_guard<std::mutex> hold(m_output->lock);
    m_output->sequencer.Stop(*m_output->synth);
    m_output->playing = 0;
}

void MusicPlayer::SetGain(float gain) {
    std::lock_guard<std::mutex> hold(m_output->lock);
    m_output->gain = gain >= 0.0f ? gain : 0.0f; // a NaN becomes 0 too
}

bool MusicPlayer::IsPlaying() {
    std::lock_guard<std::mutex> hold(m_output->lock);
    return m_output->playing != 0;
}

SongHandle MusicPlayer::GetSong() {
    std::lock_guard<std::mutex> hold(m_output->lock);
    return m_output->playing != 0 ? SongHandle{m_id, m_output->playing} : SongHandle{};
}

double MusicPlayer::GetPosition() {
    std::lock_guard<std::mutex> hold(m_output->lock);
    return m_output->sequencer.GetPosition();
}

} // namespace plat::midi
