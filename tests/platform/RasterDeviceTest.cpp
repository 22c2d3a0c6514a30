// Exact properties of the software device: coverage rules, tests, clipping, refusals, clears.

#include "RasterKit.h"
#include "platform/gfx2d/Surface.h"
#include "platform/raster/SurfaceTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using namespace rasterkit;
constexpr auto U = [](auto e) { return static_cast<std::uint32_t>(e); };

int CountNot(const Canvas& c, std::uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            n += c.Rgb(x, y) != rgb ? 1 : 0;
    return n;
}

void Additive(Canvas& c) {
    c.Device().SetRenderState(RenderState::AlphaBlendEnable, 1);
    c.Device().SetRenderState(RenderState::SrcBlend, U(BlendFactor::One));
    c.Device().SetRenderState(RenderState::DestBlend, U(BlendFactor::One));
    c.Device().SetRenderState(RenderState::ZEnable, 0);
}

TEST(RasterCoverage, SquareOnPixelCentresCoversTopLeftInclusiveBottomRightExclusive) {
    Canvas c(12, 12);
    c.Rect(2, 3, 6, 8, 2, 0xFFFFFFFF);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
            EXPECT_EQ(c.Rgb(x, y) == 0xFFFFFF, inside) << x << "," << y;
        }
}

TEST(RasterCoverage, TrianglesSharingEdgesTouchNoPixelTwice) {
    // A fan of thin triangles around an off-centre point plus a quad split on a steep diagonal, drawn
    // additively: any pixel drawn twice would come out brighter than one pass.
    Canvas c(40, 40);
    Additive(c);
    const float cx = 19.3f, cy = 21.7f;
    std::vector<V> vs{c.At(cx, cy, 3, 0xFF404040)};
    const int spokes = 13;
    for (int i = 0; i < spokes; ++i) {
        const float a = 6.2831853f * static_cast<float>(i) / spokes;
        vs.push_back(c.At(cx + 17.1f * std::cos(a), cy + 16.3f * std::sin(a), 3, 0xFF404040));
    }
    std::vector<std::uint16_t> idx;
    for (int i = 0; i < spokes; ++i)
        idx.insert(idx.end(),
                   {0, static_cast<std::uint16_t>(1 + i), static_cast<std::uint16_t>(1 + (i + 1) % spokes)});
    c.Draw(vs, idx);
    int covered = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t p = c.Rgb(x, y);
            ASSERT_TRUE(p == 0 || p == 0x424142) << x << "," << y << " = " << std::hex << p;
            covered += p != 0;
        }
    EXPECT_GT(covered, 600); // the fan really drew (about pi x 16.7^2 pixels)
}

TEST(RasterCoverage, HugeTriangleFarBeyondTheScreenFillsEveryPixelOnce) {
    Canvas c(16, 10);
    Additive(c);
    c.Draw(
        {c.At(-5000, -3000, 2, 0xFF404040), c.At(9000, -2000, 2, 0xFF404040), c.At(10, 7000, 2, 0xFF404040)},
        {0, 1, 2});
    EXPECT_EQ(CountNot(c, 0x424142), 0);
}

TEST(RasterCoverage, NonFiniteVertexDrawsNothingOfItsTriangle) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Bad {
        const char* what;
        int field; // 0 x, 1 y, 2 z, 3 u
        float value;
    };
    const Bad cases[] = {
        {"NaN x", 0, nan}, {"infinite y", 1, inf}, {"-infinite z", 2, -inf}, {"NaN u", 3, nan}};
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.what);
        Canvas c(20, 10);
        std::vector<V> vs{c.At(1, 1, 2),  c.At(9, 1, 2),  c.At(1, 9, 2),
                          c.At(11, 1, 2), c.At(19, 1, 2), c.At(11, 9, 2)};
        float* fields[] = {&vs[1].x, &vs[1].y, &vs[1].z, &vs[1].u};
        *fields[b.field] = b.value;
        c.Draw(vs, {0, 1, 2, 3, 4, 5});
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(c.Rgb(x, y), 0u) << x << "," << y;
        EXPECT_EQ(c.Rgb(12, 2), 0xFFFFFFu); // the good triangle of the same draw
    }
}

