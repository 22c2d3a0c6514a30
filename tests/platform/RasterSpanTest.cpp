// The span loops: every span length writes exactly its own visible pixels, and the four-pixel loop
// agrees with the one-pixel loop (clamped addressing takes the latter) wherever the two addressing
// modes read the same texels.

#include "RasterKit.h"
#include "platform/raster/Rasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace rasterkit;
constexpr auto U = [](auto e) { return static_cast<std::uint32_t>(e); };

// Depth a canvas stores for a vertex at view depth z (near 1, far 100).
float StoredDepth(float z) {
    return (Canvas::kFar / (Canvas::kFar - Canvas::kNear)) * (1.0f - Canvas::kNear / z);
}

TEST(RasterSpans, EachSpanWritesExactlyItsVisiblePixels) {
    constexpr int kWidth = 13, kHeight = 3;
    constexpr std::uint32_t kBackground = 0x102030, kBlocker = 0x00FF00;
    static Texture plain = MakeTexture(4, 4, [](int, int) { return 0xFFC08040u; });
    struct Look {
        const char* what;
        const Texture* texture;
        std::uint32_t colour; // vertex colour
        std::uint32_t shown;  // what a drawn pixel shows
    };
    const Look looks[] = {{"white textured", &plain, 0xFFFFFFFF, 0xC08040},
                          {"untextured colour", nullptr, 0xFF4080C0, 0x4080C0}};
    for (const Look& look : looks) {
        // Spans of every length from every start, up to the last pixel of the last row (nothing after
        // it in memory).
        for (int x0 = 0; x0 <= 4; ++x0) {
            for (int len = 1; x0 + len <= kWidth && len <= 9; ++len) {
                SCOPED_TRACE(std::string(look.what) + " from " + std::to_string(x0) + ", " +
                             std::to_string(len) + " wide");
                Canvas c(kWidth, kHeight, kBackground);
                auto blocked = [](int x) { return x % 3 == 1; };
                for (int x = 0; x < kWidth; ++x)
                    if (blocked(x))
                        c.Rect(static_cast<float>(x), 0, static_cast<float>(x + 1), kHeight, 1.5f,
                               0xFF000000 | kBlocker);
                const std::uint64_t before = c.Device().PixelsWritten();
                c.Device().SetTexture(0, look.texture);
                c.Rect(static_cast<float>(x0), 0, static_cast<float>(x0 + len), kHeight, 2.0f, look.colour);

                int visible = 0;
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x) {
                        const bool inside = x >= x0 && x < x0 + len;
                        const std::uint32_t rgb = blocked(x) ? kBlocker : (inside ? look.shown : kBackground);
                        const float depth =
                            blocked(x) ? StoredDepth(1.5f) : (inside ? StoredDepth(2.0f) : 1.0f);
                        ASSERT_EQ(c.Rgb(x, y), UnpackRgb565(PackRgb565(rgb)) & 0xFFFFFF) << x << "," << y;
                        ASSERT_FLOAT_EQ(c.Depth(x, y), depth) << x << "," << y;
                        visible += inside && !blocked(x);
                    }
                EXPECT_EQ(c.Device().PixelsWritten() - before, static_cast<std::uint64_t>(visible));
            }
        }
    }
}

