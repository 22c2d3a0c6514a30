#include "engine/RenderBatch.h"

#include "engine/Camera.h"
#include "engine/DisplayDevice.h"
#include "engine/GeometryBuffer.h"
#include "engine/Texture.h"
#include "engine/TexturePixel.h"
#include "engine/TextureSurface.h"
#include "engine/Viewport.h"
#include "foundation/base/Messages.h"
#include "platform/raster/Device.h"
#include "platform/raster/VertexBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zentrix {

using namespace plat::raster;

static_assert(sizeof(ScreenVertexRecord) == 32 && sizeof(LitVertexRecord) == 32);

namespace {

constexpr std::uint32_t U(auto e) {
    return static_cast<std::uint32_t>(e);
}

// Most quads one draw can address with 16-bit indices.
constexpr int kMaxQuadsPerDraw = 16384;
constexpr int kSpriteGroup = 64;
constexpr std::uint32_t kBlendedFlags = kTexTranslucent | kTexAdditive | kTexMultiplicative;

// 0, 1, 2, ... for drawing batch triangles as they lie.
const std::array<std::uint16_t, RenderBatch::kVertices>& SequentialIndices() {
    static const auto table = [] {
        std::array<std::uint16_t, RenderBatch::kVertices> t{};
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<std::uint16_t>(i);
        return t;
    }();
    return table;
}

void FillQuadIndices(std::vector<std::uint16_t>& indices, int quads) {
    indices.resize(static_cast<std::size_t>(quads) * 6);
    for (int q = 0; q < quads; ++q) {
        const int v = 4 * q;
        const int corners[6] = {v, v + 1, v + 2, v, v + 2, v + 3};
        for (int i = 0; i < 6; ++i)
            indices[static_cast<std::size_t>(6 * q + i)] = static_cast<std::uint16_t>(corners[i]);
    }
}

// Sets what a group of decals of one texture draws with: blended textures blend without alpha test
// or depth writes, every other one draws opaque (alpha-tested when keyed).
void SetDecalGroupState(CDisplayDevice& device, CTexture* texture) {
    if (texture)
        CreateTextureSurface(device, *texture);
    const std::uint32_t flags = texture ? texture->GetFlags() : 0;
    if (flags & kBlendedFlags) {
        device.SetRenderState(RenderState::AlphaTestEnable, 0);
        device.SetRenderState(RenderState::ZWriteEnable, 0);
        device.SetRenderState(RenderState::AlphaBlendEnable, 1);
        SetTextureBlending(device, flags);
        BindTexture(device, texture, 0, false);
    } else {
        device.SetRenderState(RenderState::AlphaBlendEnable, 0);
        device.SetRenderState(RenderState::ZWriteEnable, 1);
        BindTexture(device, texture, 0, true);
    }
}

void DrawQuads(CDisplayDevice& device, const VertexBuffer& buffer, int firstQuad, int quads,
               const std::vector<std::uint16_t>& indices) {
    for (int done = 0; done < quads;) {
        const int n = std::min({quads - done, kMaxQuadsPerDraw, static_cast<int>(indices.size() / 6)});
        if (n <= 0)
            return;
        device.GetRenderDevice()->DrawIndexedTriangles(buffer, 4 * (firstQuad + done), 4 * n, indices.data(),
                                                       6 * n);
        done += n;
    }
}

TexRect ParticleRect(const CGeometryBuffer& item, std::uint32_t i) {
    TexRect rect{0.0f, 0.0f, 0.99f, 0.99f};
    if (item.GetTexCoordFunction())
        item.GetTexCoordFunction()(item.GetTexCoordArgument(), i, rect);
    else if (item.GetTexRects())
        rect = item.GetTexRects()[i];
    return rect;
}

std::uint32_t UsableCount(const CGeometryBuffer& item) {
    return item.GetVertices() ? std::min(item.GetCount(), item.GetCapacity()) : 0;
}

void RenderBillboards(CDisplayDevice& device, const DecalList& list, const float* view) {
    TransparencyQueue& q = device.Queue();
    // Particles per texture, in a table of this call only; untextured particles form group 0.
    std::vector<CTexture*> textures{nullptr};
    std::vector<int> counts{0};
    auto groupOf = [&](CTexture* t) {
        const auto it = std::find(textures.begin(), textures.end(), t);
        if (it != textures.end())
            return static_cast<std::size_t>(it - textures.begin());
        textures.push_back(t);
        counts.push_back(0);
        return textures.size() - 1;
    };
    long long total = 0;
    for (const CGeometryBuffer* item : list) {
        if (item->GetMode() != CGeometryBuffer::kModeBillboards)
            continue;
        const std::uint32_t n = UsableCount(*item);
        for (std::uint32_t i = 0; i < n; ++i)
            ++counts[groupOf(item->GetVertices()[i].texture)];
        total += n;
    }
    if (total == 0)
        return;
    if (q.decalQuads < total + 256) {
        q.decalQuads = static_cast<int>(total + 256);
        q.decalBuffer = std::make_unique<VertexBuffer>(kLayoutLit, 4 * q.decalQuads);
        FillQuadIndices(q.decalIndices, std::min(q.decalQuads, kMaxQuadsPerDraw));
    }
    std::vector<int> start(textures.size()), filled(textures.size(), 0);
    for (std::size_t g = 1; g < textures.size(); ++g)
        start[g] = start[g - 1] + counts[g - 1];

    const float right[3] = {view[0], view[4], view[8]};
    const float up[3] = {view[1], view[5], view[9]};
    auto* vertices = reinterpret_cast<LitVertexRecord*>(q.decalBuffer->Lock());
    for (const CGeometryBuffer* item : list) {
        if (item->GetMode() != CGeometryBuffer::kModeBillboards)
            continue;
        const std::uint32_t n = UsableCount(*item);
        for (std::uint32_t i = 0; i < n; ++i) {
            const DecalVertex& p = item->GetVertices()[i];
            const std::size_t g = groupOf(p.texture);
            LitVertexRecord* quad = vertices + 4 * (start[g] + filled[g]++);
            const float sx[4] = {-1, 1, 1, -1}, sy[4] = {1, 1, -1, -1};
            const TexRect r = ParticleRect(*item, i);
            const float us[4] = {r.left, r.right, r.right, r.left},
                        vs[4] = {r.top, r.top, r.bottom, r.bottom};
            for (int c = 0; c < 4; ++c) {
                LitVertexRecord& v = quad[c];
                v.x = p.x + p.size * (sx[c] * right[0] + sy[c] * up[0]);
                v.y = p.y + p.size * (sx[c] * right[1] + sy[c] * up[1]);
                v.z = p.z + p.size * (sx[c] * right[2] + sy[c] * up[2]);
                v.diffuse = p.colour; // flat shading takes the first corner's
                v.u = us[c];
                v.v = vs[c];
            }
        }
    }
    q.decalBuffer->Unlock();
    for (std::size_t g = 0; g < textures.size(); ++g) {
        if (counts[g] == 0)
            continue;
        SetDecalGroupState(device, textures[g]);
        DrawQuads(device, *q.decalBuffer, start[g], counts[g], q.decalIndices);
    }
}

void RenderSprites(CDisplayDevice& device, const CGeometryBuffer& item, const CViewport& viewport) {
    VertexBuffer& positions = device.SpriteVertices();
    VertexBuffer& projected = device.SpriteScreen();
    VertexBuffer& quads = device.SpriteScreenQuads();
    static const std::vector<std::uint16_t> quadIndices = [] {
        std::vector<std::uint16_t> t;
        FillQuadIndices(t, kSpriteGroup);
        return t;
    }();
    const float left0 = static_cast<float>(viewport.GetLeft()), top0 = static_cast<float>(viewport.GetTop());
    const float width = static_cast<float>(viewport.GetWidth()),
                height = static_cast<float>(viewport.GetHeight());

    int pending = 0;
    CTexture* pendingTexture = nullptr;
    auto drawPending = [&] {
        if (pending == 0)
            return;
        SetDecalGroupState(device, pendingTexture);
        DrawQuads(device, quads, 0, pending, quadIndices);
        pending = 0;
    };
    const std::uint32_t n = UsableCount(item);
    for (std::uint32_t first = 0; first < n; first += kSpriteGroup) {
        const int k = static_cast<int>(std::min<std::uint32_t>(kSpriteGroup, n - first));
        std::uint8_t* in = positions.Lock();
        const int inStride = positions.Layout().stride;
        for (int i = 0; i < k; ++i) {
            const DecalVertex& p = item.GetVertices()[first + static_cast<std::uint32_t>(i)];
            const float xyz[3] = {p.x, p.y, p.z};
            std::memcpy(in + i * inStride, xyz, sizeof xyz);
        }
        positions.Unlock();
        if (!device.GetRenderDevice()->ProcessVertices(kProcessTransform, positions, 0, k, projected, 0))
            return;
        const auto* screen = projected.Data();
        const int outStride = projected.Layout().stride;
        for (int i = 0; i < k; ++i) {
            const std::uint32_t index = first + static_cast<std::uint32_t>(i);
            const DecalVertex& p = item.GetVertices()[index];
            float c[4];
            std::memcpy(c, screen + i * outStride, sizeof c);
            if (!(c[2] > 0.0f) || !(c[3] > 0.0f) || !std::isfinite(c[0]) || !std::isfinite(c[1]))
                continue; // behind the eye
            float left = c[0] - p.size, right = c[0] + p.size, top = c[1] - p.size, bottom = c[1] + p.size;
            if (right < left0 || bottom < top0 || left >= left0 + width || top >= top0 + height)
                continue;
            float u0 = 0.0f, v0 = 0.0f, u1 = 0.99f, v1 = 0.99f;
            const float w = right - left, h = bottom - top;
            if (left < left0) {
                u0 = (left0 - left) / w;
                left = left0;
            }
            if (top < top0) {
                v0 = (top0 - top) / h;
                top = top0;
            }
            if (right >= left0 + width) {
                u1 = 0.99f - (right - (left0 + width)) / w;
                right = left0 + width - 1.0f;
            }
            if (bottom >= top0 + height) {
                v1 = 0.99f - (bottom - (top0 + height)) / h;
                bottom = top0 + height - 1.0f;
            }
            ScreenVertexRecord quad[4];
            const float xs[4] = {left, right, right, left}, ys[4] = {top, top, bottom, bottom};
            const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
            for (int v = 0; v < 4; ++v)
                quad[v] = {xs[v], ys[v], c[2], c[3], p.colour, 0, us[v], vs[v]};
            if (p.texture && (p.texture->GetFlags() & kTexTranslucent)) {
                AddTransformedQuads(device, quad, 1, p.texture);
                continue;
            }
            if (pending == kSpriteGroup || (pending > 0 && p.texture != pendingTexture))
                drawPending();
            pendingTexture = p.texture;
            std::memcpy(quads.Lock() + static_cast<std::ptrdiff_t>(4 * pending) * quads.Layout().stride, quad,
                        sizeof quad);
            quads.Unlock();
            ++pending;
        }
    }
    drawPending();
}

} // namespace

