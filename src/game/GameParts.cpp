#include "game/GameParts.h"

#include "app/App.h"
#include "app/ErrorMan.h"
#include "construct/ConstSlideOut.h"
#include "construct/WorldConstructMan.h"
#include "events/AssetScriptCache.h"
#include "events/ScriptParser.h"
#include "events/WorldEventController.h"
#include "frontend/AppHelpPanelServices.h"
#include "frontend/AppHelpSound.h"
#include "frontend/AppPrintServices.h"
#include "frontend/HelpManager.h"
#include "frontend/HelpPanel.h"
#include "frontend/PrintManager.h"
#include "frontend/VideoSlideout.h"
#include "game/GamePanels.h"
#include "game/GameWorlds.h"
#include "platform/clock/Clock.h"
#include "platform/print/CupsPrinter.h"
#include "platform/settings/Store.h"
#include "race/CampaignMan.h"
#include "race/RouteNodeMan.h"
#include "race/WorldRaceMan.h"
#include "ui/SlideOut.h"
#include "world/AppWorldServices.h"
#include "world/SpawningMan.h"
#include "world/WorldMan.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace zentrix {

CGameParts::CGameParts() = default;

CGameParts::CGameParts(std::unique_ptr<plat::settings::Store> store,
                       std::unique_ptr<plat::clock::Clock> clock)
    : CAppParts(std::move(store), std::move(clock)) {}

CGameParts::~CGameParts() {
    // The help panel reaches the help manager through its services: the manager goes first.
    m_printManager.reset();
    m_campaignMan.reset();
    m_helpManager.reset();
    m_helpPanel.reset();
    // The registry must not keep services that go with the parts.
    if (m_worldServices && CWorldMan::GetServices() == m_worldServices.get())
        CWorldMan::SetLinks({});
}

std::unique_ptr<CAssetMan> CGameParts::CreateAssetMan(CAssetMan::SLinks links) {
    // The error manager is made before the asset manager and stopped after it, so the cache may keep it.
    links.makeScriptCache = [](CAssetMan& assets) -> std::unique_ptr<IScriptCacheLink> {
        return std::make_unique<CAssetScriptCache>(assets, g_pApp ? g_pApp->GetErrorMan() : nullptr);
    };
    links.audio = &m_audioAssets;
    return CAppParts::CreateAssetMan(std::move(links));
}

void CGameParts::FreeKeywordTables() {
    CScriptParser::FreeKeywordTables();
}

CSlideOutMan::PanelFactory CGameParts::CreatePanelFactory() {
    return &MakeGamePanel;
}

void CGameParts::SetVideo(int videoId, int nextState) {
    CVideoSlideout::SetVideo(videoId, nextState);
}

IHelpPanel* CGameParts::GetHelpPanel() {
    if (!m_helpPanel) {
        if (!m_helpPanelServices)
            m_helpPanelServices = std::make_unique<CAppHelpPanelServices>();
        m_helpPanel = std::make_unique<CHelpPanel>(*m_helpPanelServices);
    }
    return m_helpPanel.get();
}

void CGameParts::CreateHelpManager() {
    if (!m_helpSound)
        m_helpSound = std::make_unique<CAppHelpSound>();
    m_helpManager =
        std::make_unique<CHelpManager>(m_helpSound.get(), g_pApp ? g_pApp->GetAppSettings() : nullptr);
    GetHelpPanel();
    m_helpManager->SetHelpPanel(m_helpPanel.get());
    m_helpManager->StartManager();
}

void CGameParts::DeleteHelpManager() {
    if (m_helpManager) {
        m_helpManager->StopManager();
        m_helpManager.reset();
    }
    // Every panel that showed it has been stopped and deleted by now.
    m_helpPanel.reset();
}

void CGameParts::UpdateHelp(int ms) {
    if (m_helpManager)
        m_helpManager->Update(ms);
}

void CGameParts::RestoreHelpAfterRestart() {
    if (m_helpManager)
        m_helpManager->RestoreAfterRestart();
}

