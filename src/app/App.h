#pragma once

#include "app/GameOptionEffects.h"
#include "app/GameStateServices.h"
#include "app/InputServices.h"
#include "foundation/base/ManagerInterface.h"
#include "foundation/assets/AssetHost.h"
#include "render/EffectsLevelLinks.h"

#include <memory>
#include <string>

class CAdaptiveSfxMan;
class CAppParts;
class CAppSettings;
class CAssetMan;
class CCampaignManStandIn;
class CCommandLineParser;
class CDriverManagerStandIn;
class CAppEngineLinks;
class CEngineMan;
class CErrorMan;
class CEventMan;
class CGameOptions;
class CGameSoundControllerStandIn;
class CGameStateMan;
class CHelpManagerStandIn;
class CIOManager;
class CMusicManagerStandIn;
class CPerformanceMonitor;
class CPrintManagerStandIn;
class CRouteNodeManStandIn;
class CSlideOutMan;
class CAppPanelServices;
class CSplash;
class CSurfacePictures;
class CWin;

namespace plat::text {
class FontLibrary;
}

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
    /// when the engine, the asset manager or the input manager cannot start.
    int StartManager() override;
    /// Stops and deletes every manager that exists; returns 0.
    int StopManager() override;

    /// Runs frames until the quit flag is set (`loop`), or handles the waiting window events once
    /// (`loop` false); returns the restart flag.
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
    CEventMan* GetEventMan() const { return m_pEventMan.get(); }
    CErrorMan* GetErrorMan() const { return m_pErrorMan.get(); }
    CWin* GetWin() const { return m_pWin.get(); }
    CEngineMan* GetEngineMan() const { return m_pEngineMan.get(); }
    CAssetMan* GetAssetMan() const { return m_pAssetMan.get(); }
    CSlideOutMan* GetSlideOutMan() const { return m_pSlideOutMan.get(); }
    CIOManager* GetIOManager() const { return m_pIOManager.get(); }
    CDriverManagerStandIn* GetDriverManager() const { return m_pDriverManager.get(); }
    CGameSoundControllerStandIn* GetGameSoundController() const { return m_pGameSoundController.get(); }
    CMusicManagerStandIn* GetMusicManager() const { return m_pMusicManager.get(); }
    CPrintManagerStandIn* GetPrintManager() const { return m_pPrintManager.get(); }
    CHelpManagerStandIn* GetHelpManager() const { return m_pHelpManager.get(); }
    CAppSettings* GetAppSettings() const { return m_pAppSettings.get(); }
    CCommandLineParser* GetCommandLineParser() const { return m_pCommandLineParser.get(); }
    CRouteNodeManStandIn* GetRouteNodeMan() const { return m_pRouteNodeMan.get(); }
    CCampaignManStandIn* GetCampaignMan() const { return m_pCampaignMan.get(); }
    CGameStateMan* GetGameStateMan() const { return m_pGameStateMan.get(); }
    CPerformanceMonitor* GetPerformanceMonitor() const { return m_pPerformanceMonitor.get(); }
    CAdaptiveSfxMan* GetAdaptiveSfxMan() const { return m_pAdaptiveSfxMan.get(); }
    CGameOptions* GetGameOptions() const { return m_pGameOptions.get(); }
    CGameOptions* GetGameOptions() override { return m_pGameOptions.get(); }
    /// What the application is made of, and the operations of other subsystems it calls.
    CAppParts& GetParts() const { return *m_pParts; }

    /// 30 / frames per second of the last frame (1.0 before the first).
    float GetFrameFactor() const { return m_fFrameFactor; }
    /// The video mode index.
    int GetVideoMode() const override { return m_nVideoMode; }
    /// Screen width in pixels.
    int GetScreenWidth() const { return m_nScreenWidth; }
    /// Screen height in pixels.
    int GetScreenHeight() const { return m_nScreenHeight; }
    /// Bits per pixel (16).
    int GetBitsPerPixel() const { return m_nBitsPerPixel; }
    /// Whether the frame loop is to end.
    bool IsQuitting() const { return m_bQuit; }
    /// Ends the frame loop after this frame.
    void RequestQuit() { m_bQuit = true; }
    /// Whether a quit request was taken: the exit pictures show instead of the start-up picture.
    bool IsExiting() const { return m_bExit; }
    /// Sets the exit flag.
    void SetExitFlag(bool exiting) { m_bExit = exiting; }
    /// Whether the start is complete and the stop has not begun; the window acts only then.
    bool IsRunning() const { return m_bRunning; }
    /// Whether the engine had to fall back to 640 x 480.
    bool HasVideoModeFallenBack() const { return m_bVideoModeFallback; }
    /// Whether the restart flag is set.
    bool IsRestartRequested() const { return m_bRestart; }
    /// Whether the engine is drawing the frame now.
    bool IsRendering() const { return m_bRendering; }

private:
    int FailStart();
    void RepaintSplash();
    void PumpMessages();

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

    std::unique_ptr<CAppParts> m_pParts;
    std::unique_ptr<CEventMan> m_pEventMan;
    std::unique_ptr<CErrorMan> m_pErrorMan;
    std::unique_ptr<CWin> m_pWin;
    std::unique_ptr<CAppEngineLinks> m_pEngineLinks;
    std::unique_ptr<CEngineMan> m_pEngineMan;
    std::unique_ptr<CSurfacePictures> m_pPictures; ///< the asset manager's pictures, on the engine's surfaces
    std::unique_ptr<plat::text::FontLibrary> m_pFontLibrary; ///< outlives the asset manager's fonts
    std::unique_ptr<CAssetMan> m_pAssetMan;
    std::unique_ptr<CAppPanelServices> m_pPanelServices; ///< serves the slide-out manager
    std::unique_ptr<CSlideOutMan> m_pSlideOutMan;
    std::unique_ptr<CIOManager> m_pIOManager;
    std::unique_ptr<CDriverManagerStandIn> m_pDriverManager;
    std::unique_ptr<CGameSoundControllerStandIn> m_pGameSoundController;
    std::unique_ptr<CMusicManagerStandIn> m_pMusicManager;
    std::unique_ptr<CPrintManagerStandIn> m_pPrintManager;
    std::unique_ptr<CHelpManagerStandIn> m_pHelpManager;
    std::unique_ptr<CAppSettings> m_pAppSettings;
    std::unique_ptr<CCommandLineParser> m_pCommandLineParser;
    std::unique_ptr<CRouteNodeManStandIn> m_pRouteNodeMan;
    std::unique_ptr<CCampaignManStandIn> m_pCampaignMan;
    std::unique_ptr<CGameStateMan> m_pGameStateMan;
    std::unique_ptr<CPerformanceMonitor> m_pPerformanceMonitor;
    std::unique_ptr<CAdaptiveSfxMan> m_pAdaptiveSfxMan;
    std::unique_ptr<CGameOptions> m_pGameOptions;
    std::unique_ptr<CSplash> m_pSplash;

    std::string m_CommandLine;
    bool m_bQuit = false;
    bool m_bRestart = false;
    bool m_bRunning = false;
    bool m_bVideoModeFallback = false;
    bool m_bExit = false;
    bool m_bRendering = false;
    float m_fFrameFactor = 1.0f;
    int m_nVideoMode = 0;
    int m_nScreenWidth = 640;
    int m_nScreenHeight = 480;
    int m_nBitsPerPixel = 16;
};

/// The one application object while it exists, else null.
extern CApp* g_pApp;

/// Whether `code` is a good result: always while the application or its error manager is missing,
/// else exactly for 0.
bool IsResultOk(int code);
