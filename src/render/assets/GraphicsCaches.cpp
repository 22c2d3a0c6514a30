#include "render/assets/GraphicsCaches.h"

#include "foundation/assets/AssetMan.h"

namespace zentrix {

CGraphicsCaches::CGraphicsCaches(CAssetMan& assets)
    : m_assets(assets), m_textures(assets), m_meshes(assets) {}

// The meshes go first: their faces point at the textures.
CGraphicsCaches::~CGraphicsCaches() {
    m_meshes.Clear();
    m_textures.Clear();
}

CTextureAsset* CGraphicsCaches::GetTexture(int id, const std::string& fullPath) {
    return m_textures.GetOrLoad(id, fullPath);
}

void CGraphicsCaches::ReleaseTexture(std::intptr_t ownerKey) {
    m_textures.ReleaseByOwner(ownerKey);
}

std::uint8_t CGraphicsCaches::GetTextureFlag(const CTexture* texture, int i) const {
    const CTextureAsset* asset = m_textures.FindByTexture(texture);
    return asset ? asset->GetFlag(i) : 0;
}

CMeshAsset* CGraphicsCaches::GetMesh(int id, const std::string& path) {
    return m_meshes.GetOrLoad(id, path);
}

bool CGraphicsCaches::IsMeshCached(int id) const {
    return m_meshes.FindById(id) != nullptr;
}

CVornMesh* CGraphicsCaches::CloneCachedMesh(int id) {
    return m_meshes.Clone(id);
}

CTexture* CGraphicsCaches::EngineTextureCallback(const char* fileName) {
    const std::string& meshPath = m_meshes.LoadingPath();
    const std::string candidate = meshPath.substr(0, meshPath.rfind('\\') + 1) + (fileName ? fileName : "");
    std::string shared;
    char resourcePath[1024];
    if (m_assets.GetResourcePath(resourcePath, sizeof resourcePath))
        shared = resourcePath;
    const int world = m_assets.GetWorld();
    shared += kWorldTextureFolders[world >= 0 && world < 4 ? world : 0];
    shared += candidate.substr(candidate.rfind('\\') + 1);
    int id = m_assets.FindAssetId(shared, true);
    if (id < 0)
        id = m_assets.FindAssetId(candidate, true);
    CTextureAsset* texture = m_assets.GetTexture(id);
    return texture ? texture->GetEngineTexture() : nullptr;
}

} // namespace zentrix
