#pragma once

#include "engine/RenderBatch.h"
#include "platform/raster/Types.h"

#include <array>
#include <cstdint>
#include <memory>

namespace zentrix {

class CEntity;
class CGeometryBuffer;

/// What the engine draws each frame: up to eight root frames, a decal list beside each, 100 light slots
/// of which at most eight are on, the ambient colour and an optional background frame.
class CScene {
public:
    static constexpr int kRoots = 8;
    static constexpr int kLightSlots = 100;
    static constexpr int kMaxLightsOn = 8;

    /// A scene whose root 0 is a new empty frame; the other roots are empty.
    CScene();
    ~CScene();
    CScene(const CScene&) = delete;
    CScene& operator=(const CScene&) = delete;

    /// Root `index` (0-7), or null.
    CEntity* GetRoot(int index) const;
    /// Makes `root` root `index`, deleting the one it replaces.
    void SetRoot(int index, std::unique_ptr<CEntity> root);

    /// Adds an item to the decal list of a root (0-7); the scene only observes it.
    void AddToDecalList(CGeometryBuffer* item, int list);
    /// Takes an item off a decal list; a missing item only traces.
    void RemoveFromDecalList(CGeometryBuffer* item, int list);
    /// The decal list of a root (0-7).
    const DecalList& GetDecalList(int list) const;

    /// False for an undefined light; else true, with the record copied when `out` is given.
    bool GetLight(int index, plat::raster::Light* out) const;
    /// Stores a record: an undefined light becomes defined and off, an enabled one stays on.
    void SetLight(int index, const plat::raster::Light& light);
    /// Turns a defined light on; false when it is undefined or eight lights are on already.
    bool EnableLight(int index);
    /// Turns a light off.
    void DisableLight(int index);
    bool IsLightEnabled(int index) const;
    /// Turns the light off and makes it undefined.
    void RemoveLight(int index);
    /// Number of lights on.
    int GetLightsOn() const { return m_lightsOn; }

    /// Ambient colour 0x00RRGGBB (white at the start).
    std::uint32_t GetAmbient() const { return m_ambient; }
    void SetAmbient(std::uint32_t colour) { m_ambient = colour; }
    /// The background frame, drawn before the roots without clearing the viewport (observed).
    CEntity* GetBackground() const { return m_background; }
    void SetBackground(CEntity* frame) { m_background = frame; }
    /// Whether fog is on while the background draws.
    bool GetBackgroundFog() const { return m_backgroundFog; }
    void SetBackgroundFog(bool on) { m_backgroundFog = on; }

private:
    enum LightState : std::uint8_t { kOff = 0, kOn = 1, kUndefined = 255 };
    bool IsDefined(int index, const char* operation) const;

    std::array<std::unique_ptr<CEntity>, kRoots> m_roots;
    std::array<DecalList, kRoots> m_decals;
    std::uint32_t m_ambient = 0xFFFFFF;
    bool m_backgroundFog = false;
    CEntity* m_background = nullptr;
    std::array<plat::raster::Light, kLightSlots> m_lights{};
    std::array<LightState, kLightSlots> m_lightStates;
    int m_lightsOn = 0;
};

} // namespace zentrix
