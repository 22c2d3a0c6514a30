#include "platform/raster/Rasterizer.h"

#include "platform/gfx2d/PixelFormat.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <bit>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The one-pixel and the four-pixel loops must round alike: no multiply-add is fused in one and not
// in the other, whatever the target offers.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace plat::raster {

namespace {

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

// Attribute order inside a span: depth, 1/w, u/w, v/w, then colour.
// Vertex alpha is not interpolated: a pixel's alpha comes from the texture alone.
enum Attr { kZ, kIw, kUw, kVw, kR, kG, kB, kAttrCount };

// The compare functions of the depth and alpha tests, for float depths and integer alphas alike.
template <typename T> [[gnu::always_inline]] inline bool Passes(Compare f, T a, T b) {
    switch (f) {
    case Compare::Never:
        return false;
    case Compare::Less:
        return a < b;
    case Compare::Equal:
        return a == b;
    case Compare::LessEqual:
        return a <= b;
    case Compare::Greater:
        return a > b;
    case Compare::NotEqual:
        return a != b;
    case Compare::GreaterEqual:
        return a >= b;
    case Compare::Always:
        return true;
    }
    return true;
}

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

inline std::uint32_t Clamp255(std::int32_t fixed) {
    std::int32_t v = fixed >> 16;
    return static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

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

// Factor (0..255) of one blend operand for one channel.
inline std::uint32_t Factor(BlendFactor f, std::uint32_t srcChannel, std::uint32_t srcAlpha) {
    switch (f) {
    case BlendFactor::Zero:
        return 0;
    case BlendFactor::One:
        return 255;
    case BlendFactor::SrcColour:
        return srcChannel;
    case BlendFactor::InvSrcColour:
        return 255 - srcChannel;
    case BlendFactor::SrcAlpha:
        return srcAlpha;
    case BlendFactor::InvSrcAlpha:
        return 255 - srcAlpha;
    }
    return 255;
}

// A colour channel or its step in 16.16 fixed point.
inline std::int32_t FixedColour(float f) {
    return static_cast<std::int32_t>(std::clamp(f, -1024.0f, 1024.0f) * 65536.0f);
}

#if defined(__SSE2__)
// Four neighbouring pixels of a span at a time, lane k holding pixel k. Colours travel as 16-bit
// channels [b g r a] of two pixels per register; every step below gives exactly what the one-pixel
// loop gives.

// (a (256 - f) + b f) >> 8 in each 16-bit lane for a, b, f of 0..255, computed as a 256 + (b - a) f:
// the 16-bit arithmetic wraps on the way but ends exact, since the result fits.
[[gnu::always_inline]] inline __m128i Lerp16(__m128i a, __m128i b, __m128i f) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_slli_epi16(a, 8), _mm_mullo_epi16(_mm_sub_epi16(b, a), f)), 8);
}

// x / 255 rounded down in each 16-bit lane, for x up to 255 * 255.
[[gnu::always_inline]] inline __m128i Div255(__m128i x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// Lanes (all ones) where `f` passes for a against b: depths, with NaN failing like the scalar test.
[[gnu::always_inline]] inline __m128i PassMask(Compare f, __m128 a, __m128 b) {
    switch (f) {
    case Compare::Never:
        return _mm_setzero_si128();
    case Compare::Less:
        return _mm_castps_si128(_mm_cmplt_ps(a, b));
    case Compare::Equal:
        return _mm_castps_si128(_mm_cmpeq_ps(a, b));
    case Compare::LessEqual:
        return _mm_castps_si128(_mm_cmple_ps(a, b));
    case Compare::Greater:
        return _mm_castps_si128(_mm_cmpgt_ps(a, b));
    case Compare::NotEqual:
        return _mm_castps_si128(_mm_cmpneq_ps(a, b));
    case Compare::GreaterEqual:
        return _mm_castps_si128(_mm_cmpge_ps(a, b));
    case Compare::Always:
        break;
    }
    return _mm_set1_epi32(-1);
}

// The same for alpha values 0..255 in 32-bit lanes.
[[gnu::always_inline]] inline __m128i PassMask(Compare f, __m128i a, __m128i b) {
    const __m128i all = _mm_set1_epi32(-1);
    switch (f) {
    case Compare::Never:
        return _mm_setzero_si128();
    case Compare::Less:
        return _mm_cmplt_epi32(a, b);
    case Compare::Equal:
        return _mm_cmpeq_epi32(a, b);
    case Compare::LessEqual:
        return _mm_xor_si128(_mm_cmpgt_epi32(a, b), all);
    case Compare::Greater:
        return _mm_cmpgt_epi32(a, b);
    case Compare::NotEqual:
        return _mm_xor_si128(_mm_cmpeq_epi32(a, b), all);
    case Compare::GreaterEqual:
        return _mm_xor_si128(_mm_cmplt_epi32(a, b), all);
    case Compare::Always:
        break;
    }
    return all;
}

// Pixel k's two texel columns mixed down to one row by its weight in `fy` (16-bit lanes, pairs per
// pixel): [left b g r a, right b g r a]. `row` is its top-left texel in the wrapped copy.
template <int k>
[[gnu::always_inline]] inline __m128i Columns(const std::uint32_t* row, std::ptrdiff_t pitch, __m128i fy) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row)), zero);
    const __m128i bottom =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + pitch)), zero);
    return Lerp16(top, bottom, _mm_shuffle_epi32(fy, k * 0x55));
}

