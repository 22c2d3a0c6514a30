#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/raster/DepthBuffer.h"
#include "platform/raster/RenderTarget.h"
#include "platform/raster/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace plat::raster {

class Texture;

/// A vertex on screen: pixel position, depth 0..1, 1/w, texture coordinates divided by w, and
/// colour channels 0..255.
struct ScreenVertex {
    float x, y, z;
    float invW, uOverW, vOverW;
    float r, g, b, a;
};

/// How a pixel is coloured, tested and written during one draw.
struct PixelState {
    const Texture* texture = nullptr; // null reads as opaque white
    bool clamp = false;
    bool alphaTest = false;
    Compare alphaFunc = Compare::Always;
    std::uint32_t alphaRef = 0;
    bool depthTest = true;
    bool depthWrite = true;
    Compare depthFunc = Compare::LessEqual;
    bool blend = false;
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor destBlend = BlendFactor::Zero;
};

struct SpanRun;
struct TriangleRows;

/// Fills triangles on screen: top-left fill rule with pixel centres at integer coordinates,
/// perspective-correct bilinear texturing, then alpha test, depth test, blending and the 5-6-5 write.
class Rasterizer {
public:
    /// Which loops fill the spans: the fastest the machine offers (four pixels at a time where the
    /// state allows), or the one-pixel loops alone, which the others match to the bit.
    enum class SpanLoops { kFastest, kOnePixel };

    /// How a run is drawn. With `coarseDepth`, triangles and runs of spans that the depth buffer's
    /// coarse copy shows hidden under a less or less-or-equal test are passed over; without it every
    /// pixel is tested. `overdraw` is the caller's estimate of how many times over the run's triangles
    /// cover the pixels they reach (0: unknown): from kOrderedOverdraw on, an opaque run without alpha
    /// test that writes depths under a less test is drawn at End, nearest triangles first, so that
    /// most hidden pixels are passed over; each pixel ends as drawing the triangles in turn leaves it,
    /// though fewer pixels are written on the way.
    struct RunOptions {
        SpanLoops loops = SpanLoops::kFastest;
        bool coarseDepth = true;
        float overdraw = 0.0f;
    };
    static constexpr float kOrderedOverdraw = 2.0f;

    Rasterizer();
    ~Rasterizer();
    Rasterizer(const Rasterizer&) = delete;
    Rasterizer& operator=(const Rasterizer&) = delete;

    /// Prepares a run of triangles that share one pixel state, target and scissor rectangle; a run
    /// not yet ended is ended first.
    void Begin(const PixelState& state, const RenderTarget& target, DepthBuffer& depth, gfx2d::Rect scissor,
               const RunOptions& options);
    void Begin(const PixelState& state, const RenderTarget& target, DepthBuffer& depth, gfx2d::Rect scissor) {
        Begin(state, target, depth, scissor, RunOptions());
    }
    /// Fills one triangle of the run (either winding).
    void DrawTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2);
    /// Ends the run: every pixel it writes is in the target.
    void End();

    /// Pixels written since Begin (for measurements and tests).
    std::uint64_t PixelsWritten() const { return m_written; }

    /// The bound texture as the span loops read it, prepared once per run.
    struct TextureView {
        const std::uint32_t* texels = nullptr;
        const std::uint32_t* wrapped = nullptr; // with the wrapped border, `pitch` values a row
        int w = 1, h = 1, pitch = 2;
        float fw = 1, fh = 1, invW = 1, invH = 1;
        int maskX = 0, maskY = 0; // size - 1 for a power of two, else -1
        int shiftX = 0;           // log2 of the width when it is a power of two
        bool clamp = false;
    };

private:
    using TriangleFill = std::uint32_t (*)(const SpanRun&, const TriangleRows&, const gfx2d::Rect&);

    PixelState m_state;
    RenderTarget m_target;
    DepthBuffer* m_depth = nullptr;
    gfx2d::Rect m_scissor;
    TriangleFill m_fill = nullptr;
    TextureView m_view;
    std::uint64_t m_written = 0;
    bool m_coarse = false;   // the coarse depth test is on (less and less-or-equal tests)
    int m_idleTriangles = 0; // triangles in a row the coarse test cut nothing from

    // A run drawn out of order: its triangles in the order given, and per pixel the number of the
    // triangle that wrote it last (numbers go on from run to run, so a number from an earlier run is
    // always lower).
    struct Ordered;
    std::unique_ptr<Ordered> m_ordered; // null until a run is drawn out of order
    bool m_deferred = false;            // this run is
    std::vector<std::uint32_t> m_writers;
    std::uint32_t m_nextWriter = 1;

    /// Readies the triangle's coarse depth test (snapped corners X, Y); false when it can have none.
    bool PrepareCoarse(TriangleRows& tri, const std::int64_t* X, const std::int64_t* Y,
                       const ScreenVertex* const* v) const;
    /// Whether every tile the triangle covers holds only depths nearer than any it would draw.
    bool CoarselyHidden(const TriangleRows& tri) const;
    /// Sets up and fills a triangle now; `writer` is its number in a run drawn out of order.
    void Draw(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2, std::uint32_t writer);
};

} // namespace plat::raster
