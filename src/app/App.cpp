#include "app/App.h"

#include "render/assets/GraphicsCaches.h"

#include "app/AppEngineLinks.h"
#include "app/AppPanelServices.h"
#include "app/AppParts.h"
#include "foundation/base/AppSettings.h"
#include "app/CommandLineParser.h"
#include "app/ErrorMan.h"
#include "foundation/base/EventMan.h"
#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "app/PerformanceMonitor.h"
#include "app/Splash.h"
#include "app/Win.h"
#include "app/standin/CampaignManStandIn.h"
#include "app/standin/DriverManagerStandIn.h"
#include "app/standin/GameSoundControllerStandIn.h"
#include "app/standin/HelpManagerStandIn.h"
#include "app/standin/MusicManagerStandIn.h"
#include "app/standin/PrintManagerStandIn.h"
#include "app/standin/RouteNodeManStandIn.h"
#include "foundation/assets/AssetMan.h"
#include "platform/system/MessageBox.h"
#include "platform/text/FontLibrary.h"
#include "platform/window/Window.h"
#include "render/AdaptiveSfxMan.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "render/SurfacePictures.h"
#include "render/VornMesh.h"
#include "ui/SlideOutMan.h"

CApp* g_pApp = nullptr;

bool IsResultOk(int code) {
    if (!g_pApp || !g_pApp->GetErrorMan())
        return true;
    return code == 0;
}

namespace {

/// Stops (when it has a stop) and deletes one manager.
template <typename T> void StopAndDelete(std::unique_ptr<T>& manager) {
    if (manager) {
        manager->StopManager();
        manager.reset();
    }
}

} // namespace

CApp::CApp(std::string commandLine, std::unique_ptr<CAppParts> parts)
    : m_pParts(std::move(parts)), m_pEngineLinks(std::make_unique<CAppEngineLinks>(*this)),
      m_CommandLine(std::move(commandLine)) {
    CParticleSystem::SetServices(m_pEngineLinks.get());
}

CApp::~CApp() {
    m_CommandLine.clear();
    StopManager();
    CParticleSystem::SetServices(nullptr);
}

void CApp::SetVideoMode(int mode) {
    m_nVideoMode = mode;
    switch (mode) {
    case 0:
        m_nScreenWidth = 640;
        m_nScreenHeight = 480;
        break;
    case 1:
        m_nScreenWidth = 800;
        m_nScreenHeight = 600;
        break;
    case 2:
        m_nScreenWidth = 1024;
        m_nScreenHeight = 768;
        break;
    default:
        break;
    }
    m_nBitsPerPixel = 16;
}

void CApp::RepaintSplash() {
    if (m_pSplash)
        m_pSplash->Repaint();
}

int CApp::FailStart() {
    m_bQuit = true;
    m_pSplash.reset();
    return 1;
}

