#pragma once

#include "foundation/assets/AssetMan.h"
#include "ui/SlideOutMan.h"

#include <memory>
#include <string>

namespace plat::clock {
class Clock;
}
namespace plat::input {
class InputSystem;
}
namespace plat::settings {
class Store;
}
namespace plat::text {
class FontLibrary;
}
namespace plat::window {
class Window;
}

namespace zentrix {

class CAdaptiveSfxMan;
class IEffectsLevelLinks;
class CApp;
class CAppSettings;
class CCampaignMan;
struct CRaceSetup;
class CCommandLineParser;
class CDriverManager;
class CEngineMan;
class IEngineServices;
class CErrorMan;
class CEventMan;
class CGameOptions;
class CGameSoundController;
class CGameStateMan;
class CHelpManager;
class CIOManager;
class CMusicManager;
class CPerformanceMonitor;
class CPrintManager;
class CRouteNodeMan;
class CSlideOutMan;
class CSplash;
class CTauntEventQueue;
class CWin;
class CWorldMan;
class CWorldConstructMan;
class IGameOptionEffects;
class IGameStateServices;
class IHelpPanel;
class IInputServices;
class IPanelServices;

/// What the application object is made of: one factory per manager it owns, and the operations of other
/// subsystems it calls by name. The application asks for each part here, so the game's parts put in the
/// managers and panels of the subsystems above the shell, and tests put recording doubles in.
class CAppParts {
public:
    /// Parts over the settings file and the system clock.
    CAppParts();
    /// Parts over `store` and `clock` (tests: memory settings, a fake clock).
    CAppParts(std::unique_ptr<plat::settings::Store> store, std::unique_ptr<plat::clock::Clock> clock);
    virtual ~CAppParts();
    CAppParts(const CAppParts&) = delete;
    CAppParts& operator=(const CAppParts&) = delete;

    /// The command-line parser.
    virtual std::unique_ptr<CCommandLineParser> CreateCommandLineParser();
    /// The splash window, or null when it cannot be shown.
    virtual std::unique_ptr<CSplash> CreateSplash();
    /// The error manager.
    virtual std::unique_ptr<CErrorMan> CreateErrorMan();
    /// The settings, over the parts' store.
    virtual std::unique_ptr<CAppSettings> CreateAppSettings();
    /// The options kept in `settings`, applied through `effects`.
    virtual std::unique_ptr<CGameOptions> CreateGameOptions(CAppSettings& settings,
                                                            IGameOptionEffects* effects);
    /// The performance monitor, on the parts' clock.
    virtual std::unique_ptr<CPerformanceMonitor> CreatePerformanceMonitor();
    /// The game-state machine.
    virtual std::unique_ptr<CGameStateMan> CreateGameStateMan(IGameStateServices* services,
                                                              CAppSettings* settings);
    /// The main window of `width` x `height` game pixels (its handle is null when it cannot be made).
    virtual std::unique_ptr<CWin> CreateWin(int width, int height);
    /// The fonts of the run (null: none); they outlive the asset manager.
    virtual std::unique_ptr<plat::text::FontLibrary> CreateFontLibrary();
    /// The asset manager, reaching the rest of the game through `links`.
    virtual std::unique_ptr<CAssetMan> CreateAssetMan(CAssetMan::SLinks links);
    /// The application message queue.
    virtual std::unique_ptr<CEventMan> CreateEventMan();
    /// The engine manager.
    virtual std::unique_ptr<CEngineMan> CreateEngineMan(IEngineServices* services);
    /// The input manager, served by `services`.
    virtual std::unique_ptr<CIOManager> CreateIOManager(IInputServices* services);
    /// A new connection to the input devices, tied to `window` (may be null); null when there is none.
    virtual std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window* window);
    /// The slide-out manager, served by `services`.
    virtual std::unique_ptr<CSlideOutMan> CreateSlideOutMan(IPanelServices& services);
    /// What makes the screens' panels for the slide-out manager; the shell alone makes none (only the
    /// message box, which the slide-out manager makes itself).
    virtual CSlideOutMan::PanelFactory CreatePanelFactory();
    /// The effects-detail manager, setting through `links`.
    virtual std::unique_ptr<CAdaptiveSfxMan> CreateAdaptiveSfxMan(IEffectsLevelLinks& links);

    /// Makes `path` (the "Path" setting, game form) the working folder.
    virtual void SetCurrentDirectory(const std::string& path);
    /// Creates and starts the driver manager; false when it cannot start (no started input manager): the
    /// game then stops its start-up. True when the parts have no drivers.
    virtual bool StartDrivers() { return true; }
    /// Stops and deletes the driver manager; safe to call again.
    virtual void StopDrivers() {}
    /// The drivers' frame (the shell skips it while the race is paused).
    virtual void UpdateDrivers(int /*ms*/) {}
    /// The driver manager by its type (null: none).
    virtual CDriverManager* GetDriverManager() const { return nullptr; }
    /// Creates the worlds and the shadow manager (true: the shell alone has none to create).
    virtual bool CreateWorlds() { return true; }
    /// Removes the worlds and the shadow manager; safe to call again.
    virtual void DestroyWorlds() {}
    /// The current world's frame, then the shadows.
    virtual void FrameCurrentWorld(int /*ms*/) {}
    /// Makes `worldId` the current world; `events` is cleared on a change (false: no worlds).
    virtual bool SetCurrentWorld(int /*worldId*/, CEventMan* /*events*/) { return false; }
    /// The current world's id (-1 none).
    virtual int GetCurrentWorldId() const { return -1; }
    /// The world manager game code reaches through the application (null: none).
    virtual CWorldMan* GetWorldMan() const { return nullptr; }
    /// The track editor's world (null: none).
    virtual CWorldConstructMan* GetConstructWorld() const { return nullptr; }
    /// Whether the race is paused.
    virtual bool IsRacePaused() const { return false; }
    /// Rebuilds the race's taunt panel after the game was switched back to (nothing without a race world).
    virtual void ResetRaceTauntPanel() {}
    /// Lets the construction world take up its auto-saved track (nothing without a construction world).
    virtual void ResumeAutoSavedTrack() {}
    /// Gives the video panel video `videoId` and the state to follow it (nothing without the panel).
    virtual void SetVideo(int /*videoId*/, int /*nextState*/) {}
    /// Frees the particle kinds; safe to call again.
    virtual void FreeParticleKinds();
    /// Whether the race world plays its taunts (nothing without a race world).
    virtual void SetTauntsEnabled(bool /*enabled*/) {}
    /// The race's taunt event queue, which taunt reporters reach (null without a race world).
    virtual CTauntEventQueue* GetTauntEventQueue() const { return nullptr; }
    /// Turns the shadow manager's shadows off or on (nothing while there is none).
    virtual void SetShadowsOff(bool off);
    /// Gives the shadow manager a skid-mark pool of `count` (nothing while there is none).
    virtual void SetSkidMarkCount(int count);
    /// Frees the event-script keyword tables; safe to call again.
    virtual void FreeKeywordTables() {}

