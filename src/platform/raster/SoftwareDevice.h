#pragma once

#include "platform/raster/DepthBuffer.h"
#include "platform/raster/Device.h"
#include "platform/raster/DeviceState.h"
#include "platform/raster/Rasterizer.h"
#include "platform/raster/RenderTarget.h"

#include <vector>

namespace plat::raster {

/// The device drawn by our own rasterizer into a 5-6-5 render target with a float z-buffer of its own.
/// Vertices are transformed by world x view x projection, lit as the engine lights them (material
/// emissive + ambient x material ambient, no light model), clipped at the near plane and a guard band,
/// culled, and filled with the viewport as scissor. Stage 0 always modulates texture and colour and takes
/// alpha from the texture; filtering is always bilinear and texturing always perspective-correct. Dither,
/// fog, specular and the states of stage 1 are stored without effect.
class SoftwareDevice final : public Device {
public:
    /// A device drawing into `target`; the viewport covers the whole target.
    explicit SoftwareDevice(RenderTarget target);

    /// Draws into another target from now on; the z-buffer follows its size (and is reset when it changes).
    void SetRenderTarget(RenderTarget target);
    const RenderTarget& Target() const { return m_target; }
    const DepthBuffer& Depth() const { return m_depth; }
    /// The states, transforms and bindings set so far.
    const DeviceState& State() const { return m_state; }
    /// Pixels written by the draws since BeginScene.
    std::uint64_t PixelsWritten() const { return m_pixelsWritten; }

    DeviceCaps Caps() const override;
    std::vector<gfx2d::PixelFormat> TextureFormats() const override;
    std::vector<int> DepthFormats() const override;
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

    /// A vertex in clip space with its texture coordinates and colour (channels 0..255).
    struct ClipVertex {
        float x, y, z, w;
        float u, v;
        float r, g, b, a;
    };

private:
    void TransformVertices(const VertexBuffer& buffer, int start, int count);
    PixelState CurrentPixelState() const;
    gfx2d::Rect Scissor() const;
    void DrawClipTriangle(int ia, int ib, int ic, bool flat);
    void DrawScreenTriangle(const ScreenVertex* corners, int count);
    /// A guess at how many times over the triangles of a draw that need no clipping and are not culled
    /// cover the box that holds them, from a sample of them (0 when there are none).
    float EstimateOverdraw(const std::uint16_t* indices, int indexCount, int vertexCount) const;
    ScreenVertex Project(const ClipVertex& v) const;

    RenderTarget m_target;
    DepthBuffer m_depth;
    DeviceState m_state;
    Rasterizer m_rasterizer;
    std::vector<ClipVertex> m_clipVertices;
    // Per vertex of the draw: the clip planes it lies outside (kNotFinite for a position or texture
    // coordinate that is not finite) and, when it lies inside all, its projection.
    std::vector<unsigned> m_outcodes;
    std::vector<ScreenVertex> m_screenVertices;
    std::uint64_t m_pixelsWritten = 0;
};

} // namespace plat::raster