// Four 5-6-5 pixels (16-bit lanes 0..3) as 0x00RRGGBB in 32-bit lanes, widened as UnpackRgb565 does.
[[gnu::always_inline]] inline __m128i Unpack565(__m128i pixels) {
    const __m128i p = _mm_unpacklo_epi16(pixels, _mm_setzero_si128());
    const __m128i r = _mm_srli_epi32(p, 11);
    const __m128i g = _mm_and_si128(_mm_srli_epi32(p, 5), _mm_set1_epi32(0x3F));
    const __m128i b = _mm_and_si128(p, _mm_set1_epi32(0x1F));
    const __m128i r8 = _mm_or_si128(_mm_slli_epi32(r, 3), _mm_srli_epi32(r, 2));
    const __m128i g8 = _mm_or_si128(_mm_slli_epi32(g, 2), _mm_srli_epi32(g, 4));
    const __m128i b8 = _mm_or_si128(_mm_slli_epi32(b, 3), _mm_srli_epi32(b, 2));
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(r8, 16), _mm_slli_epi32(g8, 8)), b8);
}

// Four 0x??RRGGBB values truncated to 5-6-5 in 16-bit lanes 0..3.
[[gnu::always_inline]] inline __m128i Pack565(__m128i argb) {
    const __m128i r = _mm_and_si128(_mm_srli_epi32(argb, 8), _mm_set1_epi32(0xF800));
    const __m128i g = _mm_and_si128(_mm_srli_epi32(argb, 5), _mm_set1_epi32(0x07E0));
    const __m128i b = _mm_and_si128(_mm_srli_epi32(argb, 3), _mm_set1_epi32(0x001F));
    // Sign-extend the 16-bit values so the saturating pack keeps them.
    const __m128i p = _mm_srai_epi32(_mm_slli_epi32(_mm_or_si128(_mm_or_si128(r, g), b), 16), 16);
    return _mm_packs_epi32(p, p);
}

// Colour channels of four pixels from their 16.16 values, clamped to 0..255 like Clamp255, as
// [b g r 255] lanes for pixels 0-1 (`low`) and 2-3 (`high`).
[[gnu::always_inline]] inline void ColourLanes(__m128i red, __m128i green, __m128i blue, __m128i& low,
                                               __m128i& high) {
    const __m128i zero = _mm_setzero_si128(), max = _mm_set1_epi16(255);
    const __m128i br = _mm_min_epi16(
        _mm_max_epi16(_mm_packs_epi32(_mm_srai_epi32(blue, 16), _mm_srai_epi32(red, 16)), zero), max);
    const __m128i ga = _mm_min_epi16(
        _mm_max_epi16(_mm_packs_epi32(_mm_srai_epi32(green, 16), _mm_set1_epi32(255)), zero), max);
    const __m128i bg = _mm_unpacklo_epi16(br, ga), ra = _mm_unpackhi_epi16(br, ga);
    low = _mm_unpacklo_epi32(bg, ra);
    high = _mm_unpackhi_epi32(bg, ra);
}

// Pixels written per 4-bit lane mask.
constexpr std::uint8_t kLaneCount[16] = {0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
#endif

} // namespace

struct Rasterizer::Span {
    int y, x0, x1;           // pixels x0 .. x1 - 1 of row y
    bool white;              // every corner of the triangle is white
    float start[kAttrCount]; // attributes at pixel (x0, y)
    float step[kAttrCount];  // change per pixel to the right
};

struct Rasterizer::Triangle {
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
};

