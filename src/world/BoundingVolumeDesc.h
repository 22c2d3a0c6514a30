#pragma once

#include "foundation/assets/WorldObjectAsset.h"
#include "foundation/math/Vector.h"

#include <array>
#include <cstdint>

namespace zentrix {

/// What a bounding volume is made from: its kind, where it sits and how large it is. Usually copied from
/// one of an asset's bounding-volume entries; scripts and pieces fill their own.
struct CBoundingVolumeDesc {
    static constexpr std::uint32_t kSphere = 0;
    static constexpr std::uint32_t kBox = 1;
    /// The kind of an empty entry; no volume is made from it.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    /// An empty descriptor: no kind, zero sizes. A caller that forgets a size gets a volume that refuses
    /// to be made rather than one of whatever size the memory held.
    CBoundingVolumeDesc() = default;
    /// The descriptor of an asset's entry (type -1 stays kNone).
    explicit CBoundingVolumeDesc(const SBoundingVolumeDesc& entry)
        : kind(static_cast<std::uint32_t>(entry.type)), centre(entry.centre),
          offset(entry.offset), sizes{entry.size1, entry.size2, entry.size3} {}

    std::uint32_t kind = kNone;
    CVector centre;
    CVector offset;
    /// A box's full extents along its local x, y and z; a sphere's radius is the first.
    std::array<float, 3> sizes{0.0f, 0.0f, 0.0f};
};

} // namespace zentrix
