#include "race/RaceOverlay.h"

#include "app/ScreenSupport.h"
#include "render/EngineMan.h"
#include "render/Overlay.h"

namespace zentrix {

CRaceOverlay::CRaceOverlay(std::unique_ptr<COverlay> overlay) : m_overlay(overlay.get()) {
    CEngineMan* engine = ScreenEngine();
    if (engine && overlay)
        engine->AddRenderObject(std::move(overlay));
    else
        m_own = std::move(overlay);
}

CRaceOverlay::~CRaceOverlay() {
    if (m_own || !m_overlay)
        return;
    // The engine may already have let go of it at shutdown; then there is nothing to take back.
    CEngineMan* engine = ScreenEngine();
    if (engine && engine->HasRenderObject(m_overlay))
        engine->RemoveRenderObject(m_overlay);
}

std::unique_ptr<COverlay> LoadRacePicture(int imageId) {
    auto picture = std::make_unique<COverlay>(imageId);
    if (picture->GetWidth() <= 0 || picture->GetHeight() <= 0)
        return nullptr;
    return picture;
}

} // namespace zentrix
