#pragma once

// What the rasterizer's triangle set-up and its span loops share: the triangle's rows and attribute
// planes, the span handed to a loop, the texture sampler and the walk over a triangle's rows. The
// one-pixel loops live in ScalarSpans.cpp, the four-pixel loops in Sse2Spans.cpp; the two must give
// the same picture to the bit (tests/platform/RasterSpanTest.cpp compares them).

#include "platform/gfx2d/Geometry.h"
#include "platform/raster/DepthBuffer.h"
#include "platform/raster/Rasterizer.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::raster {

// Positions are snapped to 1/16 pixel, so edges are walked in exact integer arithmetic and two
// triangles sharing an edge agree on every pixel of it.
constexpr int kSubBits = 4;
constexpr std::int64_t kSub = 1 << kSubBits;

// Texture coordinates are divided by w exactly every kSegment pixels and stepped linearly between:
// one division per segment instead of one per pixel, with an error far below a texel.
constexpr int kSegment = 16;

enum Blend { kOpaque, kAlpha, kAdditive, kMultiply, kGeneric };
// How a span reads its texture: none, wrapping a power-of-two size by masks, wrapping any size, clamped.
enum Addressing { kUntextured, kWrapMasked, kWrapAny, kClampEdges };

// The depth tests the four-pixel loops have compiled in; any other is chosen quad by quad. A run drawn
// out of order (nearest triangles first) settles equal depths by the triangles' numbers in the order
// they were given, so each pixel ends as drawing them in turn would leave it.
enum DepthTest { kDepthLessEqual, kDepthLess, kDepthAny, kDepthOrderedLessEqual, kDepthOrderedLess };

// Attribute order inside a span: depth, 1/w, u/w, v/w, then colour.
// Vertex alpha is not interpolated: a pixel's alpha comes from the texture alone.
enum Attr { kZ, kIw, kUw, kVw, kR, kG, kB, kAttrCount };

// ceil(num / den) for den > 0.
inline std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
    std::int64_t q = num / den, r = num % den;
    return q + (r > 0 ? 1 : 0);
}

#if !defined(__SSE2__)
// Mix of two 0xAARRGGBB values, f/256 of b.
[[gnu::always_inline]] inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
    const std::uint32_t g = 256 - f;
    std::uint32_t rb = (((a & 0xFF00FF) * g + (b & 0xFF00FF) * f) >> 8) & 0xFF00FF;
    std::uint32_t ag = (((a >> 8) & 0xFF00FF) * g + ((b >> 8) & 0xFF00FF) * f) & 0xFF00FF00;
    return rb | ag;
}
#endif

// The span loop's view of a texture. Texel positions are 16.16 fixed point in texel units with
// texel centres at half-texel offsets; sizes that are powers of two wrap with a mask.
struct Sampler : Rasterizer::TextureView {
    explicit Sampler(const Rasterizer::TextureView& view) : TextureView(view) {}

    // Texel index pair along one axis of `size` texels.
    static void Wrap(int& i0, int& i1, int size, int mask) {
        if (mask >= 0) {
            i0 &= mask;
            i1 = (i0 + 1) & mask;
            return;
        }
        if (static_cast<unsigned>(i0) >= static_cast<unsigned>(size)) {
            i0 %= size;
            if (i0 < 0)
                i0 += size;
        }
        i1 = i0 + 1 == size ? 0 : i0 + 1;
    }

    // Bilinear sample at fixed-point texel position (u, v).
    template <int kAddress> [[gnu::always_inline]] std::uint32_t Fetch(std::int32_t u, std::int32_t v) const {
        int x0 = u >> 16, y0 = v >> 16, x1, y1;
        const std::uint32_t fx = static_cast<std::uint32_t>(u >> 8) & 255,
                            fy = static_cast<std::uint32_t>(v >> 8) & 255;
        if constexpr (kAddress == kClampEdges) {
            x1 = std::clamp(x0 + 1, 0, w - 1);
            y1 = std::clamp(y0 + 1, 0, h - 1);
            x0 = std::clamp(x0, 0, w - 1);
            y0 = std::clamp(y0, 0, h - 1);
        } else if constexpr (kAddress == kWrapMasked) {
            x0 &= maskX;
            x1 = (x0 + 1) & maskX;
            y0 &= maskY;
            y1 = (y0 + 1) & maskY;
        } else {
            Wrap(x0, x1, w, maskX);
            Wrap(y0, y1, h, maskY);
        }
        const std::uint32_t* row0 = texels + static_cast<std::ptrdiff_t>(y0) * w;
        const std::uint32_t* row1 = texels + static_cast<std::ptrdiff_t>(y1) * w;
        return Bilinear(row0[x0], row0[x1], row1[x0], row1[x1], fx, fy);
    }

