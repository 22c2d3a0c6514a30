#include "HelpWorld.h"

#include "platform/gfx2d/SurfaceFactory.h"
#include "support/FrameStamp.h"
#include "support/SampleSet.h"

#include <algorithm>
#include <stdexcept>

namespace frontendtest {

bool FakeHelpPanelServices::AddRenderObject(std::unique_ptr<COverlay>& overlay) {
    if (!drawingList || !overlay)
        return false;
    drawn.push_back(std::move(overlay));
    return true;
}

std::unique_ptr<COverlay> FakeHelpPanelServices::RemoveRenderObject(COverlay* overlay) {
    auto it = std::find_if(drawn.begin(), drawn.end(), [&](const auto& o) { return o.get() == overlay; });
    if (it == drawn.end())
        return nullptr;
    std::unique_ptr<COverlay> owned = std::move(*it);
    drawn.erase(it);
    return owned;
}

std::unique_ptr<plat::gfx2d::Surface> FakeHelpPanelServices::CreateSurface(int width, int height) {
    if (surfaces == Surfaces::kNone)
        return nullptr;
    auto surface = plat::gfx2d::Surface::Create({width, height}, plat::gfx2d::kFormat565);
    if (surface && surfaces == Surfaces::kLocked) {
        plat::gfx2d::SurfaceView view;
        surface->Lock(view); // held by another user: every fill and blit is refused
    }
    return surface;
}

bool FakeHelpPanelServices::IsDrawn(const COverlay* overlay) const {
    return std::any_of(drawn.begin(), drawn.end(), [&](const auto& o) { return o.get() == overlay; });
}

HelpWorld::HelpWorld() : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
    assets = std::make_unique<CAssetMan>(CAssetMan::SLinks{});
    if (assets->StartManager() != 0)
        throw std::runtime_error("the asset manager did not start");
    panelServices.assets = assets.get();
    helpServices.assets = assets.get();
    helpPanel = std::make_unique<CHelpPanel>(helpServices);
    panelServices.helpPanel = helpPanel.get();
    help = std::make_unique<CHelpManager>(&sound, nullptr);
    help->SetHelpPanel(helpPanel.get());
    help->StartManager();
    helpServices.help = help.get();
    panels = std::make_unique<CSlideOutMan>(panelServices, testsupport::PlainPanels());
    panels->StartManager();
    helpServices.panels = panels.get();
}

HelpWorld::~HelpWorld() {
    panels->StopManager();
    panels.reset();
    help.reset();
    helpPanel.reset();
    assets->StopManager();
    assets.reset();
    std::filesystem::current_path(previous);
}

void HelpWorld::ShowPanel(int index) {
    panels->DeactivateAll(true);
    if (CSlideOut* panel = panels->FindSlideOut(index))
        panel->Activate(true);
    panels->SetActive(index);
}

void HelpWorld::Update(int ms, int count) {
    for (int i = 0; i < count; ++i)
        help->Update(ms);
}

std::uint16_t HelpWorld::HelpPixel(int x, int y) {
    COverlay* overlay = helpPanel->GetOverlay();
    if (!overlay || !overlay->GetSurface())
        return 0;
    plat::gfx2d::SurfaceView view;
    overlay->GetSurface()->Lock(view);
    const std::uint16_t pixel = view.Row16(y)[x];
    overlay->GetSurface()->Unlock();
    return pixel;
}

int HelpWorld::HelpFrame() {
    return testsupport::StampedFrameNumber([this](int x, int y) { return HelpPixel(x, y); }, 23, 7);
}

} // namespace frontendtest
