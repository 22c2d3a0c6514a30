#include "render/AssetAnimTextures.h"

#include "engine/Mesh.h"
#include "foundation/assets/AssetMan.h"
#include "render/VornMesh.h"
#include "render/assets/TextureAsset.h"

namespace zentrix {

CTexture* CAssetAnimTextures::GetTexture(int textureId) {
    CTextureAsset* asset = m_assets.GetTexture(textureId);
    return asset ? asset->GetEngineTexture() : nullptr;
}

void CAssetAnimTextures::ReplaceTexture(CEntity* mesh, CTexture* oldTexture, CTexture* newTexture) {
    if (!mesh || mesh->GetType() != CEntity::kKindMesh)
        return;
    auto& engineMesh = static_cast<CMesh&>(*mesh);
    MeshFace* faces = engineMesh.GetFaces(0);
    for (std::uint32_t f = 0; faces && f < engineMesh.GetFaceCount(0); ++f)
        if (faces[f].texture == oldTexture)
            faces[f].texture = newTexture;
    CVornMesh::MarkForRebuild(mesh);
}

} // namespace zentrix
