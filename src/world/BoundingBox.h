#pragma once

#include "world/BoundingVolume.h"

#include <array>

namespace zentrix {

/// A box volume: eight corners around the world centre, turned with the owner, and the six face planes
/// through them. Its broad sphere has the box's longest full side as radius.
class CBoundingBox : public CBoundingVolume {
public:
    CBoundingBox() { m_dirty = true; }
    ~CBoundingBox() override = default;

    /// A box from a descriptor of kind 1 whose three sizes are finite and above 0.
    bool Create(const CBoundingVolumeDesc& desc) override;
    void Recalculate() override;
    int GetKind() const override { return kKindBox; }

    /// Whether a point lies inside the box or on one of its faces: no face plane has it strictly on the
    /// other side from the centre. False for an invalid box.
    bool ContainsPoint(CVector p);
    /// The world corner i (0..7), up to date.
    CVector GetWorldCorner(int i);

    /// Two boxes meet when a corner of either lies inside the other. Boxes that cross without a corner
    /// inside (a plus sign) do not.
    static bool IntersectsBox(CBoundingBox& a, CBoundingBox& b);
    /// A box meets a volume taken as a sphere when one of the box's corners lies within the sphere; a
    /// sphere wholly inside the box does not meet it.
    static bool IntersectsSphere(CBoundingBox& box, CBoundingVolume& sphere);

private:
    /// A face plane: a point on it and its normal.
    struct Plane {
        CVector point;
        CVector normal;
    };

    std::array<CVector, 8> m_localCorners{};
    std::array<CVector, 8> m_worldCorners{};
    std::array<Plane, 6> m_planes{};
};

} // namespace zentrix
