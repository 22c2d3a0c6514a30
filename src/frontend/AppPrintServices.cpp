#include "frontend/AppPrintServices.h"

#include "app/App.h"
#include "app/Win.h"
#include "frontend/HelpManager.h"
#include "render/EngineMan.h"

#include <stdexcept>

namespace zentrix {

std::unique_ptr<plat::gfx2d::Surface> CAppPrintServices::CreateCanvas(int width, int height) {
    CEngineMan* engine = g_pApp ? g_pApp->GetEngineMan() : nullptr;
    if (!engine)
        return nullptr;
    try {
        return engine->CreateDDSurface(width, height, nullptr);
    } catch (const std::runtime_error&) {
        return nullptr;
    }
}

void CAppPrintServices::PlayHelp(int id, int priority) {
    if (CHelpManager* help = g_pApp ? g_pApp->GetHelpManager() : nullptr)
        help->PlayHelp(id, priority);
}

plat::window::Window* CAppPrintServices::GetWindow() {
    CWin* win = g_pApp ? g_pApp->GetWin() : nullptr;
    return win ? win->GetHwnd() : nullptr;
}

} // namespace zentrix
