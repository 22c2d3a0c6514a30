// Each feature of the rasterizer drawn on a small target and compared with a reviewed picture.

#include "RasterKit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace rasterkit;
constexpr auto U = [](auto e) { return static_cast<std::uint32_t>(e); };

// A checker of five columns (odd width) with one marked column, so a seam or a skipped texel shows.
Texture OddChecker() {
    return MakeTexture(5, 4, [](int x, int y) -> std::uint32_t {
        if (x == 0)
            return 0xFFFF2020;
        return ((x + y) & 1) ? 0xFFF0F0F0 : 0xFF2040A0;
    });
}

void PerspectiveWrap(Canvas& c) {
    Texture t = OddChecker();
    c.Device().SetTexture(0, &t);
    // A floor receding from z = 1.2 to z = 8, u running 0 to 2.5 across it (wrapping twice).
    c.Draw({{-2, -1, 1.2f, 0xFFFFFFFF, 0, 0},
            {2, -1, 1.2f, 0xFFFFFFFF, 2.5f, 0},
            {2, -1, 8, 0xFFFFFFFF, 2.5f, 3},
            {-2, -1, 8, 0xFFFFFFFF, 0, 3}},
           {0, 2, 1, 0, 3, 2});
}

void ClampAddress(Canvas& c) {
    Texture t = OddChecker();
    c.Device().SetTexture(0, &t);
    c.Device().SetTextureStageState(0, StageState::Address, U(TextureAddress::Clamp));
    c.Draw({c.At(4, 4, 2, 0xFFFFFFFF, -1, -1), c.At(44, 4, 2, 0xFFFFFFFF, 2, -1),
            c.At(44, 28, 2, 0xFFFFFFFF, 2, 2), c.At(4, 28, 2, 0xFFFFFFFF, -1, 2)},
           {0, 1, 2, 0, 2, 3});
}

// Keyed texels carry the average colour of their neighbours and alpha 0, as the texture loader
// fills them; under the alpha test the edge must show no mix with another colour.
void KeyedAlphaTest(Canvas& c) {
    static Texture t = MakeTexture(6, 6, [](int x, int y) -> std::uint32_t {
        const bool inside = x >= 1 && x <= 4 && y >= 2 && y <= 4;
        return inside ? 0xFFE0A020 : 0x00E0A020;
    });
    c.Device().SetTexture(0, &t);
    c.Device().SetRenderState(RenderState::AlphaTestEnable, 1);
    c.Device().SetRenderState(RenderState::AlphaFunc, U(Compare::Greater));
    c.Device().SetRenderState(RenderState::AlphaRef, 0x80);
    c.Rect(2, 2, 46, 30, 2, 0xFFFFFFFF);
}

void Depth(Canvas& c) {
    c.Rect(4, 4, 44, 28, 4, 0xFF00C000);  // green at 4
    c.Rect(4, 4, 24, 28, 4, 0xFFC00000);  // red at the same depth: equal wins
    c.Rect(20, 8, 40, 24, 6, 0xFF0000C0); // blue farther: loses everywhere
    c.Device().SetRenderState(RenderState::ZWriteEnable, 0);
    c.Rect(28, 10, 36, 22, 2, 0xFFFFFF00); // yellow nearer, writes off: drawn, depth stays 4
    c.Device().SetRenderState(RenderState::ZWriteEnable, 1);
    c.Rect(32, 14, 42, 18, 3, 0xFF00C0C0); // cyan at 3 still beats the unrecorded yellow
}

void BlendModes(Canvas& c) {
    static Texture t = MakeTexture(2, 2, [](int, int) { return 0x80C04020u; });
    // A known background: a dark-to-light ramp under all three bands.
    c.Draw({c.At(0, 0, 50, 0xFF202020), c.At(48, 0, 50, 0xFF202020), c.At(48, 32, 50, 0xFFE0E0E0),
            c.At(0, 32, 50, 0xFFE0E0E0)},
           {0, 1, 2, 0, 2, 3});
    c.Device().SetTexture(0, &t);
    c.Device().SetRenderState(RenderState::AlphaBlendEnable, 1);
    const BlendFactor modes[3][2] = {{BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha},
                                     {BlendFactor::One, BlendFactor::One},
                                     {BlendFactor::Zero, BlendFactor::SrcColour}};
    for (int i = 0; i < 3; ++i) {
        c.Device().SetRenderState(RenderState::SrcBlend, U(modes[i][0]));
        c.Device().SetRenderState(RenderState::DestBlend, U(modes[i][1]));
        const float x0 = 2.0f + 15.0f * static_cast<float>(i);
        c.Rect(x0, 2, x0 + 13, 30, 5, 0xFFFFFFFF);
    }
}

void Winding(Canvas& c) {
    c.Draw({c.At(4, 4, 3, 0xFFFF8000), c.At(20, 6, 3, 0xFFFF8000), c.At(8, 28, 3, 0xFFFF8000)}, {0, 1, 2});
    c.Draw({c.At(28, 4, 3, 0xFF0080FF), c.At(44, 6, 3, 0xFF0080FF), c.At(32, 28, 3, 0xFF0080FF)}, {0, 2, 1});
}

