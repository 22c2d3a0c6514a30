#include "app/AppPanelServices.h"

#include "app/App.h"
#include "app/AppParts.h"
#include "app/Win.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/Bitmap.h"
#include "foundation/base/EventMan.h"
#include "platform/window/Window.h"
#include "render/EngineMan.h"
#include "render/Overlay.h"

namespace zentrix {

IHelpPanel* CAppPanelServices::GetHelpPanel() {
    return m_app.GetParts().GetHelpPanel();
}

int CAppPanelServices::GetVideoMode() const {
    return m_app.GetVideoMode();
}

bool CAppPanelServices::GetInt(int assetId, int dataId, int& out, int element) {
    CAssetMan* assets = m_app.GetAssetMan();
    return assets && assets->GetInt(assetId, dataId, out, element);
}

bool CAppPanelServices::GetVector(int assetId, int dataId, CVector& out, int element) {
    CAssetMan* assets = m_app.GetAssetMan();
    return assets && assets->GetVector(assetId, dataId, out, element);
}

std::unique_ptr<CBitmap> CAppPanelServices::GetBitmap(int assetId) {
    CAssetMan* assets = m_app.GetAssetMan();
    return assets ? assets->GetBitmap(assetId) : nullptr;
}

bool CAppPanelServices::LoadAssetIntoString(int assetId, std::string& out) {
    CAssetMan* assets = m_app.GetAssetMan();
    return assets && assets->LoadAssetIntoString(assetId, out);
}

plat::text::Font* CAppPanelServices::GetFont(int index) {
    CAssetMan* assets = m_app.GetAssetMan();
    return assets ? assets->GetFont(index) : nullptr;
}

CCompoundOverlay* CAppPanelServices::CreateCompoundOverlay(int resourceId, int pictureId) {
    CEngineMan* engine = m_app.GetEngineMan();
    return engine ? engine->CreateCompoundOverlay(resourceId, pictureId) : nullptr;
}

void CAppPanelServices::DeleteOverlay(COverlay* overlay) {
    if (CEngineMan* engine = m_app.GetEngineMan())
        engine->DeleteOverlay(overlay);
}

void CAppPanelServices::AddRenderObject(COverlay* overlay) {
    CEngineMan* engine = m_app.GetEngineMan();
    if (!engine)
        return;
    if (std::unique_ptr<COverlay> owned = engine->RemoveRenderObject(overlay))
        engine->AddRenderObject(std::move(owned));
}

plat::gfx2d::Point CAppPanelServices::GetMousePosition() const {
    CEngineMan* engine = m_app.GetEngineMan();
    return engine ? plat::gfx2d::Point{engine->GetMouseX(), engine->GetMouseY()} : GetWindowMousePosition();
}

void CAppPanelServices::UpdateEngine() {
    if (CEngineMan* engine = m_app.GetEngineMan())
        engine->Update();
}

void CAppPanelServices::RenderFrame() {
    if (CEngineMan* engine = m_app.GetEngineMan())
        engine->RenderFrame();
}

void CAppPanelServices::PlayHelp(int helpId, int mode) {
    m_app.GetParts().PlayHelp(helpId, mode);
}

void CAppPanelServices::OnHover(int helpId) {
    m_app.GetParts().OnHelpHover(helpId);
}

void CAppPanelServices::OnHoverEnd(int helpId) {
    m_app.GetParts().OnHelpHoverEnd(helpId);
}

void CAppPanelServices::CancelHover() {
    m_app.GetParts().CancelHelpHover();
}

void CAppPanelServices::PlayUiSound(int soundId) {
    m_app.GetParts().PlayUiSound(soundId);
}

void CAppPanelServices::StopHelpSound() {
    m_app.GetParts().StopHelpSound();
}

bool CAppPanelServices::GetLatestMessage(int type, CMessage& out) {
    CEventMan* events = m_app.GetEventMan();
    return events && events->GetLatest(type, &out);
}

bool CAppPanelServices::IsMouseButtonDown(int button) const {
    CWin* win = m_app.GetWin();
    return win && win->GetHwnd() && win->GetHwnd()->IsButtonDown(button);
}

plat::gfx2d::Point CAppPanelServices::GetWindowMousePosition() const {
    CWin* win = m_app.GetWin();
    return win ? plat::gfx2d::Point{win->GetMouseX(), win->GetMouseY()} : plat::gfx2d::Point{};
}

} // namespace zentrix