namespace {

// Texel coordinates (not yet scaled to the texture) at pixel `at` of a span, divided by w exactly.
[[gnu::always_inline]] inline void TexelAt(const Rasterizer::Span& s, int at, float& u, float& v) {
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

    std::uint16_t* Row(int y) const { return reinterpret_cast<std::uint16_t*>(pixels + y * pitch); }
    float* DepthRow(int y) const { return depth + y * depthRow; }
};

// Hands each row of a triangle inside the scissor rectangle to `fill` as a span and sums what it
// returns (the pixels written).
template <typename Fill>
[[gnu::always_inline]] inline std::uint32_t WalkRows(const Rasterizer::Triangle& t,
                                                     const gfx2d::Rect& scissor, Fill fill) {
    Rasterizer::Triangle::Edge longEdge = t.longEdge, shortEdge = t.shortEdge;
    Rasterizer::Span span{};
    span.white = t.white;
    for (int k = 0; k < kAttrCount; ++k)
        span.step[k] = static_cast<float>(t.gx[k]);
    std::uint32_t written = 0;
    for (std::int64_t y = t.yFirst; y < t.yEnd; ++y, longEdge.Next(), shortEdge.Next()) {
        if (y == t.yMid)
            shortEdge = t.lowerEdge;
        const std::int64_t xl = t.longOnLeft ? longEdge.column : shortEdge.column;
        const std::int64_t xr = t.longOnLeft ? shortEdge.column : longEdge.column;
        const std::int64_t x0 = std::max<std::int64_t>(xl, scissor.left);
        const std::int64_t x1 = std::min<std::int64_t>(xr, scissor.right);
        if (x0 >= x1)
            continue;
        span.y = static_cast<int>(y);
        span.x0 = static_cast<int>(x0);
        span.x1 = static_cast<int>(x1);
        const double dx = static_cast<double>(x0) - t.fx0, dy = static_cast<double>(y) - t.fy0;
        for (int k = 0; k < t.textureEnd; ++k)
            span.start[k] = static_cast<float>(t.a0[k] + t.gx[k] * dx + t.gy[k] * dy);
        for (int k = kR; k < t.colourEnd; ++k)
            span.start[k] = static_cast<float>(t.a0[k] + t.gx[k] * dx + t.gy[k] * dy);
        written += fill(span);
    }
    return written;
}

// One span, a pixel at a time: any state.
template <int kAddress, int kBlend>
[[gnu::always_inline]] inline std::uint32_t FillSpan(const SpanRun& run, const Rasterizer::Span& s) {
    const PixelState& st = run.state;
    const Sampler& sampler = run.sampler;
    std::uint16_t* dst = run.Row(s.y) + s.x0;
    float* zrow = run.DepthRow(s.y) + s.x0;
    // Colour runs in 16.16 fixed point; a flat triangle has exactly zero steps.
    constexpr std::int32_t kWhite = 255 << 16;
    std::int32_t cr = kWhite, cg = kWhite, cb = kWhite, dr = 0, dg = 0, db = 0;
    if (!s.white) {
        cr = FixedColour(s.start[kR]), cg = FixedColour(s.start[kG]), cb = FixedColour(s.start[kB]);
        dr = FixedColour(s.step[kR]), dg = FixedColour(s.step[kG]), db = FixedColour(s.step[kB]);
    }
    const bool depthTest = st.depthTest, depthWrite = st.depthWrite && st.depthTest;
    // Most pre-lit geometry is white: the texture then passes through unchanged.
    const bool white = s.white;
    float u0 = 0, v0 = 0;
    if constexpr (kAddress != kUntextured)
        TexelAt(s, 0, u0, v0);
    std::uint32_t written = 0;
    const int count = s.x1 - s.x0;

    for (int i = 0; i < count;) {
        const int len = std::min(kSegment, count - i);
        std::int32_t tu = 0, tv = 0, dtu = 0, dtv = 0;
        if constexpr (kAddress != kUntextured) {
            float u1, v1;
            TexelAt(s, i + len, u1, v1);
            const TexelSegment seg(sampler, u0, v0, u1, v1, 1.0f / static_cast<float>(len));
            tu = seg.u, tv = seg.v, dtu = seg.du, dtv = seg.dv;
            u0 = u1;
            v0 = v1;
        }
        for (const int end = i + len; i < end;
             ++i, ++dst, ++zrow, tu += dtu, tv += dtv, cr += dr, cg += dg, cb += db) {
            // Depth from the span start, not summed pixel by pixel: no rounding piles up along the
            // span, and the four-pixel loop computes each pixel's alike.
            const float z = s.start[kZ] + static_cast<float>(i) * s.step[kZ];
            if (depthTest && !Passes(st.depthFunc, z, *zrow))
                continue;
            std::uint32_t red, green, blue, alpha = 255;
            if constexpr (kAddress != kUntextured) {
                const std::uint32_t t = sampler.Fetch<kAddress>(tu, tv);
                red = (t >> 16) & 0xFF;
                green = (t >> 8) & 0xFF;
                blue = t & 0xFF;
                if (!white) {
                    red = (red * (Clamp255(cr) + 1)) >> 8;
                    green = (green * (Clamp255(cg) + 1)) >> 8;
                    blue = (blue * (Clamp255(cb) + 1)) >> 8;
                }
                alpha = t >> 24;
            } else {
                red = Clamp255(cr), green = Clamp255(cg), blue = Clamp255(cb);
            }
            if (st.alphaTest && !Passes(st.alphaFunc, alpha, st.alphaRef))
                continue;
            if constexpr (kBlend != kOpaque) {
                const std::uint32_t d = gfx2d::UnpackRgb565(*dst);
                const std::uint32_t dRed = (d >> 16) & 0xFF, dGreen = (d >> 8) & 0xFF, dBlue = d & 0xFF;
                if constexpr (kBlend == kAlpha) {
                    red = (red * alpha + dRed * (255 - alpha)) / 255;
                    green = (green * alpha + dGreen * (255 - alpha)) / 255;
                    blue = (blue * alpha + dBlue * (255 - alpha)) / 255;
                } else if constexpr (kBlend == kAdditive) {
                    red = std::min(red + dRed, 255u);
                    green = std::min(green + dGreen, 255u);
                    blue = std::min(blue + dBlue, 255u);
                } else if constexpr (kBlend == kMultiply) {
                    red = red * dRed / 255;
                    green = green * dGreen / 255;
                    blue = blue * dBlue / 255;
                } else {
                    auto mix = [&](std::uint32_t sc, std::uint32_t dc) {
                        return std::min(
                            (sc * Factor(st.srcBlend, sc, alpha) + dc * Factor(st.destBlend, sc, alpha)) /
                                255,
                            255u);
                    };
                    red = mix(red, dRed);
                    green = mix(green, dGreen);
                    blue = mix(blue, dBlue);
                }
            }
            *dst = gfx2d::PackRgb565(red, green, blue);
            if (depthWrite)
                *zrow = z;
            ++written;
        }
    }
    return written;
}

#if defined(__SSE2__)
// Limit of TexelSegment in each lane: NaN goes to -limit.
[[gnu::always_inline]] inline __m128 Limit4(__m128 f, float limit) {
    return _mm_min_ps(_mm_max_ps(f, _mm_set1_ps(-limit)), _mm_set1_ps(limit));
}

// TexelSegment for both axes at once, lane by lane the same arithmetic: the 16.16 texel positions
// [u, v] at pixel `first` of the span in lanes 0 and 1 of `start`, their steps per pixel in `step`.
[[gnu::always_inline]] inline void SegmentSteps(const Sampler& sampler, const Rasterizer::Span& s, int first,
                                                int end, __m128i& start, __m128i& step) {
    // Lanes: u and v at the segment's first pixel, then at its end.
    const __m128 at = _mm_setr_ps(static_cast<float>(first), static_cast<float>(first),
                                  static_cast<float>(end), static_cast<float>(end));
    __m128 w = _mm_add_ps(_mm_set1_ps(s.start[kIw]), _mm_mul_ps(_mm_set1_ps(s.step[kIw]), at));
    __m128 uv = _mm_add_ps(_mm_setr_ps(s.start[kUw], s.start[kVw], s.start[kUw], s.start[kVw]),
                           _mm_mul_ps(_mm_setr_ps(s.step[kUw], s.step[kVw], s.step[kUw], s.step[kVw]), at));
    if (first == 0) { // the span's first pixel takes its start values as they are
        w = _mm_move_ss(w, _mm_set1_ps(s.start[kIw]));
        w = _mm_shuffle_ps(w, w, _MM_SHUFFLE(3, 2, 0, 0));
        uv = _mm_shuffle_ps(_mm_setr_ps(s.start[kUw], s.start[kVw], 0, 0), uv, _MM_SHUFFLE(3, 2, 1, 0));
    }
    const __m128 size = _mm_setr_ps(sampler.fw, sampler.fh, sampler.fw, sampler.fh);
    __m128 a = Limit4(
        _mm_sub_ps(_mm_mul_ps(_mm_mul_ps(uv, _mm_div_ps(_mm_set1_ps(1.0f), w)), size), _mm_set1_ps(0.5f)),
        1 << 20);
    // Wrapping moves both ends by whole textures when the start lies outside the range the span loop
    // takes (see TexelSegment::Axis).
    const __m128 low =
        _mm_setr_ps(sampler.maskX >= 0 ? -8192.0f : 0.0f, sampler.maskY >= 0 ? -8192.0f : 0.0f, 0, 0);
    const __m128 high = _mm_setr_ps(sampler.maskX >= 0 ? 8192.0f : sampler.fw,
                                    sampler.maskY >= 0 ? 8192.0f : sampler.fh, 0, 0);
    __m128 outside = _mm_andnot_ps(_mm_and_ps(_mm_cmpge_ps(a, low), _mm_cmplt_ps(a, high)),
                                   _mm_castsi128_ps(_mm_setr_epi32(-1, -1, 0, 0)));
    if (_mm_movemask_ps(outside) != 0) {
        const __m128 invSize = _mm_setr_ps(sampler.invW, sampler.invH, 0, 0);
        __m128 periods = _mm_cvtepi32_ps(_mm_cvttps_epi32(_mm_mul_ps(a, invSize)));
        periods =
            _mm_sub_ps(periods, _mm_and_ps(_mm_cmpgt_ps(_mm_mul_ps(periods, size), a), _mm_set1_ps(1.0f)));
        __m128 shift = _mm_and_ps(_mm_mul_ps(periods, size), outside);
        shift = _mm_movelh_ps(shift, shift);
        outside = _mm_movelh_ps(outside, outside);
        a = _mm_or_ps(_mm_and_ps(outside, _mm_sub_ps(a, shift)), _mm_andnot_ps(outside, a));
    }
    const __m128 delta = Limit4(_mm_sub_ps(_mm_movehl_ps(a, a), a), 8192.0f);
    start = _mm_cvttps_epi32(_mm_mul_ps(Limit4(a, 16384.0f), _mm_set1_ps(65536.0f)));
    step = _mm_cvttps_epi32(_mm_mul_ps(_mm_mul_ps(delta, _mm_set1_ps(65536.0f)),
                                       _mm_set1_ps(1.0f / static_cast<float>(end - first))));
}

// Lanes [s, s + d, s + 2d, s + 3d] for the 32-bit values s and d in every lane of `first` and `by`.
[[gnu::always_inline]] inline __m128i Ramp(__m128i first, __m128i by) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_add_epi32(
        first, _mm_add_epi32(_mm_unpacklo_epi32(zero, by), _mm_unpacklo_epi64(zero, _mm_add_epi32(by, by))));
}