// The four-pixel loops and the one-pixel loops, both passing over what the coarse depths show hidden,
// against the one-pixel loops testing every pixel: every state the four-pixel loops take, over
// overlapping triangles of all sizes, depths and shades (some flat, some in perspective, some reaching
// past the target, flat ones at equal depths). Pictures and depths agree to the bit, and so do the
// counts of pixels written, but for a run drawn nearest first, which writes no more.
TEST(RasterSpans, FourPixelLoopsMatchTheOnePixelLoopsToTheBit) {
    constexpr int kWidth = 53, kHeight = 41;
    static Texture square = MakeTexture(8, 8, [](int x, int y) -> std::uint32_t {
        return static_cast<std::uint32_t>((x * 45 + y * 13) & 0xFF) << 24 |
               (0x30A0F0u ^ (x * 0x1F0507u + y * 0x0611A3u));
    });
    static Texture odd = MakeTexture(5, 3, [](int x, int y) -> std::uint32_t {
        return (x + y) % 2 ? 0x20F0D0B0u : 0xE0305070u + static_cast<std::uint32_t>(x * 0x0A0B0C + y);
    });
    // A low-discrepancy walk: the i-th value of the sequence with step `a`, in [0, 1).
    auto seq = [](int i, double a) { return static_cast<float>(i * a - std::floor(i * a)); };
    std::vector<std::array<ScreenVertex, 3>> triangles;
    for (int i = 0; i < 36; ++i) {
        std::array<ScreenVertex, 3> t{};
        const float size = i % 5 == 0 ? 60.0f : (i % 2 ? 14.0f : 5.0f);
        const float cx = seq(i, 0.7548776662) * kWidth, cy = seq(i, 0.5698402910) * kHeight;
        const bool flat = i % 3 == 0, perspective = i % 4 == 1, white = i % 2 == 0;
        for (int k = 0; k < 3; ++k) {
            const int j = i * 3 + k;
            ScreenVertex& v = t[static_cast<std::size_t>(k)];
            v.x = cx + (seq(j, 0.6180339887) - 0.5f) * size;
            v.y = cy + (seq(j, 0.4142135624) - 0.5f) * size;
            v.z = flat ? 0.25f * static_cast<float>(i % 4) : seq(j, 0.3247179572);
            v.invW = perspective ? 0.2f + seq(j, 0.8793852416) : 1.0f;
            v.uOverW = (seq(j, 0.2207440846) * 3 - 1) * v.invW;
            v.vOverW = (seq(j, 0.1478647912) * 3 - 1) * v.invW;
            v.r = white ? 255.0f : 255.0f * seq(j, 0.5436890127);
            v.g = white ? 255.0f : 300.0f * seq(j, 0.6823278038) - 20.0f;
            v.b = white ? 255.0f : 255.0f * seq(j, 0.4655712319);
            v.a = 255.0f;
        }
        triangles.push_back(t);
    }
    struct Blending {
        bool on;
        BlendFactor src, dest;
    };
    const Blending blends[] = {{false, BlendFactor::One, BlendFactor::Zero},
                               {true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha},
                               {true, BlendFactor::One, BlendFactor::One},
                               {true, BlendFactor::Zero, BlendFactor::SrcColour}};
    struct Depth {
        bool test, write;
        Compare func;
    };
    const Depth depths[] = {{true, true, Compare::LessEqual},  {true, true, Compare::Less},
                            {true, false, Compare::LessEqual}, {true, true, Compare::Greater},
                            {true, true, Compare::Equal},      {true, true, Compare::Always},
                            {false, true, Compare::Less}};
    struct Drawn {
        std::vector<std::uint16_t> pixels;
        std::vector<float> depths;
        std::uint64_t written = 0;
    };
    for (const Texture* texture : {static_cast<const Texture*>(nullptr), static_cast<const Texture*>(&square),
                                   static_cast<const Texture*>(&odd)})
        for (const Blending& blend : blends)
            for (const bool alphaTest : {false, true})
                for (const Depth& depth : depths) {
                    SCOPED_TRACE(testing::Message()
                                 << (texture ? texture->Width() : 0) << " wide texture, blend "
                                 << U(blend.src) << "/" << U(blend.dest) << ", alpha test " << alphaTest
                                 << ", depth " << depth.test << depth.write << U(depth.func));
                    PixelState state;
                    state.texture = texture;
                    state.alphaTest = alphaTest;
                    state.alphaFunc = Compare::Greater;
                    state.alphaRef = 0x60;
                    state.depthTest = depth.test;
                    state.depthWrite = depth.write;
                    state.depthFunc = depth.func;
                    state.blend = blend.on;
                    state.srcBlend = blend.src;
                    state.destBlend = blend.dest;
                    auto draw = [&](const Rasterizer::RunOptions& options) {
                        Drawn d;
                        for (std::uint32_t i = 0; i < kWidth * kHeight; ++i)
                            d.pixels.push_back(static_cast<std::uint16_t>((i * 2654435761u) >> 13));
                        DepthBuffer buffer;
                        buffer.Resize(kWidth, kHeight);
                        buffer.Fill({kWidth / 2, 0, kWidth, kHeight}, 0.5f);
                        Rasterizer r;
                        r.Begin(state, RenderTarget{d.pixels.data(), kWidth * 2, kWidth, kHeight}, buffer,
                                {0, 0, kWidth, kHeight}, options);
                        for (const auto& t : triangles)
                            r.DrawTriangle(t[0], t[1], t[2]);
                        r.End();
                        d.written = r.PixelsWritten();
                        for (int y = 0; y < kHeight; ++y)
                            d.depths.insert(d.depths.end(), buffer.Row(y), buffer.Row(y) + kWidth);
                        return d;
                    };
                    using Loops = Rasterizer::SpanLoops;
                    const Drawn every = draw({Loops::kOnePixel, false, 0.0f});
                    EXPECT_GT(every.written, 0u);
                    // Four pixels at a time and one, both with the coarse depths, and four at a time
                    // nearest first (for the opaque states it takes).
                    for (const Rasterizer::RunOptions& options :
                         {Rasterizer::RunOptions{Loops::kFastest, true, 0.0f},
                          Rasterizer::RunOptions{Loops::kOnePixel, true, 0.0f},
                          Rasterizer::RunOptions{Loops::kFastest, true, 8.0f}}) {
                        const Drawn d = draw(options);
                        if (options.overdraw == 0.0f)
                            EXPECT_EQ(d.written, every.written);
                        else
                            EXPECT_LE(d.written, every.written);
                        EXPECT_EQ(d.pixels, every.pixels);
                        ASSERT_EQ(std::memcmp(d.depths.data(), every.depths.data(), d.depths.size() * 4), 0);
                    }
                }
}

