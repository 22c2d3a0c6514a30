// Two 640 x 480 scenes. The game-like frame: about 5,000 textured, depth-tested triangles, a fifth of
// them blended: a floor and a back wall, scattered opaque panels, and alpha and additive particles. The
// overdraw frame: 1,000, 5,000 or 20,000 textured triangles at random places and depths, together
// covering the screen about 20 times over (so the fewer, the larger: about 6,000, 1,200 and 300 pixels
// each), drawn in one opaque pass, then a tenth of them alpha-blended with depth writes off.

#include "foundation/math/Random.h"
#include "platform/raster/SoftwareDevice.h"
#include "platform/raster/Texture.h"
#include "platform/raster/VertexBuffer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace plat::raster;
namespace Random = zentrix::Random;
using plat::gfx2d::kFormatArgb8888;

// The projection of both scenes: 90 degrees across, 4:3, depth 0 at z = 8 and 1 at z = 4096.
Matrix4 Projection() {
    Matrix4 proj;
    const float nearZ = 8.0f, farZ = 4096.0f, q = farZ / (farZ - nearZ);
    proj.At(0, 0) = 1.0f, proj.At(1, 1) = 4.0f / 3.0f, proj.At(2, 2) = q, proj.At(2, 3) = 1.0f;
    proj.At(3, 2) = -q * nearZ;
    return proj;
}

// A checkerboard of 4 x 4 squares.
Texture Checker(int w, int h, std::uint32_t a, std::uint32_t b, std::uint32_t alpha) {
    Texture t(w, h, kFormatArgb8888);
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            argb.push_back(((((x / 4 + y / 4) & 1) ? a : b) & 0xFFFFFF) | alpha << 24);
    t.SetArgb(argb);
    return t;
}

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

        m_device.SetTransform(TransformKind::Projection, Projection());
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

// Many small triangles at random places and depths, most of them hidden behind others.
class OverdrawScene {
public:
    explicit OverdrawScene(int triangles)
        : m_pixels(640 * 480), m_device(RenderTarget{m_pixels.data(), 640 * 2, 640, 480}),
          m_texture(Checker(64, 64, 0xFF406030, 0xFFC0A060, 0xC0)) {
        m_device.SetTransform(TransformKind::Projection, Projection());
        m_device.SetRenderState(RenderState::Lighting, 0);
        m_device.SetRenderState(RenderState::CullMode, static_cast<std::uint32_t>(CullMode::None));
        m_device.SetRenderState(RenderState::SrcBlend, static_cast<std::uint32_t>(BlendFactor::SrcAlpha));
        m_device.SetRenderState(RenderState::DestBlend, static_cast<std::uint32_t>(BlendFactor::InvSrcAlpha));
        m_device.SetTexture(0, &m_texture);
        Random::Seed(20);
        auto uniform = [](float low, float high) {
            return low + (high - low) * static_cast<float>(Random::Next()) / static_cast<float>(Random::kMax);
        };
        const int blended = triangles / 10;
        // Corners uniform in a square of side 2r around the centre make triangles of 0.3056 r^2 pixels
        // on average: r is chosen so that they cover the screen 20 times.
        const float reach = std::sqrt(20.0f * 640 * 480 / static_cast<float>(triangles) / 0.3056f);
        for (int pass = 0; pass < 2; ++pass) {
            std::vector<Vertex> vs;
            for (int i = 0; i < (pass == 0 ? triangles - blended : blended); ++i) {
                // A centre on screen, corners around it, each at a depth near the centre's.
                const float cx = uniform(0, 640), cy = uniform(0, 480), cz = uniform(20, 2000);
                for (int k = 0; k < 3; ++k) {
                    const float sx = cx + uniform(-reach, reach), sy = cy + uniform(-reach, reach);
                    const float z = cz * uniform(0.95f, 1.05f);
                    const std::uint32_t grey = 0xC0 + static_cast<std::uint32_t>(Random::Next() % 0x40);
                    vs.push_back({(sx / 320 - 1) * z, (1 - sy / 240) * z * 0.75f, z,
                                  0xFF000000 | grey << 16 | grey << 8 | grey, uniform(0, 2), uniform(0, 2)});
                }
            }
            m_passes[pass].vertices =
                std::make_unique<VertexBuffer>(kLayoutPrelit, static_cast<int>(vs.size()));
            std::memcpy(m_passes[pass].vertices->Lock(), vs.data(), vs.size() * sizeof(Vertex));
            for (std::size_t k = 0; k < vs.size(); ++k)
                m_passes[pass].indices.push_back(static_cast<std::uint16_t>(k));
        }
    }

    void Frame() {
        m_device.BeginScene();
        m_device.Clear(kClearTarget | kClearDepth, 0x304060, 1.0f);
        for (int pass = 0; pass < 2; ++pass) {
            m_device.SetRenderState(RenderState::AlphaBlendEnable, pass);
            m_device.SetRenderState(RenderState::ZWriteEnable, 1 - pass);
            // Vertex indices are 16-bit: the pass is drawn in slices of whole triangles.
            const Batch& b = m_passes[pass];
            const int count = static_cast<int>(b.indices.size());
            for (int first = 0; first < count; first += kSlice) {
                const int n = std::min(kSlice, count - first);
                m_device.DrawIndexedTriangles(*b.vertices, first, n, b.indices.data(), n);
            }
        }
        m_device.EndScene();
    }

    std::uint64_t Pixels() const { return m_device.PixelsWritten(); }

private:
    static constexpr int kSlice = 3 * 20000;

    std::vector<std::uint16_t> m_pixels;
    SoftwareDevice m_device;
    Texture m_texture;
    Batch m_passes[2]{};
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

void BM_RasterOverdraw640x480(benchmark::State& state) {
    OverdrawScene scene(static_cast<int>(state.range(0)));
    for (auto _ : state)
        scene.Frame();
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = static_cast<double>(state.range(0));
    state.counters["pixels"] = static_cast<double>(scene.Pixels());
}
BENCHMARK(BM_RasterOverdraw640x480)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