// Bilinear samples of four pixels at 16.16 texel positions u and v (32-bit lanes), as [b g r a] lanes
// for pixels 0-1 (`low`) and 2-3 (`high`).
template <int kAddress>
[[gnu::always_inline]] inline void SampleQuad(const Sampler& sampler, __m128i u, __m128i v, __m128i& low,
                                              __m128i& high) {
    alignas(16) std::int32_t at[4]; // top-left texel of each pixel in the wrapped copy
    if constexpr (kAddress == kWrapMasked) {
        const __m128i x = _mm_and_si128(_mm_srai_epi32(u, 16), _mm_set1_epi32(sampler.maskX));
        const __m128i y = _mm_and_si128(_mm_srai_epi32(v, 16), _mm_set1_epi32(sampler.maskY));
        // y * pitch with pitch = width + 1 and a power-of-two width
        const __m128i row = _mm_add_epi32(_mm_sll_epi32(y, _mm_cvtsi32_si128(sampler.shiftX)), y);
        _mm_store_si128(reinterpret_cast<__m128i*>(at), _mm_add_epi32(row, x));
    } else {
        alignas(16) std::int32_t us[4], vs[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(us), u);
        _mm_store_si128(reinterpret_cast<__m128i*>(vs), v);
        for (int k = 0; k < 4; ++k) {
            int x = us[k] >> 16, y = vs[k] >> 16, unused;
            Sampler::Wrap(x, unused, sampler.w, sampler.maskX);
            Sampler::Wrap(y, unused, sampler.h, sampler.maskY);
            at[k] = y * sampler.pitch + x;
        }
    }
    // Weights 0..255 twice in each 32-bit lane, so one shuffle spreads a pixel's over a register.
    const __m128i fx = _mm_and_si128(_mm_srli_epi32(u, 8), _mm_set1_epi32(255));
    const __m128i fy = _mm_and_si128(_mm_srli_epi32(v, 8), _mm_set1_epi32(255));
    const __m128i fx2 = _mm_or_si128(fx, _mm_slli_epi32(fx, 16));
    const __m128i fy2 = _mm_or_si128(fy, _mm_slli_epi32(fy, 16));
    const std::uint32_t* texels = sampler.wrapped;
    const std::ptrdiff_t pitch = sampler.pitch;
    const __m128i c0 = Columns<0>(texels + at[0], pitch, fy2);
    const __m128i c1 = Columns<1>(texels + at[1], pitch, fy2);
    const __m128i c2 = Columns<2>(texels + at[2], pitch, fy2);
    const __m128i c3 = Columns<3>(texels + at[3], pitch, fy2);
    low = Lerp16(_mm_unpacklo_epi64(c0, c1), _mm_unpackhi_epi64(c0, c1),
                 _mm_shuffle_epi32(fx2, _MM_SHUFFLE(1, 1, 0, 0)));
    high = Lerp16(_mm_unpacklo_epi64(c2, c3), _mm_unpackhi_epi64(c2, c3),
                  _mm_shuffle_epi32(fx2, _MM_SHUFFLE(3, 3, 2, 2)));
}

