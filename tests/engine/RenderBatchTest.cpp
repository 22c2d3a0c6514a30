#include "engine/RenderBatch.h"
#include "engine/Camera.h"
#include "engine/GeometryBuffer.h"
#include "engine/Texture.h"
#include "engine/TexturePixel.h"
#include "engine/Viewport.h"
#include "platform/raster/VertexBuffer.h"
#include "support/FakeDisplayDriver.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zentrix;

namespace {

using namespace plat::raster;
using Kind = RecordingDevice::Kind;
using testsupport::TestDisplay;

constexpr std::uint32_t U(auto e) {
    return static_cast<std::uint32_t>(e);
}

// The value a render state had when call `at` was made.
std::uint32_t StateAt(const RecordingDevice& device, std::size_t at, RenderState state) {
    for (std::size_t i = at; i-- > 0;) {
        const auto& c = device.Calls()[i];
        if (c.kind == Kind::SetRenderState && c.what == U(state))
            return c.value;
    }
    return 0xFFFFFFFFu;
}

std::vector<std::size_t> Draws(const RecordingDevice& device) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < device.Calls().size(); ++i)
        if (device.Calls()[i].kind == Kind::DrawIndexedTriangles)
            at.push_back(i);
    return at;
}

std::unique_ptr<CTexture> MakeTexture(std::uint32_t flags) {
    auto t = std::make_unique<CTexture>();
    t->SetImage(2, 2, kFormat5650, std::vector<std::uint8_t>(8, 0xFF));
    t->SetFlags(flags);
    return t;
}

const std::uint16_t kTriangle[3] = {0, 1, 2};

