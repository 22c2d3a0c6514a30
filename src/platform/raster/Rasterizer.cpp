#include "platform/raster/Rasterizer.h"

#include "platform/raster/RasterSpans.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <bit>
#include <cmath>

// The attribute planes are worked out alike whatever the target offers: no multiply-add is fused.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace plat::raster {

namespace {
// How many written tiles make the coarse depths be read again.
constexpr std::size_t kRefreshTiles = 256;
// How many triangles in a row that the coarse depths cut nothing from make them be dropped.
constexpr int kIdleTriangles = 256;
} // namespace

// The triangles of a run drawn in two passes that wrote depths, in order, the number of the first, and
// the box of the pixels they wrote.
struct Rasterizer::ShadeLast {
    std::vector<TriangleRows> triangles;
    std::uint32_t firstWriter = 0;
    gfx2d::Rect box;
};

Rasterizer::Rasterizer() = default;
Rasterizer::~Rasterizer() = default;

void Rasterizer::Begin(const PixelState& state, const RenderTarget& target, DepthBuffer& depth,
                       gfx2d::Rect scissor, const RunOptions& options) {
    End();
    const SpanLoops loops = options.loops;
    const bool coarseDepth = options.coarseDepth;
    m_state = state;
    m_target = target;
    m_depth = &depth;
    m_scissor.left = std::max(scissor.left, 0);
    m_scissor.top = std::max(scissor.top, 0);
    m_scissor.right = std::min({scissor.right, target.width, depth.Width()});
    m_scissor.bottom = std::min({scissor.bottom, target.height, depth.Height()});
    m_written = 0;
    m_view = TextureView{};
    if (state.texture != nullptr) {
        const Texture& t = *state.texture;
        m_view.texels = t.Argb();
        m_view.wrapped = t.WrappedArgb();
        m_view.pitch = t.WrappedPitch();
        m_view.w = t.Width();
        m_view.h = t.Height();
        m_view.fw = static_cast<float>(m_view.w);
        m_view.fh = static_cast<float>(m_view.h);
        m_view.invW = 1.0f / m_view.fw;
        m_view.invH = 1.0f / m_view.fh;
        m_view.maskX = (m_view.w & (m_view.w - 1)) == 0 ? m_view.w - 1 : -1;
        m_view.maskY = (m_view.h & (m_view.h - 1)) == 0 ? m_view.h - 1 : -1;
        m_view.shiftX = std::countr_zero(static_cast<unsigned>(m_view.w));
        m_view.clamp = state.clamp;
    }

    int blend = kOpaque;
    if (state.blend) {
        if (state.srcBlend == BlendFactor::SrcAlpha && state.destBlend == BlendFactor::InvSrcAlpha)
            blend = kAlpha;
        else if (state.srcBlend == BlendFactor::One && state.destBlend == BlendFactor::One)
            blend = kAdditive;
        else if (state.srcBlend == BlendFactor::Zero && state.destBlend == BlendFactor::SrcColour)
            blend = kMultiply;
        else if (!(state.srcBlend == BlendFactor::One && state.destBlend == BlendFactor::Zero))
            blend = kGeneric;
    }
    int addressing = kUntextured;
    if (state.texture != nullptr) {
        const int w = state.texture->Width(), h = state.texture->Height();
        const bool powersOfTwo = (w & (w - 1)) == 0 && (h & (h - 1)) == 0;
        addressing = state.clamp ? kClampEdges : (powersOfTwo ? kWrapMasked : kWrapAny);
    }
    const bool lessEqual = state.depthTest && state.depthFunc == Compare::LessEqual;
    const bool less = state.depthTest && state.depthFunc == Compare::Less;
    m_coarse = coarseDepth && (less || lessEqual);
    const int depthTest = lessEqual ? kDepthLessEqual : (less ? kDepthLess : kDepthAny);
    m_fill = loops == SpanLoops::kFastest ? QuadTriangleFill(addressing, blend, depthTest) : nullptr;
    if (m_fill == nullptr)
        m_fill = ScalarTriangleFill(addressing, blend);

    // A run that covers its pixels many times over shades each only once, for the triangle that writes
    // it last: the same pixel as drawing them all in turn, since nothing under an opaque pixel shows.
    TriangleFill depths = nullptr;
    if (loops == SpanLoops::kFastest && coarseDepth && options.overdraw >= kShadeLastOverdraw &&
        blend == kOpaque && !state.alphaTest && state.depthWrite &&
        ShadeLastFills(addressing, depthTest, depths, m_shade)) {
        const auto pixels =
            static_cast<std::size_t>(depth.Width()) * static_cast<std::size_t>(depth.Height());
        // Numbers go on from run to run; before they run out, every pixel is made to hold none.
        if (m_writers.size() != pixels || m_nextWriter > 0xF0000000u) {
            m_writers.assign(pixels, 0);
            m_nextWriter = 1;
        }
        if (!m_shadeLast)
            m_shadeLast = std::make_unique<ShadeLast>();
        m_shadeLast->firstWriter = m_nextWriter;
        m_shadeLast->box = {};
        m_fill = depths;
    } else if (m_shadeLast) {
        m_shadeLast->triangles.clear();
        m_shade = nullptr;
    }
}

