#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CBitmap;
class CEventMan;

/// What the engine manager takes from the rest of the program: the screen size, the pointer position
/// of the main window, the message queue, the world theme, pictures and panel data from the asset
/// manager. The application object fills it; tests fill their own.
class IEngineServices {
public:
    virtual ~IEngineServices() = default;
    /// The screen size in pixels.
    virtual int GetScreenWidth() const = 0;
    virtual int GetScreenHeight() const = 0;
    /// The pointer position in the main window, in screen pixels.
    virtual int GetMouseX() const = 0;
    virtual int GetMouseY() const = 0;
    /// The application message queue, or null.
    virtual CEventMan* GetEventMan() = 0;
    /// The asset manager's current world theme (0 jungle, 1 ice, 2 desert, 3 city).
    virtual int GetWorldTheme() const = 0;
    /// A new bitmap holding the TGA picture asset `assetId`; null when there is none.
    virtual std::unique_ptr<CBitmap> GetBitmap(int assetId) = 0;
    /// The bytes of an asset; false when it has none.
    virtual bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) = 0;
    /// One integer of an asset's data record; false when it cannot be read.
    virtual bool GetInt(int assetId, int dataId, int& out, int element) = 0;
    /// 30 / frames per second of the last frames (1 at 30 frames per second).
    virtual float GetFrameFactor() const = 0;
};

} // namespace zentrix