    /// Creates and starts the campaign manager (nothing without a campaign).
    virtual void CreateCampaignMan() {}
    /// Stops and deletes the campaign manager; safe to call again.
    virtual void DeleteCampaignMan() {}
    /// The campaign node being played (-1 none).
    virtual int GetCurrentCampaignNode() const { return -1; }
    /// Copies the race of campaign node `index` into `setup` (nothing without that node).
    virtual void CopyCampaignSetup(int /*index*/, CRaceSetup& /*setup*/) {}
    /// The campaign manager by its type (null: none).
    virtual CCampaignMan* GetCampaignMan() const { return nullptr; }
    /// Creates and starts the route manager (nothing without racing).
    virtual void CreateRouteNodeMan() {}
    /// Stops and deletes the route manager; safe to call again.
    virtual void DeleteRouteNodeMan() {}
    /// The route manager by its type (null: none).
    virtual CRouteNodeMan* GetRouteNodeMan() const { return nullptr; }

    /// Creates and starts the help manager (nothing without spoken help).
    virtual void CreateHelpManager() {}
    /// Stops and deletes the help manager, then the help panel the panels shared; safe to call again.
    virtual void DeleteHelpManager() {}
    /// The help manager's update (made twice a frame).
    virtual void UpdateHelp(int /*ms*/) {}
    /// Takes up the help mode kept over a restart.
    virtual void RestoreHelpAfterRestart() {}
    /// Plays help item `helpId` with `priority`.
    virtual void PlayHelp(int /*helpId*/, int /*priority*/) {}
    /// A control under the pointer reports its help item.
    virtual void OnHelpHover(int /*helpId*/) {}
    /// The pointer left a control with help item `helpId`.
    virtual void OnHelpHoverEnd(int /*helpId*/) {}
    /// Forgets the help item waiting for a hover.
    virtual void CancelHelpHover() {}
    /// The help panel that panels with spoken help share (null: none); it outlives every panel.
    virtual IHelpPanel* GetHelpPanel() { return nullptr; }
    /// The help manager by its type (null: none).
    virtual CHelpManager* GetHelpManager() const { return nullptr; }

    /// Creates and starts the print manager (nothing without printing).
    virtual void CreatePrintManager() {}
    /// Stops and deletes the print manager; safe to call again.
    virtual void DeletePrintManager() {}
    /// The print manager's update.
    virtual void UpdatePrint(int /*ms*/) {}
    /// Whether a print job waits for the main loop.
    virtual bool IsPrintJobPending() const { return false; }
    /// Prints the waiting job.
    virtual void ProcessPrintJob() {}
    /// The print manager by its type (null: none).
    virtual CPrintManager* GetPrintManager() const { return nullptr; }
    /// The game sound controller and the music manager, which the parts own (null: the shell's own parts
    /// have neither, and the operations below do nothing).
    virtual CGameSoundController* GetGameSoundController() const { return nullptr; }
    virtual CMusicManager* GetMusicManager() const { return nullptr; }
    /// Starts the game sound controller with its sound manager.
    virtual void StartGameSound() {}
    /// Stops it, deleting the sound manager.
    virtual void StopGameSound() {}
    /// Its per-frame call.
    virtual void UpdateGameSound(int /*ms*/) {}
    /// Pauses (true) or resumes the effect channels.
    virtual void PauseGameSound(bool /*pause*/) {}
    /// Sets the effects volume (the option "Volume").
    virtual void SetGameSoundVolume(int /*volume*/) {}
    /// Plays an interface sound by id.
    virtual void PlayUiSound(int /*soundId*/) {}
    /// Stops the spoken help item that is playing.
    virtual void StopHelpSound() {}
    /// Starts the music manager.
    virtual void StartMusic() {}
    /// Stops it.
    virtual void StopMusic() {}
    /// Its per-frame call.
    virtual void UpdateMusic(int /*ms*/) {}
    /// Sets the music volume (the option "Balance").
    virtual void SetMusicVolume(int /*volume*/) {}
    /// Switches the music on or off (off stops the piece playing).
    virtual void SetMusicEnabled(bool /*enabled*/) {}

protected:
    /// The settings store the parts were made with.
    plat::settings::Store& Store() { return *m_store; }
    /// The clock the parts were made with.
    plat::clock::Clock& Clock() { return *m_clock; }

private:
    std::unique_ptr<plat::settings::Store> m_store;
    std::unique_ptr<plat::clock::Clock> m_clock;
};

} // namespace zentrix