int CApp::StartManager() {
    m_pCommandLineParser = m_pParts->CreateCommandLineParser();
    if (m_pCommandLineParser)
        m_pCommandLineParser->Parse(m_CommandLine);
    else
        m_bQuit = true;
    bool restarted = m_pCommandLineParser && m_pCommandLineParser->IsRestart();
    if (!restarted)
        m_pSplash = m_pParts->CreateSplash();

    m_bRunning = false;
    m_pErrorMan = m_pParts->CreateErrorMan();

    m_pAppSettings = m_pParts->CreateAppSettings();
    std::string path;
    if (m_pAppSettings && m_pAppSettings->GetString("Path", path))
        m_pParts->SetCurrentDirectory(path);
    RepaintSplash();

    if (m_pAppSettings)
        m_pGameOptions = m_pParts->CreateGameOptions(*m_pAppSettings, this);
    if (m_pGameOptions) {
        int resolution = m_pGameOptions->GetOption(CGameOptions::OPTION_RESOLUTION);
        if (resolution == 0 || resolution == 1)
            SetVideoMode(resolution);
    }

    m_pPerformanceMonitor = m_pParts->CreatePerformanceMonitor();
    if (m_pPerformanceMonitor)
        m_pPerformanceMonitor->Start();

    m_pGameStateMan = m_pParts->CreateGameStateMan(this, m_pAppSettings.get());
    if (m_pGameStateMan)
        m_pGameStateMan->StartManager();
    RepaintSplash();

    m_pWin = m_pParts->CreateWin(m_nScreenWidth, m_nScreenHeight);
    RepaintSplash();

    // Without its resource table the game has no content at all: the asset manager has told the player,
    // and the start ends here as it does for the engine.
    m_pFontLibrary = m_pParts->CreateFontLibrary();
    CAssetMan::SLinks links;
    links.host = this;
    links.settings = m_pAppSettings.get();
    links.fonts = m_pFontLibrary.get();
    links.makeGraphicsCaches = [](CAssetMan& assets) { return std::make_unique<CGraphicsCaches>(assets); };
    links.engine = m_pEngineLinks.get();
    m_pAssetMan = m_pParts->CreateAssetMan(std::move(links));
    if (m_pAssetMan && m_pAssetMan->StartManager() != 0)
        return FailStart();
    RepaintSplash();

    m_pEventMan = m_pParts->CreateEventMan();
    if (m_pEventMan)
        m_pEventMan->StartManager();
    RepaintSplash();

    m_pEngineMan = m_pParts->CreateEngineMan(m_pEngineLinks.get());
    CVornMesh::SetLightingEngine(m_pEngineMan.get());
    if (m_pEngineMan)
        m_pEngineMan->StartManager();
    RepaintSplash();

    // The game cannot be played without its input devices.
    m_pIOManager = m_pParts->CreateIOManager(this);
    if (m_pIOManager && m_pIOManager->StartManager() != 0)
        return FailStart();
    RepaintSplash();

    m_pDriverManager = m_pParts->CreateDriverManager();
    if (m_pDriverManager)
        m_pDriverManager->StartManager();
    RepaintSplash();

    m_pGameSoundController = m_pParts->CreateGameSoundController();
    if (m_pGameSoundController)
        m_pGameSoundController->Start();
    RepaintSplash();

    m_pMusicManager = m_pParts->CreateMusicManager();
    if (m_pMusicManager)
        m_pMusicManager->StartManager();
    RepaintSplash();

    m_pSplash.reset();

    if (!StartEngine())
        return FailStart();
    if (m_pGameOptions)
        m_pGameOptions->SetOption(CGameOptions::OPTION_RESOLUTION, m_nVideoMode == 1 ? 1 : 0);

    m_pParts->CreateWorlds();

    if (!m_pPanelServices)
        m_pPanelServices = std::make_unique<CAppPanelServices>(*this);
    m_pSlideOutMan = m_pParts->CreateSlideOutMan(*m_pPanelServices);
    if (m_pSlideOutMan)
        m_pSlideOutMan->StartManager();
    m_pCampaignMan = m_pParts->CreateCampaignMan();
    if (m_pCampaignMan)
        m_pCampaignMan->StartManager();
    m_pRouteNodeMan = m_pParts->CreateRouteNodeMan();
    if (m_pRouteNodeMan)
        m_pRouteNodeMan->StartManager();
    m_pHelpManager = m_pParts->CreateHelpManager();
    if (m_pHelpManager)
        m_pHelpManager->StartManager();
    m_pPrintManager = m_pParts->CreatePrintManager();
    if (m_pPrintManager)
        m_pPrintManager->StartManager();
    m_pAdaptiveSfxMan = m_pParts->CreateAdaptiveSfxMan(*this);
    if (m_pAdaptiveSfxMan)
        m_pAdaptiveSfxMan->StartManager();

    if (m_pEventMan)
        m_pEventMan->PostMessage(VORNMSG_HIDE_POINTER);
    if (m_pGameStateMan)
        m_pGameStateMan->SetState(GAMESTATE_STARTUP);
    if (m_pAssetMan)
        m_pAssetMan->StartupHook();
    m_bRunning = true;

    if (restarted) {
        if (m_pHelpManager)
            m_pHelpManager->RestoreAfterRestart();
        if (m_pGameStateMan)
            m_pGameStateMan->SetState(GAMESTATE_OPTIONS);
    }
    m_bRestart = false;
    return 0;
}