void Rasterizer::End() {
    if (m_shade == nullptr)
        return;
    ShadeLast& run = *m_shadeLast;
    const auto count = static_cast<std::uint32_t>(run.triangles.size());
    // The rows where each triangle still holds a pixel, found from the last writers: the others are
    // neither walked nor shaded.
    for (TriangleRows& t : run.triangles)
        t.yFrom = t.yEnd;
    const gfx2d::Rect box = run.box.Intersect(m_scissor);
    for (int y = box.top; y < box.bottom; ++y) {
        const std::uint32_t* writers = m_writers.data() + static_cast<std::ptrdiff_t>(y) * m_depth->Width();
        std::uint32_t seen = 0;
        for (int x = box.left; x < box.right; ++x) {
            if (writers[x] == seen)
                continue;
            seen = writers[x];
            if (const std::uint32_t k = seen - run.firstWriter; k < count) {
                TriangleRows& t = run.triangles[k];
                if (t.yFrom == t.yEnd)
                    t.yFrom = y;
                t.shadeEnd = y + 1;
            }
        }
    }
    // The second pass writes no depth, so it notes none in the coarse depths, and judges no span by them.
    PixelState shading = m_state;
    shading.depthWrite = false;
    SpanRun spans = MakeRun(shading, m_target, *m_depth, m_view);
    spans.writers = m_writers.data();
    for (std::uint32_t k = 0; k < count; ++k) {
        TriangleRows& t = run.triangles[k];
        if (t.yFrom == t.yEnd)
            continue; // every pixel it wrote was taken
        t.coarseSpans = false;
        t.StartAt(t.yFrom);
        t.yEnd = t.shadeEnd;
        spans.writer = run.firstWriter + k;
        m_shade(spans, t, m_scissor);
    }
    m_nextWriter = run.firstWriter + count;
    run.triangles.clear();
    m_shade = nullptr;
}

