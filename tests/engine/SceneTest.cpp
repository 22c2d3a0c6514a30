#include "engine/Scene.h"
#include "engine/Camera.h"
#include "engine/Entity.h"
#include "engine/RenderBatch.h"
#include "engine/Viewport.h"
#include "platform/raster/VertexBuffer.h"
#include "support/FakeDisplayDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zentrix;

namespace {

using namespace plat::raster;
using Kind = RecordingDevice::Kind;
using testsupport::TestDisplay;

Light PointLight(float x) {
    Light l;
    l.type = LightType::Point;
    l.position = {x, 0, 0};
    return l;
}

TEST(Scene, AtMostEightLightsAreOnAndOnlyDefinedOnesCount) {
    CScene scene;
    for (int i = 0; i < 9; ++i)
        scene.SetLight(i, PointLight(static_cast<float>(i)));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(scene.EnableLight(i)) << i;
    EXPECT_FALSE(scene.EnableLight(8));
    EXPECT_TRUE(scene.EnableLight(3)); // already on
    EXPECT_EQ(scene.GetLightsOn(), 8);
    scene.DisableLight(2);
    EXPECT_TRUE(scene.EnableLight(8));
    scene.SetLight(8, PointLight(42)); // an enabled light keeps its state
    EXPECT_TRUE(scene.IsLightEnabled(8));

    // Undefined slots and indices outside 0..99 (the -1 of a full table among them) are refused.
    for (int index : {-1, 9, 100, 5000}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(scene.EnableLight(index));
        EXPECT_FALSE(scene.GetLight(index, nullptr));
        scene.DisableLight(index);
        scene.RemoveLight(index);
    }
    scene.SetLight(-1, PointLight(0));
    scene.RemoveLight(8);
    EXPECT_FALSE(scene.GetLight(8, nullptr));
    EXPECT_EQ(scene.GetLightsOn(), 7);
}

// A root that notes when it is drawn and queues one translucent part of its own.
class QueueingRoot final : public CEntity {
public:
    QueueingRoot(int index, CDisplayDevice& device, std::vector<int>& order, const VertexBuffer& buffer,
                 const RecordingDevice& recorder, std::vector<int>& drawsBefore)
        : m_index(index), m_device(device), m_order(order), m_buffer(buffer), m_recorder(recorder),
          m_drawsBefore(drawsBefore) {
        for (int i = 0; i < 16; ++i)
            m_world[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
    void Render(CViewport*, bool) override {
        m_order.push_back(m_index);
        m_drawsBefore.push_back(m_recorder.CountOf(RecordingDevice::Kind::DrawIndexedTriangles));
        static const std::uint16_t indices[3] = {0, 1, 2};
        QueueTransparent(m_device, &m_buffer, 0, 3 + m_index, indices, 3, nullptr, m_world, 0, 1.0f);
    }

private:
    int m_index;
    CDisplayDevice& m_device;
    std::vector<int>& m_order;
    const VertexBuffer& m_buffer;
    const RecordingDevice& m_recorder;
    std::vector<int>& m_drawsBefore;
    float m_world[16];
};

TEST(Scene, RenderSetsTheViewDrawsRootsInOrderAndPassesOnlyEnabledLights) {
    TestDisplay display(64, 48);
    RecordingDevice& device = display.Recorder();
    auto viewport = display->CreateViewport(0, 0, 64, 48);
    CCamera camera(nullptr, 32.0f); // focal value half the width: a 90-degree field
    CScene scene;
    scene.SetLight(0, PointLight(1));
    scene.SetLight(5, PointLight(5));
    scene.SetLight(7, PointLight(7));
    scene.EnableLight(5);
    scene.EnableLight(7);
    std::vector<int> order, drawsBefore;
    VertexBuffer buffer(kLayoutPrelit, 10);
    for (int i : {6, 2, 0}) {
        auto root = std::make_unique<QueueingRoot>(i, *display, order, buffer, device, drawsBefore);
        scene.SetRoot(i, std::move(root));
    }
    device.ClearCalls();
    viewport->RenderScene(&camera, &scene);

    EXPECT_EQ(order, (std::vector<int>{0, 2, 6}));
    // Each root's part is drawn after that root (its vertex count names the root): the buckets are
    // emptied and drawn per root.
    std::vector<int> drawn;
    for (const auto& c : device.Calls())
        if (c.kind == Kind::DrawIndexedTriangles)
            drawn.push_back(c.count - 3);
    EXPECT_EQ(drawn, order);
    EXPECT_EQ(drawsBefore, (std::vector<int>{0, 1, 2}));

    EXPECT_EQ(device.State().GetLight(0).position[0], 5.0f);
    EXPECT_EQ(device.State().GetLight(1).position[0], 7.0f);
    EXPECT_TRUE(device.State().IsLightEnabled(1));
    EXPECT_FALSE(device.State().IsLightEnabled(2));
    EXPECT_EQ(device.CountOf(Kind::SetLight), 2);
    const Matrix4& projection = device.State().Transform(TransformKind::Projection);
    EXPECT_NEAR(projection.At(0, 0), 1.0f, 1e-6f); // cot 45 degrees
    EXPECT_NEAR(projection.At(1, 1), 1.0f / std::tan(std::numbers::pi / 4 * 48 / 64), 1e-6f);
    EXPECT_EQ(device.State().Get(RenderState::AlphaRef), 0x80u);
    EXPECT_EQ(device.State().Get(RenderState::ZFunc), static_cast<std::uint32_t>(Compare::LessEqual));
    EXPECT_EQ(device.Calls().back().kind, Kind::EndScene);
    display->DeleteViewport(std::move(viewport));
}

TEST(Scene, ClearingFollowsTheClearBytesAndTheBackground) {
    struct Case {
        const char* what;
        bool colour, depth, background, beginFails;
        int clears;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {"colour and depth", true, true, false, false, 1, kClearTarget | kClearDepth},
        {"background bitmap: depth only", false, true, false, false, 1, kClearDepth},
        {"background frame: no clear", true, true, true, false, 0, 0},
        {"failed scene start draws nothing", true, true, false, true, 1, kClearTarget | kClearDepth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestDisplay display(32, 32);
        RecordingDevice& device = display.Recorder();
        auto viewport = display->CreateViewport(0, 0, 32, 32);
        viewport->SetColourClear(c.colour);
        viewport->SetDepthClear(c.depth);
        viewport->SetClearColour(1, 2, 3);
        CCamera camera(nullptr, 16.0f);
        CScene scene;
        CEntity background;
        if (c.background)
            scene.SetBackground(&background);
        device.FailBeginScene(c.beginFails);
        device.ClearCalls();
        viewport->RenderScene(&camera, &scene);
        EXPECT_EQ(device.CountOf(Kind::Clear), c.clears);
        for (const auto& call : device.Calls())
            if (call.kind == Kind::Clear) {
                EXPECT_EQ(call.what, c.flags);
                EXPECT_EQ(call.value, 0x010203u);
            }
        EXPECT_EQ(device.CountOf(Kind::EndScene), c.beginFails ? 0 : 1);
    }
}

TEST(Scene, MovingTheViewportBlacksOutTheUncoveredBands) {
    TestDisplay display(16, 12, true);
    auto viewport = display->CreateViewport(0, 0, 16, 12);
    for (auto* s : {display->GetDeviceBackBuffer(), display->GetPrimarySurface()})
        s->Fill(nullptr, 0xFFFF);
    viewport->SetViewportRect(2, 0, 16, 8, true);
    for (auto* s : {display->GetDeviceBackBuffer(), display->GetPrimarySurface()}) {
        plat::gfx2d::SurfaceView view;
        ASSERT_EQ(s->Lock(view), plat::gfx2d::Result::Ok);
        for (int y = 0; y < 12; ++y)
            EXPECT_EQ(view.Row16(y)[7], (y < 2 || y >= 10) ? 0 : 0xFFFF) << y;
        s->Unlock();
    }
    plat::gfx2d::Rect r;
    const plat::gfx2d::Point offset{5, 1};
    viewport->GetViewportRect(r, &offset);
    EXPECT_EQ(r, (plat::gfx2d::Rect{5, 3, 21, 11}));
}

} // namespace
