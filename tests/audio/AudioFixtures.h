#pragma once

#include "audio/AudioAssetFactory.h"
#include "audio/Sound.h"
#include "audio/SoundControllerLink.h"
#include "audio/SoundManager.h"
#include "foundation/assets/AssetMan.h"
#include "platform/mixer/Mixer.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace zentrix;

namespace audiotest {

/// Answers as the game sound controller does: it makes, starts and stops the sound manager, names that
/// manager's mixer (null without one), hands out the asset manager's sounds, and plays the next playlist
/// sample when one ends.
class FakeSoundController : public zentrix::ISoundControllerLink {
public:
    bool errorManager = true;
    int ambienceSamples = 0;
    CAssetMan* assets = nullptr;
    std::unique_ptr<zentrix::CSoundManager> manager;

    bool HasErrorManager() const override { return errorManager; }
    zentrix::CSound* GetSound(int soundId) override {
        return assets ? dynamic_cast<zentrix::CSound*>(assets->GetSound(soundId)) : nullptr;
    }
    plat::mixer::Mixer* GetMixerHandle() override { return manager ? manager->GetMixerHandle() : nullptr; }
    void PlayNextAmbienceSample() override {
        ++ambienceSamples;
        if (manager)
            manager->PlayNextPlaylistSample();
    }

    /// A new manager, started: its result.
    int Start(plat::mixer::Output output = plat::mixer::Output::kOffline) {
        Stop();
        manager = std::make_unique<zentrix::CSoundManager>(*this, output);
        return manager->StartManager();
    }
    void Stop() {
        if (manager)
            manager->StopManager();
        manager.reset();
    }
    plat::mixer::Mixer& Mixer() { return *manager->GetMixerHandle(); }
    /// Mixes `frames` frames offline, then lets the manager take the ends.
    void RenderAndUpdate(int frames) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(2 * frames));
        Mixer().Render(out.data(), frames);
        manager->Update();
    }
};

/// The sample set mkdata writes (once per test program) as the working folder, an asset manager started
/// on it whose sounds come from the audio factory, and the controller double over both. The asset
/// manager stops before the controller, as in the game.
class SampleSound {
public:
    SampleSound();
    ~SampleSound();
    SampleSound(const SampleSound&) = delete;
    SampleSound& operator=(const SampleSound&) = delete;

    FakeSoundController controller;
    zentrix::CAudioAssetFactory factory{controller};
    std::unique_ptr<CAssetMan> assets;

private:
    std::filesystem::path m_previous;
};

/// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace audiotest