TEST(RasterTests, AlphaTestAndDepthFunctionsAtTheirBoundaries) {
    struct Case {
        const char* what;
        std::uint32_t alpha;
        bool alphaTest;
        Compare zfunc;
        float depthBefore; // depth already in the buffer
        bool drawn;
    };
    // Drawn at view depth 2: depth (2 - 1) / 2 x 100 / 99 of the [near, far] range.
    const float z2 = (100.0f / 99.0f) * (1.0f - 1.0f / 2.0f);
    const Case cases[] = {
        {"alpha 0x80 fails GREATER 0x80", 0x80, true, Compare::LessEqual, 1.0f, false},
        {"alpha 0x81 passes GREATER 0x80", 0x81, true, Compare::LessEqual, 1.0f, true},
        {"alpha 0 drawn without the test", 0x00, false, Compare::LessEqual, 1.0f, true},
        {"nearer than stored passes LESSEQUAL", 0xFF, false, Compare::LessEqual, 0.9f, true},
        {"farther than stored fails LESSEQUAL", 0xFF, false, Compare::LessEqual, 0.1f, false},
        {"ALWAYS ignores the stored depth", 0xFF, false, Compare::Always, 0.0f, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Canvas c(8, 8);
        c.Device().Clear(kClearDepth, 0, k.depthBefore);
        Texture t = MakeTexture(1, 1, [&](int, int) { return k.alpha << 24 | 0xFFFFFF; });
        c.Device().SetTexture(0, &t);
        c.Device().SetRenderState(RenderState::AlphaTestEnable, k.alphaTest ? 1 : 0);
        c.Device().SetRenderState(RenderState::AlphaFunc, U(Compare::Greater));
        c.Device().SetRenderState(RenderState::AlphaRef, 0x80);
        c.Device().SetRenderState(RenderState::ZFunc, U(k.zfunc));
        c.Rect(0, 0, 8, 8, 2, 0xFFFFFFFF);
        EXPECT_EQ(c.Rgb(4, 4) == 0xFFFFFF, k.drawn);
        EXPECT_FLOAT_EQ(c.Depth(4, 4), k.drawn ? z2 : k.depthBefore);
    }
}

TEST(RasterTests, DepthOffNeitherTestsNorWrites) {
    Canvas c(8, 8);
    c.Device().Clear(kClearDepth, 0, 0.0f);
    c.Device().SetRenderState(RenderState::ZEnable, 0);
    c.Rect(0, 0, 8, 8, 2, 0xFF00FF00);
    EXPECT_EQ(c.Rgb(3, 3), 0x00FF00u);
    EXPECT_EQ(c.Depth(3, 3), 0.0f);
}

TEST(RasterClear, StaysInsideTheViewportAndDrawsAreScissoredToIt) {
    Canvas c(20, 16, 0x000000);
    c.Device().SetViewport({4, 5, 10, 6, 0.0f, 1.0f});
    c.Device().Clear(kClearTarget | kClearDepth, 0xFF8040, 0.5f);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 4 && x < 14 && y >= 5 && y < 11;
            ASSERT_EQ(c.Rgb(x, y), inside ? 0xFF8242u : 0u) << x << "," << y;
            ASSERT_EQ(c.Depth(x, y), inside ? 0.5f : 1.0f) << x << "," << y;
        }
    // A screen-sized triangle pair in view space fills only the viewport.
    c.Device().Clear(kClearTarget | kClearDepth, 0, 1.0f);
    c.Draw({{-50, 50, 2, 0xFFFFFFFF, 0, 0},
            {50, 50, 2, 0xFFFFFFFF, 0, 0},
            {50, -50, 2, 0xFFFFFFFF, 0, 0},
            {-50, -50, 2, 0xFFFFFFFF, 0, 0}},
           {0, 1, 2, 0, 2, 3});
    // Viewports reaching outside the target are refused; the last good one stays.
    for (const Viewport& bad :
         {Viewport{-1, 0, 10, 10, 0, 1}, Viewport{15, 0, 6, 10, 0, 1}, Viewport{0, 0, 0, 10, 0, 1},
          Viewport{0, 10, 20, 7, 0, 1}, Viewport{0, 0, 20, 16, 0.5f, 0.2f}}) {
        c.Device().SetViewport(bad);
        EXPECT_EQ(c.Device().State().ViewportRect(), (Viewport{4, 5, 10, 6, 0.0f, 1.0f}));
    }
    c.Device().SetViewport({0, 0, 20, 16, 0.0f, 1.0f});
    EXPECT_EQ(CountNot(c, 0), 60);
    EXPECT_EQ(c.Rgb(4, 5), 0xFFFFFFu);
    EXPECT_EQ(c.Rgb(13, 10), 0xFFFFFFu);
}