    // Mix of four texels: rows first, then columns, each step 8-bit weights with truncation.
    [[gnu::always_inline]] static std::uint32_t Bilinear(std::uint32_t t00, std::uint32_t t01,
                                                         std::uint32_t t10, std::uint32_t t11,
                                                         std::uint32_t fx, std::uint32_t fy) {
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i top = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(t00)),
                                                                 _mm_cvtsi32_si128(static_cast<int>(t01))),
                                              zero);
        const __m128i bottom = _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(t10)),
                                                                    _mm_cvtsi32_si128(static_cast<int>(t11))),
                                                 zero);
        const __m128i columns =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(top, _mm_set1_epi16(static_cast<short>(256 - fy))),
                                         _mm_mullo_epi16(bottom, _mm_set1_epi16(static_cast<short>(fy)))),
                           8);
        const __m128i wx = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(256 - fx)),
                                              _mm_set1_epi16(static_cast<short>(fx)));
        __m128i mixed = _mm_mullo_epi16(columns, wx);
        mixed = _mm_srli_epi16(_mm_add_epi16(mixed, _mm_srli_si128(mixed, 8)), 8);
        return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(mixed, mixed)));
#else
        return Lerp(Lerp(t00, t10, fy), Lerp(t01, t11, fy), fx);
#endif
    }
};

// Texel coordinates of one segment of a span: exact (perspective-divided) at both ends, stepped
// linearly in between. Wrapped coordinates are first moved near the texture so the fixed-point
// values stay small.
struct TexelSegment {
    std::int32_t u, v, du, dv;

    static float Limit(float f, float limit) {
        return f > -limit ? (f < limit ? f : limit) : -limit;
    } // NaN -> -limit

    [[gnu::always_inline]] static void Axis(float a, float b, float size, float invSize, bool wrap,
                                            bool masked, float invLen, std::int32_t& start,
                                            std::int32_t& step) {
        constexpr float kRange = 1 << 20;
        a = Limit(a * size - 0.5f, kRange);
        b = Limit(b * size - 0.5f, kRange);
        // Masked wrapping reads any texel position alike, so it only needs the fixed-point range kept;
        // wrapping by modulo is cheapest with positions inside the texture.
        const float low = masked ? -8192.0f : 0.0f, high = masked ? 8192.0f : size;
        if (wrap && !(a >= low && a < high)) {
            float periods = static_cast<float>(static_cast<int>(a * invSize));
            if (periods * size > a)
                periods -= 1.0f;
            a -= periods * size;
            b -= periods * size;
        }
        const float delta = Limit(b - a, 8192.0f);
        a = Limit(a, 16384.0f);
        start = static_cast<std::int32_t>(a * 65536.0f);
        step = static_cast<std::int32_t>(delta * 65536.0f * invLen);
    }

    [[gnu::always_inline]] TexelSegment(const Sampler& s, float u0, float v0, float u1, float v1,
                                        float invLen) {
        Axis(u0, u1, s.fw, s.invW, !s.clamp, s.maskX >= 0, invLen, u, du);
        Axis(v0, v1, s.fh, s.invH, !s.clamp, s.maskY >= 0, invLen, v, dv);
    }
};

// A colour channel or its step in 16.16 fixed point.
inline std::int32_t FixedColour(float f) {
    return static_cast<std::int32_t>(std::clamp(f, -1024.0f, 1024.0f) * 65536.0f);
}

// A triangle's rows and attribute planes.
struct TriangleRows {
    // An edge walked row by row: the first pixel column at or right of it, kept exact with a
    // remainder so no row needs a division.
    struct Edge {
        std::int64_t column = 0, error = 0, den = 1, stepQ = 0, stepR = 0;

        Edge() = default;
        Edge(std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb, std::int64_t y) {
            const std::int64_t dx = xb - xa, dy = yb - ya;
            if (dy <= 0)
                return; // horizontal: never walked
            den = kSub * dy;
            const std::int64_t num = xa * dy + (y * kSub - ya) * dx;
            column = CeilDiv(num, den);
            error = column * den - num; // 0 <= error < den
            const std::int64_t step = kSub * dx;
            stepQ = step / den;
            stepR = step % den;
            if (stepR < 0) {
                stepR += den;
                --stepQ;
            }
        }
        void Next() { // without a branch: which way it goes changes from row to row
            error -= stepR;
            const std::int64_t borrow = error >> 63; // -1 when the remainder went negative
            column += stepQ - borrow;
            error += den & borrow;
        }
    };

