#include "construct/AppConstructServices.h"

#include "app/App.h"
#include "app/AppParts.h"
#include "app/ErrorMan.h"
#include "app/GameStateMan.h"
#include "app/Win.h"
#include "audio/GameSoundController.h"
#include "foundation/base/AppSettings.h"
#include "ui/SlideOutMan.h"

#include <cstdio>

namespace zentrix {

namespace {

/// Interface sounds and spoken help are played with this priority.
constexpr int kHelpMode = 1;

} // namespace

CAssetMan* CAppConstructServices::GetAssetMan() {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

CEngineMan* CAppConstructServices::GetEngineMan() {
    return g_pApp ? g_pApp->GetEngineMan() : nullptr;
}

CEventMan* CAppConstructServices::GetEventMan() {
    return g_pApp ? g_pApp->GetEventMan() : nullptr;
}

CSlideOut* CAppConstructServices::FindPanel(int index) {
    CSlideOutMan* panels = g_pApp ? g_pApp->GetSlideOutMan() : nullptr;
    return panels ? panels->FindSlideOut(index) : nullptr;
}

int CAppConstructServices::GetFrontPanel() {
    CSlideOutMan* panels = g_pApp ? g_pApp->GetSlideOutMan() : nullptr;
    return panels ? panels->GetCurrentSlideOutId() : -1;
}

int CAppConstructServices::GetGameState() {
    CGameStateMan* states = g_pApp ? g_pApp->GetGameStateMan() : nullptr;
    return states ? states->GetState() : -1;
}

int CAppConstructServices::GetMouseX() {
    CWin* win = g_pApp ? g_pApp->GetWin() : nullptr;
    return win ? win->GetMouseX() : 0;
}

int CAppConstructServices::GetMouseY() {
    CWin* win = g_pApp ? g_pApp->GetWin() : nullptr;
    return win ? win->GetMouseY() : 0;
}

int CAppConstructServices::GetScreenWidth() {
    return g_pApp ? g_pApp->GetScreenWidth() : 640;
}

int CAppConstructServices::GetScreenHeight() {
    return g_pApp ? g_pApp->GetScreenHeight() : 480;
}

void CAppConstructServices::PlayUiSound(int soundId) {
    if (g_pApp)
        g_pApp->GetParts().PlayUiSound(soundId);
}

void CAppConstructServices::StartAmbience() {
    if (CGameSoundController* sound = g_pApp ? g_pApp->GetGameSoundController() : nullptr)
        sound->StartConstructionAmbience();
}

void CAppConstructServices::StopAmbience() {
    if (CGameSoundController* sound = g_pApp ? g_pApp->GetGameSoundController() : nullptr)
        sound->StopConstructionAmbience();
}

void CAppConstructServices::PlayHelp(int helpId) {
    if (g_pApp)
        g_pApp->GetParts().PlayHelp(helpId, kHelpMode);
}

void CAppConstructServices::OnHelpHover(int helpId) {
    if (g_pApp)
        g_pApp->GetParts().OnHelpHover(helpId);
}

void CAppConstructServices::OnHelpHoverEnd(int helpId) {
    if (g_pApp)
        g_pApp->GetParts().OnHelpHoverEnd(helpId);
}

IConstructRoute* CAppConstructServices::GetRoute() {
    if (m_route)
        return m_route;
    CRouteNodeMan* manager = g_pApp ? g_pApp->GetRouteNodeMan() : nullptr;
    if (!manager)
        return nullptr;
    m_appRoute.SetManager(manager);
    return &m_appRoute;
}

bool CAppConstructServices::GetSetting(std::string_view name, std::string& text) {
    CAppSettings* settings = g_pApp ? g_pApp->GetAppSettings() : nullptr;
    return settings && settings->GetString(name, text);
}

void CAppConstructServices::SetSetting(std::string_view name, std::string_view text) {
    if (CAppSettings* settings = g_pApp ? g_pApp->GetAppSettings() : nullptr)
        settings->SetString(name, text);
}

void CAppConstructServices::ReportFileError(const std::string& text, int errorNumber) {
    if (CErrorMan* errors = g_pApp ? g_pApp->GetErrorMan() : nullptr)
        errors->WriteError(CErrorMan::kFileAccessLog, text.c_str(), errorNumber);
    std::fprintf(stderr, "track editor: %s\n", text.c_str());
}

} // namespace zentrix
