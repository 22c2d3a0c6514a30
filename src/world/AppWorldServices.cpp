#include "world/AppWorldServices.h"

#include "app/App.h"
#include "app/CommandLineParser.h"
#include "app/ErrorMan.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "foundation/base/EventMan.h"
#include "render/AssetAnimTextures.h"
#include "render/AssetRenderAssets.h"
#include "ui/SlideOutMan.h"

namespace zentrix {

namespace {

CGameSoundController* AppSoundController() {
    return g_pApp ? g_pApp->GetGameSoundController() : nullptr;
}

} // namespace

CAppWorldServices::CAppWorldServices() : m_sounds(&AppSoundController) {}

CAppWorldServices::~CAppWorldServices() = default;

CAssetMan* CAppWorldServices::GetAssetMan() {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

CEngineMan* CAppWorldServices::GetEngineMan() {
    return g_pApp ? g_pApp->GetEngineMan() : nullptr;
}

bool CAppWorldServices::EnsureAdapters() {
    CAssetMan* assets = GetAssetMan();
    if (assets != m_assetsOfAdapters) {
        m_renderAssets = assets ? std::make_unique<CAssetRenderAssets>(*assets) : nullptr;
        m_animTextures = assets ? std::make_unique<CAssetAnimTextures>(*assets) : nullptr;
        m_assetsOfAdapters = assets;
    }
    return assets != nullptr;
}

IRenderAssets* CAppWorldServices::GetRenderAssets() {
    return EnsureAdapters() ? m_renderAssets.get() : nullptr;
}

IAnimTextures* CAppWorldServices::GetAnimTextures() {
    return EnsureAdapters() ? m_animTextures.get() : nullptr;
}

float CAppWorldServices::GetFrameFactor() const {
    return g_pApp ? g_pApp->GetFrameFactor() : 1.0f;
}

void CAppWorldServices::ClearMessages() {
    if (CEventMan* events = g_pApp ? g_pApp->GetEventMan() : nullptr)
        events->Clear();
}

int CAppWorldServices::GetPreviousGameState() const {
    CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetPreviousState() : -1;
}

int CAppWorldServices::GetGameState() const {
    CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetState() : -1;
}

void CAppWorldServices::BuildRaceSetup(CRaceSetup& setup) {
    if (CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr)
        states->BuildRaceSetup(setup);
}

void CAppWorldServices::SetInputRecording(bool on) {
    if (CIOManager* input = g_pApp ? g_pApp->GetIOManager() : nullptr)
        input->SetRecording(on);
}

void CAppWorldServices::SetInputPlayback(bool on) {
    if (CIOManager* input = g_pApp ? g_pApp->GetIOManager() : nullptr)
        input->SetPlayback(on);
}

CSlideOut* CAppWorldServices::FindSlideOut(int index) {
    CSlideOutMan* panels = g_pApp ? g_pApp->GetSlideOutMan() : nullptr;
    return panels ? panels->FindSlideOut(index) : nullptr;
}

bool CAppWorldServices::UseGameTimer() const {
    CCommandLineParser* commandLine = g_pApp ? g_pApp->GetCommandLineParser() : nullptr;
    return commandLine && commandLine->UseGameTimer();
}

void CAppWorldServices::Log(int channel, const std::string& text) {
    if (CErrorMan* errors = g_pApp ? g_pApp->GetErrorMan() : nullptr)
        errors->Print(channel, text.c_str());
}

void CAppWorldServices::Trace(int level, const std::string& text) {
    // The world's trace lines carry no category of their own.
    if (CErrorMan* errors = g_pApp ? g_pApp->GetErrorMan() : nullptr)
        errors->Log(level, 0, "%s", text.c_str());
}

} // namespace zentrix
