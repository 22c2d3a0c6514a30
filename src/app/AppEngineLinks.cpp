#include "app/AppEngineLinks.h"

#include "app/App.h"
#include "app/Win.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/Bitmap.h"
#include "render/EngineMan.h"
#include "render/assets/TextureAsset.h"

namespace zentrix {

int CAppEngineLinks::GetScreenWidth() const {
    return m_app.GetScreenWidth();
}

int CAppEngineLinks::GetScreenHeight() const {
    return m_app.GetScreenHeight();
}

int CAppEngineLinks::GetMouseX() const {
    return m_app.GetWin() ? m_app.GetWin()->GetMouseX() : 0;
}

int CAppEngineLinks::GetMouseY() const {
    return m_app.GetWin() ? m_app.GetWin()->GetMouseY() : 0;
}

CEventMan* CAppEngineLinks::GetEventMan() {
    return m_app.GetEventMan();
}

int CAppEngineLinks::GetWorldTheme() const {
    return m_app.GetAssetMan() ? m_app.GetAssetMan()->GetWorld() : 0;
}

std::unique_ptr<CBitmap> CAppEngineLinks::GetBitmap(int assetId) {
    return m_app.GetAssetMan() ? m_app.GetAssetMan()->GetBitmap(assetId) : nullptr;
}

bool CAppEngineLinks::GetAssetData(int assetId, std::vector<std::uint8_t>& out) {
    return m_app.GetAssetMan() && m_app.GetAssetMan()->GetAssetData(assetId, out);
}

bool CAppEngineLinks::GetInt(int assetId, int dataId, int& out, int element) {
    return m_app.GetAssetMan() && m_app.GetAssetMan()->GetInt(assetId, dataId, out, element);
}

float CAppEngineLinks::GetFrameFactor() const {
    return m_app.GetFrameFactor();
}

bool CAppEngineLinks::GetFloat(int assetId, int dataId, float& out, int element) {
    return m_app.GetAssetMan() && m_app.GetAssetMan()->GetFloat(assetId, dataId, out, element);
}

bool CAppEngineLinks::GetVector(int assetId, int dataId, CVector& out, int element) {
    return m_app.GetAssetMan() && m_app.GetAssetMan()->GetVector(assetId, dataId, out, element);
}

bool CAppEngineLinks::GetString(int assetId, int dataId, char* buffer, std::size_t size) {
    return m_app.GetAssetMan() && m_app.GetAssetMan()->GetString(assetId, dataId, buffer, size);
}

CTexture* CAppEngineLinks::GetTexture(int assetId) {
    // A particle kind's texture id comes from data: one the resource table does not list is no texture.
    CTextureAsset* texture = m_app.GetAssetMan() ? m_app.GetAssetMan()->GetListedTexture(assetId) : nullptr;
    return texture ? texture->GetEngineTexture() : nullptr;
}

CScene* CAppEngineLinks::GetScene() {
    return m_app.GetEngineMan() ? m_app.GetEngineMan()->GetScene() : nullptr;
}

void CAppEngineLinks::SetBackgroundColour(int world) {
    if (CEngineMan* engine = m_app.GetEngineMan())
        engine->SetBackgroundColour(world);
}

void CAppEngineLinks::SetupLighting() {
    if (CEngineMan* engine = m_app.GetEngineMan())
        engine->SetupLighting(engine->GetLightingMode());
}

void CAppEngineLinks::SetUserTextureLoadFunction(TextureLoadFunction load) {
    CEngineMan::SetTextureLoader(std::move(load));
}

} // namespace zentrix