void NearClip(Canvas& c) {
    // One corner behind the eye: the part in front of the near plane remains.
    c.Draw({{-3, -1, 4, 0xFFFF0000, 0, 0}, {3, -1, 4, 0xFF00FF00, 0, 0}, {0, -1, -2, 0xFF0000FF, 0, 0}},
           {0, 1, 2});
    c.Draw({{-3, -1, 4, 0xFFFF0000, 0, 0}, {3, -1, 4, 0xFF00FF00, 0, 0}, {0, -1, -2, 0xFF0000FF, 0, 0}},
           {0, 2, 1});
}

void Shading(Canvas& c) {
    const std::uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF;
    auto quad = [&](float x0, float y0, std::uint32_t a, std::uint32_t b, std::uint32_t cc, std::uint32_t d) {
        c.Draw({c.At(x0, y0, 2, a, 0, 0), c.At(x0 + 20, y0, 2, b, 1, 0), c.At(x0 + 20, y0 + 12, 2, cc, 1, 1),
                c.At(x0, y0 + 12, 2, d, 0, 1)},
               {0, 1, 2, 0, 2, 3});
    };
    c.Device().SetRenderState(RenderState::ShadeMode, U(ShadeMode::Flat));
    quad(2, 2, red, green, blue, white); // each triangle takes its first corner: red
    c.Device().SetRenderState(RenderState::ShadeMode, U(ShadeMode::Gouraud));
    quad(26, 2, red, green, blue, white);

    // Lighting on: a vertex without colour takes emissive + ambient x material ambient.
    Material m;
    m.ambient = {1, 1, 1, 1};
    m.diffuse = {1, 1, 1, 1};
    m.emissive = {0.25f, 0, 0, 0};
    c.Device().SetMaterial(m);
    c.Device().SetRenderState(RenderState::Lighting, 1);
    c.Device().SetRenderState(RenderState::Ambient, 0x406080);
    auto unlit = [&](float sx, float sy, float u, float v) {
        const V p = c.At(sx, sy, 2);
        return std::vector<float>{p.x, p.y, p.z, 0, 0, -1, u, v};
    };
    VertexBuffer vb = MakeBuffer(
        kLayoutUnlit, {unlit(2, 18, 0, 0), unlit(22, 18, 1, 0), unlit(22, 30, 1, 1), unlit(2, 30, 0, 1)});
    const std::uint16_t idx[6] = {0, 1, 2, 0, 2, 3};
    c.Device().DrawIndexedTriangles(vb, 0, 4, idx, 6);
    c.Device().SetRenderState(RenderState::Lighting, 0);

    static Texture t =
        MakeTexture(2, 2, [](int x, int y) { return (x + y) & 1 ? 0xFFFFFFFFu : 0xFF808080u; });
    c.Device().SetTexture(0, &t);
    quad(26, 18, red, green, blue, white); // texture x Gouraud colour
}

// Every pixel is either the background or the texture's own colour: no fringe of mixed colours.
void NoFringe(const Canvas& c) {
    const std::uint32_t background = UnpackRgb565(PackRgb565(0x2040FF)) & 0xFFFFFF;
    const std::uint32_t inside = UnpackRgb565(PackRgb565(0xE0A020)) & 0xFFFFFF;
    int shown = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const std::uint32_t p = c.Rgb(x, y);
            ASSERT_TRUE(p == background || p == inside) << x << "," << y << " = " << std::hex << p;
            shown += p == inside;
        }
    EXPECT_GT(shown, 200);
}

struct GoldenCase {
    const char* name;
    int width, height;
    std::uint32_t background;
    void (*draw)(Canvas&);
    void (*check)(const Canvas&) = nullptr; // a property the picture must have besides matching
};

const GoldenCase kCases[] = {
    {"raster_perspective_wrap", 48, 32, 0x000000, PerspectiveWrap},
    {"raster_clamp", 48, 32, 0x000000, ClampAddress},
    {"raster_keyed_alpha_test", 48, 32, 0x2040FF, KeyedAlphaTest, NoFringe},
    {"raster_depth", 48, 32, 0x000000, Depth},
    {"raster_blend_modes", 48, 32, 0x000000, BlendModes},
    {"raster_winding", 48, 32, 0x000000, Winding},
    {"raster_near_clip", 48, 32, 0x101010, NearClip},
    {"raster_shading", 48, 32, 0x000000, Shading},
};

TEST(RasterGolden, EachFeatureMatchesItsReviewedPicture) {
    for (const GoldenCase& gc : kCases) {
        SCOPED_TRACE(gc.name);
        Canvas c(gc.width, gc.height, gc.background);
        gc.draw(c);
        EXPECT_TRUE(testsupport::MatchesGolden(gc.name, c.Image()));
        if (gc.check != nullptr)
            gc.check(c);
    }
}

} // namespace