TEST(RasterDraw, BadRangesAreRefusedAndBadIndicesSkipOnlyTheirTriangle) {
    Canvas c(20, 10);
    std::vector<std::vector<float>> raw;
    for (const V& v :
         {c.At(1, 1, 2), c.At(9, 1, 2), c.At(1, 9, 2), c.At(11, 1, 2), c.At(19, 1, 2), c.At(11, 9, 2)})
        raw.push_back({v.x, v.y, v.z, Word(v.colour), 0, 0});
    VertexBuffer vb = MakeBuffer(kLayoutPrelit, raw);
    const std::uint16_t idx[6] = {0, 1, 2, 0, 1, 2};
    c.Device().DrawIndexedTriangles(vb, 4, 3, idx, 6);  // 4 + 3 > 6 vertices
    c.Device().DrawIndexedTriangles(vb, -1, 3, idx, 3); // negative start
    c.Device().DrawIndexedTriangles(vb, 0, 3, nullptr, 3);
    EXPECT_EQ(CountNot(c, 0), 0);

    const std::uint16_t mixed[6] = {0, 1, 7, 0, 1, 2}; // index 7 lies past the 3 vertices from 3
    c.Device().DrawIndexedTriangles(vb, 3, 3, mixed, 6);
    EXPECT_EQ(c.Rgb(12, 2), 0xFFFFFFu);
    EXPECT_EQ(c.Rgb(2, 2), 0u);

    VertexBuffer noPosition(kDiffuse | kTexCount1, 3);
    c.Device().DrawIndexedTriangles(noPosition, 0, 3, idx, 3); // refused, no crash
}

TEST(RasterDraw, ScreenVerticesDrawWherePlacedAndProcessVerticesPlacesThem) {
    Canvas c(16, 12);
    // A point in front of the eye lands at the viewport centre with 1/w = 1/z.
    VertexBuffer source =
        MakeBuffer(kLayoutUnlit, {{0, 0, 4, 0, 0, -1, 0.25f, 0.75f}, {4, 0, 4, 0, 0, -1, 0, 0}});
    VertexBuffer screen(kLayoutScreen, 8);
    ASSERT_TRUE(c.Device().ProcessVertices(kProcessTransform, source, 0, 2, screen, 3));
    const auto* f = reinterpret_cast<const float*>(screen.Data() + 3 * 32);
    EXPECT_FLOAT_EQ(f[0], 8.0f);
    EXPECT_FLOAT_EQ(f[1], 6.0f);
    EXPECT_FLOAT_EQ(f[3], 0.25f);
    EXPECT_FLOAT_EQ(f[6], 0.25f); // texture coordinates carried over
    EXPECT_FLOAT_EQ(f[8], 16.0f); // x = 4 at z = 4 is the right edge of a 90-degree view
    EXPECT_FALSE(c.Device().ProcessVertices(kProcessTransform, source, 0, 2, screen, 7)); // past the end
    EXPECT_FALSE(c.Device().ProcessVertices(kProcessTransform, screen, 0, 2, source, 0)); // wrong layouts

    auto sv = [](float x, float y) {
        return std::vector<float>{x, y, 0.5f, 1.0f, Word(0xFF00FF00), 0, 0, 0};
    };
    VertexBuffer quad = MakeBuffer(kLayoutScreen, {sv(2, 3), sv(7, 3), sv(7, 9), sv(2, 9)});
    const std::uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    c.Device().SetRenderState(RenderState::Lighting, 1); // screen vertices are never lit
    c.Device().DrawIndexedTriangles(quad, 0, 4, idx, 6);
    EXPECT_EQ(CountNot(c, 0), 5 * 6);
    EXPECT_EQ(c.Rgb(2, 3), 0x00FF00u);
    EXPECT_EQ(c.Rgb(6, 8), 0x00FF00u);
}

