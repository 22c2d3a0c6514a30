// A 640 x 480 frame of about 5,000 textured, depth-tested triangles, a fifth of them blended:
// a floor and a back wall, scattered opaque panels, and alpha and additive particles.

#include "platform/raster/SoftwareDevice.h"
#include "platform/raster/Texture.h"
#include "platform/raster/VertexBuffer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace plat::raster;
using plat::gfx2d::kFormatArgb8888;

struct Vertex {
    float x, y, z;
    std::uint32_t colour;
    float u, v;
};

struct Batch {
    std::unique_ptr<VertexBuffer> vertices;
    std::vector<std::uint16_t> indices;
    const Texture* texture;
    int blend; // 0 opaque, 1 alpha, 2 additive
};

class Scene {
public:
    Scene() : m_pixels(640 * 480), m_device(RenderTarget{m_pixels.data(), 640 * 2, 640, 480}) {
        m_ground = Checker(64, 64, 0xFF406030, 0xFF80A060, 0xFF);
        m_wall = Checker(32, 32, 0xFF806040, 0xFFA08060, 0xFF);
        m_spark = Checker(16, 16, 0xFFFFE080, 0xFFFFA040, 0x80);

        Matrix4 proj;
        const float nearZ = 8.0f, farZ = 4096.0f, q = farZ / (farZ - nearZ);
        proj.At(0, 0) = 1.0f, proj.At(1, 1) = 4.0f / 3.0f, proj.At(2, 2) = q, proj.At(2, 3) = 1.0f;
        proj.At(3, 2) = -q * nearZ;
        m_device.SetTransform(TransformKind::Projection, proj);
        m_device.SetRenderState(RenderState::Lighting, 0);
        m_device.SetRenderState(RenderState::AlphaRef, 0x80);
        m_device.SetRenderState(RenderState::AlphaFunc, static_cast<std::uint32_t>(Compare::Greater));

        // Floor: 40 x 25 quads from z = 10 to 1000; back wall: 30 x 20 quads at z = 1000.
        AddGrid(&m_ground, 40, 25, [](float s, float t) {
            return Vertex{-600 + 1200 * s, -60, 10 + 990 * t, 0xFFFFFFFF, 20 * s, 25 * t};
        });
        AddGrid(&m_wall, 30, 20, [](float s, float t) {
            return Vertex{-1000 + 2000 * s, -60 + 800 * t, 1000, 0xFFFFFFFF, 15 * s, 10 * t};
        });
        // 400 opaque panels and 500 particles, placed by a fixed stepping so every run draws the same.
        for (int i = 0; i < 400; ++i) {
            const float x = static_cast<float>((i * 37) % 400 - 200),
                        z = 40.0f + static_cast<float>((i * 53) % 900);
            AddQuad(&m_wall, 0, x, -60, z, 24, 40);
        }
        for (int i = 0; i < 500; ++i) {
            const float x = static_cast<float>((i * 71) % 300 - 150),
                        z = 30.0f + static_cast<float>((i * 29) % 600);
            const float y = static_cast<float>((i * 13) % 80 - 40);
            AddQuad(&m_spark, i < 250 ? 1 : 2, x, y, z, 6, 6);
        }
        Flush();
    }

    void Frame() {
        m_device.BeginScene();
        m_device.Clear(kClearTarget | kClearDepth, 0x304060, 1.0f);
        for (const Batch& b : m_batches) {
            m_device.SetTexture(0, b.texture);
            m_device.SetRenderState(RenderState::AlphaBlendEnable, b.blend != 0);
            m_device.SetRenderState(RenderState::ZWriteEnable, b.blend == 0);
            m_device.SetRenderState(
                RenderState::SrcBlend,
                static_cast<std::uint32_t>(b.blend == 2 ? BlendFactor::One : BlendFactor::SrcAlpha));
            m_device.SetRenderState(
                RenderState::DestBlend,
                static_cast<std::uint32_t>(b.blend == 2 ? BlendFactor::One : BlendFactor::InvSrcAlpha));
            m_device.DrawIndexedTriangles(*b.vertices, 0, b.vertices->Count(), b.indices.data(),
                                          static_cast<int>(b.indices.size()));
        }
        m_device.EndScene();
    }

