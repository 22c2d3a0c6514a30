#include "platform/raster/RasterSpans.h"

#include <array>

// The one-pixel and the four-pixel loops must round alike: no multiply-add is fused in one and not
// in the other, whatever the target offers.
#if defined(__clang__)
#pragma clang fp contract(off)
#endif

namespace plat::raster {

#if defined(__SSE2__)

namespace {

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

// Limit of TexelSegment in each lane: NaN goes to -limit.
[[gnu::always_inline]] inline __m128 Limit4(__m128 f, float limit) {
    return _mm_min_ps(_mm_max_ps(f, _mm_set1_ps(-limit)), _mm_set1_ps(limit));
}

// TexelSegment for both axes at once, lane by lane the same arithmetic: the 16.16 texel positions
// [u, v] at pixel `first` of the span in lanes 0 and 1 of `start`, their steps per pixel in `step`.
[[gnu::always_inline]] inline void SegmentSteps(const Sampler& sampler, const Span& s, int first, int end,
                                                __m128i& start, __m128i& step) {
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
    // Top-left texel of each pixel in the wrapped copy, never negative.
    alignas(16) std::uint32_t at[4];
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
            at[k] = static_cast<std::uint32_t>(y * sampler.pitch + x);
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

// The depth test of four pixels: compiled in for the usual tests, else chosen by `f`.
template <int kDepth> [[gnu::always_inline]] inline __m128i DepthPass(Compare f, __m128 z, __m128 stored) {
    if constexpr (kDepth == kDepthLessEqual)
        return _mm_castps_si128(_mm_cmple_ps(z, stored));
    else if constexpr (kDepth == kDepthLess)
        return _mm_castps_si128(_mm_cmplt_ps(z, stored));
    else
        return PassMask(f, z, stored);
}

// FixedColour of four values at once; a value that is not a number converts as it does there.
[[gnu::always_inline]] inline __m128i FixedColour4(__m128 f) {
    const __m128 clamped = _mm_min_ps(_mm_set1_ps(1024.0f), _mm_max_ps(_mm_set1_ps(-1024.0f), f));
    return _mm_cvttps_epi32(_mm_mul_ps(clamped, _mm_set1_ps(65536.0f)));
}

// The colour ramps of a span from its quad at pixel i on: lane k of each channel holds the channel at
// pixel i + k, in the wrapping 32-bit arithmetic of stepping pixel by pixel from the span start, and
// `perQuad` its step from one quad to the next.
[[gnu::always_inline]] inline void ColourRampsAt(const Span& s, int i, __m128i& red, __m128i& green,
                                                 __m128i& blue, __m128i& dRed, __m128i& dGreen,
                                                 __m128i& dBlue) {
    alignas(16) std::uint32_t c0[4], d0[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(c0),
                    FixedColour4(_mm_setr_ps(s.start[kR], s.start[kG], s.start[kB], 0.0f)));
    _mm_store_si128(reinterpret_cast<__m128i*>(d0),
                    FixedColour4(_mm_setr_ps(s.step[kR], s.step[kG], s.step[kB], 0.0f)));
    auto ramp = [i](std::uint32_t c, std::uint32_t d, __m128i& at, __m128i& perQuad) {
        perQuad = _mm_set1_epi32(static_cast<int>(4 * d));
        at = Ramp(_mm_set1_epi32(static_cast<int>(c + static_cast<std::uint32_t>(i) * d)),
                  _mm_set1_epi32(static_cast<int>(d)));
    };
    ramp(c0[0], d0[0], red, dRed);
    ramp(c0[1], d0[1], green, dGreen);
    ramp(c0[2], d0[2], blue, dBlue);
}

// One span, four pixels at a time: unclamped addressing, the usual blend factors and the depth test
// kDepth. Quads start at pixel 0 of the span; those wholly before `from` or from `to` on are hidden and
// passed over. The span's set-up (texture and colour start values, the colour ramp) waits for the first
// quad with a pixel past the depth test, and texel positions are worked out per segment at its first
// such quad, so hidden work costs no division.
template <int kAddress, int kBlend, int kDepth, bool kWhite>
[[gnu::always_inline]] inline std::uint32_t FillSpanQuads(const SpanRun& run, Span& s) {
    constexpr bool kTextured = kAddress != kUntextured;
    // A run drawn out of order writes depths and each pixel's last writer; it has no alpha test.
    constexpr bool kOrdered = kDepth == kDepthOrderedLessEqual || kDepth == kDepthOrderedLess;
    const PixelState& st = run.state;
    const Sampler& sampler = run.sampler;
    const __m128i zero = _mm_setzero_si128(), lanes = _mm_setr_epi32(0, 1, 2, 3);
    std::uint16_t* const dst = run.Row(s.y) + s.x0;
    float* const zrow = run.DepthRow(s.y) + s.x0;
    std::uint32_t* const writers = kOrdered ? run.WriterRow(s.y) + s.x0 : nullptr;
    // Triangle numbers compared as unsigned values, in signed lanes: the top bit flipped.
    const __m128i flip = _mm_set1_epi32(INT32_MIN);
    const __m128i writer = _mm_set1_epi32(static_cast<int>(run.writer));
    const __m128i writerFlipped = _mm_xor_si128(writer, flip);
    const int count = s.x1 - s.x0;
    const Compare depthFunc = st.depthTest ? st.depthFunc : Compare::Always;
    const bool depthWrite = kOrdered || (st.depthWrite && st.depthTest);
    const Compare alphaFunc = !kOrdered && st.alphaTest ? st.alphaFunc : Compare::Always;
    const __m128 zStart = _mm_set1_ps(s.start[kZ]), dz = _mm_set1_ps(s.step[kZ]);
    // Most pre-lit geometry is white: the texture then passes through unchanged, and no colour is kept.
    constexpr bool white = kWhite;

    int i = s.from & ~3;
    // Pixel numbers of the quad's lanes, as floats (exact: spans are far shorter than 2^24).
    __m128 at = _mm_add_ps(_mm_set1_ps(static_cast<float>(i)), _mm_setr_ps(0, 1, 2, 3));
    bool setUp = false, stepped = false;
    // Colour in 16.16 fixed point, lane k at pixel k of the quad (a white triangle has none), and texel
    // positions likewise; with their steps per quad.
    __m128i red = zero, green = zero, blue = zero, dRed = zero, dGreen = zero, dBlue = zero;
    __m128i u = zero, v = zero, du = zero, dv = zero;
    std::uint32_t written = 0;

    // One quad: pixels i .. i + 3 of the span, of which `left` remain; zq and dq are where its depths
    // and pixels are read and written.
    auto quad = [&](int left, float* zq, std::uint16_t* dq, [[maybe_unused]] std::uint32_t* wq)
        __attribute__((always_inline)) {
        if (i % kSegment == 0)
            stepped = false;
        const __m128 zs = _mm_add_ps(zStart, _mm_mul_ps(at, dz));
        const __m128 stored = _mm_loadu_ps(zq);
        __m128i pass;
        if constexpr (kOrdered) {
            // Nearer passes; equal passes when this triangle comes after (less-or-equal) or before
            // (less) the one that wrote the pixel, whose number is read only then (it is rare).
            pass = _mm_castps_si128(_mm_cmplt_ps(zs, stored));
            if (const __m128 equal = _mm_cmpeq_ps(zs, stored); _mm_movemask_ps(equal) != 0) {
                const __m128i by = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(wq)), flip);
                const __m128i turn = kDepth == kDepthOrderedLessEqual ? _mm_cmpgt_epi32(writerFlipped, by)
                                                                      : _mm_cmplt_epi32(writerFlipped, by);
                pass = _mm_or_si128(pass, _mm_and_si128(_mm_castps_si128(equal), turn));
            }
        } else {
            pass = DepthPass<kDepth>(depthFunc, zs, stored);
        }
        if (left < 4)
            pass = _mm_and_si128(pass, _mm_cmpgt_epi32(_mm_set1_epi32(left), lanes));
        if (_mm_movemask_epi8(pass) != 0) {
            if (!setUp) {
                s.SetUp();
                if constexpr (!white)
                    ColourRampsAt(s, i, red, green, blue, dRed, dGreen, dBlue);
                setUp = true;
            }
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
                if constexpr (!white) {
                    // texel x (colour + 1) / 256; the alpha lane takes 256 and stays.
                    __m128i cLow, cHigh;
                    ColourLanes(red, green, blue, cLow, cHigh);
                    const __m128i one = _mm_set1_epi16(1);
                    low = _mm_srli_epi16(_mm_mullo_epi16(low, _mm_add_epi16(cLow, one)), 8);
                    high = _mm_srli_epi16(_mm_mullo_epi16(high, _mm_add_epi16(cHigh, one)), 8);
                }
            } else if constexpr (white) {
                low = high = _mm_set1_epi16(255);
            } else {
                ColourLanes(red, green, blue, low, high);
            }
            if (alphaFunc != Compare::Always) {
                const __m128i alpha = _mm_packs_epi32(_mm_srli_epi64(low, 48), _mm_srli_epi64(high, 48));
                pass = _mm_and_si128(
                    pass, PassMask(alphaFunc, alpha, _mm_set1_epi32(static_cast<int>(st.alphaRef))));
            }
            const int mask = _mm_movemask_ps(_mm_castsi128_ps(pass));
            if (mask == 0xF && kBlend == kOpaque) { // the usual case: nothing under it shows
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dq), Pack565(BlendQuad<kBlend>(low, high, zero)));
                if (depthWrite)
                    _mm_storeu_ps(zq, zs);
                if constexpr (kOrdered)
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(wq), writer);
            } else if (mask != 0) {
                const __m128i under = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(dq));
                const __m128i keep = _mm_packs_epi32(pass, pass);
                const __m128i pixels =
                    _mm_or_si128(_mm_and_si128(keep, Pack565(BlendQuad<kBlend>(low, high, under))),
                                 _mm_andnot_si128(keep, under));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(dq), pixels);
                if (depthWrite) {
                    const __m128 m = _mm_castsi128_ps(pass);
                    _mm_storeu_ps(zq, _mm_or_ps(_mm_and_ps(m, zs), _mm_andnot_ps(m, stored)));
                }
                if constexpr (kOrdered) {
                    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(wq));
                    _mm_storeu_si128(
                        reinterpret_cast<__m128i*>(wq),
                        _mm_or_si128(_mm_and_si128(pass, writer), _mm_andnot_si128(pass, before)));
                }
            }
            written += kLaneCount[mask];
        }
        if (!white && setUp) {
            red = _mm_add_epi32(red, dRed);
            green = _mm_add_epi32(green, dGreen);
            blue = _mm_add_epi32(blue, dBlue);
        }
        u = _mm_add_epi32(u, du);
        v = _mm_add_epi32(v, dv);
        at = _mm_add_ps(at, _mm_set1_ps(4.0f));
    };

    for (; i < s.to && i + 4 <= count; i += 4)
        quad(4, zrow + i, dst + i, kOrdered ? writers + i : nullptr);
    if (const int left = count - i; i < s.to && left > 0) {
        // The short last quad reaches past the span: within the row it rewrites what it read there,
        // at the row's end it works on copies.
        if (s.x1 + 3 <= run.roomRight) {
            quad(left, zrow + i, dst + i, kOrdered ? writers + i : nullptr);
        } else {
            float zCopy[4] = {};
            std::uint16_t dstCopy[4] = {};
            std::uint32_t writersCopy[4] = {};
            std::copy(zrow + i, zrow + count, zCopy);
            std::copy(dst + i, dst + count, dstCopy);
            if constexpr (kOrdered)
                std::copy(writers + i, writers + count, writersCopy);
            quad(left, zCopy, dstCopy, writersCopy);
            std::copy(zCopy, zCopy + left, zrow + i);
            std::copy(dstCopy, dstCopy + left, dst + i);
            if constexpr (kOrdered)
                std::copy(writersCopy, writersCopy + left, writers + i);
        }
    }
    return written;
}