TEST(RenderBatch, TranslucentPartsDrawFarToNearWithTheirTexturesBlending) {
    TestDisplay display;
    RecordingDevice& device = display.Recorder();
    CCamera camera(nullptr, 32.0f); // far 4096: 32 units a bucket
    ResetDepthBuckets(*display, camera);
    VertexBuffer buffer(kLayoutPrelit, 16);
    struct Part {
        float depth;
        std::uint32_t textureFlags, meshFlags;
        std::uint32_t src, dest, lighting;
    };
    const Part parts[] = {
        // Queued in this order; each part's vertex count (3 + index) names it in the draws.
        {10.0f, kTexTranslucent | kTexKeyed, 0, U(BlendFactor::SrcAlpha), U(BlendFactor::InvSrcAlpha), 1},
        {12.0f, kTexTranslucent | kTexAdditive, kMeshVertexColours, U(BlendFactor::One), U(BlendFactor::One),
         0},
        {5000.0f, kTexMultiplicative, 0, U(BlendFactor::Zero), U(BlendFactor::SrcColour), 1},
        {-3.0f, 0, 0, U(BlendFactor::SrcAlpha), U(BlendFactor::InvSrcAlpha), 1},
        {2000.0f, kTexAdditive | kTexMultiplicative, 0, U(BlendFactor::One), U(BlendFactor::One), 1},
    };
    std::vector<std::unique_ptr<CTexture>> textures;
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        textures.push_back(MakeTexture(parts[i].textureFlags));
        QueueTransparent(*display, &buffer, 0, 3 + static_cast<int>(i), kTriangle, 3, textures.back().get(),
                         nullptr, parts[i].meshFlags, parts[i].depth);
    }
    DrawTransparent(*display);

    // Bucket 127 (depth 5000, clamped), bucket 63 (2000), then bucket 0: 12 before 10, then -3.
    std::vector<int> order;
    for (std::size_t at : Draws(device)) {
        const int part = device.Calls()[at].count - 3;
        order.push_back(part);
        SCOPED_TRACE(part);
        const Part& p = parts[static_cast<std::size_t>(part)];
        EXPECT_EQ(StateAt(device, at, RenderState::SrcBlend), p.src);
        EXPECT_EQ(StateAt(device, at, RenderState::DestBlend), p.dest);
        EXPECT_EQ(StateAt(device, at, RenderState::Lighting), p.lighting);
        EXPECT_EQ(StateAt(device, at, RenderState::AlphaTestEnable), 0u); // keyed or not
        EXPECT_EQ(StateAt(device, at, RenderState::AlphaBlendEnable), 1u);
        EXPECT_EQ(StateAt(device, at, RenderState::ZWriteEnable), 0u);
        EXPECT_EQ(device.Calls()[at].texture, textures[static_cast<std::size_t>(part)]->GetDeviceSurface());
    }
    EXPECT_EQ(order, (std::vector<int>{2, 4, 1, 0, 3}));
    EXPECT_EQ(device.State().Get(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(device.State().Get(RenderState::ZWriteEnable), 1u);

    device.ClearCalls();
    DrawTransparent(*display); // the queue was emptied
    EXPECT_EQ(Draws(device).size(), 0u);
    textures.clear(); // textures may go before the device that drew them
}

TEST(RenderBatch, The513thTriangleOpensASecondBatchKeptForTheNextFrame) {
    TestDisplay display;
    RecordingDevice& device = display.Recorder();
    const auto a = MakeTexture(kTexTranslucent), b = MakeTexture(kTexTranslucent | kTexAdditive);
    std::vector<ScreenVertexRecord> quads(4 * 257);
    for (std::size_t i = 0; i < quads.size(); ++i)
        quads[i].x = static_cast<float>(i);
    AddTransformedQuads(*display, quads.data(), 256, a.get()); // 512 triangles: the first batch is full
    TransparencyQueue& q = display->Queue();
    ASSERT_NE(q.first->next, nullptr);
    EXPECT_EQ(q.current, q.first->next.get());
    AddTransformedQuads(*display, quads.data() + 4 * 256, 1, b.get());
    EXPECT_EQ(q.first->count, 512);
    EXPECT_EQ(q.current->count, 2);
    // The quad's triangles are corners (0, 1, 2) and (0, 2, 3).
    const auto* second = reinterpret_cast<const ScreenVertexRecord*>(q.current->screen->Data());
    EXPECT_EQ(
        (std::vector<float>{second[0].x, second[1].x, second[2].x, second[3].x, second[4].x, second[5].x}),
        (std::vector<float>{1024, 1025, 1026, 1024, 1026, 1027}));

    device.ClearCalls();
    DrawTransparent(*display);
    const auto draws = Draws(device);
    ASSERT_EQ(draws.size(), 2u); // one run per batch
    EXPECT_EQ(device.Calls()[draws[0]].indexCount, 3 * 512);
    EXPECT_EQ(StateAt(device, draws[1], RenderState::SrcBlend), U(BlendFactor::One));
    RenderBatch* kept = q.first->next.get();
    EXPECT_NE(kept, nullptr);
    EXPECT_EQ(q.current, q.first.get());
    EXPECT_EQ(q.first->count + kept->count, 0);
}

TEST(RenderBatch, BillboardsFaceTheViewAndGroupsLeaveBlendingOff) {
    TestDisplay display;
    RecordingDevice& device = display.Recorder();
    auto viewport = display->CreateViewport(0, 0, 64, 48);
    const auto glass = MakeTexture(kTexTranslucent), solid = MakeTexture(kTexKeyed);
    CGeometryBuffer particles;
    particles.Resize(3);
    particles.SetCount(3);
    particles.GetVertices()[0] = {1, 2, 3, 0.5f, glass.get(), 0xFF102030};
    particles.GetVertices()[1] = {0, 0, 0, 1.0f, solid.get(), 0xFFFFFFFF};
    particles.GetVertices()[2] = {0, 0, 0, 1.0f, glass.get(), 0xFFFFFFFF};
    DecalList list{&particles};
    float view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    device.ClearCalls();
    RenderDecal(*display, list, view, *viewport);

    const auto draws = Draws(device);
    ASSERT_EQ(draws.size(), 2u);
    // The glass group (both its particles) first, blended; then the keyed one opaque and alpha-tested.
    EXPECT_EQ(device.Calls()[draws[0]].indexCount, 12);
    EXPECT_EQ(StateAt(device, draws[0], RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(StateAt(device, draws[0], RenderState::ZWriteEnable), 0u);
    EXPECT_EQ(StateAt(device, draws[1], RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(StateAt(device, draws[1], RenderState::AlphaTestEnable), 1u);
    EXPECT_EQ(StateAt(device, draws[1], RenderState::Lighting), 0u);
    EXPECT_EQ(StateAt(device, draws[1], RenderState::ShadeMode), U(ShadeMode::Flat));
    EXPECT_EQ(device.State().Get(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(device.State().Get(RenderState::ZWriteEnable), 1u);
    EXPECT_EQ(device.State().Get(RenderState::ShadeMode), U(ShadeMode::Gouraud));

    // Corners: top left, top right, bottom right, bottom left around the centre, in view right and up.
    const auto* v = reinterpret_cast<const LitVertexRecord*>(display->Queue().decalBuffer->Data());
    const float expected[4][4] = {
        {0.5f, 2.5f, 0, 0}, {1.5f, 2.5f, 0.99f, 0}, {1.5f, 1.5f, 0.99f, 0.99f}, {0.5f, 1.5f, 0, 0.99f}};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ((std::vector<float>{v[c].x, v[c].y, v[c].u, v[c].v}),
                  (std::vector<float>(expected[c], expected[c] + 4)));
        EXPECT_EQ(v[c].z, 3.0f);
    }
    EXPECT_EQ(v[0].diffuse, 0xFF102030u);
}

TEST(RenderBatch, ScreenSpritesAreCutAtTheViewportEdge) {
    TestDisplay display(64, 48, true);
    auto viewport = display->CreateViewport(0, 0, 64, 48);
    Device& device = *display->GetRenderDevice();
    device.SetTransform(TransformKind::View, Matrix4::Identity());
    device.SetTransform(TransformKind::Projection, Matrix4::Identity());
    const auto solid = MakeTexture(0);
    CGeometryBuffer sprites;
    sprites.SetMode(CGeometryBuffer::kModeScreenSprites);
    sprites.Resize(1);
    sprites.SetCount(1);
    // Clip x -27/32 lands on pixel 5 of 64; the sprite is 10 pixels each side.
    sprites.GetVertices()[0] = {-27.0f / 32.0f, 0.0f, 0.5f, 10.0f, solid.get(), 0xFFFFFFFF};
    float view[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    RenderDecal(*display, DecalList{&sprites}, view, *viewport);
    const auto* q = reinterpret_cast<const ScreenVertexRecord*>(display->SpriteScreenQuads().Data());
    EXPECT_FLOAT_EQ(q[0].x, 0.0f);
    EXPECT_FLOAT_EQ(q[1].x, 15.0f);
    EXPECT_FLOAT_EQ(q[0].u, 0.25f); // (0 - -5) / 20
    EXPECT_FLOAT_EQ(q[1].u, 0.99f);
    EXPECT_FLOAT_EQ(q[0].y, 14.0f);
    EXPECT_FLOAT_EQ(q[2].y, 34.0f);
}

} // namespace