// The coarse depths never claim a tile nearer than its farthest value, and give exactly that after a
// clear and after Refresh; a value that is not a number passes no less test and is passed over.
TEST(RasterDepth, CoarseDepthsBoundEachTileFromAbove) {
    DepthBuffer b;
    b.Resize(20, 12); // 3 x 2 tiles, the last column and row partial
    auto check = [&](const char* when, bool exact) {
        SCOPED_TRACE(when);
        for (int ty = 0; ty < b.TilesDown(); ++ty)
            for (int tx = 0; tx < b.TilesAcross(); ++tx) {
                float far = -std::numeric_limits<float>::infinity();
                for (int y = ty * 8; y < std::min(ty * 8 + 8, b.Height()); ++y)
                    for (int x = tx * 8; x < std::min(tx * 8 + 8, b.Width()); ++x)
                        far = b.At(x, y) > far ? b.At(x, y) : far;
                if (exact)
                    EXPECT_EQ(b.TileFar(tx, ty), far) << tx << "," << ty;
                else
                    EXPECT_GE(b.TileFar(tx, ty), far) << tx << "," << ty;
            }
    };
    check("made", true);
    b.Fill({3, 2, 20, 12}, 0.5f);
    check("partly cleared", true);
    for (int y = 8; y < 12; ++y) {
        std::fill(b.Row(y), b.Row(y) + 8, 0.25f);
        b.NoteWritten(y, 0, 8, true);
    }
    check("written nearer", false);
    EXPECT_EQ(b.TileFar(0, 1), 1.0f);
    EXPECT_EQ(b.PendingTiles(), 1u);
    b.Refresh();
    check("read again", true);
    b.Row(9)[19] = 2.0f;
    b.NoteWritten(9, 19, 20, false);
    b.Row(0)[0] = std::numeric_limits<float>::quiet_NaN();
    b.NoteWritten(0, 0, 1, false);
    check("written farther, and not a number", false);
    EXPECT_EQ(b.TileFar(2, 1), std::numeric_limits<float>::infinity());
    b.Refresh();
    check("read again", true);
    EXPECT_EQ(b.TileFar(2, 1), 2.0f);
    EXPECT_EQ(b.TileFar(0, 1), 0.25f);
}