TEST(RasterFormats, TextureLayoutsWidenAndNarrowTheirChannels) {
    struct Case {
        const char* name;
        PixelFormat format;
        std::uint32_t pixel;
        std::uint32_t argb;
    };
    const Case cases[] = {
        {"5-6-5", kFormat565, 0xF81F, 0xFFFF00FF},
        {"5-6-5 mid", kFormat565, 0x8410, 0xFF848284},
        {"1-5-5-5 keyed", kFormatArgb1555, 0x7C1F, 0x00FF00FF},
        {"1-5-5-5 opaque", kFormatArgb1555, 0x83E0, 0xFF00FF00},
        {"4-4-4-4", kFormatArgb4444, 0x8F0A, 0x88FF00AA},
        {"8-8-8-8", kFormatArgb8888, 0x12345678, 0x12345678},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.format.ToArgb(k.pixel), k.argb);
        EXPECT_EQ(k.format.FromArgb(k.argb), k.pixel);
        Texture t(1, 1, k.format);
        Texture::Lock lock = t.LockPixels();
        for (int b = 0; b < k.format.BytesPerPixel(); ++b)
            lock.bytes[b] = static_cast<std::uint8_t>(k.pixel >> (8 * b));
        t.Unlock();
        EXPECT_EQ(t.Argb()[0], k.argb);
    }
}

TEST(RasterFormats, VertexLayoutsHaveTheEngineStrides) {
    struct Case {
        std::uint32_t bits;
        int stride, diffuse, texCoords;
    };
    const Case cases[] = {{kLayoutUnlit, 32, -1, 24},
                          {kLayoutPrelit, 24, 12, 16},
                          {kLayoutLit, 32, 16, 24},
                          {kLayoutScreen, 32, 16, 24},
                          {kDiffuse, 0, -1, -1}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.bits);
        const VertexLayout l = VertexLayout::FromBits(k.bits);
        EXPECT_EQ(l.stride, k.stride);
        if (k.stride != 0) {
            EXPECT_EQ(l.diffuse, k.diffuse);
            EXPECT_EQ(l.texCoords, k.texCoords);
        }
    }
}

} // namespace

namespace {

using namespace rasterkit;

TEST(RasterSurfaceTarget, DrawsIntoALockedSurfaceRowsAPitchApartAndRefusesOtherFormats) {
    auto surface = plat::gfx2d::Surface::Create({13, 9}, plat::gfx2d::kFormat565);
    ASSERT_TRUE(surface);
    plat::gfx2d::SurfaceView view;
    ASSERT_EQ(surface->Lock(view), plat::gfx2d::Result::Ok);
    const RenderTarget target = TargetFromSurface(view);
    ASSERT_TRUE(target.IsValid());
    EXPECT_GT(target.pitchBytes, 13 * 2); // padded rows: the pitch, not the width, steps between them
    SoftwareDevice device(target);
    device.Clear(kClearTarget | kClearDepth, 0x00FF00, 1.0f);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(view.Row16(y)[x], 0x07E0) << x << "," << y;
    surface->Unlock();

    auto other = plat::gfx2d::Surface::Create({8, 8}, plat::gfx2d::kFormat555);
    ASSERT_EQ(other->Lock(view), plat::gfx2d::Result::Ok);
    EXPECT_FALSE(TargetFromSurface(view).IsValid());
    other->Unlock();
}

} // namespace
