#include "app/App.h"

#include "render/assets/GraphicsCaches.h"

#include "app/AppEngineLinks.h"
#include "app/AppPanelServices.h"
#include "app/AppParts.h"
#include "app/CommandLineParser.h"
#include "app/ErrorMan.h"
#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "app/PerformanceMonitor.h"
#include "app/Splash.h"
#include "app/Win.h"
#include "engine/EngineLog.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/FatalError.h"
#include "platform/system/MessageBox.h"
#include "platform/system/TerminationSignals.h"
#include "platform/text/FontLibrary.h"
#include "platform/window/Window.h"
#include "render/AdaptiveSfxMan.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "render/SurfacePictures.h"
#include "render/VornMesh.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"

#include <cstdio>

namespace zentrix {

CApp* g_pApp = nullptr;

bool IsResultOk(int code) {
    if (!g_pApp || !g_pApp->GetErrorMan())
        return true;
    return code == 0;
}

namespace {

/// A fatal error also goes to the engine's log, beside the other failures of the engine's readers.
void LogFatalError(const char* text) {
    EngineLog("FatalError", "%s\n", text);
}

/// Stops (when it has a stop) and deletes one manager.
template <typename T> void StopAndDelete(std::unique_ptr<T>& manager) {
    if (manager) {
        manager->StopManager();
        manager.reset();
    }
}

} // namespace

CApp::CApp(std::string commandLine, std::unique_ptr<CAppParts> parts)
    : m_parts(std::move(parts)), m_engineLinks(std::make_unique<CAppEngineLinks>(*this)),
      m_commandLine(std::move(commandLine)), m_terminationsSeen(plat::system::TerminationRequests()) {
    CParticleSystem::SetServices(m_engineLinks.get());
    SetFatalErrorLog(&LogFatalError);
}

CApp::~CApp() {
    m_commandLine.clear();
    StopManager();
    CParticleSystem::SetServices(nullptr);
    SetFatalErrorLog(nullptr);
}

void CApp::SetVideoMode(int mode) {
    m_videoMode = mode;
    switch (mode) {
    case 0:
        m_screenWidth = 640;
        m_screenHeight = 480;
        break;
    case 1:
        m_screenWidth = 800;
        m_screenHeight = 600;
        break;
    case 2:
        m_screenWidth = 1024;
        m_screenHeight = 768;
        break;
    default:
        break;
    }
    m_bitsPerPixel = 16;
}

void CApp::RepaintSplash() {
    if (m_splash)
        m_splash->Repaint();
}

int CApp::FailStart(const std::string& why, bool told) {
    m_quit = true;
    m_splash.reset();
    m_startFailure = why;
    // A manager that has shown its own box leaves only the details, for standard error.
    if (told && !why.empty())
        std::fprintf(stderr, "%s\n", why.c_str());
    else if (!why.empty())
        plat::system::ShowMessageBox(CWin::kTitle, why, plat::system::Buttons::Ok);
    return 1;
}

std::string CApp::DescribeEngineFailure() const {
    if (!m_win || !m_win->GetHwnd()) {
        const std::string why = m_win ? m_win->GetOpenError() : std::string();
        return "The game's window could not be opened" + (why.empty() ? std::string(".") : ": " + why + ".");
    }
    return "The game's display could not be started at " + std::to_string(m_screenWidth) + " x " +
           std::to_string(m_screenHeight) + ".";
}

int CApp::StartManager() {
    const bool restarted = StartCommandLine();
    StartSettings();
    StartStateAndWindow();
    // Without its resource table, libraries or data tables the game has no content to speak of: the start
    // ends here as it does for the engine, saying which files are at fault.
    std::string why;
    bool told = false;
    if (!StartAssets(why, told))
        return FailStart(why, told);
    // The game cannot be played without its input devices.
    if (!StartDevices())
        return FailStart("The input devices could not be started.");
    m_splash.reset();
    if (!StartEngine())
        return FailStart(DescribeEngineFailure());
    if (m_gameOptions)
        m_gameOptions->SetOption(CGameOptions::OPTION_RESOLUTION, m_videoMode == 1 ? 1 : 0);
    StartScreens();
    // A panel without its layout is a black screen with nothing to click.
    if (std::string missing = CheckPanelRecords(); !missing.empty())
        return FailStart(missing);
    EnterFirstState(restarted);
    return 0;
}

bool CApp::StartCommandLine() {
    m_commandLineParser = m_parts->CreateCommandLineParser();
    if (m_commandLineParser)
        m_commandLineParser->Parse(m_commandLine);
    else
        m_quit = true;
    const bool restarted = m_commandLineParser && m_commandLineParser->IsRestart();
    if (!restarted)
        m_splash = m_parts->CreateSplash();
    m_running = false;
    return restarted;
}

void CApp::StartSettings() {
    m_errorMan = m_parts->CreateErrorMan();

    m_appSettings = m_parts->CreateAppSettings();
    std::string path;
    if (m_appSettings && m_appSettings->GetString("Path", path))
        m_parts->SetCurrentDirectory(path);
    RepaintSplash();

    if (m_appSettings)
        m_gameOptions = m_parts->CreateGameOptions(*m_appSettings, this);
    if (m_gameOptions) {
        int resolution = m_gameOptions->GetOption(CGameOptions::OPTION_RESOLUTION);
        if (resolution == 0 || resolution == 1)
            SetVideoMode(resolution);
    }

    m_performanceMonitor = m_parts->CreatePerformanceMonitor();
    if (m_performanceMonitor)
        m_performanceMonitor->Start();
}

void CApp::StartStateAndWindow() {
    m_gameStateMan = m_parts->CreateGameStateMan(this, m_appSettings.get());
    if (m_gameStateMan)
        m_gameStateMan->StartManager();
    RepaintSplash();

    m_win = m_parts->CreateWin(m_screenWidth, m_screenHeight);
    // From here the frame loop (or the stop) ends the game on a termination signal.
    if (m_win && m_win->GetHwnd())
        plat::system::SetTerminationWatched(true);
    RepaintSplash();
}

bool CApp::StartAssets(std::string& why, bool& told) {
    m_fontLibrary = m_parts->CreateFontLibrary();
    CAssetMan::SLinks links;
    links.host = this;
    links.settings = m_appSettings.get();
    links.fonts = m_fontLibrary.get();
    links.makeGraphicsCaches = [](CAssetMan& assets) { return std::make_unique<CGraphicsCaches>(assets); };
    links.engine = m_engineLinks.get();
    m_assetMan = m_parts->CreateAssetMan(std::move(links));
    if (!m_assetMan)
        return true;
    // A start that returns a failure has shown the player its own box.
    told = m_assetMan->StartManager() != 0;
    const std::vector<std::string>& problems = m_assetMan->GetStartProblems();
    if (!told && problems.empty()) {
        RepaintSplash();
        return true;
    }
    why = "The game's data cannot be used:";
    for (const std::string& problem : problems)
        why += "\n" + problem;
    return false;
}

std::string CApp::CheckPanelRecords() {
    if (!m_slideOutMan || !m_assetMan)
        return {};
    std::string problems;
    std::string relative;
    for (const std::unique_ptr<CSlideOut>& panel : m_slideOutMan->GetSlideOuts()) {
        // A layout the resource table does not list is the panel's own business (it keeps its defaults).
        if (!panel || !m_assetMan->GetAssetRelativePath(panel->GetId(), relative) ||
            m_assetMan->GetDataFile(panel->GetId()))
            continue;
        problems += "\n" + m_assetMan->DescribeUnreadable(panel->GetId(), "the layout of a screen");
    }
    return problems.empty() ? problems : "The game's data cannot be used:" + problems;
}

bool CApp::StartDevices() {
    m_eventMan = m_parts->CreateEventMan();
    if (m_eventMan)
        m_eventMan->StartManager();
    RepaintSplash();

    m_engineMan = m_parts->CreateEngineMan(m_engineLinks.get());
    CVornMesh::SetLightingEngine(m_engineMan.get());
    if (m_engineMan)
        m_engineMan->StartManager();
    RepaintSplash();

    m_ioManager = m_parts->CreateIOManager(this);
    if (m_ioManager && m_ioManager->StartManager() != 0)
        return false;
    RepaintSplash();

    m_driversStarted = true;
    if (!m_parts->StartDrivers())
        return false;
    RepaintSplash();

    m_parts->StartGameSound();
    m_soundStarted = true;
    RepaintSplash();

    m_parts->StartMusic();
    m_musicStarted = true;
    RepaintSplash();
    return true;
}

void CApp::StartScreens() {
    m_parts->CreateWorlds();

    if (!m_panelServices)
        m_panelServices = std::make_unique<CAppPanelServices>(*this);
    m_slideOutMan = m_parts->CreateSlideOutMan(*m_panelServices);
    if (m_slideOutMan)
        m_slideOutMan->StartManager();
    m_parts->CreateCampaignMan();
    m_parts->CreateRouteNodeMan();
    m_parts->CreateHelpManager();
    m_parts->CreatePrintManager();
    m_adaptiveSfxMan = m_parts->CreateAdaptiveSfxMan(*this);
    if (m_adaptiveSfxMan)
        m_adaptiveSfxMan->StartManager();
}

void CApp::EnterFirstState(bool restarted) {
    if (m_eventMan)
        m_eventMan->PostMessage(VORNMSG_HIDE_POINTER);
    if (m_gameStateMan)
        m_gameStateMan->SetState(GAMESTATE_STARTUP);
    if (m_assetMan)
        m_assetMan->StartupHook();
    m_running = true;

    if (restarted) {
        m_parts->RestoreHelpAfterRestart();
        if (m_gameStateMan)
            m_gameStateMan->SetState(GAMESTATE_OPTIONS);
    }
    m_restart = false;
}

bool CApp::StartEngine() {
    plat::window::Window* window = m_win ? m_win->GetHwnd() : nullptr;
    // Without a window there is nothing to show the game on: the engine would run unseen.
    if (!m_engineMan || !window)
        return false;
    if (!m_engineMan->CreateDevice(window, m_videoMode)) {
        SetVideoMode(0);
        m_videoModeFallback = true;
        if (!m_engineMan->CreateDevice(window, m_videoMode))
            return false;
    }
    m_engineMan->InitScene();
    m_pictures = std::make_unique<CSurfacePictures>(m_engineMan->GetSurfaceMan());
    if (m_assetMan)
        m_assetMan->SetPictureFactory(m_pictures.get());
    return true;
}

int CApp::StopManager() {
    m_running = false;
    m_parts->FreeParticleKinds();
    m_win.reset();
    StopAndDelete(m_adaptiveSfxMan);
    m_parts->FreeKeywordTables();
    StopAndDelete(m_gameStateMan);
    m_parts->DestroyWorlds();
    StopAndDelete(m_slideOutMan);
    StopAndDelete(m_assetMan);
    CEngineMan::SetTextureLoader(nullptr); // it reached into the asset manager
    m_fontLibrary.reset();
    // After the asset manager: its sounds free their waves into the mixer the sound manager still holds.
    if (m_soundStarted)
        m_parts->StopGameSound();
    m_soundStarted = false;
    if (m_musicStarted)
        m_parts->StopMusic();
    m_musicStarted = false;
    m_parts->DeletePrintManager();
    m_parts->DeleteHelpManager(); // after the panels, which shared its help panel
    CVornMesh::SetLightingEngine(nullptr);
    StopAndDelete(m_engineMan);
    m_pictures.reset(); // its surfaces went with the engine; the asset manager stopped before
    m_performanceMonitor.reset();
    m_eventMan.reset();
    if (m_driversStarted)
        m_parts->StopDrivers();
    m_driversStarted = false;
    StopAndDelete(m_ioManager);
    m_parts->DeleteRouteNodeMan();
    m_parts->DeleteCampaignMan();
    m_appSettings.reset();
    m_gameOptions.reset();
    m_errorMan.reset();
    m_commandLineParser.reset();
    plat::system::SetTerminationWatched(false);
    return 0;
}

void CApp::RequestRestart() {
    m_quit = true;
    m_restart = true;
}

void CApp::RestartIOManager() {
    if (m_ioManager) {
        m_ioManager->StopManager();
        m_ioManager->StartManager();
    }
}

bool CApp::Run(bool loop) {
    if (!loop) {
        PumpMessages();
        return m_restart;
    }
    while (!IsEndRequested()) {
        Update();
        PumpMessages();
    }
    return m_restart;
}

bool CApp::IsEndRequested() {
    if (plat::system::TerminationRequests() != m_terminationsSeen)
        m_quit = true;
    return m_quit;
}

void CApp::PumpMessages() {
    plat::window::Window* window = m_win ? m_win->GetHwnd() : nullptr;
    if (!window)
        return;
    plat::window::Event event;
    // Everything waiting is handled, the events behind a quit included.
    while (window->NextEvent(event)) {
        if (event.kind == plat::window::EventKind::Quit)
            m_quit = true;
        else if (m_win)
            m_win->WindowProc(event);
        if (m_parts->IsPrintJobPending())
            m_parts->ProcessPrintJob();
    }
}

void CApp::Update() {
    int ms = 0;
    if (m_performanceMonitor) {
        m_performanceMonitor->Update();
        ms = m_performanceMonitor->GetElapsedMs();
        m_frameFactor = 30.0f / m_performanceMonitor->GetFps();
    }
    m_parts->UpdateHelp(ms);
    if (m_quit && m_soundStarted)
        m_parts->PauseGameSound(true);
    if (m_ioManager)
        m_ioManager->Poll(ms);
    if (m_slideOutMan)
        m_slideOutMan->Update(ms);
    if (m_engineMan)
        m_engineMan->Update();
    if (m_driversStarted && !m_parts->IsRacePaused())
        m_parts->UpdateDrivers(ms);
    if (m_engineMan) {
        m_rendering = true;
        m_engineMan->RenderFrame();
        m_rendering = false;
    }
    m_parts->FrameCurrentWorld(ms);
    if (m_eventMan)
        m_eventMan->Update();
    if (m_soundStarted)
        m_parts->UpdateGameSound(ms);
    if (m_gameStateMan)
        m_gameStateMan->Update();
    m_parts->UpdateHelp(ms);
    if (m_musicStarted)
        m_parts->UpdateMusic(ms);
    m_parts->UpdatePrint(ms);
    // A quit request shows the exit pictures; their end sets the state that ends the loop.
    if (m_eventMan && m_eventMan->FindMessage(VORNMSG_QUIT_REQUEST, nullptr, true)) {
        m_exit = true;
        if (m_gameStateMan)
            m_gameStateMan->SetState(GAMESTATE_STARTUP);
    }
}

CRouteNodeMan* CApp::GetRouteNodeMan() const {
    return m_parts->GetRouteNodeMan();
}

CHelpManager* CApp::GetHelpManager() const {
    return m_parts->GetHelpManager();
}

CCampaignMan* CApp::GetCampaignMan() const {
    return m_parts->GetCampaignMan();
}

CPrintManager* CApp::GetPrintManager() const {
    return m_parts->GetPrintManager();
}

CDriverManager* CApp::GetDriverManager() const {
    return m_parts->GetDriverManager();
}

CTauntEventQueue* CApp::GetTauntEventQueue() const {
    return m_parts->GetTauntEventQueue();
}

CGameSoundController* CApp::GetGameSoundController() const {
    return m_parts->GetGameSoundController();
}

CMusicManager* CApp::GetMusicManager() const {
    return m_parts->GetMusicManager();
}

bool CApp::HasSlideOutMan() const {
    return m_slideOutMan != nullptr;
}

void CApp::SwitchPanel(int slideOutIndex) {
    if (m_slideOutMan)
        m_slideOutMan->SwitchTo(slideOutIndex);
}

void CApp::SetVideo(int videoId, int nextState) {
    m_parts->SetVideo(videoId, nextState);
}

void CApp::SetCurrentWorld(int worldId) {
    m_parts->SetCurrentWorld(worldId, m_eventMan.get());
}

void CApp::ResumeAutoSavedTrack() {
    m_parts->ResumeAutoSavedTrack();
}

void CApp::MusicOff() {
    if (m_musicStarted)
        m_parts->SetMusicEnabled(false);
}

void CApp::PostQuit() {
    plat::window::Window* window = m_win ? m_win->GetHwnd() : nullptr;
    // The quit comes out of the window's queue behind what is waiting; without a window there is no
    // queue, and the loop ends at once.
    if (window)
        window->PostQuit();
    else
        m_quit = true;
}

int CApp::GetCurrentWorldTheme() const {
    return m_assetMan ? m_assetMan->GetWorld() : 0;
}

void CApp::ShowMessage(std::string_view caption, std::string_view text) {
    plat::system::ShowMessageBox(caption, text, plat::system::Buttons::Ok);
}

int CApp::GetGameMode() const {
    return m_gameStateMan ? m_gameStateMan->GetGameMode() : -1;
}

int CApp::GetCurrentWorldId() const {
    return m_parts->GetCurrentWorldId();
}

CWorldMan* CApp::GetWorldMan() const {
    return m_parts->GetWorldMan();
}

CWorldConstructMan* CApp::GetConstructWorld() const {
    return m_parts->GetConstructWorld();
}

int CApp::GetCurrentCampaignNode() const {
    return m_parts->GetCurrentCampaignNode();
}

void CApp::CopyCampaignSetup(int index, CRaceSetup& setup) {
    m_parts->CopyCampaignSetup(index, setup);
}

bool CApp::HasErrorMan() const {
    return m_errorMan != nullptr;
}

std::unique_ptr<plat::input::InputSystem> CApp::CreateInputSystem() {
    return m_parts->CreateInputSystem(m_win ? m_win->GetHwnd() : nullptr);
}

void CApp::SetMusicVolume(int volume) {
    m_parts->SetMusicVolume(volume);
}

void CApp::SetSoundVolume(int volume) {
    m_parts->SetGameSoundVolume(volume);
}

void CApp::SetEffectsLevel(int /*level*/) {
    // The manager reads the stored option back itself.
    if (m_adaptiveSfxMan)
        m_adaptiveSfxMan->ApplyEffectsLevel();
}

int CApp::GetEffectsLevelOption() {
    return m_gameOptions ? m_gameOptions->GetOption(CGameOptions::OPTION_EFFECTS_LEVEL) : -1;
}

void CApp::SetTauntsEnabled(bool enabled) {
    m_parts->SetTauntsEnabled(enabled);
}

void CApp::SetShadowsOff(bool off) {
    m_parts->SetShadowsOff(off);
}

void CApp::SetSkidMarkCount(int count) {
    m_parts->SetSkidMarkCount(count);
}

} // namespace zentrix