    int Triangles() const {
        int n = 0;
        for (const Batch& b : m_batches)
            n += static_cast<int>(b.indices.size() / 3);
        return n;
    }
    std::uint64_t Pixels() const { return m_device.PixelsWritten(); }

private:
    static Texture Checker(int w, int h, std::uint32_t a, std::uint32_t b, std::uint32_t alpha) {
        Texture t(w, h, kFormatArgb8888);
        std::vector<std::uint32_t> argb;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                argb.push_back(((((x / 4 + y / 4) & 1) ? a : b) & 0xFFFFFF) | alpha << 24);
        t.SetArgb(argb);
        return t;
    }

    Batch& Open(const Texture* t, int blend) {
        m_batches.push_back({nullptr, {}, t, blend});
        return m_batches.back();
    }

    void Fill(Batch& b, const std::vector<Vertex>& vs) {
        b.vertices = std::make_unique<VertexBuffer>(kLayoutPrelit, static_cast<int>(vs.size()));
        std::memcpy(b.vertices->Lock(), vs.data(), vs.size() * sizeof(Vertex));
    }

    template <typename F> void AddGrid(const Texture* t, int nx, int ny, F at) {
        Batch& b = Open(t, 0);
        std::vector<Vertex> vs;
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i)
                vs.push_back(at(static_cast<float>(i) / nx, static_cast<float>(j) / ny));
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const auto k = static_cast<std::uint16_t>(j * (nx + 1) + i),
                           up = static_cast<std::uint16_t>(k + nx + 1);
                b.indices.insert(b.indices.end(),
                                 {k, up, static_cast<std::uint16_t>(up + 1), k,
                                  static_cast<std::uint16_t>(up + 1), static_cast<std::uint16_t>(k + 1)});
            }
        Fill(b, vs);
    }

    void AddQuad(const Texture* t, int blend, float x, float y, float z, float w, float h) {
        if (m_pending.empty() || m_batches.back().texture != t || m_batches.back().blend != blend ||
            m_pending.size() >= 4000) {
            Flush();
            Open(t, blend);
        }
        const auto k = static_cast<std::uint16_t>(m_pending.size());
        m_pending.insert(m_pending.end(), {{x, y + h, z, 0xFFFFFFFF, 0, 0},
                                           {x + w, y + h, z, 0xFFFFFFFF, 1, 0},
                                           {x + w, y, z, 0xFFFFFFFF, 1, 1},
                                           {x, y, z, 0xFFFFFFFF, 0, 1}});
        m_batches.back().indices.insert(m_batches.back().indices.end(), {k, static_cast<std::uint16_t>(k + 1),
                                                                         static_cast<std::uint16_t>(k + 2), k,
                                                                         static_cast<std::uint16_t>(k + 2),
                                                                         static_cast<std::uint16_t>(k + 3)});
    }

    // Ends the open batch of quads by giving it its vertex buffer.
    void Flush() {
        if (!m_pending.empty())
            Fill(m_batches.back(), m_pending);
        m_pending.clear();
    }

    std::vector<std::uint16_t> m_pixels;
    SoftwareDevice m_device;
    Texture m_ground{1, 1, kFormatArgb8888}, m_wall{1, 1, kFormatArgb8888}, m_spark{1, 1, kFormatArgb8888};
    std::vector<Batch> m_batches;
    std::vector<Vertex> m_pending;
};

void BM_RasterFrame640x480(benchmark::State& state) {
    Scene scene;
    for (auto _ : state)
        scene.Frame();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = scene.Triangles();
    state.counters["pixels"] = static_cast<double>(scene.Pixels());
}
BENCHMARK(BM_RasterFrame640x480)->Unit(benchmark::kMillisecond);

} // namespace
