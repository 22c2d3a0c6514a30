#pragma once

#include <array>
#include <cstdint>
#include <forward_list>
#include <memory>
#include <vector>

namespace plat::raster {
class VertexBuffer;
}

namespace zentrix {

class CCamera;
class CDisplayDevice;
class CGeometryBuffer;
class CTexture;
class CViewport;

/// A scene's decal list: the sprite and particle buffers drawn after one root, newest first.
using DecalList = std::forward_list<CGeometryBuffer*>;

/// A vertex already on screen, as the batches and screen sprites hold them (32 bytes).
struct ScreenVertexRecord {
    float x = 0, y = 0, z = 0, rhw = 1;
    std::uint32_t diffuse = 0xFFFFFFFF;
    std::uint32_t specular = 0;
    float u = 0, v = 0;
};
/// A vertex in world space with its own colour, as billboards are drawn (32 bytes).
struct LitVertexRecord {
    float x = 0, y = 0, z = 0;
    std::uint32_t reserved = 0;
    std::uint32_t diffuse = 0xFFFFFFFF;
    std::uint32_t specular = 0;
    float u = 0, v = 0;
};

/// A fixed-size run of screen triangles collected for drawing with the translucent geometry.
struct RenderBatch {
    static constexpr int kTriangles = 512;
    static constexpr int kVertices = 3 * kTriangles;

    RenderBatch();
    ~RenderBatch();

    std::unique_ptr<plat::raster::VertexBuffer> lit;    // world-space vertices awaiting transformation
    std::unique_ptr<plat::raster::VertexBuffer> screen; // screen vertices, three per triangle
    std::array<CTexture*, kTriangles> textures{};
    int count = 0;
    std::unique_ptr<RenderBatch> next;
};

/// A translucent part of a mesh waiting to be drawn after the opaque geometry of its root.
struct TransparentItem {
    const float* world = nullptr; // 16 floats, owned by the mesh
    const plat::raster::VertexBuffer* buffer = nullptr;
    int startVertex = 0;
    int vertexCount = 0;
    const std::uint16_t* indices = nullptr;
    int indexCount = 0;
    CTexture* texture = nullptr;
    std::uint32_t flags = 0; // mesh flags; 0x20 draws unlit
    float depth = 0;
    int next = -1;
};

/// What the device collects for the translucent pass: render batches, depth buckets of transparent
/// items, and the vertex buffer and quad indices of billboards.
struct TransparencyQueue {
    static constexpr int kBuckets = 128;

    TransparencyQueue();
    ~TransparencyQueue();

    std::unique_ptr<RenderBatch> first;
    RenderBatch* current = nullptr;
    int runStart = 0; // first triangle of the current batch not yet processed
    int runCount = 0;
    std::vector<TransparentItem> items;
    std::array<int, kBuckets> buckets;
    float depthScale = 0;
    std::unique_ptr<plat::raster::VertexBuffer> decalBuffer;
    int decalQuads = 0;
    std::vector<std::uint16_t> decalIndices;
    bool blending = false; // the translucent pass's blend states are set
};

/// Mesh flag: the mesh carries vertex colours and draws unlit.
constexpr std::uint32_t kMeshVertexColours = 0x20;

/// Sets the blend factors a texture asks for: additive (0x200) ONE/ONE, multiplicative (0x80)
/// ZERO/SRCCOLOR, else SRCALPHA/INVSRCALPHA.
void SetTextureBlending(CDisplayDevice& device, std::uint32_t textureFlags);
/// Writes screen quads (4 vertices each) into the batches as two triangles each.
void AddTransformedQuads(CDisplayDevice& device, const ScreenVertexRecord* vertices, int quadCount,
                         CTexture* texture);
/// Transforms the batch triangles still waiting in world space.
void FlushBatch(CDisplayDevice& device);
/// Queues a translucent part into the depth bucket of `depth`, far items first within a bucket.
void QueueTransparent(CDisplayDevice& device, const plat::raster::VertexBuffer* buffer, int startVertex,
                      int vertexCount, const std::uint16_t* indices, int indexCount, CTexture* texture,
                      const float* world, std::uint32_t flags, float depth);
/// Empties the depth buckets and scales depths to the camera's far distance.
void ResetDepthBuckets(CDisplayDevice& device, const CCamera& camera);
/// Draws the buckets far to near and then the batches, each with its texture's blending.
void DrawTransparent(CDisplayDevice& device);
/// Draws one decal list: billboards in world space and sprites on screen.
void RenderDecal(CDisplayDevice& device, const DecalList& list, const float* view, const CViewport& viewport);

} // namespace zentrix
