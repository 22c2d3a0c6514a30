#pragma once

#include "foundation/assets/GraphicsAssetCaches.h"
#include "render/assets/MeshCache.h"
#include "render/assets/TextureCache.h"

namespace zentrix {

/// The asset manager's texture and mesh caches, and the loader the engine asks for every texture a
/// mesh file names.
class CGraphicsCaches : public IGraphicsAssetCaches {
public:
    /// The shared texture folders of the world themes, below the resource path.
    static constexpr const char* kWorldTextureFolders[4] = {
        "worlds\\jungle\\jshred\\", "worlds\\ice\\ishred\\", "worlds\\desert\\dshred\\",
        "worlds\\city\\cshred\\"};

    explicit CGraphicsCaches(CAssetMan& assets);
    ~CGraphicsCaches() override;

    CTextureAsset* GetTexture(int id, const std::string& fullPath) override;
    void ReleaseTexture(std::intptr_t ownerKey) override;
    std::uint8_t GetTextureFlag(const CTexture* texture, int i) const override;
    CMeshAsset* GetMesh(int id, const std::string& path) override;
    bool IsMeshCached(int id) const override;
    CVornMesh* CloneCachedMesh(int id) override;
    /// The texture of a name inside the mesh being loaded: from the current world's shared texture
    /// folder first, else from the mesh's own folder; a name the resource table does not know ends the
    /// program as every texture that cannot load does.
    CTexture* EngineTextureCallback(const char* fileName) override;

    CTextureCache& Textures() { return m_textures; }
    CMeshCache& Meshes() { return m_meshes; }

private:
    CAssetMan& m_assets;
    CTextureCache m_textures;
    CMeshCache m_meshes;
};

} // namespace zentrix