// The quad fills of one addressing mode and blend, one per compiled depth test.
template <int kAddress, int kBlend>
constexpr std::array<TriangleFill, 3> kDepthFills = {
    &FillRows<&FillSpanQuads<kAddress, kBlend, kDepthLessEqual, false>,
              &FillSpanQuads<kAddress, kBlend, kDepthLessEqual, true>>,
    &FillRows<&FillSpanQuads<kAddress, kBlend, kDepthLess, false>,
              &FillSpanQuads<kAddress, kBlend, kDepthLess, true>>,
    &FillRows<&FillSpanQuads<kAddress, kBlend, kDepthAny, false>,
              &FillSpanQuads<kAddress, kBlend, kDepthAny, true>>};

// The quad fills of one addressing mode, by blend and depth test.
template <int kAddress>
constexpr std::array<std::array<TriangleFill, 3>, 4> kBlendFills = {
    kDepthFills<kAddress, kOpaque>, kDepthFills<kAddress, kAlpha>, kDepthFills<kAddress, kAdditive>,
    kDepthFills<kAddress, kMultiply>};

} // namespace

TriangleFill OrderedTriangleFill(int addressing, int depth) {
    if (addressing == kClampEdges || (depth != kDepthOrderedLessEqual && depth != kDepthOrderedLess))
        return nullptr;
#define ZX_ORDERED(A, D) &FillRows<&FillSpanQuads<A, kOpaque, D, false>, &FillSpanQuads<A, kOpaque, D, true>>
    static constexpr std::array<std::array<TriangleFill, 2>, 3> kFills = {{
        {ZX_ORDERED(kUntextured, kDepthOrderedLessEqual), ZX_ORDERED(kUntextured, kDepthOrderedLess)},
        {ZX_ORDERED(kWrapMasked, kDepthOrderedLessEqual), ZX_ORDERED(kWrapMasked, kDepthOrderedLess)},
        {ZX_ORDERED(kWrapAny, kDepthOrderedLessEqual), ZX_ORDERED(kWrapAny, kDepthOrderedLess)},
    }};
#undef ZX_ORDERED
    return kFills[static_cast<std::size_t>(addressing)][depth == kDepthOrderedLessEqual ? 0 : 1];
}

TriangleFill QuadTriangleFill(int addressing, int blend, int depth) {
    if (addressing == kClampEdges || blend == kGeneric)
        return nullptr;
    static constexpr std::array<std::array<std::array<TriangleFill, 3>, 4>, 3> kFills = {
        kBlendFills<kUntextured>, kBlendFills<kWrapMasked>, kBlendFills<kWrapAny>};
    return kFills[static_cast<std::size_t>(addressing)][static_cast<std::size_t>(blend)]
                 [static_cast<std::size_t>(depth)];
}

#else

TriangleFill QuadTriangleFill(int /*addressing*/, int /*blend*/, int /*depth*/) {
    return nullptr;
}

TriangleFill OrderedTriangleFill(int /*addressing*/, int /*depth*/) {
    return nullptr;
}

#endif

} // namespace plat::raster
