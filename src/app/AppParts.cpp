#include "app/AppParts.h"

#include "platform/text/TtfFontLibrary.h"

#include "app/CommandLineParser.h"
#include "app/ErrorMan.h"
#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "app/PerformanceMonitor.h"
#include "app/Splash.h"
#include "app/Win.h"
#include "foundation/base/AppSettings.h"
#include "foundation/base/EventMan.h"
#include "platform/clock/Clock.h"
#include "platform/fs/FileSystem.h"
#include "platform/settings/FileStore.h"
#include "platform/window/SplashWindow.h"
#include "platform/window/Window.h"
#include "render/AdaptiveSfxMan.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "render/ShadowMan.h"
#include "ui/SlideOutMan.h"

namespace zentrix {

CAppParts::CAppParts()
    : CAppParts(std::make_unique<plat::settings::FileStore>(), std::make_unique<plat::clock::SystemClock>()) {
}

CAppParts::CAppParts(std::unique_ptr<plat::settings::Store> store, std::unique_ptr<plat::clock::Clock> clock)
    : m_store(std::move(store)), m_clock(std::move(clock)) {}

CAppParts::~CAppParts() = default;

std::unique_ptr<CCommandLineParser> CAppParts::CreateCommandLineParser() {
    return std::make_unique<CCommandLineParser>();
}

std::unique_ptr<CSplash> CAppParts::CreateSplash() {
    auto window =
        std::make_unique<plat::window::SplashWindow>(CWin::kTitle, CSplash::kWidth, CSplash::kHeight);
    if (!window->IsOpen())
        return nullptr;
    return std::make_unique<CSplash>(std::move(window));
}

std::unique_ptr<CErrorMan> CAppParts::CreateErrorMan() {
    return std::make_unique<CErrorMan>();
}

std::unique_ptr<CAppSettings> CAppParts::CreateAppSettings() {
    return std::make_unique<CAppSettings>(Store());
}

std::unique_ptr<CGameOptions> CAppParts::CreateGameOptions(CAppSettings& settings,
                                                           IGameOptionEffects* effects) {
    return std::make_unique<CGameOptions>(settings, effects);
}

std::unique_ptr<CPerformanceMonitor> CAppParts::CreatePerformanceMonitor() {
    return std::make_unique<CPerformanceMonitor>(Clock());
}

std::unique_ptr<CGameStateMan> CAppParts::CreateGameStateMan(IGameStateServices* services,
                                                             CAppSettings* settings) {
    return std::make_unique<CGameStateMan>(services, settings);
}

std::unique_ptr<CWin> CAppParts::CreateWin(int width, int height) {
    return CWin::OpenMain(width, height);
}

std::unique_ptr<plat::text::FontLibrary> CAppParts::CreateFontLibrary() {
    return std::make_unique<plat::text::TtfFontLibrary>();
}

std::unique_ptr<CAssetMan> CAppParts::CreateAssetMan(CAssetMan::SLinks links) {
    return std::make_unique<CAssetMan>(std::move(links));
}

std::unique_ptr<CEventMan> CAppParts::CreateEventMan() {
    return std::make_unique<CEventMan>();
}

std::unique_ptr<CEngineMan> CAppParts::CreateEngineMan(IEngineServices* services) {
    return std::make_unique<CEngineMan>(services);
}

std::unique_ptr<CIOManager> CAppParts::CreateIOManager(IInputServices* services) {
    return std::make_unique<CIOManager>(services);
}

std::unique_ptr<plat::input::InputSystem> CAppParts::CreateInputSystem(plat::window::Window* window) {
    return plat::window::CreateInputSystemFor(window);
}

std::unique_ptr<CSlideOutMan> CAppParts::CreateSlideOutMan(IPanelServices& services) {
    return std::make_unique<CSlideOutMan>(services, CreatePanelFactory());
}

CSlideOutMan::PanelFactory CAppParts::CreatePanelFactory() {
    return {};
}

std::unique_ptr<CAdaptiveSfxMan> CAppParts::CreateAdaptiveSfxMan(IEffectsLevelLinks& links) {
    return std::make_unique<CAdaptiveSfxMan>(&links);
}

void CAppParts::SetCurrentDirectory(const std::string& path) {
    plat::fs::SetCurrentDirectory(path);
}

void CAppParts::FreeParticleKinds() {
    CParticleSystem::FreeKinds();
}

void CAppParts::SetShadowsOff(bool off) {
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->SetShadowsOff(off);
}

void CAppParts::SetSkidMarkCount(int count) {
    if (CShadowMan* shadows = CShadowMan::GetInstance())
        shadows->SetSkidMarkCount(count);
}

} // namespace zentrix
