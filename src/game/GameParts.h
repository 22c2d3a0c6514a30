#pragma once

#include "app/AppParts.h"
#include "audio/AudioAssetFactory.h"
#include "audio/GameSoundController.h"
#include "audio/MusicManager.h"
#include "race/AppDriverServices.h"
#include "race/DriverManager.h"
#include "race/WorldRaceMusicLink.h"
#include "world/TrackEditBuilder.h"

#include <memory>

namespace zentrix {

class CAppHelpPanelServices;
class CAppPrintServices;
class CHelpPanel;
class IHelpSound;
class CAppWorldServices;
class CCampaignMan;
class CRouteNodeMan;

/// The whole game's parts: the shell's own, with the managers and the panels of the game's subsystems
/// (which sit above the shell and so cannot be made by it). The program runs on these.
class CGameParts : public CAppParts {
public:
    /// Parts over the settings file and the system clock.
    CGameParts();
    /// Parts over `store` and `clock` (tests).
    CGameParts(std::unique_ptr<plat::settings::Store> store, std::unique_ptr<plat::clock::Clock> clock);
    ~CGameParts() override;

    /// The asset manager with the event-script cache behind its script link and the sounds and music
    /// of the game sound controller and the music manager behind its audio link.
    std::unique_ptr<CAssetMan> CreateAssetMan(CAssetMan::SLinks links) override;
    /// Frees the event-script keyword tables; safe to call again.
    void FreeKeywordTables() override;
    /// The screens' panels (MakeGamePanel).
    CSlideOutMan::PanelFactory CreatePanelFactory() override;
    /// Names the video panel's next video and the state that follows it.
    void SetVideo(int videoId, int nextState) override;

    /// Spoken help: the help manager on the game sound controller's help channel, and the one help
    /// panel, made when the first panel asks for it and deleted after the help manager.
    void CreateHelpManager() override;
    void DeleteHelpManager() override;
    void UpdateHelp(int ms) override;
    void RestoreHelpAfterRestart() override;
    void PlayHelp(int helpId, int priority) override;
    void OnHelpHover(int helpId) override;
    void OnHelpHoverEnd(int helpId) override;
    void CancelHelpHover() override;
    IHelpPanel* GetHelpPanel() override;
    CHelpManager* GetHelpManager() const override { return m_helpManager.get(); }

    /// The world registry over the application's managers, with the game's worlds and event controllers.
    bool CreateWorlds() override;
    void DestroyWorlds() override;
    void FrameCurrentWorld(int ms) override;
    bool SetCurrentWorld(int worldId, CEventMan* events) override;
    int GetCurrentWorldId() const override;
    bool IsRacePaused() const override;
    /// The race world's taunts: switched by the effects level, rebuilt when the game is switched back
    /// to, the queue the reporters reach.
    void SetTauntsEnabled(bool enabled) override;
    void ResetRaceTauntPanel() override;
    CTauntEventQueue* GetTauntEventQueue() const override;
    /// The current world's manager (null for none).
    CWorldMan* GetWorldMan() const override;
    /// The track editor's world, and its auto-saved track taken up before it is entered.
    CWorldConstructMan* GetConstructWorld() const override;
    void ResumeAutoSavedTrack() override;

    /// The game sound controller and the music manager, which the parts own.
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

    /// The campaign, read from the asset manager with its progress in the application's settings.
    void CreateCampaignMan() override;
    void DeleteCampaignMan() override;
    int GetCurrentCampaignNode() const override;
    void CopyCampaignSetup(int index, CRaceSetup& setup) override;
    CCampaignMan* GetCampaignMan() const override { return m_campaignMan.get(); }
    /// The route over the track; the world's track saver asks it whether the route is closed.
    void CreateRouteNodeMan() override;
    void DeleteRouteNodeMan() override;
    CRouteNodeMan* GetRouteNodeMan() const override { return m_routeNodeMan.get(); }
    /// The race's drivers: the driver manager over the application.
    bool StartDrivers() override;
    void StopDrivers() override;
    void UpdateDrivers(int ms) override;
    CDriverManager* GetDriverManager() const override { return m_drivers.get(); }

    /// Printing on the system's printers.
    void CreatePrintManager() override;
    void DeletePrintManager() override;
    void UpdatePrint(int ms) override;
    bool IsPrintJobPending() const override;
    void ProcessPrintJob() override;
    CPrintManager* GetPrintManager() const override { return m_printManager.get(); }

private:
    std::unique_ptr<IHelpSound> m_helpSound;
    std::unique_ptr<CAppHelpPanelServices> m_helpPanelServices;
    std::unique_ptr<CHelpPanel> m_helpPanel;
    std::unique_ptr<CHelpManager> m_helpManager;
    std::unique_ptr<CAppPrintServices> m_printServices;
    std::unique_ptr<CPrintManager> m_printManager;
    std::unique_ptr<CCampaignMan> m_campaignMan;
    std::unique_ptr<CAppWorldServices> m_worldServices; ///< what the worlds take from the application
    std::unique_ptr<CRouteNodeMan> m_routeNodeMan;
    CTrackEditBuilder m_trackBuilder; ///< what tracks are read and rebuilt with
    CAppDriverServices m_driverServices;
    std::unique_ptr<CDriverManager> m_drivers;

private:
    // Made with the parts, as the asset manager's sounds and music need them before it starts; they
    // outlive it, since its sounds and pieces free themselves through them when it stops. The music
    // hears of the last lap from the race world.
    CWorldRaceMusicLink m_raceMusic;
    std::unique_ptr<CGameSoundController> m_sound = std::make_unique<CGameSoundController>();
    std::unique_ptr<CMusicManager> m_music = std::make_unique<CMusicManager>(&m_raceMusic);
    CAudioAssetFactory m_audioAssets{*m_sound, m_music.get()};
};

} // namespace zentrix
