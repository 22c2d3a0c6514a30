#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CTexture;

/// What sprite sets and shadows read of the game's assets: typed record fields, engine textures by asset
/// id and the current world theme. Fields answer as the asset manager's data files do.
class IRenderAssets {
public:
    virtual ~IRenderAssets() = default;
    /// Integer field `dataId` (element `element`) of an asset record: false without a record or when
    /// the id is not in the record's format; else the stored element or, past those stored, the id's
    /// default.
    virtual bool GetInt(int assetId, int dataId, int& out, int element = 0) = 0;
    /// Float field, as GetInt.
    virtual bool GetFloat(int assetId, int dataId, float& out, int element = 0) = 0;
    /// Vector field, as GetInt.
    virtual bool GetVector(int assetId, int dataId, CVector& out, int element = 0) = 0;
    /// The number of elements the record stores for a field; 0 without.
    virtual int GetFieldCount(int assetId, int dataId) = 0;
    /// The engine texture of a texture asset; null when there is none (never the end of the program).
    virtual CTexture* GetTexture(int textureId) = 0;
    /// The current world theme: 0 jungle, 1 ice, 2 desert, 3 city.
    virtual int GetWorldTheme() const = 0;
};

} // namespace zentrix
