#include "AudioFixtures.h"

#include "support/SampleSet.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>

using namespace zentrix;

namespace audiotest {

namespace {

/// An asset manager started on the sample set, which becomes the working folder; its sounds and music
/// come from `factory`.
std::unique_ptr<CAssetMan> StartSampleAssets(IAudioAssetFactory& factory) {
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
    CAssetMan::SLinks links;
    links.audio = &factory;
    auto assets = std::make_unique<CAssetMan>(std::move(links));
    if (assets->StartManager() != 0)
        throw std::runtime_error("the asset manager did not start");
    return assets;
}

} // namespace

SampleSound::SampleSound() : m_previous(std::filesystem::current_path()) {
    assets = StartSampleAssets(factory);
    controller.assets = assets.get();
}

SampleSound::~SampleSound() {
    controller.assets = nullptr;
    assets->StopManager();
    assets.reset();
    controller.Stop();
    std::filesystem::current_path(m_previous);
}

void OfflineSoundController::RenderAndUpdate(int frames, int ms) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(2 * frames));
    Mixer().Render(out.data(), frames);
    Update(ms);
}

bool NotingWrapper::LoadCollection(int assetId) {
    const bool loaded = CMusicWrapper::LoadCollection(assetId);
    m_log.push_back("collection " + std::to_string(assetId) + (loaded ? "" : " failed"));
    return loaded;
}

bool NotingWrapper::PlaySegment(int assetId) {
    m_log.push_back("play " + std::to_string(assetId));
    return CMusicWrapper::PlaySegment(assetId);
}

bool NotingWrapper::Stop() {
    m_log.push_back("stop");
    return CMusicWrapper::Stop();
}

void NotingWrapper::SetPaused(bool paused) {
    if (paused != IsPaused() && GetCurrentSegmentId() != -1)
        m_log.push_back(paused ? "pause" : "resume");
    CMusicWrapper::SetPaused(paused);
}

void NotingWrapper::SetVolume(int percent) {
    if (percent != GetVolume())
        m_log.push_back("volume " + std::to_string(percent));
    CMusicWrapper::SetVolume(percent);
}

void NotingWrapper::SendTempo(int tempo) {
    m_log.push_back("tempo " + std::to_string(tempo));
    CMusicWrapper::SendTempo(tempo);
}

std::unique_ptr<plat::midi::MusicPlayer>
NotingWrapper::OpenPlayer(plat::mixer::Mixer* mixer, plat::midi::MusicPlayer::OpenError& error) {
    if (m_softwareSynth)
        return CMusicWrapper::OpenPlayer(mixer, error);
    auto recording = std::make_unique<plat::midi::RecordingSynth>();
    plat::midi::RecordingSynth* kept = recording.get();
    auto player = plat::midi::MusicPlayer::Open(mixer, std::move(recording));
    if (!player)
        error = plat::midi::MusicPlayer::OpenError::kNoMixer;
    synth = player ? kept : nullptr;
    return player;
}

std::unique_ptr<zentrix::CMusicWrapper> TestMusicManager::CreateWrapper() {
    auto wrapper = std::make_unique<NotingWrapper>(m_log, m_controller, softwareSynth);
    wrapper->canStart = wrapperCanStart;
    return wrapper;
}

SampleAudio::SampleAudio() : m_previous(std::filesystem::current_path()) {
    assets = StartSampleAssets(factory);
    controller.assets = assets.get();
    controller.options = &options;
    music.options = &options;
}

SampleAudio::~SampleAudio() {
    // The asset manager stops first: its sounds and pieces free themselves into the running audio.
    assets->StopManager();
    assets.reset();
    controller.Stop();
    music.StopManager();
    std::filesystem::current_path(m_previous);
}

void SampleAudio::Start() {
    controller.Start();
    music.StartManager();
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name))
        m_old = old;
    setenv(name, value, 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_old)
        setenv(m_name, m_old->c_str(), 1);
    else
        unsetenv(m_name);
}

} // namespace audiotest