// The blended colour of four pixels as 0x??RRGGBB from source [b g r a] lanes and the 5-6-5 pixels
// under them.
template <int kBlend>
[[gnu::always_inline]] inline __m128i BlendQuad(__m128i low, __m128i high, __m128i under) {
    if constexpr (kBlend == kOpaque) {
        return _mm_packus_epi16(low, high);
    } else {
        const __m128i zero = _mm_setzero_si128();
        const __m128i d = Unpack565(under);
        const __m128i dLow = _mm_unpacklo_epi8(d, zero), dHigh = _mm_unpackhi_epi8(d, zero);
        if constexpr (kBlend == kAlpha) {
            auto mix = [](__m128i src, __m128i dest) {
                const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(src, 0xFF), 0xFF);
                return Div255(_mm_add_epi16(_mm_mullo_epi16(src, a),
                                            _mm_mullo_epi16(dest, _mm_sub_epi16(_mm_set1_epi16(255), a))));
            };
            return _mm_packus_epi16(mix(low, dLow), mix(high, dHigh));
        } else if constexpr (kBlend == kAdditive) {
            return _mm_adds_epu8(_mm_packus_epi16(low, high), d);
        } else {
            return _mm_packus_epi16(Div255(_mm_mullo_epi16(low, dLow)), Div255(_mm_mullo_epi16(high, dHigh)));
        }
    }
}

