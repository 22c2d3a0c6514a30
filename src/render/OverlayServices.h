#pragma once

#include "platform/gfx2d/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CSurfaceMan;

/// What overlays take from the engine and the asset manager: surfaces, picture bytes and the fields of
/// panel layout records. The engine manager installs one while its scene exists; tests install their own.
class IOverlayServices {
public:
    virtual ~IOverlayServices() = default;
    /// The engine's surface manager, or null when there is none.
    virtual CSurfaceMan* GetSurfaceMan() = 0;
    /// A plain off-screen surface of the display in the screen's format; throws std::runtime_error when
    /// the display cannot make it.
    virtual std::unique_ptr<plat::gfx2d::Surface> CreateDDSurface(int width, int height) = 0;
    /// The bytes of an asset; false when it has none.
    virtual bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) = 0;
    /// One integer of an asset's data record; false when it cannot be read.
    virtual bool GetInt(int assetId, int dataId, int& out, int element) = 0;
};

/// The services overlays use now (null: none, and overlays make no surfaces of their own).
IOverlayServices* GetOverlayServices();
/// Installs the services overlays use (null removes them); the caller keeps them alive meanwhile.
void SetOverlayServices(IOverlayServices* services);

} // namespace zentrix
