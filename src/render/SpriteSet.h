#pragma once

#include <memory>
#include <vector>

#include "foundation/math/Vector.h"

namespace zentrix {

class CScene;
class CVornMesh;
class CVornSprite;
class IRenderAssets;

/// The sprites fixed to one world object's mesh (glows, lights, car effects): each keeps a position in
/// the mesh's space and follows the mesh on every update.
class CSpriteSet {
public:
    /// Asset record fields of a set: count, then per sprite texture id, size, position and colour.
    static constexpr int kFieldCount = 230;
    static constexpr int kFieldTexture = 231;
    static constexpr int kFieldSize = 232;
    static constexpr int kFieldPosition = 233;
    static constexpr int kFieldColour = 234;

    /// The set of the object asset `assetId` on `mesh`; null when the record has no set or any sprite of
    /// it cannot be made. The mesh, assets and scene are not owned and must outlive the set.
    static std::unique_ptr<CSpriteSet> Create(int assetId, CVornMesh& mesh, IRenderAssets& assets,
                                              CScene& scene);

    /// An empty set on the mesh.
    CSpriteSet(CVornMesh& mesh, IRenderAssets& assets, CScene& scene);
    CSpriteSet(const CSpriteSet&) = delete;
    CSpriteSet& operator=(const CSpriteSet&) = delete;
    ~CSpriteSet();

    /// Adds the sprites of the asset record, no more than the textures it stores; false when the count
    /// is absent or a sprite's fields are missing, not finite, or its texture is missing (the sprites
    /// added before stay).
    bool Load(int assetId);
    /// A sprite of the texture asset at a position in the mesh's space, colour channels 0..1 (alpha
    /// full); null when the texture is missing (an id of 0 or below is none). The set owns it.
    CVornSprite* AddSprite(float size, int textureId, CVector local, float red, float green, float blue);
    /// Moves every sprite to its position in the mesh's current place.
    void Update();
    /// Deletes a sprite of this set; any other pointer is ignored.
    void RemoveSprite(CVornSprite* sprite);

    std::size_t GetCount() const { return m_sprites.size(); }
    CVornSprite* GetSprite(std::size_t i) const { return m_sprites[i].get(); }
    const CVector& GetLocalPosition(std::size_t i) const { return m_local[i]; }
    bool IsLoaded() const { return m_loaded; }

    /// 0xFF000000 + the channels 0..1 as bytes (truncated; out of range or NaN clamped to 0..1).
    static std::uint32_t PackColour(float red, float green, float blue);

private:
    std::vector<std::unique_ptr<CVornSprite>> m_sprites;
    std::vector<CVector> m_local;
    CVornMesh& m_mesh;
    IRenderAssets& m_assets;
    CScene& m_scene;
    bool m_loaded = false;
};

} // namespace zentrix