// One span, four pixels at a time: unclamped addressing and the usual blend factors.
template <int kAddress, int kBlend>
[[gnu::always_inline]] inline std::uint32_t FillSpanQuads(const SpanRun& run, const Rasterizer::Span& s) {
    constexpr bool kTextured = kAddress != kUntextured;
    const PixelState& st = run.state;
    const Sampler& sampler = run.sampler;
    const __m128i zero = _mm_setzero_si128(), lanes = _mm_setr_epi32(0, 1, 2, 3);
    std::uint16_t* const dst = run.Row(s.y) + s.x0;
    float* const zrow = run.DepthRow(s.y) + s.x0;
    const int count = s.x1 - s.x0;
    const Compare depthFunc = st.depthTest ? st.depthFunc : Compare::Always;
    const bool depthWrite = st.depthWrite && st.depthTest;
    const Compare alphaFunc = st.alphaTest ? st.alphaFunc : Compare::Always;
    const __m128i alphaRef = _mm_set1_epi32(static_cast<int>(st.alphaRef));
    const __m128 zStart = _mm_set1_ps(s.start[kZ]), dz = _mm_set1_ps(s.step[kZ]);
    const __m128 index = _mm_setr_ps(0, 1, 2, 3);

    // Colour runs in 16.16 fixed point, lane k at pixel k of a quad; a white triangle skips it.
    const bool white = s.white;
    __m128i red = zero, green = zero, blue = zero, dRed = zero, dGreen = zero, dBlue = zero;
    if (!white) {
        auto run = [](float start, float step, __m128i& c, __m128i& d) {
            const auto c0 = static_cast<std::uint32_t>(FixedColour(start)),
                       d0 = static_cast<std::uint32_t>(FixedColour(step));
            c = _mm_setr_epi32(static_cast<int>(c0), static_cast<int>(c0 + d0), static_cast<int>(c0 + 2 * d0),
                               static_cast<int>(c0 + 3 * d0));
            d = _mm_set1_epi32(static_cast<int>(4 * d0));
        };
        run(s.start[kR], s.step[kR], red, dRed);
        run(s.start[kG], s.step[kG], green, dGreen);
        run(s.start[kB], s.step[kB], blue, dBlue);
    }

    // Texel positions are worked out per segment at its first quad with a visible pixel, so hidden
    // segments cost no division.
    bool stepped = false;
    __m128i u = zero, v = zero, du = zero, dv = zero;

    std::uint32_t written = 0;
    // One quad: pixels i .. i + 3 of the span, of which `left` remain; zq and dq are where its depths
    // and pixels are read and written.
    auto quad = [&](int i, int left, float* zq, std::uint16_t* dq) __attribute__((always_inline)) {
        if (i % kSegment == 0)
            stepped = false;
        const __m128 zs =
            _mm_add_ps(zStart, _mm_mul_ps(_mm_add_ps(_mm_set1_ps(static_cast<float>(i)), index), dz));
        __m128i pass = PassMask(depthFunc, zs, _mm_loadu_ps(zq));
        if (left < 4)
            pass = _mm_and_si128(pass, _mm_cmpgt_epi32(_mm_set1_epi32(left), lanes));
        if (_mm_movemask_epi8(pass) != 0) {
            __m128i low, high; // colour as [b g r a] lanes, pixels 0-1 and 2-3
            if constexpr (kTextured) {
                if (!stepped) {
                    const int first = i - i % kSegment;
                    __m128i start, step;
                    SegmentSteps(sampler, s, first, std::min(first + kSegment, count), start, step);
                    const __m128i stepU = _mm_shuffle_epi32(step, 0x00),
                                  stepV = _mm_shuffle_epi32(step, 0x55);
                    u = Ramp(_mm_shuffle_epi32(start, 0x00), stepU);
                    v = Ramp(_mm_shuffle_epi32(start, 0x55), stepV);
                    du = _mm_slli_epi32(stepU, 2);
                    dv = _mm_slli_epi32(stepV, 2);
                    for (int k = first; k < i; k += 4) { // the quads before this one were hidden
                        u = _mm_add_epi32(u, du);
                        v = _mm_add_epi32(v, dv);
                    }
                    stepped = true;
                }
                SampleQuad<kAddress>(sampler, u, v, low, high);
                if (!white) {
                    // texel x (colour + 1) / 256; the alpha lane takes 256 and stays.
                    __m128i cLow, cHigh;
                    ColourLanes(red, green, blue, cLow, cHigh);
                    const __m128i one = _mm_set1_epi16(1);
                    low = _mm_srli_epi16(_mm_mullo_epi16(low, _mm_add_epi16(cLow, one)), 8);
                    high = _mm_srli_epi16(_mm_mullo_epi16(high, _mm_add_epi16(cHigh, one)), 8);
                }
            } else if (white) {
                low = high = _mm_set1_epi16(255);
            } else {
                ColourLanes(red, green, blue, low, high);
            }
            if (alphaFunc != Compare::Always) {
                const __m128i alpha = _mm_packs_epi32(_mm_srli_epi64(low, 48), _mm_srli_epi64(high, 48));
                pass = _mm_and_si128(pass, PassMask(alphaFunc, alpha, alphaRef));
            }
            const int mask = _mm_movemask_ps(_mm_castsi128_ps(pass));
            if (mask == 0xF && kBlend == kOpaque) { // the usual case: nothing under it shows
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dq), Pack565(BlendQuad<kBlend>(low, high, zero)));
                if (depthWrite)
                    _mm_storeu_ps(zq, zs);
            } else if (mask != 0) {
                const __m128i under = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dq));
                const __m128i keep = _mm_packs_epi32(pass, pass);
                const __m128i pixels =
                    _mm_or_si128(_mm_and_si128(keep, Pack565(BlendQuad<kBlend>(low, high, under))),
                                 _mm_andnot_si128(keep, under));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dq), pixels);
                if (depthWrite) {
                    const __m128 m = _mm_castsi128_ps(pass);
                    _mm_storeu_ps(zq, _mm_or_ps(_mm_and_ps(m, zs), _mm_andnot_ps(m, _mm_loadu_ps(zq))));
                }
            }
            written += kLaneCount[mask];
        }
        if (!white) {
            red = _mm_add_epi32(red, dRed);
            green = _mm_add_epi32(green, dGreen);
            blue = _mm_add_epi32(blue, dBlue);
        }
        u = _mm_add_epi32(u, du);
        v = _mm_add_epi32(v, dv);
    };

    int i = 0;
    for (; i + 4 <= count; i += 4)
        quad(i, 4, zrow + i, dst + i);
    if (const int left = count - i; left > 0) {
        // The short last quad reaches past the span: within the row it rewrites what it read there,
        // at the row's end it works on copies.
        if (s.x1 + 3 <= run.roomRight) {
            quad(i, left, zrow + i, dst + i);
        } else {
            float zCopy[4] = {};
            std::uint16_t dstCopy[4] = {};
            std::copy(zrow + i, zrow + count, zCopy);
            std::copy(dst + i, dst + count, dstCopy);
            quad(i, left, zCopy, dstCopy);
            std::copy(zCopy, zCopy + left, zrow + i);
            std::copy(dstCopy, dstCopy + left, dst + i);
        }
    }
    return written;
}

