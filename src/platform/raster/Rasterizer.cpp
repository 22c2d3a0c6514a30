#include "platform/raster/Rasterizer.h"

#include "platform/raster/RasterSpans.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>

// The attribute planes are worked out alike whatever the target offers: no multiply-add is fused.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace plat::raster {

namespace {
// How many written tiles make the coarse depths be read again.
constexpr std::size_t kRefreshTiles = 256;
// The same in a run drawn nearest first, where most triangles are hidden and fresher bounds show more
// of them so.
constexpr std::size_t kRefreshTilesOrdered = 32;
// How many triangles in a row that the coarse depths cut nothing from make them be dropped.
constexpr int kIdleTriangles = 256;

// Sorts by the top 22 bits of the keys (enough to put the nearest first), keeping the order given
// among equal ones: two passes of a radix sort.
void SortByKey(std::vector<std::uint64_t>& keys, std::vector<std::uint64_t>& scratch) {
    constexpr int kDigitBits = 11;
    constexpr std::size_t kDigits = 1u << kDigitBits;
    scratch.resize(keys.size());
    for (const int shift : {64 - 2 * kDigitBits, 64 - kDigitBits}) {
        std::array<std::uint32_t, kDigits> at{};
        for (const std::uint64_t k : keys)
            ++at[(k >> shift) & (kDigits - 1)];
        std::uint32_t sum = 0;
        for (std::uint32_t& n : at)
            sum += std::exchange(n, sum);
        for (const std::uint64_t k : keys)
            scratch[at[(k >> shift) & (kDigits - 1)]++] = k;
        keys.swap(scratch);
    }
}

} // namespace

// The triangles of a run drawn out of order: their corners in the order given (a few cache lines each,
// where a triangle's set-up takes many), the order they are drawn in (a key of the nearest depth
// above, the index below), and the number of the first.
struct Rasterizer::Ordered {
    struct Corners {
        ScreenVertex v[3];
    };
    std::vector<Corners> triangles;
    std::vector<std::uint64_t> order, scratch;
    std::uint32_t firstWriter = 0;
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

    // A run that covers its pixels many times over is drawn nearest triangles first, so the depth tests
    // pass over most of what would be hidden: the same pixels as drawing them in turn, since nothing
    // under an opaque pixel shows and equal depths are settled by the order given.
    m_deferred = false;
    if (m_ordered) {
        m_ordered->triangles.clear();
        m_ordered->order.clear();
    }
    if (loops == SpanLoops::kFastest && coarseDepth && options.overdraw >= kOrderedOverdraw &&
        blend == kOpaque && !state.alphaTest && state.depthWrite && (less || lessEqual)) {
        if (const TriangleFill ordered =
                OrderedTriangleFill(addressing, lessEqual ? kDepthOrderedLessEqual : kDepthOrderedLess)) {
            const auto pixels =
                static_cast<std::size_t>(depth.Width()) * static_cast<std::size_t>(depth.Height());
            // Numbers go on from run to run; before they run out, every pixel is made to hold none.
            if (m_writers.size() != pixels || m_nextWriter > 0xF0000000u) {
                m_writers.assign(pixels, 0);
                m_nextWriter = 1;
            }
            if (!m_ordered)
                m_ordered = std::make_unique<Ordered>();
            m_ordered->firstWriter = m_nextWriter;
            m_fill = ordered;
            m_deferred = true;
        }
    }
}

void Rasterizer::End() {
    if (!m_deferred)
        return;
    Ordered& run = *m_ordered;
    SortByKey(run.order, run.scratch);
    const std::size_t count = run.order.size();
    for (std::size_t i = 0; i < count; ++i) {
        // The corners are read in an order of their own: those of a few triangles on are fetched ahead.
        if (constexpr std::size_t kAhead = 8; i + kAhead < count) {
            const char* ahead = reinterpret_cast<const char*>(
                &run.triangles[static_cast<std::uint32_t>(run.order[i + kAhead])]);
            for (std::size_t line = 0; line < sizeof(Ordered::Corners); line += 64)
                __builtin_prefetch(ahead + line);
        }
        const auto k = static_cast<std::uint32_t>(run.order[i]);
        const ScreenVertex* const v = run.triangles[k].v;
        Draw(v[0], v[1], v[2], run.firstWriter + k);
    }
    m_nextWriter = run.firstWriter + static_cast<std::uint32_t>(run.triangles.size());
    run.triangles.clear();
    run.order.clear();
    m_deferred = false;
}

bool Rasterizer::PrepareCoarse(TriangleRows& tri, const std::int64_t* X, const std::int64_t* Y,
                               const ScreenVertex* const* v) const {
    // The depths the span loops compute lie within the corners' depths, give or take rounding: a bound
    // of each term of the depth plane over the triangle's box, times far more than their rounding.
    const std::int64_t left = std::min({X[0], X[1], X[2]}), right = std::max({X[0], X[1], X[2]});
    const double width = static_cast<double>(right - left) / kSub + 1.0;
    const double height =
        static_cast<double>(std::max({Y[0], Y[1], Y[2]}) - std::min({Y[0], Y[1], Y[2]})) / kSub + 1.0;
    tri.zSlack =
        1e-6 * (std::fabs(tri.a0[kZ]) + std::fabs(tri.gx[kZ]) * width + std::fabs(tri.gy[kZ]) * height);
    // Drawn out of order, an equal depth may pass under either test: the triangle may come later.
    tri.equalPasses = m_state.depthFunc == Compare::LessEqual || m_deferred;
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
    // No column inside the scissor rectangle: no tile, so hidden.
    tri.tileLeft = x0 <= x1 ? x0 >> kShift : 1;
    tri.tileRight = x0 <= x1 ? x1 >> kShift : 0;
    tri.coarseSpans = true;
    tri.spanSlack = static_cast<float>(2.0 * tri.zSlack);
    return true;
}

