#include "engine/Camera.h"
#include "engine/KmtReader.h"
#include "engine/Mesh.h"
#include "engine/MeshTextureAccess.h"
#include "engine/PipelineContext.h"
#include "engine/PolygonPipeline.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "engine/TextureList.h"
#include "engine/Viewport.h"
#include "platform/fs/FileSystem.h"
#include "support/FakeDisplayDriver.h"
#include "support/GoldenImage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

using namespace zentrix;

namespace {

using Kind = plat::raster::RecordingDevice::Kind;

/// A listed 2 x 2 texture of one colour (0xRRGGBB) with the name's flags and the extra ones.
CTexture* SolidTexture(const char* name, std::uint32_t colour, std::uint32_t flags = 0) {
    std::uint8_t tga[18 + 12] = {0, 0, 2};
    tga[12] = tga[14] = 2;
    tga[16] = 24;
    tga[17] = 0x20;
    for (int i = 0; i < 4; ++i) {
        tga[18 + i * 3] = static_cast<std::uint8_t>(colour);
        tga[19 + i * 3] = static_cast<std::uint8_t>(colour >> 8);
        tga[20 + i * 3] = static_cast<std::uint8_t>(colour >> 16);
    }
    CTexture* texture = NewTextureFromMemory(tga, sizeof tga, name);
    texture->SetFlags(texture->GetFlags() | flags);
    return texture;
}

/// A square of two faces under the root, each face with the given texture.
CMesh* Square(CEntity& root, CTexture* first, CTexture* second) {
    auto* mesh = new CMesh(&root);
    mesh->SetVertexCount(4);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (int i = 0; i < 4; ++i)
        mesh->GetVertices()[i] = {corners[i][0], corners[i][1], 0.0f, 0.0f, 0.0f, 1.0f};
    mesh->SetFaceCount(2, 0);
    mesh->GetFaces(0)[0] = {0, 1, 2, first, 0, 0, 1, 1, 1, 1, 0};
    mesh->GetFaces(0)[1] = {0, 2, 3, second, 0, 0, 1, 1, 0, 0, 0};
    mesh->SetPosition(0.0f, 0.0f, -20.0f);
    mesh->ComputeBounds();
    return mesh;
}

TEST(MeshCulling, SpheresOutsideAnyPlaneAreCulled) {
    ViewVolume volume{};
    for (ClipPlane& plane : volume.planes)
        plane = {{0.0f, 0.0f, -1.0f}, 100.0f};                      // far away: never the deciding one
    volume.planes[ViewVolume::kLeft] = {{-1.0f, 0.0f, 0.0f}, 0.0f}; // outside: x < 0
    struct Case {
        float x, radius;
        bool culled;
    };
    const Case cases[] = {
        {-2.0f, 2.0f, true}, {-1.999f, 2.0f, false}, {5.0f, 1.0f, false}, {-0.1f, 0.0f, true}};
    for (const Case& c : cases) {
        const float centre[3] = {c.x, 0.0f, 0.0f};
        EXPECT_EQ(SphereOutsideView(volume, centre, c.radius), c.culled) << c.x << " " << c.radius;
    }
    CMesh empty; // radius 0 turns the test off whatever the view
    empty.SetCulled(true);
    CullMesh(empty);
    EXPECT_FALSE(empty.IsCulled());
}

class MeshDraw : public testing::Test {
protected:
    void SetUp() override {
        m_viewport = m_display->CreateViewport(0, 0, 64, 48);
        m_viewport->SetupCamera(&m_camera);
        BeginPipelineView(m_viewport.get());
    }
    void TearDown() override {
        EndPipelineView();
        DeleteAllTextures();
    }

