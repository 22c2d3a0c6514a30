#pragma once

#include "app/GameOptionEffects.h"
#include "app/GameOptions.h"
#include "audio/AudioAssetFactory.h"
#include "audio/GameSoundController.h"
#include "audio/MusicManager.h"
#include "audio/MusicWrapper.h"
#include "audio/Sound.h"
#include "audio/SoundControllerLink.h"
#include "audio/SoundManager.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "platform/midi/RecordingSynth.h"
#include "platform/mixer/Mixer.h"
#include "platform/settings/MemoryStore.h"

#include <cstdint>
#include <filesystem>
#include <functional>
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
    std::vector<std::string> errors; ///< what went to the error log
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
    void LogError(const std::string& text) override { errors.push_back(text); }

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

/// The game sound controller as the game has it, on the offline mixer, with the asset manager and the
/// options the test gives (the application's otherwise).
class OfflineSoundController : public zentrix::CGameSoundController {
public:
    OfflineSoundController() : CGameSoundController(plat::mixer::Output::kOffline) {}
    bool HasErrorManager() const override { return true; }
    CAssetMan* GetAssetMan() const override { return assets; }
    CGameOptions* GetGameOptions() const override { return options; }
    plat::mixer::Mixer& Mixer() { return *GetMixerHandle(); }
    /// Mixes `frames` frames offline, then runs the per-frame call with `ms`.
    void RenderAndUpdate(int frames, int ms = 16);

    CAssetMan* assets = nullptr;
    CGameOptions* options = nullptr;
};

/// The music wrapper as the game has it, on the test's controller and asset manager, noting each call
/// in a shared log. Its player plays on a recording synthesizer, or on the software one when asked.
class NotingWrapper : public zentrix::CMusicWrapper {
public:
    NotingWrapper(std::vector<std::string>& log, OfflineSoundController& controller, bool softwareSynth)
        : m_log(log), m_controller(controller), m_softwareSynth(softwareSynth) {}

    bool LoadCollection(int assetId) override;
    bool PlaySegment(int assetId) override;
    bool Stop() override;
    void SetPaused(bool paused) override;
    void SetVolume(int percent) override;
    void SendTempo(int tempo) override;

    bool canStart = true;
    /// The recording synthesizer (null with the software one), while the player lives.
    plat::midi::RecordingSynth* synth = nullptr;

protected:
    bool CanStart() const override { return canStart; }
    plat::mixer::Mixer* GetDirectSound() const override { return m_controller.GetDirectSound(); }
    CAssetMan* GetAssetMan() const override { return m_controller.assets; }
    std::unique_ptr<plat::midi::MusicPlayer> OpenPlayer(plat::mixer::Mixer* mixer,
                                                        plat::midi::MusicPlayer::OpenError& error) override;
    void LogError(const char* text) override { m_log.push_back(std::string("error ") + text); }

private:
    std::vector<std::string>& m_log;
    OfflineSoundController& m_controller;
    const bool m_softwareSynth;
};

/// The music manager as the game has it, with the game state, mode and world theme the test sets and a
/// noting wrapper.
class TestMusicManager : public zentrix::CMusicManager {
public:
    TestMusicManager(std::vector<std::string>& log, OfflineSoundController& controller)
        : m_log(log), m_controller(controller) {}
    NotingWrapper* Wrapper() const { return static_cast<NotingWrapper*>(GetWrapper()); }

    int state = 21;
    int mode = -1;
    int theme = 0;
    bool softwareSynth = false;
    bool wrapperCanStart = true;
    CGameOptions* options = nullptr;

protected:
    std::unique_ptr<zentrix::CMusicWrapper> CreateWrapper() override;
    int GetGameState() const override { return state; }
    int GetGameMode() const override { return mode; }
    int GetWorldTheme() const override { return theme; }
    CGameOptions* GetGameOptions() const override { return options; }

private:
    std::vector<std::string>& m_log;
    OfflineSoundController& m_controller;
};

/// The sample set as the working folder with the game's audio over it, as the application wires it: the
/// controller and the music manager behind the asset manager's audio link, the options ("Volume",
/// "Balance") in memory applied to both. Nothing is started.
class SampleAudio : private zentrix::IGameOptionEffects {
public:
    SampleAudio();
    ~SampleAudio() override;
    SampleAudio(const SampleAudio&) = delete;
    SampleAudio& operator=(const SampleAudio&) = delete;

    /// Starts the controller, then the music manager, as the application does.
    void Start();

    std::vector<std::string> log;
    OfflineSoundController controller;
    TestMusicManager music{log, controller};
    zentrix::CAudioAssetFactory factory{controller, &music};
    plat::settings::MemoryStore store;
    CAppSettings settings{store};
    CGameOptions options{settings, this};
    std::unique_ptr<CAssetMan> assets;

private:
    void SetMusicVolume(int volume) override { music.SetVolume(volume); }
    void SetSoundVolume(int volume) override { controller.SetVolume(volume); }
    void SetEffectsLevel(int) override {}

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