RenderBatch::RenderBatch()
    : lit(std::make_unique<VertexBuffer>(kLayoutLit, kVertices)),
      screen(std::make_unique<VertexBuffer>(kLayoutScreen, kVertices)) {}
RenderBatch::~RenderBatch() {
    // Unlink iteratively so a long chain cannot exhaust the stack.
    while (next)
        next = std::move(next->next);
}

TransparencyQueue::TransparencyQueue() : first(std::make_unique<RenderBatch>()), current(first.get()) {
    buckets.fill(-1);
}
TransparencyQueue::~TransparencyQueue() = default;

void SetTextureBlending(CDisplayDevice& device, std::uint32_t flags) {
    BlendFactor src = BlendFactor::SrcAlpha, dest = BlendFactor::InvSrcAlpha;
    if (flags & kTexAdditive)
        src = BlendFactor::One, dest = BlendFactor::One;
    else if (flags & kTexMultiplicative)
        src = BlendFactor::Zero, dest = BlendFactor::SrcColour;
    device.SetRenderState(RenderState::SrcBlend, U(src));
    device.SetRenderState(RenderState::DestBlend, U(dest));
}

void AddTransformedQuads(CDisplayDevice& device, const ScreenVertexRecord* vertices, int quadCount,
                         CTexture* texture) {
    TransparencyQueue& q = device.Queue();
    for (int quad = 0; quad < quadCount; ++quad) {
        const ScreenVertexRecord* v = vertices + 4 * quad;
        const int corners[2][3] = {{0, 1, 2}, {0, 2, 3}};
        for (const auto& triangle : corners) {
            RenderBatch& batch = *q.current;
            auto* out = reinterpret_cast<ScreenVertexRecord*>(batch.screen->Lock()) + 3 * batch.count;
            for (int i = 0; i < 3; ++i)
                out[i] = v[triangle[i]];
            batch.screen->Unlock();
            batch.textures[static_cast<std::size_t>(batch.count)] = texture;
            ++batch.count;
            ++q.runStart;
            if (batch.count == RenderBatch::kTriangles) {
                if (!batch.next)
                    batch.next = std::make_unique<RenderBatch>();
                q.current = batch.next.get();
                q.runStart = 0;
                q.runCount = 0;
            }
        }
    }
}

