#include "frontend/AppHelpPanelServices.h"

#include "app/App.h"
#include "app/ErrorMan.h"
#include "foundation/assets/AssetMan.h"
#include "frontend/MainScreenSlideOut.h"
#include "platform/system/DebugOutput.h"
#include "race/CampaignMan.h"
#include "render/EngineMan.h"
#include "render/Overlay.h"
#include "ui/SlideOutMan.h"

#include <stdexcept>

namespace zentrix {

bool CAppHelpPanelServices::AddRenderObject(std::unique_ptr<COverlay>& overlay) {
    CEngineMan* engine = g_pApp ? g_pApp->GetEngineMan() : nullptr;
    if (!engine || !overlay)
        return false;
    engine->AddRenderObject(std::move(overlay));
    return true;
}

std::unique_ptr<COverlay> CAppHelpPanelServices::RemoveRenderObject(COverlay* overlay) {
    CEngineMan* engine = g_pApp ? g_pApp->GetEngineMan() : nullptr;
    return engine ? engine->RemoveRenderObject(overlay) : nullptr;
}

std::unique_ptr<plat::gfx2d::Surface> CAppHelpPanelServices::CreateSurface(int width, int height) {
    CEngineMan* engine = g_pApp ? g_pApp->GetEngineMan() : nullptr;
    if (!engine)
        return nullptr;
    try {
        std::unique_ptr<plat::gfx2d::Surface> surface = engine->CreateDDSurface(width, height, nullptr);
        if (surface)
            surface->Fill(nullptr, 0);
        return surface;
    } catch (const std::runtime_error&) {
        return nullptr;
    }
}

CSlideOut* CAppHelpPanelServices::GetFrontPanel() {
    CSlideOutMan* panels = g_pApp ? g_pApp->GetSlideOutMan() : nullptr;
    return panels ? panels->GetActiveSlideOut() : nullptr;
}

CHelpManager* CAppHelpPanelServices::GetHelpManager() {
    return g_pApp ? g_pApp->GetHelpManager() : nullptr;
}

int CAppHelpPanelServices::GetUnlockStage() {
    CCampaignMan* campaign = g_pApp ? g_pApp->GetCampaignMan() : nullptr;
    return campaign ? campaign->GetUnlockStage() : 0;
}

bool CAppHelpPanelServices::GetAssetPath(int assetId, std::string& out) {
    CAssetMan* assets = g_pApp ? g_pApp->GetAssetMan() : nullptr;
    return assets && assets->GetAssetPath(assetId, out);
}

float CAppHelpPanelServices::GetFrameFactor() {
    return g_pApp ? g_pApp->GetFrameFactor() : 1.0f;
}

bool CAppHelpPanelServices::HasMainScreenBeenReached() {
    return CMainScreenSlideOut::HasMainScreenBeenReached();
}

void CAppHelpPanelServices::LogError(const std::string& text) {
    plat::system::DebugOutput("help character: " + text);
    if (CErrorMan* errors = g_pApp ? g_pApp->GetErrorMan() : nullptr)
        errors->WriteText(CErrorMan::kEngineLog, text.c_str());
}

} // namespace zentrix
