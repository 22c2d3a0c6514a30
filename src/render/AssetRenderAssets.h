#pragma once

#include "render/RenderAssets.h"

namespace zentrix {

class CAssetMan;

/// Sprite and shadow assets served by the asset manager.
class CAssetRenderAssets final : public IRenderAssets {
public:
    /// Reads through `assets` (not owned; it must outlive this).
    explicit CAssetRenderAssets(CAssetMan& assets) : m_assets(assets) {}

    bool GetInt(int assetId, int dataId, int& out, int element = 0) override;
    bool GetFloat(int assetId, int dataId, float& out, int element = 0) override;
    bool GetVector(int assetId, int dataId, CVector& out, int element = 0) override;
    CTexture* GetTexture(int textureId) override;
    int GetFieldCount(int assetId, int dataId) override;
    int GetWorldTheme() const override;

private:
    CAssetMan& m_assets;
};

} // namespace zentrix