void CGameParts::PlayHelp(int helpId, int priority) {
    if (m_helpManager)
        m_helpManager->PlayHelp(helpId, priority);
}

void CGameParts::OnHelpHover(int helpId) {
    if (m_helpManager)
        m_helpManager->OnHover(helpId);
}

void CGameParts::OnHelpHoverEnd(int helpId) {
    if (m_helpManager)
        m_helpManager->OnHoverEnd(helpId);
}

void CGameParts::CancelHelpHover() {
    if (m_helpManager)
        m_helpManager->CancelHover();
}

void CGameParts::CreatePrintManager() {
    if (!m_printServices)
        m_printServices = std::make_unique<CAppPrintServices>();
    m_printManager =
        std::make_unique<CPrintManager>(std::make_unique<plat::print::CupsPrinter>(), *m_printServices);
    m_printManager->StartManager();
}

void CGameParts::DeletePrintManager() {
    if (m_printManager) {
        m_printManager->StopManager();
        m_printManager.reset();
    }
}

void CGameParts::UpdatePrint(int ms) {
    if (m_printManager)
        m_printManager->Update(ms);
}

bool CGameParts::IsPrintJobPending() const {
    return m_printManager && m_printManager->IsJobPending();
}

void CGameParts::ProcessPrintJob() {
    if (m_printManager)
        m_printManager->ProcessPendingJob();
}

void CGameParts::CreateCampaignMan() {
    m_campaignMan = std::make_unique<CCampaignMan>(g_pApp ? g_pApp->GetAssetMan() : nullptr,
                                                   g_pApp ? g_pApp->GetAppSettings() : nullptr);
    // Without a definition the game runs with no campaign nodes and nothing locked; the start goes on,
    // but a damaged campaign is reported, naming what could not be read.
    if (m_campaignMan->StartManager() == 0)
        return;
    const std::string text = "CCampaignMan: the campaign cannot start: " + m_campaignMan->GetStartFailure();
    std::fprintf(stderr, "%s\n", text.c_str());
    if (CErrorMan* errors = g_pApp ? g_pApp->GetErrorMan() : nullptr)
        errors->WriteText(CErrorMan::kStartUpLog, text.c_str());
}

void CGameParts::DeleteCampaignMan() {
    if (m_campaignMan) {
        m_campaignMan->StopManager();
        m_campaignMan.reset();
    }
}

int CGameParts::GetCurrentCampaignNode() const {
    return m_campaignMan ? m_campaignMan->GetCurrentNode() : -1;
}

void CGameParts::CopyCampaignSetup(int index, CRaceSetup& setup) {
    if (m_campaignMan)
        m_campaignMan->CopyNodeSetup(index, setup);
}

void CGameParts::CreateRouteNodeMan() {
    m_routeNodeMan = std::make_unique<CRouteNodeMan>();
    m_routeNodeMan->StartManager();
}

void CGameParts::DeleteRouteNodeMan() {
    if (m_routeNodeMan) {
        m_routeNodeMan->StopManager();
        m_routeNodeMan.reset();
    }
}

bool CGameParts::CreateWorlds() {
    if (!m_worldServices)
        m_worldServices = std::make_unique<CAppWorldServices>();
    SWorldLinks links;
    links.services = m_worldServices.get();
    links.makeWorld = &MakeGameWorld;
    CAppWorldServices* services = m_worldServices.get();
    links.makeEventController = [services](CWorldObject&) {
        return CWorldEventController::Make(services->GetAssetMan());
    };
    links.trackBuild = &m_trackBuilder;
    // The route manager is made after the worlds: until then the route counts as broken.
    links.isRouteBroken = [this] { return !m_routeNodeMan || m_routeNodeMan->IsRouteBroken(); };
    // Where a respawned car turns onto the route.
    links.findNearestNodeOnTile = [this](const CVector& position, int reference) {
        return m_routeNodeMan ? m_routeNodeMan->FindNearestNodeOnTile(position, reference) : -1;
    };
    // The campaign starts after the worlds: until then, and without it, the stage is 0.
    links.unlockStage = [this] { return m_campaignMan ? m_campaignMan->GetUnlockStage() : 0; };
    // The editor's panel takes each grid size for its track-length gauge; it is made after the worlds.
    links.applyGridSize = [](bool large) {
        CSlideOutMan* panels = g_pApp ? g_pApp->GetSlideOutMan() : nullptr;
        auto* panel = panels ? dynamic_cast<CConstSlideOut*>(panels->FindSlideOut(0)) : nullptr;
        return panel ? panel->ApplyGridSize(large) : true;
    };
    // Spawn pads.
    links.makeSpawningMan = []() -> std::unique_ptr<ISpawningManLink> {
        return std::make_unique<CSpawningMan>();
    };
    CWorldMan::SetLinks(std::move(links));
    return CWorldMan::CreateWorlds();
}

