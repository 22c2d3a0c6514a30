#include "platform/raster/Rasterizer.h"

#include "platform/raster/PixelFormat.h"
#include "platform/raster/Texture.h"

#include <algorithm>
#include <cmath>

namespace plat::raster {

namespace {

// Positions are snapped to 1/16 pixel, so edges are walked in exact integer arithmetic and two
// triangles sharing an edge agree on every pixel of it.
constexpr int kSubBits = 4;
constexpr std::int64_t kSub = 1 << kSubBits;

enum Blend { kOpaque, kAlpha, kAdditive, kMultiply, kGeneric };

// Attribute order inside a span: depth, 1/w, u/w, v/w, then colour.
enum Attr { kZ, kIw, kUw, kVw, kR, kG, kB, kA, kAttrCount };

bool Passes(Compare f, float a, float b) {
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

bool Passes(Compare f, std::uint32_t a, std::uint32_t b) {
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

// floor() for values well inside the int range.
inline int FloorToInt(float f) {
    int i = static_cast<int>(f);
    return i - (f < static_cast<float>(i) ? 1 : 0);
}

// ceil(num / den) for den > 0.
inline std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {
    std::int64_t q = num / den, r = num % den;
    return q + (r > 0 ? 1 : 0);
}

// Mix of two 0xAARRGGBB values, f/256 of b.
inline std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, std::uint32_t f) {
    const std::uint32_t g = 256 - f;
    std::uint32_t rb = (((a & 0xFF00FF) * g + (b & 0xFF00FF) * f) >> 8) & 0xFF00FF;
    std::uint32_t ag = (((a >> 8) & 0xFF00FF) * g + ((b >> 8) & 0xFF00FF) * f) & 0xFF00FF00;
    return rb | ag;
}

inline std::uint32_t Clamp255(std::int32_t fixed) {
    std::int32_t v = fixed >> 16;
    return static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Bilinear sample with texel centres at half-texel offsets; u and v in texture-size units.
inline std::uint32_t Sample(const Texture& t, float u, float v, bool clamp) {
    constexpr float kLimit = 1 << 20; // keeps the fixed-point conversion inside int
    const int w = t.Width(), h = t.Height();
    float tu = u * static_cast<float>(w) - 0.5f, tv = v * static_cast<float>(h) - 0.5f;
    if (!(tu > -kLimit))
        tu = -kLimit;
    if (!(tu < kLimit))
        tu = kLimit;
    if (!(tv > -kLimit))
        tv = -kLimit;
    if (!(tv < kLimit))
        tv = kLimit;
    const int su = FloorToInt(tu * 256.0f), sv = FloorToInt(tv * 256.0f);
    int x0 = su >> 8, y0 = sv >> 8;
    const std::uint32_t fx = static_cast<std::uint32_t>(su & 255), fy = static_cast<std::uint32_t>(sv & 255);
    int x1, y1;
    if (clamp) {
        x1 = std::clamp(x0 + 1, 0, w - 1);
        y1 = std::clamp(y0 + 1, 0, h - 1);
        x0 = std::clamp(x0, 0, w - 1);
        y0 = std::clamp(y0, 0, h - 1);
    } else {
        if (static_cast<unsigned>(x0) >= static_cast<unsigned>(w))
            x0 = ((x0 % w) + w) % w;
        if (static_cast<unsigned>(y0) >= static_cast<unsigned>(h))
            y0 = ((y0 % h) + h) % h;
        x1 = x0 + 1 == w ? 0 : x0 + 1;
        y1 = y0 + 1 == h ? 0 : y0 + 1;
    }
    const std::uint32_t* row0 = t.Argb() + static_cast<std::ptrdiff_t>(y0) * w;
    const std::uint32_t* row1 = t.Argb() + static_cast<std::ptrdiff_t>(y1) * w;
    return Lerp(Lerp(row0[x0], row0[x1], fx), Lerp(row1[x0], row1[x1], fx), fy);
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

} // namespace

struct Rasterizer::Span {
    int y, x0, x1;           // pixels x0 .. x1 - 1 of row y
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
    static constexpr SpanFn kTable[2][5] = {
        {&FillSpan<false, kOpaque>, &FillSpan<false, kAlpha>, &FillSpan<false, kAdditive>,
         &FillSpan<false, kMultiply>, &FillSpan<false, kGeneric>},
        {&FillSpan<true, kOpaque>, &FillSpan<true, kAlpha>, &FillSpan<true, kAdditive>,
         &FillSpan<true, kMultiply>, &FillSpan<true, kGeneric>},
    };
    span_ = kTable[state.texture != nullptr ? 1 : 0][blend];
}

template <bool kTextured, int kBlend> std::uint32_t Rasterizer::FillSpan(const Rasterizer& r, const Span& s) {
    const PixelState& st = r.state_;
    std::uint16_t* dst = r.target_.Row(s.y) + s.x0;
    float* zrow = r.depth_->Row(s.y) + s.x0;
    float z = s.start[kZ], iw = s.start[kIw], uw = s.start[kUw], vw = s.start[kVw];
    const float dz = s.step[kZ], diw = s.step[kIw], duw = s.step[kUw], dvw = s.step[kVw];
    // Colour runs in 16.16 fixed point; a flat triangle has exactly zero steps.
    auto fixed = [](float f) {
        return static_cast<std::int32_t>(std::clamp(f, -1024.0f, 1024.0f) * 65536.0f);
    };
    std::int32_t cr = fixed(s.start[kR]), cg = fixed(s.start[kG]), cb = fixed(s.start[kB]);
    const std::int32_t dr = fixed(s.step[kR]), dg = fixed(s.step[kG]), db = fixed(s.step[kB]);
    const bool depthTest = st.depthTest, depthWrite = st.depthWrite && st.depthTest;
    const bool alphaTest = st.alphaTest;
    std::uint32_t written = 0;

    for (int n = s.x1 - s.x0; n > 0;
         --n, ++dst, ++zrow, z += dz, iw += diw, uw += duw, vw += dvw, cr += dr, cg += dg, cb += db) {
        if (depthTest && !Passes(st.depthFunc, z, *zrow))
            continue;
        std::uint32_t red = Clamp255(cr), green = Clamp255(cg), blue = Clamp255(cb), alpha = 255;
        if constexpr (kTextured) {
            const float w = 1.0f / iw;
            const std::uint32_t t = Sample(*st.texture, uw * w, vw * w, st.clamp);
            red = (((t >> 16) & 0xFF) * (red + 1)) >> 8;
            green = (((t >> 8) & 0xFF) * (green + 1)) >> 8;
            blue = ((t & 0xFF) * (blue + 1)) >> 8;
            alpha = t >> 24;
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
                auto mix = [&](std::uint32_t s, std::uint32_t dc) {
                    return std::min(
                        (s * Factor(st.srcBlend, s, alpha) + dc * Factor(st.destBlend, s, alpha)) / 255,
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
    return written;
}

void Rasterizer::DrawTriangle(const ScreenVertex& v0, const ScreenVertex& v1, const ScreenVertex& v2) {
    const ScreenVertex* v[3] = {&v0, &v1, &v2};
    std::int64_t X[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        // Callers clip to a guard band, so these stay far inside the int64 range.
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
        out[kR] = s.r, out[kG] = s.g, out[kB] = s.b, out[kA] = s.a;
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

    struct Edge {
        std::int64_t xa, ya, dx, dy;
        // First pixel column at or right of the edge on row y.
        std::int64_t Column(std::int64_t y) const {
            return CeilDiv(xa * dy + (y * kSub - ya) * dx, kSub * dy);
        }
    };
    const Edge longEdge{X[t], Y[t], X[b] - X[t], Y[b] - Y[t]};
    const Edge upper{X[t], Y[t], X[m] - X[t], Y[m] - Y[t]};
    const Edge lower{X[m], Y[m], X[b] - X[m], Y[b] - Y[m]};
    const bool longOnLeft = (X[b] - X[t]) * (Y[m] - Y[t]) - (X[m] - X[t]) * (Y[b] - Y[t]) < 0;

    const std::int64_t yFirst = std::max<std::int64_t>(CeilDiv(Y[t], kSub), scissor_.top);
    const std::int64_t yEnd = std::min<std::int64_t>(CeilDiv(Y[b], kSub), scissor_.bottom);
    Span span;
    for (int k = 0; k < kAttrCount; ++k)
        span.step[k] = static_cast<float>(gx[k]);
    for (std::int64_t y = yFirst; y < yEnd; ++y) {
        const Edge& shortEdge = y * kSub < Y[m] ? upper : lower;
        const std::int64_t xl = (longOnLeft ? longEdge : shortEdge).Column(y);
        const std::int64_t xr = (longOnLeft ? shortEdge : longEdge).Column(y);
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