    testsupport::TestDisplay m_display;
    CCamera m_camera{nullptr, 32.0f};
    std::unique_ptr<CViewport> m_viewport;
    CEntity m_root;
};

TEST_F(MeshDraw, TexturesAlreadyBoundAreNotBoundAgain) {
    CTexture* red = SolidTexture("red.tga", 0xFF0000);
    CTexture* blue = SolidTexture("blue.tga", 0x0000FF);
    CMesh* first = Square(m_root, red, blue);
    CMesh* second = Square(m_root, blue, blue);
    first->Prepare(m_viewport.get(), false);
    second->Prepare(m_viewport.get(), false);
    auto& recorder = m_display.Recorder();
    DrawMeshVB(*first);
    EXPECT_EQ(recorder.CountOf(Kind::SetTexture), 2);
    EXPECT_EQ(recorder.CountOf(Kind::DrawIndexedTriangles), 2);
    recorder.ClearCalls();
    DrawMeshVB(*second); // blue is bound already
    EXPECT_EQ(recorder.CountOf(Kind::SetTexture), 0) << recorder.Describe();
    EXPECT_EQ(recorder.CountOf(Kind::DrawIndexedTriangles), 1);
    EXPECT_EQ(recorder.CountOf(Kind::SetTransform), 1);
}

TEST_F(MeshDraw, TranslucentBatchesWaitForTheTranslucentPass) {
    CTexture* glass = SolidTexture("glass!.tga", 0x80C0FF);
    CMesh* mesh = Square(m_root, glass, glass);
    mesh->Prepare(m_viewport.get(), false);
    auto& recorder = m_display.Recorder();
    recorder.ClearCalls();
    DrawMeshVB(*mesh);
    EXPECT_EQ(recorder.CountOf(Kind::SetTransform), 0);
    EXPECT_EQ(recorder.CountOf(Kind::DrawIndexedTriangles), 0);
    ASSERT_EQ(m_display->Queue().items.size(), 1u);
    EXPECT_EQ(m_display->Queue().items[0].world, mesh->WorldMatrix());
    EXPECT_EQ(m_display->Queue().items[0].depth, 20.0f);

    // A hidden or culled mesh draws nothing; its children still draw.
    mesh->SetHidden(false, false);
    CMesh* child = Square(*mesh, SolidTexture("a.tga", 0x00FF00), nullptr);
    child->SetPosition(0.0f, 0.0f, 0.0f);
    mesh->Prepare(m_viewport.get(), false);
    recorder.ClearCalls();
    mesh->Render(m_viewport.get(), true);
    EXPECT_EQ(recorder.CountOf(Kind::DrawIndexedTriangles), 2);
}

TEST_F(MeshDraw, ShinyMeshesDrawWithASpecularMaterialAndRestoreTheOldOne) {
    CMesh* mesh = Square(m_root, SolidTexture("a.tga", 0xFFFFFF), nullptr);
    mesh->SetFlags(mesh->GetFlags() | CMesh::kFlagSpecular);
    mesh->SetSpecularPower(12.0f);
    auto& recorder = m_display.Recorder();
    plat::raster::Material before;
    before.specular = {0.5f, 0.5f, 0.5f, 1.0f};
    recorder.SetMaterial(before);
    mesh->Prepare(m_viewport.get(), false);
    recorder.ClearCalls();
    mesh->Render(m_viewport.get(), true);
    EXPECT_EQ(recorder.CountOf(Kind::SetMaterial), 2);
    EXPECT_EQ(recorder.GetMaterial(), before);
    EXPECT_EQ(recorder.CountOf(plat::raster::RenderState::SpecularEnable), 2); // on, then off
    EXPECT_EQ(recorder.State().Get(plat::raster::RenderState::SpecularEnable), 0u);
}

// A pre-lit box car with a translucent windscreen, drawn by the software device.
TEST(MeshGolden, PreLitBoxCarWithAWindscreen) {
    testsupport::TestDisplay display(96, 72, true);
    ASSERT_NE(display.get(), nullptr);
    auto viewport = display->CreateViewport(0, 0, 96, 72);
    viewport->SetClearColour(40, 60, 90);
    CCamera camera(nullptr, 150.0f);
    CScene scene;
    const std::uint32_t colours[] = {0xD03020, 0x90B0E0, 0x303030};
    const char* names[] = {"carbody.tga", "glass!08.tga", "tyre.tga"};
    SetMeshTextureAccess({[&](const char* name) {
                              for (int i = 0; i < 3; ++i)
                                  if (std::string(name) == names[i])
                                      return SolidTexture(name, colours[i]);
                              return static_cast<CTexture*>(nullptr);
                          },
                          {},
                          {},
                          {}});
    auto car = std::make_unique<CMesh>();
    const plat::fs::ReadResult kmt =
        plat::fs::ReadWholeFile(std::string(ZENTRIX_SOURCE_DIR) + "/data/sample/meshes/boxcar.kmt");
    ASSERT_TRUE(KMTLoadFromMemory(kmt.bytes.data(), kmt.bytes.size(), "boxcar.kmt", car.get(), false));
    SetMeshTextureAccess({});
    car->SortFaces(true);
    // Pre-lit: each vertex a shade of grey by its height, drawn unlit.
    std::function<void(CEntity*)> light = [&](CEntity* node) {
        if (auto* mesh = dynamic_cast<CMesh*>(node)) {
            mesh->SetColourCount(mesh->GetVertexCount());
            for (std::uint32_t i = 0; i < mesh->GetVertexCount(); ++i) {
                const auto shade = static_cast<std::uint8_t>(mesh->GetVertices()[i].y > 0.5f ? 255 : 140);
                std::fill_n(mesh->GetColours() + i * 3, 3, shade);
            }
            mesh->SetFlags(mesh->GetFlags() | CMesh::kFlagFileColours);
        }
        for (CEntity* c = node->GetFirstChild(); c; c = c->GetNextSibling())
            light(c);
    };
    light(car.get());
    car->ComputeBounds();
    const float turn = 0.5f;
    const float m[16] = {std::cos(turn), 0, -std::sin(turn), 0, 0, 1,     0,      0,
                         std::sin(turn), 0, std::cos(turn),  0, 0, -1.6f, -13.0f, 1};
    car->SetMatrix(m);
    car->SetAnimFrame(5.0f, true); // the turning wheel a quarter round
    scene.SetRoot(1, std::move(car));

    viewport->PrepareScene(&camera, &scene);
    viewport->RenderScene(&camera, &scene);
    plat::gfx2d::SurfaceView view;
    ASSERT_EQ(display->GetDeviceBackBuffer()->Lock(view), plat::gfx2d::Result::Ok);
    const auto image = testsupport::FromRgb565(view.Row16(0), view.pitch, 96, 72);
    display->GetDeviceBackBuffer()->Unlock();
    EXPECT_TRUE(testsupport::MatchesGolden("engine_mesh_boxcar", image));
    DeleteAllTextures();
}

} // namespace
