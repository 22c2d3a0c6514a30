#pragma once

#include "render/assets/MeshAsset.h"

#include <list>
#include <memory>
#include <string>

namespace zentrix {

class CEntity;

/// The meshes loaded so far, one per asset id, and the copies world objects take of them.
class CMeshCache {
public:
    explicit CMeshCache(CAssetMan& assets);
    virtual ~CMeshCache();
    CMeshCache(const CMeshCache&) = delete;
    CMeshCache& operator=(const CMeshCache&) = delete;

    CMeshAsset* FindById(int id) const;
    /// The asset whose name equals name ignoring case.
    CMeshAsset* FindByName(const std::string& name) const;
    /// The cached mesh of the id, else a new one; null (nothing cached) when it cannot be read.
    CMeshAsset* GetOrLoad(int id, const std::string& path);
    /// A copy of the cached mesh of the id for a world object, with fresh bounding spheres; track pieces
    /// of some shapes get radii 1.7 times as large. Null when the mesh is not cached.
    CVornMesh* Clone(int id);
    /// Deletes every mesh.
    void Clear();
    /// The path of the mesh being loaded (the folder its textures may lie in).
    const std::string& LoadingPath() const { return m_loadingPath; }

    /// Turns every vertex position and normal of every mesh of the tree about x, then y, then z.
    static void RotateVertices(CEntity* frame, float ax, float ay, float az);
    /// Scales every vertex position of every mesh of the tree, and the position of every frame below.
    static void ScaleVertices(CEntity* frame, float factor);
    /// Moves every vertex position of every mesh of the tree.
    static void TranslateVertices(CEntity* frame, float dx, float dy, float dz);

private:
    CAssetMan& m_assets;
    std::list<std::unique_ptr<CMeshAsset>> m_meshes;
    std::string m_loadingPath;
};

} // namespace zentrix