bool Rasterizer::CoarselyHidden(TriangleRows& tri, const std::int64_t* X, const std::int64_t* Y,
                                const ScreenVertex* const* v) {
    // The depths the span loops compute lie within the corners' depths, give or take rounding: a bound
    // of each term of the depth plane over the triangle's box, times far more than their rounding.
    const std::int64_t left = std::min({X[0], X[1], X[2]}), right = std::max({X[0], X[1], X[2]});
    const double width = static_cast<double>(right - left) / kSub + 1.0;
    const double height =
        static_cast<double>(std::max({Y[0], Y[1], Y[2]}) - std::min({Y[0], Y[1], Y[2]})) / kSub + 1.0;
    tri.zSlack =
        1e-6 * (std::fabs(tri.a0[kZ]) + std::fabs(tri.gx[kZ]) * width + std::fabs(tri.gy[kZ]) * height);
    tri.equalPasses = m_state.depthFunc == Compare::LessEqual;
    const double nearest =
        std::min({static_cast<double>(v[0]->z), static_cast<double>(v[1]->z), static_cast<double>(v[2]->z)}) -
        tri.zSlack;
    if (!std::isfinite(nearest))
        return false;
    tri.nearest = nearest;
    tri.farthest =
        std::max({static_cast<double>(v[0]->z), static_cast<double>(v[1]->z), static_cast<double>(v[2]->z)}) +
        tri.zSlack;
    constexpr int kShift = DepthBuffer::kTileShift;
    const int x0 = static_cast<int>(std::max<std::int64_t>(left / kSub - 1, m_scissor.left));
    const int x1 = static_cast<int>(std::min<std::int64_t>(right / kSub + 1, m_scissor.right - 1));
    if (x0 > x1)
        return true;
    tri.tileLeft = x0 >> kShift;
    tri.tileRight = x1 >> kShift;
    tri.coarseSpans = true;
    tri.spanSlack = static_cast<float>(2.0 * tri.zSlack);
    for (int ty = static_cast<int>(tri.yFirst) >> kShift; ty <= static_cast<int>(tri.yEnd - 1) >> kShift;
         ++ty)
        for (int tx = x0 >> kShift; tx <= x1 >> kShift; ++tx) {
            const double far = m_depth->TileFar(tx, ty);
            if (tri.equalPasses ? !(nearest > far) : !(nearest >= far))
                return false;
        }
    return true;
}