bool Rasterizer::CoarselyHidden(const TriangleRows& tri) const {
    constexpr int kShift = DepthBuffer::kTileShift;
    for (int ty = static_cast<int>(tri.yFirst) >> kShift; ty <= static_cast<int>(tri.yEnd - 1) >> kShift;
         ++ty)
        for (int tx = tri.tileLeft; tx <= tri.tileRight; ++tx) {
            const double far = m_depth->TileFar(tx, ty);
            if (tri.equalPasses ? !(tri.nearest > far) : !(tri.nearest >= far))
                return false;
        }
    return true;
}

void Rasterizer::DrawTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2) {
    if (!m_deferred) {
        Draw(v0, v1, v2, m_nextWriter);
        return;
    }
    // Drawn at End, nearest first: keyed by the nearest corner's depth as an ordered integer, a depth
    // that is not a number last. The order only saves work: equal depths are settled by the numbers.
    Ordered& run = *m_ordered;
    const float nearest = std::min({v0.z, v1.z, v2.z});
    std::uint32_t key = 0xFFFFFFFFu;
    if (nearest == nearest && v0.z == v0.z && v1.z == v1.z && v2.z == v2.z) {
        const auto bits = std::bit_cast<std::uint32_t>(nearest);
        key = bits & 0x80000000u ? ~bits : bits | 0x80000000u;
    }
    run.order.push_back(static_cast<std::uint64_t>(key) << 32 | run.triangles.size());
    run.triangles.push_back({{v0, v1, v2}});
}

void Rasterizer::Draw(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2,
                      std::uint32_t writer) {
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

    // Attribute planes from the snapped positions; only what the span loops read: depth, the
    // texture coordinates when a texture is bound, the colour unless every corner is white (the
    // texture then passes through unchanged). Depth first: the coarse test needs nothing else.
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
    auto plane = [&](int k) {
        const double d1 = a1[k] - tri.a0[k], d2 = a2[k] - tri.a0[k];
        tri.gx[k] = (d1 * ey2 - d2 * ey1) * invDet;
        tri.gy[k] = (d2 * ex1 - d1 * ex2) * invDet;
    };
    plane(kZ);

    // The coarse depths are read again once enough tiles were written, so they follow what is drawn at a
    // bounded cost.
    if (m_depth->PendingTiles() >= (m_deferred ? kRefreshTilesOrdered : kRefreshTiles))
        m_depth->Refresh();
    const bool coarse = m_coarse && m_depth->IsCoarseKept() && PrepareCoarse(tri, X, Y, v);
    if (coarse && CoarselyHidden(tri)) {
        m_idleTriangles = 0;
        return;
    }

    tri.yMid = std::clamp(CeilDiv(Y[m], kSub), tri.yFirst, tri.yEnd); // first row on the lower edge
    tri.longEdge = TriangleRows::Edge(X[t], Y[t], X[b], Y[b], tri.yFirst);
    tri.shortEdge = TriangleRows::Edge(X[t], Y[t], X[m], Y[m], tri.yFirst);
    tri.lowerEdge = TriangleRows::Edge(X[m], Y[m], X[b], Y[b], tri.yMid);
    tri.longOnLeft = (X[b] - X[t]) * (Y[m] - Y[t]) - (X[m] - X[t]) * (Y[b] - Y[t]) < 0;
    tri.white = true;
    for (const ScreenVertex* c : v)
        tri.white = tri.white && c->r == 255.0f && c->g == 255.0f && c->b == 255.0f;
    tri.textureEnd = m_view.texels != nullptr ? kR : kIw;
    tri.colourEnd = tri.white ? kR : kAttrCount;
    for (int k = kIw; k < kAttrCount; ++k) {
        if (k < tri.textureEnd || (k >= kR && k < tri.colourEnd))
            plane(k);
        else
            tri.gx[k] = tri.gy[k] = 0.0;
    }

    SpanRun run = MakeRun(m_state, m_target, *m_depth, m_view);
    run.writers = m_writers.data();
    run.writer = writer;
    m_written += m_fill(run, tri, m_scissor);
    // Where nothing has been passed over for long (a picture drawn near to far, or with little overdraw),
    // keeping the coarse depths costs more than it saves: they are dropped until the next clear. Not in
    // a run drawn nearest first: its first triangles hide nothing, the rest are mostly hidden.
    if (coarse && !m_deferred)
        m_idleTriangles = tri.trimmed ? 0 : m_idleTriangles + 1;
    if (m_idleTriangles >= kIdleTriangles) {
        m_depth->StopKeepingCoarse();
        m_idleTriangles = 0;
    }
}

} // namespace plat::raster
