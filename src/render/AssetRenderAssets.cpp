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

CTexture* CAssetRenderAssets::GetTexture(int textureId) {
    CTextureAsset* asset = m_assets.GetTexture(textureId);
    return asset ? asset->GetEngineTexture() : nullptr;
}

int CAssetRenderAssets::GetWorldTheme() const {
    return m_assets.GetWorld();
}

} // namespace zentrix
