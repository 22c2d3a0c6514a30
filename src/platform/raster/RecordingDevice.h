#pragma once

#include "platform/raster/Device.h"
#include "platform/raster/DeviceState.h"

#include <string>
#include <vector>

namespace plat::raster {

/// A device that draws nothing and notes every call, for logic tests: which states reached the device,
/// in which order, and what was drawn with which texture and transforms.
class RecordingDevice final : public Device {
public:
    enum class Kind {
        SetTransform,
        SetViewport,
        SetRenderState,
        SetTextureStageState,
        SetTexture,
        SetMaterial,
        SetLight,
        EnableLight,
        BeginScene,
        EndScene,
        Clear,
        DrawIndexedTriangles,
        ProcessVertices
    };

    /// One call with its arguments; fields a call does not have stay 0 or null.
    struct Call {
        explicit Call(Kind k) : kind(k) {}
        Kind kind;
        std::uint32_t what = 0;  // state, transform kind, light index, clear flags, process flags
        std::uint32_t value = 0; // state value, colour, on/off
        int stage = 0;           // texture stage
        const Texture* texture = nullptr;
        const VertexBuffer* buffer = nullptr;
        int start = 0, count = 0, indexCount = 0;
        Matrix4 matrix;    // SetTransform; for draws, world x view x projection at the draw
        Viewport viewport; // SetViewport
    };

    /// All calls so far, oldest first.
    const std::vector<Call>& Calls() const { return m_calls; }
    /// Forgets the calls (not the state).
    void ClearCalls() { m_calls.clear(); }
    /// Number of calls of one kind.
    int CountOf(Kind kind) const;
    /// Number of SetRenderState calls for `state`.
    int CountOf(RenderState state) const;
    /// A readable line per call, for failure messages.
    std::string Describe() const;
    /// The states as they stand after the calls.
    const DeviceState& State() const { return m_state; }

    /// Makes BeginScene fail (a lost device).
    void FailBeginScene(bool fail) { m_failBegin = fail; }
    /// Replaces what Caps, TextureFormats and DepthFormats report.
    void SetCaps(const DeviceCaps& caps) { m_caps = caps; }
    void SetTextureFormats(std::vector<gfx2d::PixelFormat> formats) { m_formats = std::move(formats); }
    void SetDepthFormats(std::vector<int> depths) { m_depths = std::move(depths); }

    DeviceCaps Caps() const override { return m_caps; }
    std::vector<gfx2d::PixelFormat> TextureFormats() const override { return m_formats; }
    std::vector<int> DepthFormats() const override { return m_depths; }
    void SetTransform(TransformKind kind, const Matrix4& matrix) override;
    void SetViewport(const Viewport& viewport) override;
    void SetRenderState(RenderState state, std::uint32_t value) override;
    void SetTextureStageState(int stage, StageState state, std::uint32_t value) override;
    void SetTexture(int stage, const Texture* texture) override;
    void SetMaterial(const Material& material) override;
    Material GetMaterial() const override { return m_state.CurrentMaterial(); }
    void SetLight(int index, const Light& light) override;
    void EnableLight(int index, bool on) override;
    bool BeginScene() override;
    void EndScene() override;
    void Clear(std::uint32_t flags, std::uint32_t colour, float depth) override;
    void DrawIndexedTriangles(const VertexBuffer& buffer, int startVertex, int vertexCount,
                              const std::uint16_t* indices, int indexCount) override;
    bool ProcessVertices(std::uint32_t flags, const VertexBuffer& source, int sourceStart, int count,
                         VertexBuffer& destination, int destinationStart) override;

private:
    DeviceState m_state;
    std::vector<Call> m_calls;
    DeviceCaps m_caps;
    std::vector<gfx2d::PixelFormat> m_formats{gfx2d::kFormat565, gfx2d::kFormatArgb1555,
                                              gfx2d::kFormatArgb4444, gfx2d::kFormatArgb8888};
    std::vector<int> m_depths{16};
    bool m_failBegin = false;
};

} // namespace plat::raster
