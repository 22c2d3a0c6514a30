#pragma once

#include "ui/PanelServices.h"

namespace zentrix {

class CApp;

/// The panels' services as the application provides them, through its managers. Services whose
/// manager is missing answer as absent: no record, no picture, no overlay, no sound.
class CAppPanelServices : public IPanelServices {
public:
    /// Services of `app`, which outlives them.
    explicit CAppPanelServices(CApp& app) : m_app(app) {}

    int GetVideoMode() const override;
    IHelpPanel* GetHelpPanel() override;
    bool GetInt(int assetId, int dataId, int& out, int element) override;
    bool GetVector(int assetId, int dataId, CVector& out, int element) override;
    std::unique_ptr<CBitmap> GetBitmap(int assetId) override;
    bool LoadAssetIntoString(int assetId, std::string& out) override;
    plat::text::Font* GetFont(int index) override;
    CCompoundOverlay* CreateCompoundOverlay(int resourceId, int pictureId) override;
    void DeleteOverlay(COverlay* overlay) override;
    void AddRenderObject(COverlay* overlay) override;
    plat::gfx2d::Point GetMousePosition() const override;
    void UpdateEngine() override;
    void RenderFrame() override;
    void PlayHelp(int helpId, int mode) override;
    void OnHover(int helpId) override;
    void OnHoverEnd(int helpId) override;
    void CancelHover() override;
    void PlayUiSound(int soundId) override;
    void StopHelpSound() override;
    bool GetLatestMessage(int type, CMessage& out) override;
    bool IsMouseButtonDown(int button) const override;
    plat::gfx2d::Point GetWindowMousePosition() const override;

private:
    CApp& m_app;
};

} // namespace zentrix