    // Rows yFirst .. yEnd - 1; the short edge gives way to the lower one at row yMid.
    std::int64_t yFirst, yEnd, yMid;
    Edge longEdge, shortEdge, lowerEdge;
    bool longOnLeft;
    bool white; // every corner is white
    // Attribute planes A(x, y) = a0 + gx (x - fx0) + gy (y - fy0); only those the span loops read
    // are set: depth, [kIw, textureEnd) and [kR, colourEnd).
    double a0[kAttrCount], gx[kAttrCount], gy[kAttrCount];
    double fx0, fy0;
    int textureEnd, colourEnd;
    // The coarse depth test, for the less and less-or-equal tests: how far below the depth plane a
    // depth the span loops compute may lie (rounding), and whether an equal depth passes. Spans are
    // judged when coarseSpans is set: against the tile columns under the triangle, with twice the
    // slack, which also covers judging in float arithmetic.
    bool equalPasses = false;
    double zSlack = 0.0;
    double nearest = 0.0;  // no depth the span loops compute is nearer
    double farthest = 0.0; // nor farther
    bool coarseSpans = false;
    mutable bool trimmed = false; // set when the coarse test passed over rows or pixels of the triangle
    int tileLeft = 0, tileRight = -1;
    float spanSlack = 0.0f;
};

// One row of a triangle with its attribute steps.
struct Span {
    int y, x0, x1;           // pixels x0 .. x1 - 1 of row y
    int from, to;            // the pixels (counted from x0) that may show; the others are hidden
    bool white;              // every corner of the triangle is white
    float start[kAttrCount]; // attributes at pixel (x0, y): depth at once, the others after SetUp
    float step[kAttrCount];  // change per pixel to the right
    const TriangleRows* triangle;
    double dx, dy; // (x0, y) from the origin of the attribute planes

    // The start values of the texture coordinates and the colour, worked out only for a span with a
    // pixel to draw.
    [[gnu::always_inline]] void SetUp() {
        const TriangleRows& t = *triangle;
#if defined(__SSE2__)
        // Two attributes at a time, in the same double arithmetic as one at a time; the planes a span
        // loop does not read are zero or unused.
        static_assert(kIw == 1 && kAttrCount == 7);
        const __m128d x = _mm_set1_pd(dx), y = _mm_set1_pd(dy);
        for (int k = kIw; k < kAttrCount; k += 2) {
            const __m128d p =
                _mm_add_pd(_mm_add_pd(_mm_loadu_pd(t.a0 + k), _mm_mul_pd(_mm_loadu_pd(t.gx + k), x)),
                           _mm_mul_pd(_mm_loadu_pd(t.gy + k), y));
            const __m128 f = _mm_cvtpd_ps(p);
            start[k] = _mm_cvtss_f32(f);
            start[k + 1] = _mm_cvtss_f32(_mm_shuffle_ps(f, f, 1));
        }
#else
        for (int k = kIw; k < t.textureEnd; ++k)
            start[k] = static_cast<float>(t.a0[k] + t.gx[k] * dx + t.gy[k] * dy);
        for (int k = kR; k < t.colourEnd; ++k)
            start[k] = static_cast<float>(t.a0[k] + t.gx[k] * dx + t.gy[k] * dy);
#endif
    }
};

// Texel coordinates (not yet scaled to the texture) at pixel `at` of a span, divided by w exactly.
[[gnu::always_inline]] inline void TexelAt(const Span& s, int at, float& u, float& v) {
    if (at == 0) {
        const float w = 1.0f / s.start[kIw];
        u = s.start[kUw] * w;
        v = s.start[kVw] * w;
        return;
    }
    const float end = static_cast<float>(at);
    const float w = 1.0f / (s.start[kIw] + s.step[kIw] * end);
    u = (s.start[kUw] + s.step[kUw] * end) * w;
    v = (s.start[kVw] + s.step[kVw] * end) * w;
}

// What the span loops read during a run. Each triangle takes its own copy, so the compiler keeps
// it in registers: pixel and depth writes cannot change it.
struct SpanRun {
    std::uint8_t* pixels;    // the target's first row
    std::ptrdiff_t pitch;    // bytes
    float* depth;            // the depth buffer's first row
    std::ptrdiff_t depthRow; // values
    int roomRight;           // pixels in a row of both the target and the depth buffer
    Sampler sampler;
    PixelState state;
    DepthBuffer* buffer; // for its coarse depths
    // A run drawn out of order: per pixel, the number of the triangle that wrote it last (rows
    // depthRow values apart), and the triangle's own number.
    std::uint32_t* writers = nullptr;
    std::uint32_t writer = 0;