bool CApp::StartEngine() {
    if (!m_pEngineMan)
        return false;
    plat::window::Window* window = m_pWin ? m_pWin->GetHwnd() : nullptr;
    if (!m_pEngineMan->CreateDevice(window, m_nVideoMode)) {
        SetVideoMode(0);
        m_bVideoModeFallback = true;
        if (!m_pEngineMan->CreateDevice(window, m_nVideoMode))
            return false;
    }
    m_pEngineMan->InitScene();
    m_pPictures = std::make_unique<CSurfacePictures>(m_pEngineMan->GetSurfaceMan());
    if (m_pAssetMan)
        m_pAssetMan->SetPictureFactory(m_pPictures.get());
    return true;
}

int CApp::StopManager() {
    m_bRunning = false;
    m_pParts->FreeParticleKinds();
    m_pWin.reset();
    StopAndDelete(m_pAdaptiveSfxMan);
    m_pParts->FreeKeywordTables();
    StopAndDelete(m_pGameStateMan);
    m_pParts->DestroyWorlds();
    StopAndDelete(m_pSlideOutMan);
    StopAndDelete(m_pAssetMan);
    CEngineMan::SetTextureLoader(nullptr); // it reached into the asset manager
    m_pFontLibrary.reset();
    if (m_pGameSoundController) {
        m_pGameSoundController->Stop();
        m_pGameSoundController.reset();
    }
    StopAndDelete(m_pMusicManager);
    StopAndDelete(m_pPrintManager);
    StopAndDelete(m_pHelpManager);
    CVornMesh::SetLightingEngine(nullptr);
    StopAndDelete(m_pEngineMan);
    m_pPictures.reset(); // its surfaces went with the engine; the asset manager stopped before
    m_pPerformanceMonitor.reset();
    m_pEventMan.reset();
    StopAndDelete(m_pDriverManager);
    StopAndDelete(m_pIOManager);
    StopAndDelete(m_pRouteNodeMan);
    StopAndDelete(m_pCampaignMan);
    m_pAppSettings.reset();
    m_pGameOptions.reset();
    m_pErrorMan.reset();
    m_pCommandLineParser.reset();
    return 0;
}

void CApp::RequestRestart() {
    m_bQuit = true;
    m_bRestart = true;
}

void CApp::RestartIOManager() {
    if (m_pIOManager) {
        m_pIOManager->StopManager();
        m_pIOManager->StartManager();
    }
}

bool CApp::Run(bool loop) {
    if (!loop) {
        PumpMessages();
        return m_bRestart;
    }
    while (!m_bQuit) {
        Update();
        PumpMessages();
    }
    return m_bRestart;
}

void CApp::PumpMessages() {
    plat::window::Window* window = m_pWin ? m_pWin->GetHwnd() : nullptr;
    if (!window)
        return;
    plat::window::Event event;
    // Everything waiting is handled, the events behind a quit included.
    while (window->NextEvent(event)) {
        if (event.kind == plat::window::EventKind::Quit)
            m_bQuit = true;
        else if (m_pWin)
            m_pWin->WindowProc(event);
        if (m_pPrintManager && m_pPrintManager->IsJobPending())
            m_pPrintManager->ProcessPendingJob();
    }
}

void CApp::Update() {
    int ms = 0;
    if (m_pPerformanceMonitor) {
        m_pPerformanceMonitor->Update();
        ms = m_pPerformanceMonitor->GetElapsedMs();
        m_fFrameFactor = 30.0f / m_pPerformanceMonitor->GetFps();
    }
    if (m_pHelpManager)
        m_pHelpManager->Update(ms);
    if (m_bQuit && m_pGameSoundController)
        m_pGameSoundController->Pause(true);
    if (m_pIOManager)
        m_pIOManager->Poll(ms);
    if (m_pSlideOutMan)
        m_pSlideOutMan->Update(ms);
    if (m_pEngineMan)
        m_pEngineMan->Update();
    if (m_pDriverManager && !m_pParts->IsRacePaused())
        m_pDriverManager->Update(ms);
    if (m_pEngineMan) {
        m_bRendering = true;
        m_pEngineMan->RenderFrame();
        m_bRendering = false;
    }
    m_pParts->FrameCurrentWorld(ms);
    if (m_pEventMan)
        m_pEventMan->Update();
    if (m_pGameSoundController)
        m_pGameSoundController->Update(ms);
    if (m_pGameStateMan)
        m_pGameStateMan->Update();
    if (m_pHelpManager)
        m_pHelpManager->Update(ms);
    if (m_pMusicManager)
        m_pMusicManager->Update(ms);
    if (m_pPrintManager)
        m_pPrintManager->Update(ms);
    // A quit request shows the exit pictures; their end sets the state that ends the loop.
    if (m_pEventMan && m_pEventMan->FindMessage(VORNMSG_QUIT_REQUEST, nullptr, true)) {
        m_bExit = true;
        if (m_pGameStateMan)
            m_pGameStateMan->SetState(GAMESTATE_STARTUP);
    }
}

