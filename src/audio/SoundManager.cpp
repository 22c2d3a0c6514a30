#include "audio/SoundManager.h"

#include "audio/Sound.h"
#include "audio/SoundControllerLink.h"
#include "foundation/math/Random.h"
#include "platform/mixer/Mixer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace zentrix {

namespace {

/// Draws a playlist sample this many times when the playlist starts.
constexpr int kPlaylistStartDraws = 4;

} // namespace

CSoundManager::CSoundManager(ISoundControllerLink& controller, plat::mixer::Output output)
    : m_controller(controller), m_output(output) {}

CSoundManager::~CSoundManager() = default;

int CSoundManager::StartManager() {
    if (!m_controller.HasErrorManager())
        return 1;
    m_mixer.reset();
    m_mixer = plat::mixer::Mixer::Open(kSampleRate, kChannelCount, m_output);
    if (!m_mixer)
        return 1;
    // Listener, distance mapping and the channels' 3D set-up have nothing to do: with 21 channels none
    // is a 3D channel.
    if (SetChannelVolume(m_masterVolume, plat::mixer::kAllChannels) != 0)
        return 1;
    m_started = true;
    return 0;
}

int CSoundManager::StopManager() {
    if (m_mixer) {
        m_mixer->Close();
        m_mixer.reset();
    }
    m_started = false;
    return 0;
}

int CSoundManager::PlayFrontEndSound(int soundId) {
    CSound* wave = m_controller.GetSound(soundId);
    if (!wave)
        return -1;
    StopChannel(kFrontEndChannel);
    if (PlayOnChannel(kFrontEndChannel, *wave, 0, false, plat::mixer::kMaxVolume, -1) != 0)
        return -1;
    return kFrontEndChannel;
}

int CSoundManager::PlayHelpSound(int soundId, bool loop) {
    CSound* wave = m_controller.GetSound(soundId);
    if (!wave)
        return -1;
    StopChannel(kHelpChannel);
    if (PlayOnChannel(kHelpChannel, *wave, loop ? -1 : 0, false, plat::mixer::kMaxVolume, -1) != 0)
        return -1;
    return kHelpChannel;
}

void CSoundManager::StartPlaylist(std::vector<int> soundIds) {
    m_playlist = std::move(soundIds);
    for (int draw = 0; draw < kPlaylistStartDraws; ++draw)
        PlayNextPlaylistSample();
}

void CSoundManager::StopPlaylist() {
    m_playlist.clear();
    StopChannel(kPlaylistChannel);
}

void CSoundManager::PlayNextPlaylistSample() {
    if (m_playlist.empty())
        return;
    const std::size_t index = static_cast<std::size_t>(Random::Next()) % m_playlist.size();
    CSound* wave = m_controller.GetSound(m_playlist[index]);
    if (!wave)
        return;
    StopChannel(kPlaylistChannel);
    PlayOnChannel(kPlaylistChannel, *wave, 0, true, kPlaylistVolume, -1);
}

void CSoundManager::OnPlaylistSampleEnd() {
    m_controller.PlayNextAmbienceSample();
}

int CSoundManager::LevelToVolume(float level) const {
    const double volume = std::trunc(m_masterVolume * static_cast<double>(level));
    if (!(volume > 0)) // a NaN level too
        return 0;
    return static_cast<int>(std::min(volume, static_cast<double>(plat::mixer::kMaxVolume)));
}

int CSoundManager::PlaySound(int soundId, float level, bool loop) {
    return PlayGameSound(soundId, loop ? -1 : 0, LevelToVolume(level));
}

int CSoundManager::PlayGameSound(int soundId, int loops, int volume) {
    if (m_paused)
        return -1;
    CSound* wave = m_controller.GetSound(soundId);
    if (!wave || !wave->IsLoaded() || !m_mixer)
        return -1;
    // The mixer never offers a playing channel, nor one below the game-sound range.
    const int channel = m_mixer->FindFreeChannel(kFirstEffectChannel, kChannelCount - 1);
    if (channel < 0 || ReportMixerError())
        return -1;
    if (PlayOnChannel(channel, *wave, loops, false, volume, -1) != 0)
        return -1;
    return channel;
}