void CGameParts::DestroyWorlds() {
    CWorldMan::DestroyWorlds();
}

void CGameParts::FrameCurrentWorld(int ms) {
    CWorldMan::FrameCurrentWorld(static_cast<unsigned>(std::max(ms, 0)));
}

bool CGameParts::SetCurrentWorld(int worldId, CEventMan* /*events*/) {
    // The registry empties the application's queue itself.
    return CWorldMan::SetCurrentWorld(worldId);
}

int CGameParts::GetCurrentWorldId() const {
    return CWorldMan::GetCurrentWorldId();
}

bool CGameParts::IsRacePaused() const {
    auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace));
    return race && race->IsPaused();
}

void CGameParts::SetTauntsEnabled(bool enabled) {
    if (auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace)))
        race->SetTauntsEnabled(enabled);
}

void CGameParts::ResetRaceTauntPanel() {
    if (auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace)))
        race->ResetTauntPanel();
}

CTauntEventQueue* CGameParts::GetTauntEventQueue() const {
    auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace));
    return race ? race->GetTauntEventQueue() : nullptr;
}

CWorldMan* CGameParts::GetWorldMan() const {
    return CWorldMan::GetCurrentWorld();
}

bool CGameParts::StartDrivers() {
    m_drivers = std::make_unique<CDriverManager>(&m_driverServices);
    return m_drivers->StartManager() == 0;
}

void CGameParts::StopDrivers() {
    if (m_drivers) {
        m_drivers->StopManager();
        m_drivers.reset();
    }
}

void CGameParts::UpdateDrivers(int ms) {
    if (m_drivers)
        m_drivers->Update(ms);
}

CWorldConstructMan* CGameParts::GetConstructWorld() const {
    return dynamic_cast<CWorldConstructMan*>(CWorldMan::GetWorld(CWorldMan::kConstruct));
}

void CGameParts::ResumeAutoSavedTrack() {
    if (CWorldConstructMan* editor = GetConstructWorld())
        editor->ResumeAutoSave();
}

void CGameParts::StartGameSound() {
    m_sound->Start();
}

void CGameParts::StopGameSound() {
    m_sound->Stop();
}

void CGameParts::UpdateGameSound(int ms) {
    m_sound->Update(ms);
}

void CGameParts::PauseGameSound(bool pause) {
    m_sound->Pause(pause);
}

void CGameParts::SetGameSoundVolume(int volume) {
    m_sound->SetVolume(volume);
}

void CGameParts::PlayUiSound(int soundId) {
    m_sound->PlayUiSound(soundId);
}

void CGameParts::StopHelpSound() {
    m_sound->StopHelpSound();
}

void CGameParts::StartMusic() {
    m_music->StartManager();
}

void CGameParts::StopMusic() {
    m_music->StopManager();
}

void CGameParts::UpdateMusic(int ms) {
    m_music->Update(ms);
}

void CGameParts::SetMusicVolume(int volume) {
    m_music->SetVolume(volume);
}

void CGameParts::SetMusicEnabled(bool enabled) {
    m_music->SetEnabled(enabled);
}

} // namespace zentrix