// Depths equal to the stored ones pass the less-or-equal test and fail the less test, even where the
// coarse depths are exact and rounding leaves no slack (everything at depth 0).
TEST(RasterDepth, EqualDepthsPassLessOrEqualOnly) {
    constexpr int kSize = 24;
    auto corner = [](float x, float y) { return ScreenVertex{x, y, 0.0f, 1.0f, 0, 0, 255, 255, 255, 255}; };
    for (const Compare func : {Compare::LessEqual, Compare::Less})
        for (const float overdraw : {0.0f, 8.0f}) { // in the order given, and nearest first
            std::vector<std::uint16_t> pixels(kSize * kSize, 0);
            DepthBuffer buffer;
            buffer.Resize(kSize, kSize);
            buffer.Fill({0, 0, kSize, kSize}, 0.0f);
            PixelState state;
            state.depthFunc = func;
            Rasterizer r;
            r.Begin(state, RenderTarget{pixels.data(), kSize * 2, kSize, kSize}, buffer, {0, 0, kSize, kSize},
                    {Rasterizer::SpanLoops::kFastest, true, overdraw});
            r.DrawTriangle(corner(-1, -1), corner(60, -1), corner(-1, 60));
            r.End();
            const bool drawn = func == Compare::LessEqual;
            EXPECT_EQ(r.PixelsWritten(), drawn ? kSize * kSize : 0u);
            EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFFFF), drawn ? kSize * kSize : 0);
        }
}

// Drawn nearest first, a later triangle whose nearest corner lies a little nearer is drawn before an
// earlier one it meets at equal depths; each pixel still ends as drawing them in turn leaves it: the
// later triangle's under the less-or-equal test, the earlier one's under the less test.
TEST(RasterDepth, NearestFirstSettlesEqualDepthsInTheOrderGiven) {
    constexpr int kSize = 24;
    const float belowHalf = std::nextafter(0.5f, 0.0f);
    auto corner = [](float x, float y, float z, float red) {
        return ScreenVertex{x, y, z, 1.0f, 0, 0, red, 255.0f - red, 0, 255};
    };
    const ScreenVertex earlier[3] = {corner(-1, -1, 0.5f, 255), corner(60, -1, 0.5f, 255),
                                     corner(-1, 60, 0.5f, 255)};
    const ScreenVertex later[3] = {corner(-1, -1, 0.5f, 0), corner(60, -1, 0.5f, 0),
                                   corner(-1, 60, belowHalf, 0)};
    const std::uint16_t red = 0xF800, green = 0x07E0;
    for (const Compare func : {Compare::LessEqual, Compare::Less}) {
        auto draw = [&](const Rasterizer::RunOptions& options) {
            std::vector<std::uint16_t> pixels(kSize * kSize, 0);
            DepthBuffer buffer;
            buffer.Resize(kSize, kSize);
            PixelState state;
            state.depthFunc = func;
            Rasterizer r;
            r.Begin(state, RenderTarget{pixels.data(), kSize * 2, kSize, kSize}, buffer, {0, 0, kSize, kSize},
                    options);
            r.DrawTriangle(earlier[0], earlier[1], earlier[2]);
            r.DrawTriangle(later[0], later[1], later[2]);
            r.End();
            return pixels;
        };
        const auto inTurn = draw({Rasterizer::SpanLoops::kOnePixel, false, 0.0f});
        EXPECT_EQ(draw({Rasterizer::SpanLoops::kFastest, true, 8.0f}), inTurn) << static_cast<int>(func);
        // Equal depths where the later triangle's corner is far: the earlier one keeps them under less.
        EXPECT_GT(std::count(inTurn.begin(), inTurn.end(), func == Compare::Less ? red : green), 0);
    }
}

