#include "render/AssetRenderAssets.h"

#include "foundation/assets/AssetMan.h"
#include "render/assets/TextureAsset.h"

namespace zentrix {

bool CAssetRenderAssets::GetInt(int assetId, int dataId, int& out, int element) {
    return m_assets.GetInt(assetId, dataId, out, element);
}

bool CAssetRenderAssets::GetFloat(int assetId, int dataId, float& out, int element) {
    return m_assets.GetFloat(assetId, dataId, out, element);
}

bool CAssetRenderAssets::GetVector(int assetId, int dataId, CVector& out, int element) {
    return m_assets.GetVector(assetId, dataId, out, element);
}

int CAssetRenderAssets::GetFieldCount(int assetId, int dataId) {
    return m_assets.GetFieldCount(assetId, dataId);
}

CTexture* CAssetRenderAssets::GetTexture(int textureId) {
    // Texture ids come from data: one the resource table does not list is no texture.
    CTextureAsset* asset = m_assets.GetListedTexture(textureId);
    return asset ? asset->GetEngineTexture() : nullptr;
}

int CAssetRenderAssets::GetWorldTheme() const {
    return m_assets.GetWorld();
}

} // namespace zentrix
