#include "platform/raster/RecordingDevice.h"
#include "platform/raster/Texture.h"
#include "platform/raster/VertexBuffer.h"

#include <gtest/gtest.h>

namespace {

using namespace plat::raster;
using plat::gfx2d::kFormat565;
using Kind = RecordingDevice::Kind;

TEST(RecordingDevice, NotesCallsInOrderAndKeepsTheStateTheyLeave) {
    RecordingDevice d;
    Texture t(2, 2, kFormat565);
    VertexBuffer vb(kLayoutPrelit, 4);
    Matrix4 world = Matrix4::Identity();
    world.At(3, 0) = 5.0f;
    Matrix4 view = Matrix4::Identity();
    view.At(3, 1) = 2.0f;
    const std::uint16_t idx[3] = {0, 1, 2};

    EXPECT_TRUE(d.BeginScene());
    d.SetRenderState(RenderState::ZWriteEnable, 0);
    d.SetRenderState(RenderState::ZWriteEnable, 0);
    d.SetTextureStageState(1, StageState::ColourOp, static_cast<std::uint32_t>(TextureOp::Disable));
    d.SetTexture(0, &t);
    d.SetTransform(TransformKind::World, world);
    d.SetTransform(TransformKind::View, view);
    d.DrawIndexedTriangles(vb, 1, 3, idx, 3);
    d.EndScene();

    ASSERT_EQ(d.Calls().size(), 9u) << d.Describe();
    EXPECT_EQ(d.CountOf(RenderState::ZWriteEnable), 2); // the double filters nothing
    EXPECT_EQ(d.CountOf(Kind::SetTexture), 1);
    const RecordingDevice::Call& draw = d.Calls()[7];
    EXPECT_EQ(draw.kind, Kind::DrawIndexedTriangles);
    EXPECT_EQ(draw.texture, &t);
    EXPECT_EQ(draw.buffer, &vb);
    EXPECT_EQ(draw.start, 1);
    EXPECT_EQ(draw.count, 3);
    EXPECT_EQ(draw.matrix.At(3, 0), 5.0f); // world x view at the draw
    EXPECT_EQ(draw.matrix.At(3, 1), 2.0f);
    EXPECT_EQ(d.State().Get(RenderState::ZWriteEnable), 0u);
    EXPECT_EQ(d.State().Get(RenderState::ZFunc), static_cast<std::uint32_t>(Compare::LessEqual));
    EXPECT_EQ(d.State().Get(1, StageState::ColourOp), static_cast<std::uint32_t>(TextureOp::Disable));

    d.FailBeginScene(true);
    EXPECT_FALSE(d.BeginScene());
}

} // namespace
