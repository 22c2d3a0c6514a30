#include "world/BoundingSphere.h"

#include <cmath>

namespace zentrix {

bool CBoundingSphere::Create(const CBoundingVolumeDesc& desc) {
    Reset();
    const float radius = desc.sizes[0];
    if (desc.kind != CBoundingVolumeDesc::kSphere || !std::isfinite(radius) || radius < 0.0f)
        return false;
    Init(desc);
    m_radiusSquared = radius * radius;
    return true;
}

} // namespace zentrix