// Inside the texture (texel positions from 0.1 to size - 1.1) clamping and wrapping read the same
// texels, so the two loops must give the same picture to the bit, whatever is drawn with it.
TEST(RasterSpans, ClampedAndWrappedAddressingAgreeInsideTheTexture) {
    static Texture square = MakeTexture(8, 4, [](int x, int y) -> std::uint32_t {
        const auto alpha = static_cast<std::uint32_t>((x * 37 + y * 11) & 0xFF);
        return alpha << 24 |
               ((0xE08020u ^ static_cast<std::uint32_t>(x * 0x0F0301 + y * 0x203040)) & 0xFFFFFF);
    });
    static Texture odd = MakeTexture(5, 3, [](int x, int y) -> std::uint32_t {
        return (x + y) % 3 == 0 ? 0x40F0E0D0u
                                : 0xC0102030u + static_cast<std::uint32_t>(x * 0x101010 + y * 7);
    });
    struct Case {
        const char* what;
        const Texture* texture;
        bool gouraud;
        BlendFactor src, dest; // One, Zero: opaque
        bool alphaTest;
        bool depthWrite;
    };
    const BlendFactor one = BlendFactor::One, zero = BlendFactor::Zero;
    const Case cases[] = {
        {"power-of-two, white, opaque", &square, false, one, zero, false, true},
        {"power-of-two, Gouraud, opaque", &square, true, one, zero, false, true},
        {"power-of-two, Gouraud, alpha test", &square, true, one, zero, true, true},
        {"power-of-two, alpha blend", &square, true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, false,
         false},
        {"power-of-two, additive", &square, false, one, one, false, false},
        {"power-of-two, multiply", &square, true, zero, BlendFactor::SrcColour, false, true},
        {"odd size, white, alpha test", &odd, false, one, zero, true, true},
        {"odd size, Gouraud, alpha blend", &odd, true, BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha, true,
         false},
        {"odd size, additive", &odd, true, one, one, false, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        const float w = static_cast<float>(k.texture->Width()), h = static_cast<float>(k.texture->Height());
        const float u0 = 0.6f / w, u1 = (w - 0.6f) / w, v0 = 0.6f / h, v1 = (h - 0.6f) / h;
        auto draw = [&](TextureAddress address) {
            Canvas c(37, 23);
            // A ramp under it to blend with, then a receding quad (perspective) and a near one.
            c.Draw({c.At(0, 0, 50, 0xFF202020), c.At(37, 0, 50, 0xFF8040C0), c.At(37, 23, 50, 0xFFE0E0E0),
                    c.At(0, 23, 50, 0xFF40C080)},
                   {0, 1, 2, 0, 2, 3});
            c.Device().SetTexture(0, k.texture);
            c.Device().SetTextureStageState(0, StageState::Address, U(address));
            c.Device().SetRenderState(RenderState::AlphaTestEnable, k.alphaTest ? 1 : 0);
            c.Device().SetRenderState(RenderState::AlphaFunc, U(Compare::Greater));
            c.Device().SetRenderState(RenderState::AlphaRef, 0x80);
            c.Device().SetRenderState(RenderState::AlphaBlendEnable, k.src == one && k.dest == zero ? 0 : 1);
            c.Device().SetRenderState(RenderState::SrcBlend, U(k.src));
            c.Device().SetRenderState(RenderState::DestBlend, U(k.dest));
            c.Device().SetRenderState(RenderState::ZWriteEnable, k.depthWrite ? 1 : 0);
            const std::uint32_t a = k.gouraud ? 0xFFFF8040 : 0xFFFFFFFF, b = k.gouraud ? 0xFF40FF80 : a,
                                d = k.gouraud ? 0xFF8040FF : a;
            c.Draw({{-3, -1, 1.5f, a, u0, v0},
                    {3, -1, 1.5f, b, u1, v0},
                    {3, -1, 12, d, u1, v1},
                    {-3, -1, 12, a, u0, v1}},
                   {0, 2, 1, 0, 3, 2});
            c.Draw({c.At(3.3f, 2.2f, 3, a, u0, v0), c.At(30.6f, 4.1f, 3, b, u1, v0),
                    c.At(20.2f, 14.7f, 3, d, u1, v1)},
                   {0, 1, 2});
            return c.Image();
        };
        const testsupport::RgbImage wrapped = draw(TextureAddress::Wrap),
                                    clamped = draw(TextureAddress::Clamp);
        ASSERT_EQ(wrapped.rgb.size(), clamped.rgb.size());
        int differ = 0;
        for (std::size_t i = 0; i < wrapped.rgb.size(); ++i)
            differ += wrapped.rgb[i] != clamped.rgb[i];
        EXPECT_EQ(differ, 0);
    }
}

} // namespace

