#include "world/BoundingVolume.h"

#include "world/BoundingBox.h"

namespace zentrix {

void CBoundingVolume::Reset() {
    m_valid = false;
    m_centre.Zero();
    m_offset.Zero();
    m_radiusSquared = 0.0f;
}

void CBoundingVolume::Init(const CBoundingVolumeDesc& desc) {
    CBoundingVolume::Reset();
    m_centre = desc.centre;
    m_offset = desc.offset;
    m_worldOffset = m_offset;
    m_radiusSquared = 0.0f;
    m_dirty = true;
    m_valid = true;
}

void CBoundingVolume::SetCentre(float x, float y, float z) {
    const CVector centre(x, y, z);
    if (centre == m_centre)
        return;
    m_centre = centre;
    m_dirty = true;
}

void CBoundingVolume::SetOrientation(CVector direction, CVector up) {
    if (direction == m_direction && up == m_up)
        return;
    m_direction = direction;
    m_up = up;
    m_dirty = true;
}

CVector CBoundingVolume::TurnToOwner(CVector local) const {
    local.TransformBetweenFrames(kDefaultDirection, kUpVector, m_direction, m_up);
    return local;
}

void CBoundingVolume::Recalculate() {
    if (!m_dirty)
        return;
    m_worldOffset = m_offset.IsZero() ? m_offset : TurnToOwner(m_offset);
    m_dirty = false;
}

CVector CBoundingVolume::GetWorldOffset() {
    Recalculate();
    return m_worldOffset;
}

CVector CBoundingVolume::GetWorldCentre() {
    Recalculate();
    return m_centre + m_worldOffset;
}

bool CBoundingVolume::SpheresOverlap(CBoundingVolume& a, CBoundingVolume& b) {
    if (!a.IsValid() || !b.IsValid())
        return false;
    const CVector d = a.GetWorldCentre() - b.GetWorldCentre();
    return d.Dot(d) <= a.GetRadiusSquared() + b.GetRadiusSquared();
}

bool CBoundingVolume::Intersects(CBoundingVolume& a, CBoundingVolume& b) {
    if (!a.IsValid() || !b.IsValid())
        return false;
    const int kindA = a.GetKind();
    const int kindB = b.GetKind();
    // A box meets a box or a sphere exactly; any other volume counts as a sphere against a box and as
    // its broad sphere against everything else.
    if (kindA == kKindBox && kindB == kKindBox)
        return CBoundingBox::IntersectsBox(static_cast<CBoundingBox&>(a), static_cast<CBoundingBox&>(b));
    if (kindA == kKindBox && kindB == kKindSphere)
        return CBoundingBox::IntersectsSphere(static_cast<CBoundingBox&>(a), b);
    if (kindA != kKindBox && kindB == kKindBox)
        return CBoundingBox::IntersectsSphere(static_cast<CBoundingBox&>(b), a);
    return SpheresOverlap(a, b);
}

} // namespace zentrix
