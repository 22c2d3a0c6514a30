#include "platform/raster/Rasterizer.h"

#include "platform/raster/PixelFormat.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::raster {

namespace {

// Positions are snapped to 1/16 pixel, so edges are walked in exact integer arithmetic and two
// triangles sharing an edge agree on every pixel of it.
constexpr int kSubBits = 4;
constexpr std::int64_t kSub = 1 << kSubBits;

enum Blend { kOpaque, kAlpha, kAdditive, kMultiply, kGeneric };
// How a span reads its texture: none, wrapping a power-of-two size by masks, wrapping any size, clamped.
enum Addressing { kUntextured, kWrapMasked, kWrapAny, kClampEdges };

// Attribute order inside a span: depth, 1/w, u/w, v/w, then colour.
// Vertex alpha is not interpolated: a pixel's alpha comes from the texture alone.
enum Attr { kZ, kIw, kUw, kVw, kR, kG, kB, kAttrCount };

[[gnu::always_inline]] inline bool Passes(Compare f, float a, float b) {
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

[[gnu::always_inline]] inline bool Passes(Compare f, std::uint32_t a, std::uint32_t b) {
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

} // namespace

struct Rasterizer::Span {
    int y, x0, x1;           // pixels x0 .. x1 - 1 of row y
    bool white;              // every corner of the triangle is white
    float start[kAttrCount]; // attributes at pixel (x0, y)
    float step[kAttrCount];  // change per pixel to the right
};

void Rasterizer::Begin(const PixelState& state, const RenderTarget& target, DepthBuffer& depth,
                       PixelRect scissor) {
    state_ = state;
    target_ = target;
    depth_ = &depth;
    scissor_.left = std::max(scissor.left, 0);
    scissor_.top = std::max(scissor.top, 0);
    scissor_.right = std::min({scissor.right, target.width, depth.Width()});
    scissor_.bottom = std::min({scissor.bottom, target.height, depth.Height()});
    written_ = 0;
    view_ = TextureView{};
    if (state.texture != nullptr) {
        const Texture& t = *state.texture;
        view_.texels = t.Argb();
        view_.w = t.Width();
        view_.h = t.Height();
        view_.fw = static_cast<float>(view_.w);
        view_.fh = static_cast<float>(view_.h);
        view_.invW = 1.0f / view_.fw;
        view_.invH = 1.0f / view_.fh;
        view_.maskX = (view_.w & (view_.w - 1)) == 0 ? view_.w - 1 : -1;
        view_.maskY = (view_.h & (view_.h - 1)) == 0 ? view_.h - 1 : -1;
        view_.clamp = state.clamp;
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
        &FillSpan<A, kOpaque>, &FillSpan<A, kAlpha>, &FillSpan<A, kAdditive>, &FillSpan<A, kMultiply>,       \
            &FillSpan<A, kGeneric>                                                                           \
    }
    static constexpr SpanFn kTable[4][5] = {ZX_BLENDS(kUntextured), ZX_BLENDS(kWrapMasked),
                                            ZX_BLENDS(kWrapAny), ZX_BLENDS(kClampEdges)};
#undef ZX_BLENDS
    int addressing = kUntextured;
    if (state.texture != nullptr) {
        const int w = state.texture->Width(), h = state.texture->Height();
        const bool powersOfTwo = (w & (w - 1)) == 0 && (h & (h - 1)) == 0;
        addressing = state.clamp ? kClampEdges : (powersOfTwo ? kWrapMasked : kWrapAny);
    }
    span_ = kTable[addressing][blend];
}

template <int kAddress, int kBlend> std::uint32_t Rasterizer::FillSpan(const Rasterizer& r, const Span& s) {
    // Texture coordinates are divided by w exactly every kSegment pixels and stepped linearly between:
    // one division per segment instead of one per pixel, with an error far below a texel.
    constexpr int kSegment = 16;
    const PixelState& st = r.state_;
    const Sampler sampler(r.view_);
    std::uint16_t* dst = r.target_.Row(s.y) + s.x0;
    float* zrow = r.depth_->Row(s.y) + s.x0;
    float z = s.start[kZ];
    const float dz = s.step[kZ];
    // Colour runs in 16.16 fixed point; a flat triangle has exactly zero steps.
    auto fixed = [](float f) {
        return static_cast<std::int32_t>(std::clamp(f, -1024.0f, 1024.0f) * 65536.0f);
    };
    constexpr std::int32_t kWhite = 255 << 16;
    std::int32_t cr = kWhite, cg = kWhite, cb = kWhite, dr = 0, dg = 0, db = 0;
    if (!s.white) {
        cr = fixed(s.start[kR]), cg = fixed(s.start[kG]), cb = fixed(s.start[kB]);
        dr = fixed(s.step[kR]), dg = fixed(s.step[kG]), db = fixed(s.step[kB]);
    }
    const bool depthTest = st.depthTest, depthWrite = st.depthWrite && st.depthTest;
    const bool alphaTest = st.alphaTest;
    const bool lessEqual =
        depthTest && st.depthFunc == Compare::LessEqual; // the usual test, kept off the switch
    // Most pre-lit geometry is white: the texture then passes through unchanged.
    const bool white = s.white;
    const bool plain = white && lessEqual && !alphaTest;
    float u0 = 0, v0 = 0;
    if constexpr (kAddress != kUntextured) {
        const float w = 1.0f / s.start[kIw];
        u0 = s.start[kUw] * w;
        v0 = s.start[kVw] * w;
    }
    std::uint32_t written = 0;
    const int count = s.x1 - s.x0;

    for (int done = 0; done < count;) {
        const int len = std::min(kSegment, count - done);
        done += len;
        std::int32_t tu = 0, tv = 0, dtu = 0, dtv = 0;
        if constexpr (kAddress != kUntextured) {
            const float end = static_cast<float>(done);
            const float w = 1.0f / (s.start[kIw] + s.step[kIw] * end);
            const float u1 = (s.start[kUw] + s.step[kUw] * end) * w,
                        v1 = (s.start[kVw] + s.step[kVw] * end) * w;
            const TexelSegment seg(sampler, u0, v0, u1, v1,
                                   len == kSegment ? 1.0f / kSegment : 1.0f / static_cast<float>(len));
            tu = seg.u, tv = seg.v, dtu = seg.du, dtv = seg.dv;
            u0 = u1;
            v0 = v1;
        }
        if constexpr (kAddress != kUntextured && kBlend == kOpaque) {
            // The common case on its own: a white, opaque, depth-tested texture without alpha test.
            if (plain) {
                for (int n = len; n > 0; --n, ++dst, ++zrow, z += dz, tu += dtu, tv += dtv) {
                    if (!(z <= *zrow))
                        continue;
                    const std::uint32_t t = sampler.Fetch<kAddress>(tu, tv);
                    *dst = static_cast<std::uint16_t>(((t >> 8) & 0xF800) | ((t >> 5) & 0x07E0) |
                                                      ((t >> 3) & 0x1F));
                    if (depthWrite)
                        *zrow = z;
                    ++written;
                }
                continue;
            }
        }
        for (int n = len; n > 0;
             --n, ++dst, ++zrow, z += dz, tu += dtu, tv += dtv, cr += dr, cg += dg, cb += db) {
            if (lessEqual) {
                if (!(z <= *zrow))
                    continue;
            } else if (depthTest && !Passes(st.depthFunc, z, *zrow)) {
                continue;
            }
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
            if (alphaTest && !Passes(st.alphaFunc, alpha, st.alphaRef))
                continue;
            if constexpr (kBlend != kOpaque) {
                const std::uint32_t d = UnpackRgb565(*dst);
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
            *dst = static_cast<std::uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
            if (depthWrite)
                *zrow = z;
            ++written;
        }
    }
    return written;
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

    // Attribute planes from the snapped positions: A(x, y) = A0 + gx (x - x0) + gy (y - y0).
    const double fx0 = static_cast<double>(X[0]) / kSub, fy0 = static_cast<double>(Y[0]) / kSub;
    const double ex1 = static_cast<double>(X[1] - X[0]) / kSub, ey1 = static_cast<double>(Y[1] - Y[0]) / kSub;
    const double ex2 = static_cast<double>(X[2] - X[0]) / kSub, ey2 = static_cast<double>(Y[2] - Y[0]) / kSub;
    const double invDet = 1.0 / (ex1 * ey2 - ex2 * ey1);
    double a0[kAttrCount], gx[kAttrCount], gy[kAttrCount];
    auto attrs = [](const ScreenVertex& s, double out[kAttrCount]) {
        out[kZ] = s.z, out[kIw] = s.invW, out[kUw] = s.uOverW, out[kVw] = s.vOverW;
        out[kR] = s.r, out[kG] = s.g, out[kB] = s.b;
    };
    double a1[kAttrCount], a2[kAttrCount];
    attrs(v0, a0);
    attrs(v1, a1);
    attrs(v2, a2);
    for (int k = 0; k < kAttrCount; ++k) {
        const double d1 = a1[k] - a0[k], d2 = a2[k] - a0[k];
        gx[k] = (d1 * ey2 - d2 * ey1) * invDet;
        gy[k] = (d2 * ex1 - d1 * ex2) * invDet;
    }

    // Sort corners top to bottom (left to right on equal rows) so that a shared edge is always
    // walked from the same end.
    int order[3] = {0, 1, 2};
    std::sort(order, order + 3, [&](int a, int b) { return Y[a] != Y[b] ? Y[a] < Y[b] : X[a] < X[b]; });
    const int t = order[0], m = order[1], b = order[2];

    // An edge walked row by row: the first pixel column at or right of it, kept exact with a
    // remainder so no row needs a division.
    struct EdgeWalker {
        std::int64_t column = 0, error = 0, den = 1, stepQ = 0, stepR = 0;

        EdgeWalker(std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb, std::int64_t y) {
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
        void Next() {
            column += stepQ;
            error -= stepR;
            if (error < 0) {
                error += den;
                ++column;
            }
        }
    };

    const bool longOnLeft = (X[b] - X[t]) * (Y[m] - Y[t]) - (X[m] - X[t]) * (Y[b] - Y[t]) < 0;
    const std::int64_t yFirst = std::max<std::int64_t>(CeilDiv(Y[t], kSub), scissor_.top);
    const std::int64_t yEnd = std::min<std::int64_t>(CeilDiv(Y[b], kSub), scissor_.bottom);
    if (yFirst >= yEnd)
        return;
    const std::int64_t yMid = std::clamp(CeilDiv(Y[m], kSub), yFirst, yEnd); // first row on the lower edge
    EdgeWalker longEdge(X[t], Y[t], X[b], Y[b], yFirst);
    EdgeWalker shortEdge(X[t], Y[t], X[m], Y[m], yFirst);

    Span span;
    span.white = true;
    for (const ScreenVertex* c : v)
        span.white = span.white && c->r == 255.0f && c->g == 255.0f && c->b == 255.0f;
    for (int k = 0; k < kAttrCount; ++k)
        span.step[k] = static_cast<float>(gx[k]);
    for (std::int64_t y = yFirst; y < yEnd; ++y, longEdge.Next(), shortEdge.Next()) {
        if (y == yMid)
            shortEdge = EdgeWalker(X[m], Y[m], X[b], Y[b], y);
        const std::int64_t xl = longOnLeft ? longEdge.column : shortEdge.column;
        const std::int64_t xr = longOnLeft ? shortEdge.column : longEdge.column;
        const std::int64_t x0 = std::max<std::int64_t>(xl, scissor_.left);
        const std::int64_t x1 = std::min<std::int64_t>(xr, scissor_.right);
        if (x0 >= x1)
            continue;
        span.y = static_cast<int>(y);
        span.x0 = static_cast<int>(x0);
        span.x1 = static_cast<int>(x1);
        const double dx = static_cast<double>(x0) - fx0, dy = static_cast<double>(y) - fy0;
        for (int k = 0; k < kAttrCount; ++k)
            span.start[k] = static_cast<float>(a0[k] + gx[k] * dx + gy[k] * dy);
        written_ += span_(*this, span);
    }
}

} // namespace plat::raster
