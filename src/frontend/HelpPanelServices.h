#pragma once

#include "platform/gfx2d/Surface.h"

#include <memory>
#include <string>

namespace zentrix {

class CHelpManager;
class COverlay;
class CSlideOut;

/// What the help panel takes from the rest of the game: the engine's drawing list and surfaces, the
/// panel in front, the help manager, the campaign's unlock stage, the path of the help video, the
/// frame factor that paces it, whether the main screen has been reached, and the error log. The game
/// fills it; tests give their own.
class IHelpPanelServices {
public:
    virtual ~IHelpPanelServices() = default;
    /// Moves `overlay` to the end of the engine's drawing list, which owns it from then on; false, the
    /// overlay left with the caller, when there is no drawing list.
    virtual bool AddRenderObject(std::unique_ptr<COverlay>& overlay) = 0;
    /// Takes an overlay off the drawing list and hands it back; null when it is not there.
    virtual std::unique_ptr<COverlay> RemoveRenderObject(COverlay* overlay) = 0;
    /// An off-screen 16-bit surface in the screen's format, filled with 0; null when none can be made.
    virtual std::unique_ptr<plat::gfx2d::Surface> CreateSurface(int width, int height) = 0;
    /// The panel in front, or null.
    virtual CSlideOut* GetFrontPanel() = 0;
    /// The help manager, or null while there is none.
    virtual CHelpManager* GetHelpManager() = 0;
    /// The campaign's unlock stage.
    virtual int GetUnlockStage() = 0;
    /// The resource-table path of an asset; false for an unknown asset.
    virtual bool GetAssetPath(int assetId, std::string& out) = 0;
    /// 30 / frames per second of the last frame.
    virtual float GetFrameFactor() = 0;
    /// Whether the main screen has been shown in front in this run; the help character draws only from
    /// then on.
    virtual bool HasMainScreenBeenReached() = 0;
    /// Writes a failure to the error manager's log.
    virtual void LogError(const std::string& text) = 0;
};

} // namespace zentrix