void Rasterizer::DrawTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2) {
    const ScreenVertex* v[3] = {&v0, &v1, &v2};
    std::int64_t X[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        // Callers clip to a guard band; anything else (or a non-finite position) is not drawn, so the
        // edge arithmetic below stays far inside the int64 range.
        constexpr float kMaxCoordinate = 1 << 20;
        if (!(std::fabs(v[i]->x) < kMaxCoordinate && std::fabs(v[i]->y) < kMaxCoordinate))
            return;
        X[i] = std::llrint(static_cast<double>(v[i]->x) * kSub);
        Y[i] = std::llrint(static_cast<double>(v[i]->y) * kSub);
    }
    const std::int64_t det = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    if (det == 0)
        return;

    // Sort corners top to bottom (left to right on equal rows) so that a shared edge is always
    // walked from the same end.
    int order[3] = {0, 1, 2};
    std::sort(order, order + 3, [&](int a, int b) { return Y[a] != Y[b] ? Y[a] < Y[b] : X[a] < X[b]; });
    const int t = order[0], m = order[1], b = order[2];
    TriangleRows tri;
    tri.yFirst = std::max<std::int64_t>(CeilDiv(Y[t], kSub), m_scissor.top);
    tri.yEnd = std::min<std::int64_t>(CeilDiv(Y[b], kSub), m_scissor.bottom);
    if (tri.yFirst >= tri.yEnd)
        return;
    tri.yMid = std::clamp(CeilDiv(Y[m], kSub), tri.yFirst, tri.yEnd); // first row on the lower edge
    tri.longEdge = TriangleRows::Edge(X[t], Y[t], X[b], Y[b], tri.yFirst);
    tri.shortEdge = TriangleRows::Edge(X[t], Y[t], X[m], Y[m], tri.yFirst);
    tri.lowerEdge = TriangleRows::Edge(X[m], Y[m], X[b], Y[b], tri.yMid);
    tri.longOnLeft = (X[b] - X[t]) * (Y[m] - Y[t]) - (X[m] - X[t]) * (Y[b] - Y[t]) < 0;

    // Attribute planes from the snapped positions; only what the span loops read: depth, the
    // texture coordinates when a texture is bound, the colour unless every corner is white (the
    // texture then passes through unchanged).
    tri.white = true;
    for (const ScreenVertex* c : v)
        tri.white = tri.white && c->r == 255.0f && c->g == 255.0f && c->b == 255.0f;
    tri.textureEnd = m_view.texels != nullptr ? kR : kIw;
    tri.colourEnd = tri.white ? kR : kAttrCount;
    tri.fx0 = static_cast<double>(X[0]) / kSub, tri.fy0 = static_cast<double>(Y[0]) / kSub;
    const double ex1 = static_cast<double>(X[1] - X[0]) / kSub, ey1 = static_cast<double>(Y[1] - Y[0]) / kSub;
    const double ex2 = static_cast<double>(X[2] - X[0]) / kSub, ey2 = static_cast<double>(Y[2] - Y[0]) / kSub;
    const double invDet = 1.0 / (ex1 * ey2 - ex2 * ey1);
    auto attrs = [](const ScreenVertex& s, double out[kAttrCount]) {
        out[kZ] = s.z, out[kIw] = s.invW, out[kUw] = s.uOverW, out[kVw] = s.vOverW;
        out[kR] = s.r, out[kG] = s.g, out[kB] = s.b;
    };
    double a1[kAttrCount], a2[kAttrCount];
    attrs(v0, tri.a0);
    attrs(v1, a1);
    attrs(v2, a2);
    for (int k = 0; k < kAttrCount; ++k) {
        const bool used = k < tri.textureEnd || (k >= kR && k < tri.colourEnd);
        const double d1 = a1[k] - tri.a0[k], d2 = a2[k] - tri.a0[k];
        tri.gx[k] = used ? (d1 * ey2 - d2 * ey1) * invDet : 0.0;
        tri.gy[k] = used ? (d2 * ex1 - d1 * ex2) * invDet : 0.0;
    }
    // The coarse depths are read again once enough tiles were written, so they follow what is drawn at a
    // bounded cost.
    if (m_depth->PendingTiles() >= kRefreshTiles)
        m_depth->Refresh();
    const bool coarse = m_coarse && m_depth->IsCoarseKept();
    if (coarse && CoarselyHidden(tri, X, Y, v)) {
        m_idleTriangles = 0;
        return;
    }
    SpanRun run = MakeRun(m_state, m_target, *m_depth, m_view);
    if (m_shade != nullptr) {
        // The first of two passes: depths and last writers now, shading at End.
        ShadeLast& last = *m_shadeLast;
        run.writers = m_writers.data();
        run.writer = last.firstWriter + static_cast<std::uint32_t>(last.triangles.size());
        if (const std::uint32_t n = m_fill(run, tri, m_scissor); n != 0) {
            m_written += n;
            last.triangles.push_back(tri);
            // The triangle's box, a pixel wider than its snapped corners, holds what it wrote.
            const gfx2d::Rect box{
                static_cast<int>(std::min({X[0], X[1], X[2]}) / kSub - 1), static_cast<int>(tri.yFirst),
                static_cast<int>(std::max({X[0], X[1], X[2]}) / kSub + 2), static_cast<int>(tri.yEnd)};
            last.box =
                last.box.IsEmpty()
                    ? box
                    : gfx2d::Rect{std::min(last.box.left, box.left), std::min(last.box.top, box.top),
                                  std::max(last.box.right, box.right), std::max(last.box.bottom, box.bottom)};
        }
    } else {
        m_written += m_fill(run, tri, m_scissor);
    }
    // Where nothing has been passed over for long (a picture drawn near to far, or with little overdraw),
    // keeping the coarse depths costs more than it saves: they are dropped until the next clear.
    if (coarse)
        m_idleTriangles = tri.trimmed ? 0 : m_idleTriangles + 1;
    if (m_idleTriangles >= kIdleTriangles) {
        m_depth->StopKeepingCoarse();
        m_idleTriangles = 0;
    }
}

} // namespace plat::raster
