#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CBitmap;

/// Makes 2D pictures from TGA bytes for the asset manager; the engine's surfaces stand behind it, so the
/// asset manager hands out pictures without knowing how surfaces are made.
class IPictureFactory {
public:
    virtual ~IPictureFactory() = default;
    /// The picture held by TGA `bytes`, or null when they hold none or no surface can be made.
    virtual std::unique_ptr<CBitmap> MakePicture(std::vector<std::uint8_t> bytes) = 0;
};

} // namespace zentrix
