#pragma once

#include "frontend/HelpPanelServices.h"

namespace zentrix {

/// The help panel's services through the application's managers; a missing manager answers as absent.
class CAppHelpPanelServices : public IHelpPanelServices {
public:
    bool AddRenderObject(std::unique_ptr<COverlay>& overlay) override;
    std::unique_ptr<COverlay> RemoveRenderObject(COverlay* overlay) override;
    std::unique_ptr<plat::gfx2d::Surface> CreateSurface(int width, int height) override;
    CSlideOut* GetFrontPanel() override;
    CHelpManager* GetHelpManager() override;
    int GetUnlockStage() override;
    bool GetAssetPath(int assetId, std::string& out) override;
    float GetFrameFactor() override;
    bool HasMainScreenBeenReached() override;
    /// To the debugging text and the engine's channel of the error manager ("3dman.log").
    void LogError(const std::string& text) override;
};

} // namespace zentrix