#endif

} // namespace

void Rasterizer::Begin(const PixelState& state, const RenderTarget& target, DepthBuffer& depth,
                       gfx2d::Rect scissor) {
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
#define ZX_BLENDS(A)                                                                                         \
    {                                                                                                        \
        &FillTriangle<A, kOpaque>, &FillTriangle<A, kAlpha>, &FillTriangle<A, kAdditive>,                    \
            &FillTriangle<A, kMultiply>, &FillTriangle<A, kGeneric>                                          \
    }
    static constexpr TriangleFn kTable[4][5] = {ZX_BLENDS(kUntextured), ZX_BLENDS(kWrapMasked),
                                                ZX_BLENDS(kWrapAny), ZX_BLENDS(kClampEdges)};
#undef ZX_BLENDS
    int addressing = kUntextured;
    if (state.texture != nullptr) {
        const int w = state.texture->Width(), h = state.texture->Height();
        const bool powersOfTwo = (w & (w - 1)) == 0 && (h & (h - 1)) == 0;
        addressing = state.clamp ? kClampEdges : (powersOfTwo ? kWrapMasked : kWrapAny);
    }
    m_fill = kTable[addressing][blend];
#if defined(__SSE2__)
    // Four pixels at a time for everything but clamped addressing and the rarely used blend factors.
#define ZX_QUADS(A)                                                                                          \
    {                                                                                                        \
        &FillTriangleQuads<A, kOpaque>, &FillTriangleQuads<A, kAlpha>, &FillTriangleQuads<A, kAdditive>,     \
            &FillTriangleQuads<A, kMultiply>                                                                 \
    }
    static constexpr TriangleFn kQuadTable[3][4] = {ZX_QUADS(kUntextured), ZX_QUADS(kWrapMasked),
                                                    ZX_QUADS(kWrapAny)};
#undef ZX_QUADS
    if (addressing != kClampEdges && blend != kGeneric)
        m_fill = kQuadTable[addressing][blend];
#endif
}

