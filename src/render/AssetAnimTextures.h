#pragma once

#include "render/AnimTextures.h"

namespace zentrix {

class CAssetMan;

/// Texture animations over the game's assets: textures by asset id from the asset manager, swapped on
/// the faces of game meshes.
class CAssetAnimTextures final : public IAnimTextures {
public:
    /// Swaps through `assets` (not owned; it must outlive this).
    explicit CAssetAnimTextures(CAssetMan& assets) : m_assets(assets) {}

    CTexture* GetTexture(int textureId) override;
    void ReplaceTexture(CEntity* mesh, CTexture* oldTexture, CTexture* newTexture) override;

private:
    CAssetMan& m_assets;
};

} // namespace zentrix
