#pragma once

#include "app/AppParts.h"
#include "audio/AudioAssetFactory.h"
#include "audio/GameSoundController.h"
#include "audio/MusicManager.h"

#include <memory>

namespace zentrix {

/// The whole game's parts: the shell's own, with the managers of the game's subsystems (which sit above
/// the shell and so cannot be made by it) put in where they exist. The program runs on these; the
/// shell's own default parts keep their stand-ins for tests of the shell alone.
class CGameParts : public CAppParts {
public:
    using CAppParts::CAppParts;

    /// The asset manager with the event-script cache behind its script link and the sounds and music
    /// of the game sound controller and the music manager behind its audio link.
    std::unique_ptr<CAssetMan> CreateAssetMan(CAssetMan::SLinks links) override;
    /// Frees the event-script keyword tables; safe to call again.
    void FreeKeywordTables() override;

    CGameSoundController* GetGameSoundController() const override { return m_sound.get(); }
    CMusicManager* GetMusicManager() const override { return m_music.get(); }
    void StartGameSound() override;
    void StopGameSound() override;
    void UpdateGameSound(int ms) override;
    void PauseGameSound(bool pause) override;
    void SetGameSoundVolume(int volume) override;
    void PlayUiSound(int soundId) override;
    void StopHelpSound() override;
    void StartMusic() override;
    void StopMusic() override;
    void UpdateMusic(int ms) override;
    void SetMusicVolume(int volume) override;
    void SetMusicEnabled(bool enabled) override;

private:
    // Made with the parts, as the asset manager's sounds and music need them before it starts; they
    // outlive it, since its sounds and pieces free themselves through them when it stops.
    std::unique_ptr<CGameSoundController> m_sound = std::make_unique<CGameSoundController>();
    std::unique_ptr<CMusicManager> m_music = std::make_unique<CMusicManager>();
    CAudioAssetFactory m_audioAssets{*m_sound, m_music.get()};
};

} // namespace zentrix