int CSoundManager::PlayOnChannel(int channel, const CSound& wave, int loops, bool notify, int volume,
                                 int frequencyPercent) {
    if (!m_mixer || !IsChannel(channel))
        return -1;
    const int sentVolume =
        volume == -1 ? m_masterVolume : static_cast<int>(std::trunc(volume * m_volumePercent / 100.0));
    const unsigned rate = wave.GetSamplingRate();
    const unsigned frequency =
        frequencyPercent == -1
            ? rate
            : static_cast<unsigned>(static_cast<std::uint64_t>(rate) *
                                    static_cast<unsigned>(std::max(frequencyPercent, 0)) / 100);
    m_mixer->SetVolume(channel, sentVolume);
    m_mixer->SetFrequency(channel, static_cast<int>(std::min<unsigned>(frequency, 0x7FFFFFFF)));
    if (m_mixer->Play(channel, wave.GetWaveHandle(), loops, notify) != 0)
        return -1;
    const std::size_t at = static_cast<std::size_t>(channel);
    m_baseFrequency[at] = frequency;
    // The channel now plays at what was just sent: later level and pitch updates compare against that,
    // not against the channel's previous sound.
    m_channelVolume[at] = sentVolume;
    m_frequencyFactor[at] = 1.0f;
    return 0;
}

void CSoundManager::StopChannel(int channel) {
    if (m_mixer)
        m_mixer->Stop(channel);
}

int CSoundManager::SetChannelLevel(int channel, float level) {
    return SetChannelVolume(LevelToVolume(level), channel);
}

int CSoundManager::SetChannelVolume(int volume, int channel) {
    if (m_paused)
        return 0;
    if (!m_mixer)
        return 1;
    if (channel == plat::mixer::kAllChannels)
        return m_mixer->SetVolume(plat::mixer::kAllChannels, volume) == 0 ? 0 : 1;
    if (!IsChannel(channel))
        return 1;
    const std::size_t at = static_cast<std::size_t>(channel);
    if (m_channelVolume[at] == volume)
        return 0;
    if (m_mixer->SetVolume(channel, volume) != 0)
        return 1;
    m_channelVolume[at] = volume;
    return 0;
}

int CSoundManager::SetChannelFrequencyFactor(int channel, float factor) {
    if (m_paused)
        return 0;
    if (!m_mixer || !IsChannel(channel))
        return 1;
    const std::size_t at = static_cast<std::size_t>(channel);
    if (m_frequencyFactor[at] == factor)
        return 0;
    const double hz = std::trunc(m_baseFrequency[at] * static_cast<double>(factor));
    if (!std::isfinite(hz))
        return 1;
    // The mixer holds frequencies to 0..8 x its rate; clamping first keeps the conversion defined.
    const int sent =
        static_cast<int>(std::clamp(hz, 0.0, static_cast<double>(plat::mixer::kMaxSpeedUp * kSampleRate)));
    if (m_mixer->SetFrequency(channel, sent) != 0)
        return 1;
    m_frequencyFactor[at] = factor;
    return 0;
}

bool CSoundManager::IsChannelPlaying(int channel) {
    return m_mixer && m_mixer->IsPlaying(channel);
}

bool CSoundManager::SetPaused(bool paused) {
    if (paused == m_paused)
        return false;
    m_paused = paused;
    if (m_mixer)
        for (int channel = kFirstEffectChannel; channel < kChannelCount; ++channel)
            paused ? m_mixer->Pause(channel) : m_mixer->Resume(channel);
    return true;
}

void CSoundManager::SetVolumePercent(int percent) {
    // The option comes from the settings file unchecked.
    percent = std::clamp(percent, 0, 100);
    if (percent == m_volumePercent)
        return;
    m_volumePercent = percent;
    m_masterVolume = percent * plat::mixer::kMaxVolume / 100;
}

plat::mixer::Mixer* CSoundManager::GetDirectSound() const {
    return IsStarted() ? m_mixer.get() : nullptr;
}

void CSoundManager::Update() {
    if (!m_mixer)
        return;
    // Only playlist samples ask for a notice of their end.
    for (std::size_t ended = m_mixer->Poll().size(); ended > 0; --ended)
        OnPlaylistSampleEnd();
}

bool CSoundManager::ReportMixerError() {
    if (!m_mixer)
        return false;
    const int code = m_mixer->GetLastError();
    if (code == 0)
        return false;
    m_controller.LogError(plat::mixer::Mixer::GetErrorText(code));
    return true;
}

} // namespace zentrix
