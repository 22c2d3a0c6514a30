#pragma once

#include "foundation/math/Vector.h"
#include "world/BoundingVolumeDesc.h"

namespace zentrix {

/// The extent of a world object, a piece's trigger zone or a script's proximity test: a box or a sphere
/// placed at the owner's position, shifted by a local offset that turns with the owner's orientation.
/// Offsets are given in the model frame (direction (-1, 0, 0), up (0, 1, 0)). Derived data (the offset
/// in world axes, a box's corners and faces) is recomputed lazily by the next test after a move.
///
/// A volume is invalid until a Create succeeds; an invalid volume meets nothing.
class CBoundingVolume {
public:
    /// What GetKind answers.
    enum Kind { kKindOther = -1, kKindSphere = 0, kKindBox = 1 };

    CBoundingVolume() = default;
    virtual ~CBoundingVolume() = default;
    CBoundingVolume(const CBoundingVolume&) = delete;
    CBoundingVolume& operator=(const CBoundingVolume&) = delete;

    /// Makes the volume from a descriptor of the class's own kind; false, leaving it invalid, for another
    /// kind or a size it cannot have.
    virtual bool Create(const CBoundingVolumeDesc& desc) = 0;
    /// Invalid again, with centre, offset and radius zero.
    virtual void Reset();
    /// The owner's position.
    virtual CVector GetCentre() const { return m_centre; }
    /// Moves the volume with its owner; a move to where it already is changes nothing.
    virtual void SetCentre(float x, float y, float z);
    void SetCentre(CVector centre) { SetCentre(centre.x, centre.y, centre.z); }
    /// Turns the volume with its owner; the same orientation again changes nothing.
    virtual void SetOrientation(CVector direction, CVector up);
    /// Brings the derived data up to date after a move.
    virtual void Recalculate();
    /// The local offset, in the model frame.
    virtual CVector GetOffset() const { return m_offset; }
    /// 1 for a box, 0 for a sphere, -1 for any other volume.
    virtual int GetKind() const { return kKindOther; }

    /// Stores the local offset as it stands, without marking the volume moved: owners set it right after
    /// Create, before the first test.
    void SetOffset(float x, float y, float z) { m_offset.Set(x, y, z); }
    /// The offset turned into the owner's orientation.
    CVector GetWorldOffset();
    /// Centre plus the turned offset: where the volume is.
    CVector GetWorldCentre();
    /// The squared radius of the sphere that the broad test uses.
    float GetRadiusSquared() const { return m_radiusSquared; }
    bool IsValid() const { return m_valid; }

    /// Whether two volumes meet: the exact test for a box against a box or a sphere, the broad sphere
    /// test otherwise. False when either is invalid.
    static bool Intersects(CBoundingVolume& a, CBoundingVolume& b);
    /// The broad test: the distance between the world centres squared is at most the sum of the two
    /// squared radii (not the square of the sum). False when either is invalid.
    static bool SpheresOverlap(CBoundingVolume& a, CBoundingVolume& b);

protected:
    /// The common part of Create: centre and offset from the descriptor, radius zero, valid.
    void Init(const CBoundingVolumeDesc& desc);
    /// Turns a local vector (model frame) into the volume's orientation.
    CVector TurnToOwner(CVector local) const;

    bool m_valid = false;
    CVector m_centre;
    CVector m_up = kDefaultDirection;
    CVector m_direction = kDefaultDirection;
    CVector m_offset;
    CVector m_worldOffset;
    float m_radiusSquared = 0.0f;
    bool m_dirty = false;
};

} // namespace zentrix
