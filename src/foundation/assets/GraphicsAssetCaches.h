#pragma once

#include <cstdint>
#include <string>

namespace zentrix {

class CMeshAsset;
class CTexture;
class CTextureAsset;
class CVornMesh;

/// The texture and mesh caches the asset manager owns from its start to its stop: each texture and mesh
/// is loaded once per asset id and shared.
class IGraphicsAssetCaches {
public:
    virtual ~IGraphicsAssetCaches() = default;
    /// The cached texture of the id, else the one loaded from the full path.
    virtual CTextureAsset* GetTexture(int id, const std::string& fullPath) = 0;
    /// Releases the cached textures of an owner key.
    virtual void ReleaseTexture(std::intptr_t ownerKey) = 0;
    /// Flag byte i (0..3) of the texture asset that owns the engine texture; 0 when none does.
    virtual std::uint8_t GetTextureFlag(const CTexture* texture, int i) const = 0;
    /// The cached mesh of the id, else the one loaded from the path; null when it cannot be read.
    virtual CMeshAsset* GetMesh(int id, const std::string& path) = 0;
    /// Whether the mesh of the id is cached.
    virtual bool IsMeshCached(int id) const = 0;
    /// A new copy of the cached mesh for a world object, which takes it into its frame tree; null when
    /// the mesh is not cached.
    virtual CVornMesh* CloneCachedMesh(int id) = 0;
    /// The engine texture for a texture file named inside the mesh being loaded.
    virtual CTexture* EngineTextureCallback(const char* fileName) = 0;
};

} // namespace zentrix