    std::uint16_t* Row(int y) const { return reinterpret_cast<std::uint16_t*>(pixels + y * pitch); }
    float* DepthRow(int y) const { return depth + y * depthRow; }
    std::uint32_t* WriterRow(int y) const { return writers + y * depthRow; }
};

// Trims a span to the tiles where its depths may pass a less or less-or-equal test against the coarse
// depths; false when they pass in none. Each tile's part of the span is judged by its nearer end, less
// what rounding may take off.
[[gnu::always_inline]] inline bool CoarseRange(const TriangleRows& t, const DepthBuffer& buffer, Span& s) {
    constexpr int kShift = DepthBuffer::kTileShift;
    const int ty = s.y >> kShift;
    const float z0 = s.start[kZ], dz = s.step[kZ], slack = t.spanSlack;
    // The nearer end of a tile's part is its left end when depths grow to the right, else its right.
    const int nearerEnd = dz >= 0.0f ? 0 : DepthBuffer::kTile - 1;
    const bool equalPasses = t.equalPasses;
    auto hidden = [&](int tx) __attribute__((always_inline)) {
        const int at = std::clamp((tx << kShift) + nearerEnd, s.x0, s.x1 - 1) - s.x0;
        const float nearest = z0 + static_cast<float>(at) * dz - slack;
        const float far = buffer.TileFar(tx, ty);
        return equalPasses ? nearest > far : nearest >= far;
    };
    int first = s.x0 >> kShift, last = (s.x1 - 1) >> kShift;
    while (first <= last && hidden(first))
        ++first;
    if (first > last)
        return false;
    while (hidden(last))
        --last;
    s.from = std::max(first << kShift, s.x0) - s.x0;
    s.to = std::min((last + 1) << kShift, s.x1) - s.x0;
    return true;
}

// What the tiles of a triangle's box in one tile row show: `hidden` when all of them lie nearer than
// the whole triangle, `clear` when none lies nearer than any of it (so no span there can be trimmed).
struct TileRowView {
    bool hidden, clear;
};
[[gnu::always_inline]] inline TileRowView ScanTileRow(const TriangleRows& t, const DepthBuffer& buffer,
                                                      int ty) {
    TileRowView view{true, true};
    for (int tx = t.tileLeft; tx <= t.tileRight && (view.hidden || view.clear); ++tx) {
        const float far = buffer.TileFar(tx, ty);
        view.hidden = view.hidden && (t.equalPasses ? t.nearest > far : t.nearest >= far);
        view.clear = view.clear && (t.equalPasses ? t.farthest <= far : t.farthest < far);
    }
    return view;
}

// Depth writes of a triangle gathered a row of tiles at a time, to be noted in the coarse depths once:
// the rows written and the columns they reach.
struct NotedWrites {
    int tileRow = -1;
    std::uint8_t rows = 0;
    int left = 0, right = 0;

    void Add(int y, int x0, int x1) {
        left = rows != 0 ? std::min(left, x0) : x0;
        right = rows != 0 ? std::max(right, x1) : x1;
        rows = static_cast<std::uint8_t>(rows | 1u << (y & (DepthBuffer::kTile - 1)));
    }
    void Flush(DepthBuffer& buffer, bool nearerOnly) {
        if (rows != 0)
            buffer.NoteWritten(tileRow, rows, left, right, nearerOnly);
        rows = 0;
    }
};

