#pragma once

#include "platform/raster/Types.h"

#include <array>
#include <cstdint>
#include <vector>

namespace plat::raster {

class Texture;

/// Everything a device remembers between draws: states with their start values, transforms, bound
/// textures, viewport, material and lights. Both devices keep one, so tests can ask either what is set.
class DeviceState {
public:
    static constexpr int kLightCount = 8;

    /// Start values: Gouraud, z test LESSEQUAL with writes, no alpha test or blending, lighting on,
    /// counter-clockwise culling; stage 0 modulates texture and colour, the other stages are off.
    DeviceState();

    std::uint32_t Get(RenderState s) const { return m_render[static_cast<std::size_t>(s)]; }
    void Set(RenderState s, std::uint32_t v);
    std::uint32_t Get(int stage, StageState s) const;
    void Set(int stage, StageState s, std::uint32_t v);

    const Texture* BoundTexture(int stage) const;
    void Bind(int stage, const Texture* texture);

    const Matrix4& Transform(TransformKind kind) const {
        return m_transforms[static_cast<std::size_t>(kind)];
    }
    void SetTransform(TransformKind kind, const Matrix4& m);

    const Viewport& ViewportRect() const { return m_viewport; }
    void SetViewport(const Viewport& v) { m_viewport = v; }

    const Material& CurrentMaterial() const { return m_material; }
    void SetMaterial(const Material& m) { m_material = m; }

    /// Light `index` as stored (a default light when never set or out of range).
    Light GetLight(int index) const;
    void SetLight(int index, const Light& light);
    bool IsLightEnabled(int index) const;
    void EnableLight(int index, bool on);

private:
    std::array<std::uint32_t, static_cast<std::size_t>(RenderState::Count)> m_render{};
    std::array<std::array<std::uint32_t, static_cast<std::size_t>(StageState::Count)>, kStageCount>
        m_stages{};
    std::array<const Texture*, kStageCount> m_textures{};
    std::array<Matrix4, static_cast<std::size_t>(TransformKind::Count)> m_transforms;
    Viewport m_viewport;
    Material m_material;
    std::array<Light, kLightCount> m_lights{};
    std::array<bool, kLightCount> m_lightOn{};
};

} // namespace plat::raster
