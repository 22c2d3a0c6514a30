#include "platform/raster/RasterSpans.h"

#include "platform/gfx2d/PixelFormat.h"

// The one-pixel and the four-pixel loops must round alike: no multiply-add is fused in one and not
// in the other, whatever the target offers.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace plat::raster {

namespace {

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

inline std::uint32_t Clamp255(std::int32_t fixed) {
    std::int32_t v = fixed >> 16;
    return static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

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

// A colour channel at pixel i of a span whose channel starts at c0 and steps by d: what adding d
// pixel by pixel gives, in the same wrapping 32-bit arithmetic.
inline std::int32_t ColourAt(std::int32_t c0, std::int32_t d, int i) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c0) +
                                     static_cast<std::uint32_t>(i) * static_cast<std::uint32_t>(d));
}

// One span, a pixel at a time: any state. The pixels before `from` and from `to` on are hidden; the
// loop starts at the texture segment holding `from`, as it would have reached it from the span start.
template <int kAddress, int kBlend>
[[gnu::always_inline]] inline std::uint32_t FillSpan(const SpanRun& run, Span& s) {
    const PixelState& st = run.state;
    const Sampler& sampler = run.sampler;
    if (kAddress != kUntextured || !s.white)
        s.SetUp();
    const int first = s.from - s.from % kSegment;
    std::uint16_t* dst = run.Row(s.y) + s.x0 + first;
    float* zrow = run.DepthRow(s.y) + s.x0 + first;
    // Colour runs in 16.16 fixed point; a flat triangle has exactly zero steps.
    constexpr std::int32_t kWhite = 255 << 16;
    std::int32_t cr = kWhite, cg = kWhite, cb = kWhite, dr = 0, dg = 0, db = 0;
    if (!s.white) {
        dr = FixedColour(s.step[kR]), dg = FixedColour(s.step[kG]), db = FixedColour(s.step[kB]);
        cr = ColourAt(FixedColour(s.start[kR]), dr, first),
        cg = ColourAt(FixedColour(s.start[kG]), dg, first),
        cb = ColourAt(FixedColour(s.start[kB]), db, first);
    }
    const bool depthTest = st.depthTest, depthWrite = st.depthWrite && st.depthTest;
    // Most pre-lit geometry is white: the texture then passes through unchanged.
    const bool white = s.white;
    float u0 = 0, v0 = 0;
    if constexpr (kAddress != kUntextured)
        TexelAt(s, first, u0, v0);
    std::uint32_t written = 0;
    const int count = s.x1 - s.x0;

    for (int i = first; i < s.to;) {
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
        for (const int end = std::min(i + len, s.to); i < end;
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

} // namespace

TriangleFill ScalarTriangleFill(int addressing, int blend) {
#define ZX_BLENDS(A)                                                                                         \
    {                                                                                                        \
        &FillRows<&FillSpan<A, kOpaque>>, &FillRows<&FillSpan<A, kAlpha>>,                                   \
            &FillRows<&FillSpan<A, kAdditive>>, &FillRows<&FillSpan<A, kMultiply>>,                          \
            &FillRows<&FillSpan<A, kGeneric>>                                                                \
    }
    static constexpr TriangleFill kTable[4][5] = {ZX_BLENDS(kUntextured), ZX_BLENDS(kWrapMasked),
                                                  ZX_BLENDS(kWrapAny), ZX_BLENDS(kClampEdges)};
#undef ZX_BLENDS
    return kTable[addressing][blend];
}

} // namespace plat::raster