// Hands each row of a triangle inside the scissor rectangle to `fill` as a span, after the coarse depth
// test when the triangle has one, and sums what it returns (the pixels written). Spans get their depth
// start; `fill` calls Span::SetUp for the rest. Depth writes are noted in the coarse depths.
template <typename Fill>
[[gnu::always_inline]] inline std::uint32_t WalkRows(const TriangleRows& t, const gfx2d::Rect& scissor,
                                                     const SpanRun& run, Fill fill) {
    TriangleRows::Edge longEdge = t.longEdge, shortEdge = t.shortEdge;
    const PixelState& state = run.state;
    // Writes are noted only while the coarse depths are kept.
    const bool depthWrites = state.depthTest && state.depthWrite && run.buffer->IsCoarseKept();
    const bool nearerOnly = state.depthFunc == Compare::Less || state.depthFunc == Compare::LessEqual ||
                            state.depthFunc == Compare::Equal;
    Span span{};
    span.white = t.white;
    span.triangle = &t;
    for (int k = 0; k < kAttrCount; ++k)
        span.step[k] = static_cast<float>(t.gx[k]);
    std::uint32_t written = 0;
    // A tile row where all the tiles under the triangle lie nearer than the whole of it is passed over
    // row by row. The triangle's own writes only make depths nearer, so what is hidden stays hidden.
    int tileRow = -1;
    TileRowView rowView{false, true};
    NotedWrites noted;
    bool trimmed = false;
    for (std::int64_t y = t.yFirst; y < t.yEnd; ++y, longEdge.Next(), shortEdge.Next()) {
        if (y == t.yMid)
            shortEdge = t.lowerEdge;
        if (t.coarseSpans) {
            if (const int row = static_cast<int>(y) >> DepthBuffer::kTileShift; row != tileRow) {
                rowView = ScanTileRow(t, *run.buffer, row);
                tileRow = row;
            }
            if (rowView.hidden) {
                trimmed = true;
                continue;
            }
        }
        const std::int64_t xl = t.longOnLeft ? longEdge.column : shortEdge.column;
        const std::int64_t xr = t.longOnLeft ? shortEdge.column : longEdge.column;
        const std::int64_t x0 = std::max<std::int64_t>(xl, scissor.left);
        const std::int64_t x1 = std::min<std::int64_t>(xr, scissor.right);
        if (x0 >= x1)
            continue;
        span.y = static_cast<int>(y);
        span.x0 = static_cast<int>(x0);
        span.x1 = static_cast<int>(x1);
        span.from = 0;
        span.to = span.x1 - span.x0;
        span.dx = static_cast<double>(x0) - t.fx0;
        span.dy = static_cast<double>(y) - t.fy0;
        span.start[kZ] = static_cast<float>(t.a0[kZ] + t.gx[kZ] * span.dx + t.gy[kZ] * span.dy);
        if (t.coarseSpans && !rowView.clear) {
            const bool shows = CoarseRange(t, *run.buffer, span);
            trimmed = trimmed || !shows || span.from != 0 || span.to != span.x1 - span.x0;
            if (!shows)
                continue;
        }
        const std::uint32_t n = fill(span);
        if (n != 0 && depthWrites) {
            if (const int row = span.y >> DepthBuffer::kTileShift; row != noted.tileRow) {
                noted.Flush(*run.buffer, nearerOnly);
                noted.tileRow = row;
            }
            noted.Add(span.y, span.x0 + span.from, span.x0 + span.to);
        }
        written += n;
    }
    noted.Flush(*run.buffer, nearerOnly);
    t.trimmed = trimmed;
    return written;
}

// The run of one Begin, as the span loops read it.
inline SpanRun MakeRun(const PixelState& state, const RenderTarget& target, DepthBuffer& depth,
                       const Rasterizer::TextureView& view) {
    return {reinterpret_cast<std::uint8_t*>(target.pixels), target.pitchBytes, depth.Row(0), depth.Width(),
            std::min(target.width, depth.Width()),          Sampler(view),     state,        &depth};
}

// Every row of a triangle handed to the span loop `Fill`, or to `FillWhite` when every corner of the
// triangle is white; the loop reads the run from a copy of its own (kept in registers: pixel and depth
// writes cannot change it). Returns the pixels written.
template <std::uint32_t (*Fill)(const SpanRun&, Span&),
          std::uint32_t (*FillWhite)(const SpanRun&, Span&) = Fill>
std::uint32_t FillRows(const SpanRun& r, const TriangleRows& t, const gfx2d::Rect& scissor) {
    const SpanRun run = r;
    if constexpr (FillWhite != Fill) {
        if (t.white)
            return WalkRows(
                t, scissor,
                run, [&run](Span & s) __attribute__((always_inline)) { return FillWhite(run, s); });
    }
    return WalkRows(
        t, scissor, run, [&run](Span & s) __attribute__((always_inline)) { return Fill(run, s); });
}

// The fill of every row of a triangle for one state combination; returns the pixels written.
using TriangleFill = std::uint32_t (*)(const SpanRun& run, const TriangleRows& t, const gfx2d::Rect& scissor);

/// The one-pixel loops of an addressing mode and a blend: every combination.
TriangleFill ScalarTriangleFill(int addressing, int blend);
/// The four-pixel loops of an addressing mode, a blend and a depth test; null where there are none
/// (clamped addressing, the generic blend factors, a machine without SSE2).
TriangleFill QuadTriangleFill(int addressing, int blend, int depth);
/// The four-pixel loops of an opaque run without alpha test that writes depths under the less or
/// less-or-equal test, drawn out of order (kDepthOrderedLessEqual, kDepthOrderedLess); null where
/// there are none (as for QuadTriangleFill).
TriangleFill OrderedTriangleFill(int addressing, int depth);

} // namespace plat::raster
