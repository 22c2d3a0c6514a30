#include "world/BoundingBox.h"

#include "foundation/math/Geometry.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

namespace {

bool IsUsableSize(float size) {
    return std::isfinite(size) && size > 0.0f;
}

} // namespace

bool CBoundingBox::Create(const CBoundingVolumeDesc& desc) {
    Reset();
    // A flat or empty box has coinciding corners, so some of its faces have no normal and no plane
    // separates anything from it: it would contain points far outside. Such a box is refused.
    if (desc.kind != CBoundingVolumeDesc::kBox ||
        !std::all_of(desc.sizes.begin(), desc.sizes.end(), IsUsableSize))
        return false;
    Init(desc);
    const float hx = desc.sizes[0] / 2.0f;
    const float hy = desc.sizes[1] / 2.0f;
    const float hz = desc.sizes[2] / 2.0f;
    m_localCorners = {CVector(hx, -hy, -hz), CVector(-hx, -hy, -hz), CVector(hx, hy, -hz),
                      CVector(-hx, hy, -hz), CVector(hx, -hy, hz),   CVector(-hx, -hy, hz),
                      CVector(hx, hy, hz),   CVector(-hx, hy, hz)};
    const float longest = std::max({desc.sizes[0], desc.sizes[1], desc.sizes[2]});
    m_radiusSquared = longest * longest;
    return true;
}

void CBoundingBox::Recalculate() {
    if (!m_dirty)
        return;
    m_worldOffset = m_offset.IsZero() ? m_offset : TurnToOwner(m_offset);
    const CVector shift = m_centre + m_worldOffset;
    for (std::size_t i = 0; i < m_worldCorners.size(); ++i)
        m_worldCorners[i] = TurnToOwner(m_localCorners[i]) + shift;
    const auto& c = m_worldCorners;
    // Opposite faces share one normal: each pair is a plane through a corner of one face and its twin
    // through a corner of the other.
    const CVector faceZ = TriangleNormal(c[0], c[1], c[2]);
    const CVector faceY = TriangleNormal(c[0], c[1], c[4]);
    const CVector faceX = TriangleNormal(c[0], c[2], c[4]);
    m_planes = {Plane{c[0], faceZ}, Plane{c[0], faceY}, Plane{c[0], faceX},
                Plane{c[4], faceZ}, Plane{c[2], faceY}, Plane{c[1], faceX}};
    m_dirty = false;
}

bool CBoundingBox::ContainsPoint(CVector p) {
    if (!m_valid)
        return false;
    const CVector centre = GetWorldCentre();
    // Outside means strictly on the other side of a face from the centre, so that the box is closed:
    // a point on any of its six faces is inside, whichever way that face's plane normal points.
    for (const Plane& plane : m_planes) {
        const float s1 = (centre - plane.point).Dot(plane.normal);
        const float s2 = (p - plane.point).Dot(plane.normal);
        if ((s1 < 0.0f && s2 > 0.0f) || (s1 > 0.0f && s2 < 0.0f))
            return false;
    }
    return true;
}

CVector CBoundingBox::GetWorldCorner(int i) {
    Recalculate();
    return i >= 0 && i < 8 ? m_worldCorners[static_cast<std::size_t>(i)] : CVector();
}

bool CBoundingBox::IntersectsBox(CBoundingBox& a, CBoundingBox& b) {
    if (!SpheresOverlap(a, b))
        return false;
    a.Recalculate();
    b.Recalculate();
    for (const CVector& corner : b.m_worldCorners)
        if (a.ContainsPoint(corner))
            return true;
    for (const CVector& corner : a.m_worldCorners)
        if (b.ContainsPoint(corner))
            return true;
    return false;
}

bool CBoundingBox::IntersectsSphere(CBoundingBox& box, CBoundingVolume& sphere) {
    if (!SpheresOverlap(box, sphere))
        return false;
    box.Recalculate();
    const CVector centre = sphere.GetWorldCentre();
    for (const CVector& corner : box.m_worldCorners) {
        const CVector d = corner - centre;
        if (d.Dot(d) <= sphere.GetRadiusSquared())
            return true;
    }
    return false;
}

} // namespace zentrix
