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

    std::uint32_t Get(RenderState s) const { return render_[static_cast<std::size_t>(s)]; }
    void Set(RenderState s, std::uint32_t v);
    std::uint32_t Get(int stage, StageState s) const;
    void Set(int stage, StageState s, std::uint32_t v);

    const Texture* BoundTexture(int stage) const;
    void Bind(int stage, const Texture* texture);

    const Matrix4& Transform(TransformKind kind) const { return transforms_[static_cast<std::size_t>(kind)]; }
    void SetTransform(TransformKind kind, const Matrix4& m);

    const Viewport& ViewportRect() const { return viewport_; }
    void SetViewport(const Viewport& v) { viewport_ = v; }

    const Material& CurrentMaterial() const { return material_; }
    void SetMaterial(const Material& m) { material_ = m; }

    /// Light `index` as stored (a default light when never set or out of range).
    Light GetLight(int index) const;
    void SetLight(int index, const Light& light);
    bool IsLightEnabled(int index) const;
    void EnableLight(int index, bool on);

private:
    std::array<std::uint32_t, static_cast<std::size_t>(RenderState::Count)> render_{};
    std::array<std::array<std::uint32_t, static_cast<std::size_t>(StageState::Count)>, kStageCount> stages_{};
    std::array<const Texture*, kStageCount> textures_{};
    std::array<Matrix4, static_cast<std::size_t>(TransformKind::Count)> transforms_;
    Viewport viewport_;
    Material material_;
    std::array<Light, kLightCount> lights_{};
    std::array<bool, kLightCount> lightOn_{};
};

} // namespace plat::raster
