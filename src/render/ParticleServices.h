#pragma once

#include "foundation/math/Vector.h"

#include <cstddef>

namespace zentrix {

class CScene;
class CTexture;

/// What particle systems read of the program: the values of a kind's data file, the engine texture of a
/// texture asset and the scene whose decal list 0 draws them. The application fills it over the asset
/// manager and the engine manager; tests serve memory values.
class IParticleServices {
public:
    virtual ~IParticleServices() = default;
    /// Integer `element` of data id `dataId` of asset `assetId`; false when missing.
    virtual bool GetInt(int assetId, int dataId, int& out, int element) = 0;
    /// Float `element` of a data id; false when missing.
    virtual bool GetFloat(int assetId, int dataId, float& out, int element) = 0;
    /// Vector `element` of a data id; false when missing.
    virtual bool GetVector(int assetId, int dataId, CVector& out, int element) = 0;
    /// The text of a data id, cut to fit `size` bytes with its terminator; false when missing.
    virtual bool GetString(int assetId, int dataId, char* buffer, std::size_t size) = 0;
    /// The engine texture of texture asset `assetId`; null when missing.
    virtual CTexture* GetTexture(int assetId) = 0;
    /// The scene the systems' buffers are listed in; null while there is none.
    virtual CScene* GetScene() = 0;
};

/// What a particle system asks of the world object it is attached to.
class IParticleOwner {
public:
    virtual ~IParticleOwner() = default;
    /// Whether the object is dead (the system then ends).
    virtual bool IsDead() const = 0;
    /// The world matrix of the object's mesh (16 floats, row vectors).
    virtual void GetWorldMatrix(float* out) const = 0;
    /// The world matrix of the object's mesh without its translation.
    virtual void GetWorldRotation(float* out) const = 0;
    /// The velocity of an active (moving) object; false for an object that never moves.
    virtual bool GetVelocity(CVector& out) const = 0;
};

} // namespace zentrix
