#pragma once

#include "world/BoundingVolume.h"

namespace zentrix {

/// A sphere volume: its broad sphere is the volume itself.
class CBoundingSphere : public CBoundingVolume {
public:
    CBoundingSphere() = default;
    ~CBoundingSphere() override = default;

    /// A sphere from a descriptor of kind 0 whose radius (the first size) is finite and not negative.
    bool Create(const CBoundingVolumeDesc& desc) override;
    int GetKind() const override { return kKindSphere; }
};

} // namespace zentrix