namespace {

// Texture coordinates whole textures away sample the same texels: the span loops move them near the
// texture first. Float precision so far out may move a weight by one step, so the pictures may differ
// by one 5-6-5 step at most (8 or 9 once widened to 8 bits).
TEST(RasterSpans, CoordinatesWholeTexturesAwayDrawTheSamePicture) {
    static Texture square =
        MakeTexture(8, 8, [](int x, int y) { return (x + y) & 1 ? 0xFFF0F0F0u : 0xFF2040A0u; });
    static Texture odd =
        MakeTexture(5, 3, [](int x, int y) { return (x + 2 * y) % 3 ? 0xFFE02020u : 0xFF20E0E0u; });
    struct Case {
        const char* what;
        const Texture* texture;
        float du, dv; // whole textures added to every coordinate
    };
    const Case cases[] = {{"power of two, far right", &square, 1000, 0},
                          {"power of two, far up and left", &square, -3000, -517},
                          {"odd size, far right and down", &odd, 700, 1200},
                          {"odd size, far left", &odd, -2500, 3}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        auto draw = [&](float du, float dv) {
            Canvas c(40, 24);
            c.Device().SetTexture(0, k.texture);
            c.Draw({{-3, -1, 1.5f, 0xFFFFFFFF, 0.2f + du, 0.3f + dv},
                    {3, -1, 1.5f, 0xFFFFFFFF, 2.7f + du, 0.3f + dv},
                    {3, -1, 12, 0xFFFFFFFF, 2.7f + du, 3.1f + dv},
                    {-3, -1, 12, 0xFFFFFFFF, 0.2f + du, 3.1f + dv}},
                   {0, 2, 1, 0, 3, 2});
            return c.Image();
        };
        const testsupport::RgbImage near = draw(0, 0), far = draw(k.du, k.dv);
        int worst = 0, drawn = 0;
        for (std::size_t i = 0; i < near.rgb.size(); ++i) {
            worst = std::max(worst, std::abs(near.rgb[i] - far.rgb[i]));
            drawn += near.rgb[i] != 0;
        }
        EXPECT_LE(worst, 9);
        EXPECT_GT(drawn, 300);
    }
}

TEST(RasterTextures, WrappedCopyRepeatsTheFirstColumnAndRow) {
    const int sizes[][2] = {{1, 1}, {5, 3}, {4, 4}, {1, 6}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        Texture t = MakeTexture(
            w, h, [](int x, int y) { return static_cast<std::uint32_t>(0xFF000000 | x << 8 | y); });
        ASSERT_EQ(t.WrappedPitch(), w + 1);
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x)
                ASSERT_EQ(t.WrappedArgb()[y * (w + 1) + x], t.Argb()[(y % h) * w + x % w]) << x << "," << y;
        // A later write reaches the copy too.
        t.SetArgb(std::vector<std::uint32_t>(static_cast<std::size_t>(w * h), 0x12345678u));
        EXPECT_EQ(t.WrappedArgb()[h * (w + 1) + w], 0x12345678u);
    }
}

} // namespace