namespace {

SpanRun MakeRun(const PixelState& state, const RenderTarget& target, DepthBuffer& depth,
                const Rasterizer::TextureView& view) {
    return {reinterpret_cast<std::uint8_t*>(target.pixels), target.pitchBytes, depth.Row(0), depth.Width(),
            std::min(target.width, depth.Width()),          Sampler(view),     state};
}

} // namespace

template <int kAddress, int kBlend>
std::uint32_t Rasterizer::FillTriangle(const Rasterizer& r, const Triangle& t) {
    const SpanRun run = MakeRun(r.m_state, r.m_target, *r.m_depth, r.m_view);
    return WalkRows(
        t, r.m_scissor, [&run](const Span& s) __attribute__((always_inline)) {
            return FillSpan<kAddress, kBlend>(run, s);
        });
}

#if defined(__SSE2__)
template <int kAddress, int kBlend>
std::uint32_t Rasterizer::FillTriangleQuads(const Rasterizer& r, const Triangle& t) {
    const SpanRun run = MakeRun(r.m_state, r.m_target, *r.m_depth, r.m_view);
    return WalkRows(
        t, r.m_scissor, [&run](const Span& s) __attribute__((always_inline)) {
            return FillSpanQuads<kAddress, kBlend>(run, s);
        });
}
#endif

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
    Triangle tri;
    tri.yFirst = std::max<std::int64_t>(CeilDiv(Y[t], kSub), m_scissor.top);
    tri.yEnd = std::min<std::int64_t>(CeilDiv(Y[b], kSub), m_scissor.bottom);
    if (tri.yFirst >= tri.yEnd)
        return;
    tri.yMid = std::clamp(CeilDiv(Y[m], kSub), tri.yFirst, tri.yEnd); // first row on the lower edge
    tri.longEdge = Triangle::Edge(X[t], Y[t], X[b], Y[b], tri.yFirst);
    tri.shortEdge = Triangle::Edge(X[t], Y[t], X[m], Y[m], tri.yFirst);
    tri.lowerEdge = Triangle::Edge(X[m], Y[m], X[b], Y[b], tri.yMid);
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
    m_written += m_fill(*this, tri);
}

} // namespace plat::raster