void FlushBatch(CDisplayDevice& device) {
    TransparencyQueue& q = device.Queue();
    if (q.runCount <= 0 || device.GetRenderDevice() == nullptr)
        return;
    RenderBatch& batch = *q.current;
    device.GetRenderDevice()->ProcessVertices(kProcessTransform | kProcessClip, *batch.lit, 3 * q.runStart,
                                              3 * q.runCount, *batch.screen, 3 * q.runStart);
    q.runStart += q.runCount;
    q.runCount = 0;
}

void QueueTransparent(CDisplayDevice& device, const VertexBuffer* buffer, int startVertex, int vertexCount,
                      const std::uint16_t* indices, int indexCount, CTexture* texture, const float* world,
                      std::uint32_t flags, float depth) {
    TransparencyQueue& q = device.Queue();
    const float scaled = depth * q.depthScale;
    const int bucket =
        std::isfinite(scaled) ? static_cast<int>(std::clamp(std::lround(scaled), 0L, 127L)) : 0;
    const int self = static_cast<int>(q.items.size());
    q.items.push_back(
        {world, buffer, startVertex, vertexCount, indices, indexCount, texture, flags, depth, -1});
    // The chain keeps decreasing depth: after the last item at least as far away.
    int after = -1;
    for (int i = q.buckets[static_cast<std::size_t>(bucket)]; i >= 0;
         i = q.items[static_cast<std::size_t>(i)].next)
        if (q.items[static_cast<std::size_t>(i)].depth >= depth)
            after = i;
    TransparentItem& item = q.items.back();
    if (after < 0) {
        item.next = q.buckets[static_cast<std::size_t>(bucket)];
        q.buckets[static_cast<std::size_t>(bucket)] = self;
    } else {
        item.next = q.items[static_cast<std::size_t>(after)].next;
        q.items[static_cast<std::size_t>(after)].next = self;
    }
}

