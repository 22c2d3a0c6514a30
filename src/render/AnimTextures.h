#pragma once

namespace zentrix {

class CEntity;
class CTexture;

/// What the texture animations of an animator take from the asset and mesh layers.
class IAnimTextures {
public:
    virtual ~IAnimTextures() = default;
    /// The engine texture of a texture asset id; null when there is none.
    virtual CTexture* GetTexture(int textureId) = 0;
    /// Gives every face of the mesh's first face list that shows `oldTexture` the new one, and marks the
    /// mesh's subtree to be rebuilt.
    virtual void ReplaceTexture(CEntity* mesh, CTexture* oldTexture, CTexture* newTexture) = 0;
};

} // namespace zentrix
