#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CTexture;

/// What sprite sets and shadows read of the game's assets: typed record fields, engine textures by asset
/// id and the current world theme.
class IRenderAssets {
public:
    virtual ~IRenderAssets() = default;
    /// Integer field `dataId` (element `element`) of an asset record; false when absent.
    virtual bool GetInt(int assetId, int dataId, int& out, int element = 0) = 0;
    /// Float field; false when absent.
    virtual bool GetFloat(int assetId, int dataId, float& out, int element = 0) = 0;
    /// Vector field; false when absent.
    virtual bool GetVector(int assetId, int dataId, CVector& out, int element = 0) = 0;
    /// The engine texture of a texture asset; null when there is none.
    virtual CTexture* GetTexture(int textureId) = 0;
    /// The current world theme: 0 jungle, 1 ice, 2 desert, 3 city.
    virtual int GetWorldTheme() const = 0;
};

} // namespace zentrix