void ResetDepthBuckets(CDisplayDevice& device, const CCamera& camera) {
    TransparencyQueue& q = device.Queue();
    q.buckets.fill(-1);
    q.depthScale = 128.0f / camera.GetFarPlane();
}

void DrawTransparent(CDisplayDevice& device) {
    TransparencyQueue& q = device.Queue();
    Device* d = device.GetRenderDevice();
    if (d == nullptr)
        return;
    device.SetTextureStageState(0, StageState::TexCoordIndex, 0);
    FlushBatch(device);
    if (device.IsTwoStageMode()) {
        using SS = StageState;
        device.SetTextureStageState(0, SS::ColourArg1, U(TextureArg::Texture));
        device.SetTextureStageState(0, SS::ColourArg2, U(TextureArg::Current));
        device.SetTextureStageState(0, SS::ColourOp, U(TextureOp::Modulate));
        device.SetTextureStageState(0, SS::AlphaArg1, U(TextureArg::Texture));
        device.SetTextureStageState(0, SS::AlphaArg2, U(TextureArg::Current));
        device.SetTextureStageState(0, SS::AlphaOp, U(TextureOp::SelectArg1));
        device.SetTextureStageState(1, SS::ColourOp, U(TextureOp::Disable));
        device.SetTextureStageState(1, SS::AlphaOp, U(TextureOp::Disable));
        device.SetTwoStageMode(false);
    }
    q.current = q.first.get();
    q.runStart = q.runCount = 0;

    if (!q.items.empty() || q.first->count > 0) {
        device.SetRenderState(RenderState::AlphaTestEnable, 0);
        if (!q.blending) {
            device.SetRenderState(RenderState::ZWriteEnable, 0);
            device.SetRenderState(RenderState::AlphaBlendEnable, 1);
            q.blending = true;
        }
    }
    for (int bucket = TransparencyQueue::kBuckets - 1; bucket >= 0; --bucket) {
        for (int i = q.buckets[static_cast<std::size_t>(bucket)]; i >= 0;
             i = q.items[static_cast<std::size_t>(i)].next) {
            const TransparentItem& item = q.items[static_cast<std::size_t>(i)];
            if (item.texture)
                CreateTextureSurface(device, *item.texture);
            SetTextureBlending(device, item.texture ? item.texture->GetFlags() : 0);
            // The pass keeps the alpha test off, keyed texture or not.
            if (device.BoundTexture(0) != item.texture)
                BindTexture(device, item.texture, 0, false);
            device.SetRenderState(RenderState::Lighting, (item.flags & kMeshVertexColours) ? 0 : 1);
            Matrix4 world = Matrix4::Identity();
            if (item.world)
                std::copy_n(item.world, 16, world.m.begin());
            d->SetTransform(TransformKind::World, world);
            if (item.buffer)
                d->DrawIndexedTriangles(*item.buffer, item.startVertex, item.vertexCount, item.indices,
                                        item.indexCount);
        }
    }
    q.items.clear();
    q.buckets.fill(-1);

    // Screen triangles of the batches, in runs of one texture.
    for (RenderBatch* batch = q.first.get(); batch && batch->count > 0; batch = batch->next.get()) {
        for (int run = 0; run < batch->count;) {
            CTexture* texture = batch->textures[static_cast<std::size_t>(run)];
            int end = run + 1;
            while (end < batch->count && batch->textures[static_cast<std::size_t>(end)] == texture)
                ++end;
            if (texture)
                CreateTextureSurface(device, *texture);
            SetTextureBlending(device, texture ? texture->GetFlags() : 0);
            BindTexture(device, texture, 0, false);
            d->DrawIndexedTriangles(*batch->screen, 3 * run, 3 * (end - run), SequentialIndices().data(),
                                    3 * (end - run));
            run = end;
        }
        batch->count = 0;
    }
    device.SetRenderState(RenderState::AlphaBlendEnable, 0);
    device.SetRenderState(RenderState::ZWriteEnable, 1);
    q.blending = false;
}

void RenderDecal(CDisplayDevice& device, const DecalList& list, const float* view,
                 const CViewport& viewport) {
    Device* d = device.GetRenderDevice();
    if (d == nullptr || list.empty())
        return;
    FlushBatch(device);
    device.UnbindStage(0);
    d->SetTransform(TransformKind::World, Matrix4::Identity());
    device.SetRenderState(RenderState::ShadeMode, U(ShadeMode::Flat));
    device.SetRenderState(RenderState::FogEnable, 0);
    device.SetRenderState(RenderState::Lighting, 0);

    RenderBillboards(device, list, view);
    for (const CGeometryBuffer* item : list) {
        if (item->GetMode() == CGeometryBuffer::kModeScreenSprites)
            RenderSprites(device, *item, viewport);
        else if (item->GetMode() != CGeometryBuffer::kModeBillboards)
            ReportError("Decal item of unknown mode %u", item->GetMode());
    }
    device.SetRenderState(RenderState::AlphaBlendEnable, 0);
    device.SetRenderState(RenderState::ZWriteEnable, 1);
    device.SetRenderState(RenderState::ShadeMode, U(ShadeMode::Gouraud));
}

} // namespace zentrix
