#pragma once

#include <cstdint>
#include <vector>

namespace zentrix {

/// Where data files take the bytes of an asset from: the asset manager fills it (libraries first, then
/// the loose file); tests hand in blocks of their own.
class CAssetByteSource {
public:
    virtual ~CAssetByteSource() = default;
    /// The whole content of the asset; empty when it has none or cannot be read.
    virtual std::vector<std::uint8_t> GetAssetBytes(std::int32_t assetId) = 0;
};

} // namespace zentrix
