#pragma once

#include "app/GameOptionEffects.h"
#include "app/GameStateServices.h"
#include "app/InputServices.h"
#include "foundation/assets/AssetHost.h"
#include "foundation/base/ManagerInterface.h"
#include "render/EffectsLevelLinks.h"

#include <memory>
#include <string>

namespace plat::text {
class FontLibrary;
}

namespace zentrix {

class CAdaptiveSfxMan;
class CAppParts;
class CAppSettings;
class CAssetMan;
class CCampaignMan;
class CCommandLineParser;
class CDriverManager;
class CAppEngineLinks;
class CEngineMan;
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
class CTauntEventQueue;
class CSlideOutMan;
class CAppPanelServices;
class CSplash;
class CSurfacePictures;
class CWin;
class CWorldMan;
class CWorldConstructMan;

/// The one application object: it owns every manager, starts them in a fixed order, runs the frame
/// loop that updates them, and stops them in a fixed order at the end.
class CApp : public CManagerInterface,
             private IGameStateServices,
             private IGameOptionEffects,
             private IInputServices,
             private IAssetHost,
             private IEffectsLevelLinks {
public:
    /// An application for `commandLine` (each argument preceded by a blank), made of `parts`.
    CApp(std::string commandLine, std::unique_ptr<CAppParts> parts);
    /// Stops once more; harmless after StopManager.
    ~CApp() override;
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    /// Creates and starts every manager and enters the first game state; 0 on success, 1 (quit flag set)
    /// when the window, the engine, the asset manager or the input manager cannot start. The player is
    /// told why (message box and standard error), and GetStartFailure keeps the text.
    int StartManager() override;
    /// Stops and deletes every manager that exists; returns 0.
    int StopManager() override;

    /// Runs frames until the quit flag is set (`loop`), or handles the waiting window events once
    /// (`loop` false); returns the restart flag. A termination request (SIGTERM, SIGINT) sets the quit
    /// flag: the loop ends after the frame, and the normal stop follows.
    bool Run(bool loop);
    /// One frame: measure it, then update every manager in order.
    void Update();

    /// Selects video mode 0 (640 x 480), 1 (800 x 600) or 2 (1024 x 768); another value is kept as the
    /// mode and leaves the size as it was.
    void SetVideoMode(int mode);
    /// Creates the display device, falling back once to 640 x 480, and sets up the scene.
    bool StartEngine();
    /// Ends the run so that the game starts itself again.
    void RequestRestart();
    /// Stops and starts the input manager again.
    void RestartIOManager() override;

    /// The owned managers (null before creation and after deletion).
    CEventMan* GetEventMan() const { return m_eventMan.get(); }
    CErrorMan* GetErrorMan() const { return m_errorMan.get(); }
    CWin* GetWin() const { return m_win.get(); }
    CEngineMan* GetEngineMan() const { return m_engineMan.get(); }
    CAssetMan* GetAssetMan() const { return m_assetMan.get(); }
    CSlideOutMan* GetSlideOutMan() const { return m_slideOutMan.get(); }
    CIOManager* GetIOManager() const { return m_ioManager.get(); }
    /// The driver manager of the parts (null when the parts have none).
    CDriverManager* GetDriverManager() const;
    /// The game sound controller and the music manager of the parts (null when the parts have none).
    CGameSoundController* GetGameSoundController() const;
    CMusicManager* GetMusicManager() const;
    CAppSettings* GetAppSettings() const { return m_appSettings.get(); }
    CCommandLineParser* GetCommandLineParser() const { return m_commandLineParser.get(); }
    /// The route manager of the parts (null when the parts have none).
    CRouteNodeMan* GetRouteNodeMan() const;
    CCampaignMan* GetCampaignMan() const;
    /// The race's taunt event queue (null when the parts have no race world).
    CTauntEventQueue* GetTauntEventQueue() const;
    CGameStateMan* GetGameStateMan() const { return m_gameStateMan.get(); }
    CPerformanceMonitor* GetPerformanceMonitor() const { return m_performanceMonitor.get(); }
    CAdaptiveSfxMan* GetAdaptiveSfxMan() const { return m_adaptiveSfxMan.get(); }
    CGameOptions* GetGameOptions() const { return m_gameOptions.get(); }
    CGameOptions* GetGameOptions() override { return m_gameOptions.get(); }
    /// The current world's manager (null when there is none, or the parts make no worlds).
    CWorldMan* GetWorldMan() const;
    /// The track editor's world (null: none).
    CWorldConstructMan* GetConstructWorld() const;
    /// What the application is made of, and the operations of other subsystems it calls.
    CAppParts& GetParts() const { return *m_parts; }
    /// The managers the parts own (null when the parts have none).
    CHelpManager* GetHelpManager() const;
    CPrintManager* GetPrintManager() const;

    /// 30 / frames per second of the last frame (1.0 before the first).
    float GetFrameFactor() const { return m_frameFactor; }
    /// The video mode index.
    int GetVideoMode() const override { return m_videoMode; }
    /// Screen width in pixels.
    int GetScreenWidth() const { return m_screenWidth; }
    /// Screen height in pixels.
    int GetScreenHeight() const { return m_screenHeight; }
    /// Bits per pixel (16).
    int GetBitsPerPixel() const { return m_bitsPerPixel; }
    /// Whether the frame loop is to end.
    bool IsQuitting() const { return m_quit; }
    /// Ends the frame loop after this frame.
    void RequestQuit() { m_quit = true; }
    /// Whether a quit request was taken: the exit pictures show instead of the start-up picture.
    bool IsExiting() const { return m_exit; }
    /// Sets the exit flag.
    void SetExitFlag(bool exiting) { m_exit = exiting; }
    /// Whether the start is complete and the stop has not begun; the window acts only then.
    bool IsRunning() const { return m_running; }
    /// Whether the engine had to fall back to 640 x 480.
    bool HasVideoModeFallenBack() const { return m_videoModeFallback; }
    /// Whether the restart flag is set.
    bool IsRestartRequested() const { return m_restart; }
    /// Whether the engine is drawing the frame now.
    bool IsRendering() const { return m_rendering; }
    /// Why the start failed (empty when it did not, or when the failing manager told the player itself).
    const std::string& GetStartFailure() const { return m_startFailure; }

private:
    // The start, step by step, in the order the managers depend on one another.
    bool StartCommandLine();
    void StartSettings();
    void StartStateAndWindow();
    bool StartAssets(std::string& why, bool& told);
    std::string CheckPanelRecords();
    bool StartDevices();
    void StartScreens();
    void EnterFirstState(bool restarted);
    int FailStart(const std::string& why, bool told = false);
    std::string DescribeEngineFailure() const;
    void RepaintSplash();
    void PumpMessages();
    bool IsEndRequested();

    // IGameStateServices
    bool HasSlideOutMan() const override;
    void SwitchPanel(int slideOutIndex) override;
    void SetVideo(int videoId, int nextState) override;
    void SetCurrentWorld(int worldId) override;
    void ResumeAutoSavedTrack() override;
    void MusicOff() override;
    void PostQuit() override;
    int GetCurrentWorldTheme() const override;
    int GetCurrentCampaignNode() const override;
    void CopyCampaignSetup(int index, CRaceSetup& setup) override;

    // IInputServices
    bool HasErrorMan() const override;
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem() override;

    // IAssetHost (and PostQuit, GetCurrentCampaignNode above)
    void ShowMessage(std::string_view caption, std::string_view text) override;
    int GetGameMode() const override;
    int GetCurrentWorldId() const override;

    // IGameOptionEffects
    void SetMusicVolume(int volume) override;
    void SetSoundVolume(int volume) override;
    void SetEffectsLevel(int level) override;

    // IEffectsLevelLinks
    int GetEffectsLevelOption() override;
    void SetTauntsEnabled(bool enabled) override;
    void SetShadowsOff(bool off) override;
    void SetSkidMarkCount(int count) override;

    std::unique_ptr<CAppParts> m_parts;
    std::unique_ptr<CEventMan> m_eventMan;
    std::unique_ptr<CErrorMan> m_errorMan;
    std::unique_ptr<CWin> m_win;
    std::unique_ptr<CAppEngineLinks> m_engineLinks;
    std::unique_ptr<CEngineMan> m_engineMan;
    std::unique_ptr<CSurfacePictures> m_pictures; ///< the asset manager's pictures, on the engine's surfaces
    std::unique_ptr<plat::text::FontLibrary> m_fontLibrary; ///< outlives the asset manager's fonts
    std::unique_ptr<CAssetMan> m_assetMan;
    std::unique_ptr<CAppPanelServices> m_panelServices; ///< serves the slide-out manager
    std::unique_ptr<CSlideOutMan> m_slideOutMan;
    std::unique_ptr<CIOManager> m_ioManager;
    bool m_driversStarted = false; ///< the parts' driver manager was started and not yet stopped
    std::unique_ptr<CAppSettings> m_appSettings;
    std::unique_ptr<CCommandLineParser> m_commandLineParser;
    std::unique_ptr<CGameStateMan> m_gameStateMan;
    std::unique_ptr<CPerformanceMonitor> m_performanceMonitor;
    std::unique_ptr<CAdaptiveSfxMan> m_adaptiveSfxMan;
    std::unique_ptr<CGameOptions> m_gameOptions;
    std::unique_ptr<CSplash> m_splash;

    std::string m_commandLine;
    std::string m_startFailure;
    int m_terminationsSeen = 0; ///< termination requests made before this application existed
    bool m_quit = false;
    bool m_restart = false;
    bool m_running = false;
    bool m_videoModeFallback = false;
    bool m_exit = false;
    bool m_rendering = false;
    bool m_soundStarted = false; ///< the parts' game sound controller was started and not yet stopped
    bool m_musicStarted = false; ///< the parts' music manager was started and not yet stopped
    float m_frameFactor = 1.0f;
    int m_videoMode = 0;
    int m_screenWidth = 640;
    int m_screenHeight = 480;
    int m_bitsPerPixel = 16;
};

/// The one application object while it exists, else null.
extern CApp* g_pApp;

/// Whether `code` is a good result: always while the application or its error manager is missing,
/// else exactly for 0.
bool IsResultOk(int code);

} // namespace zentrix
