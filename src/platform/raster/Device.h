#pragma once

#include "platform/gfx2d/PixelFormat.h"
#include "platform/raster/Types.h"

#include <cstdint>
#include <vector>

namespace plat::raster {

class Texture;
class VertexBuffer;

/// The 3D device the engine draws through: transforms, states, textures and indexed triangle lists.
/// The software rasterizer draws for real; the recording double only notes the calls.
class Device {
public:
    virtual ~Device() = default;

    /// What the device can do.
    virtual DeviceCaps Caps() const = 0;
    /// Texture layouts the device offers, in the order it lists them.
    virtual std::vector<gfx2d::PixelFormat> TextureFormats() const = 0;
    /// Bit depths of the z-buffer formats the device offers.
    virtual std::vector<int> DepthFormats() const = 0;

    /// Replaces one of the world, view and projection matrices.
    virtual void SetTransform(TransformKind kind, const Matrix4& matrix) = 0;
    /// Sets the rectangle that drawing and clearing are confined to; one outside the target is refused.
    virtual void SetViewport(const Viewport& viewport) = 0;
    /// Sets one render state.
    virtual void SetRenderState(RenderState state, std::uint32_t value) = 0;
    /// Sets one state of a texture stage (0..7).
    virtual void SetTextureStageState(int stage, StageState state, std::uint32_t value) = 0;
    /// Binds a texture to a stage, or unbinds it with null; the device only observes it.
    virtual void SetTexture(int stage, const Texture* texture) = 0;
    /// Sets the material lit vertices take their colour from.
    virtual void SetMaterial(const Material& material) = 0;
    /// The material set last.
    virtual Material GetMaterial() const = 0;
    /// Stores light `index`.
    virtual void SetLight(int index, const Light& light) = 0;
    /// Turns light `index` on or off.
    virtual void EnableLight(int index, bool on) = 0;

    /// Starts a frame's drawing; false when the device cannot draw.
    virtual bool BeginScene() = 0;
    /// Ends a frame's drawing.
    virtual void EndScene() = 0;
    /// Fills the viewport rectangle: colour 0x00RRGGBB and/or depth, as `flags` (ClearFlags) say.
    virtual void Clear(std::uint32_t flags, std::uint32_t colour, float depth) = 0;
    /// Draws an indexed triangle list from `vertexCount` vertices starting at `startVertex`; indices are
    /// relative to the start vertex.
    virtual void DrawIndexedTriangles(const VertexBuffer& buffer, int startVertex, int vertexCount,
                                      const std::uint16_t* indices, int indexCount) = 0;
    /// Transforms `count` vertices of `source` from `sourceStart` into screen vertices of `destination`
    /// from `destinationStart`; false when the buffers do not fit.
    virtual bool ProcessVertices(std::uint32_t flags, const VertexBuffer& source, int sourceStart, int count,
                                 VertexBuffer& destination, int destinationStart) = 0;
};

} // namespace plat::raster