bool CApp::HasSlideOutMan() const {
    return m_pSlideOutMan != nullptr;
}

void CApp::SwitchPanel(int slideOutIndex) {
    if (m_pSlideOutMan)
        m_pSlideOutMan->SwitchTo(slideOutIndex);
}

void CApp::SetVideo(int videoId, int nextState) {
    m_pParts->SetVideo(videoId, nextState);
}

void CApp::SetCurrentWorld(int worldId) {
    m_pParts->SetCurrentWorld(worldId, m_pEventMan.get());
}

void CApp::ResumeAutoSavedTrack() {
    m_pParts->ResumeAutoSavedTrack();
}

void CApp::MusicOff() {
    if (m_pMusicManager)
        m_pMusicManager->SetEnabled(false);
}

void CApp::PostQuit() {
    plat::window::Window* window = m_pWin ? m_pWin->GetHwnd() : nullptr;
    // The quit comes out of the window's queue behind what is waiting; without a window there is no
    // queue, and the loop ends at once.
    if (window)
        window->PostQuit();
    else
        m_bQuit = true;
}

int CApp::GetCurrentWorldTheme() const {
    return m_pAssetMan ? m_pAssetMan->GetWorld() : 0;
}

void CApp::ShowMessage(std::string_view caption, std::string_view text) {
    plat::system::ShowMessageBox(caption, text, plat::system::Buttons::Ok);
}

int CApp::GetGameMode() const {
    return m_pGameStateMan ? m_pGameStateMan->GetGameMode() : -1;
}

int CApp::GetCurrentWorldId() const {
    return m_pParts->GetCurrentWorldId();
}

int CApp::GetCurrentCampaignNode() const {
    return m_pCampaignMan ? m_pCampaignMan->GetCurrentNode() : -1;
}

void CApp::CopyCampaignSetup(int index, CRaceSetup& setup) {
    if (m_pCampaignMan)
        m_pCampaignMan->CopyNodeSetup(index, setup);
}

bool CApp::HasErrorMan() const {
    return m_pErrorMan != nullptr;
}

std::unique_ptr<plat::input::InputSystem> CApp::CreateInputSystem() {
    return m_pParts->CreateInputSystem(m_pWin ? m_pWin->GetHwnd() : nullptr);
}

void CApp::SetMusicVolume(int volume) {
    if (m_pMusicManager)
        m_pMusicManager->SetVolume(volume);
}

void CApp::SetSoundVolume(int volume) {
    if (m_pGameSoundController)
        m_pGameSoundController->SetVolume(volume);
}

void CApp::SetEffectsLevel(int /*level*/) {
    // The manager reads the stored option back itself.
    if (m_pAdaptiveSfxMan)
        m_pAdaptiveSfxMan->ApplyEffectsLevel();
}

int CApp::GetEffectsLevelOption() {
    return m_pGameOptions ? m_pGameOptions->GetOption(CGameOptions::OPTION_EFFECTS_LEVEL) : -1;
}

void CApp::SetTauntsEnabled(bool enabled) {
    m_pParts->SetTauntsEnabled(enabled);
}

void CApp::SetShadowsOff(bool off) {
    m_pParts->SetShadowsOff(off);
}

void CApp::SetSkidMarkCount(int count) {
    m_pParts->SetSkidMarkCount(count);
}
