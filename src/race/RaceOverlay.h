#pragma once

#include "render/Overlay.h"

#include <memory>

namespace zentrix {

/// A picture shown over the 3D view while it lives: it is handed to the engine's render objects when
/// made and taken back when deleted. Without an engine it is simply kept here.
class CRaceOverlay {
public:
    explicit CRaceOverlay(std::unique_ptr<COverlay> overlay);
    ~CRaceOverlay();
    CRaceOverlay(const CRaceOverlay&) = delete;
    CRaceOverlay& operator=(const CRaceOverlay&) = delete;

    COverlay* Get() const { return m_overlay; }
    COverlay* operator->() const { return m_overlay; }

private:
    COverlay* m_overlay;
    std::unique_ptr<COverlay> m_own;
};

/// A picture asset kept to be blitted onto others; null when it is missing or unreadable.
std::unique_ptr<COverlay> LoadRacePicture(int imageId);

} // namespace zentrix
