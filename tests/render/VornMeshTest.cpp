#include "render/VornMesh.h"
#include "engine/Scene.h"
#include "render/EngineMan.h"
#include "render/FakeEngineServices.h"

#include <gtest/gtest.h>

#include <array>

using namespace zentrix;

namespace {

using plat::raster::Light;

/// A mesh of one vertex at the origin facing up.
std::unique_ptr<CVornMesh> OneVertex() {
    auto mesh = std::make_unique<CVornMesh>();
    mesh->SetVertexCount(1);
    mesh->GetVertices()[0] = {0, 0, 0, 0, 1, 0};
    return mesh;
}

Light PointLight(std::array<float, 3> at, float range, float diffuse, float ambient = 0.0f) {
    Light light;
    light.type = plat::raster::LightType::Point;
    light.position = at;
    light.range = range;
    light.diffuse = {diffuse, diffuse, diffuse, 0.0f};
    light.ambient = {ambient, ambient, ambient, 0.0f};
    return light;
}

class VornMeshTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.CreateDevice(nullptr, 0));
        ASSERT_TRUE(engine.InitScene());
        for (int i = 0; i < 4; ++i)
            engine.RemoveLight(i);
    }
    FakeEngineServices services;
    CEngineMan engine{&services};
};

TEST_F(VornMeshTest, VertexLightSumsLightsUpToTheirRange) {
    struct Case {
        const char* label;
        float base;
        Light light;
        std::uint8_t expected;
    };
    // At distance 10 of a range of 20 a light gives half its diffuse: 10 / 127.5 adds 10.
    const float ten = 10.0f / 127.5f;
    const Case cases[] = {
        {"adds", 100.5f / 255, PointLight({0, 10, 0}, 20, ten), 110},
        {"saturates", 250.5f / 255, PointLight({0, 10, 0}, 20, ten), 255},
        {"at its range", 100.5f / 255, PointLight({0, 10, 0}, 10, 1), 100},
        {"behind", 100.5f / 255, PointLight({0, -10, 0}, 20, 1), 100},
        {"on the vertex", 100.5f / 255, PointLight({0, 0, 0}, 20, 1), 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto mesh = OneVertex();
        const int slot = engine.AddLight(c.light);
        CVornMesh::VertexLight(mesh.get(), engine, c.base, c.base, c.base);
        ASSERT_NE(mesh->GetColours(), nullptr);
        EXPECT_EQ(mesh->GetColours()[1], c.expected);
        EXPECT_TRUE(mesh->GetFlags() & CMesh::kFlagFileColours);
        engine.RemoveLight(slot);
    }
}

TEST_F(VornMeshTest, SceneLightingTakesTheBrightestAmbientOfTheLightsInPlay) {
    for (int i = 0; i < 5; ++i)
        engine.AddLight(PointLight({0, 0, 0}, 1, 0, 0.1f * i)); // ambient 0 .. 0.4, no diffuse reach
    engine.SetLight(5, PointLight({0, 10, 0}, 20, 1, 0.9f));
    auto mesh = OneVertex();
    auto* child = new CVornMesh();
    mesh->AddChild(child);
    child->SetVertexCount(2);

    engine.SetupLighting(0); // every light counts
    CVornMesh::ApplySceneLighting(mesh.get(), engine);
    EXPECT_EQ(mesh->GetColours()[0], 255); // 0.9 x 255 + half of 255
    EXPECT_EQ(child->GetColours()[3], 229);
    engine.SetupLighting(1); // lights 5-99 take no part; the main lights were removed, so 4 is 0.4
    for (int i = 0; i < 4; ++i)
        engine.SetLight(i, PointLight({0, 0, 0}, 1, 0, 0.1f * i));
    CVornMesh::ApplySceneLighting(mesh.get(), engine);
    EXPECT_EQ(mesh->GetColours()[0], 102);

    CVornMesh::SetLightingSuspended(true);
    mesh->SetVertexLightColour(true, 1.0f, 0.5f, 0.0f);
    CVornMesh::ApplySceneLighting(mesh.get(), engine);
    CVornMesh::SetLightingSuspended(false);
    EXPECT_EQ((std::array<int, 3>{child->GetColours()[3], child->GetColours()[4], child->GetColours()[5]}),
              (std::array<int, 3>{255, 127, 0}));
}

TEST_F(VornMeshTest, TreeOperations) {
    auto root = std::make_unique<CVornMesh>();
    EXPECT_EQ(root->GetHighestPoint(), -100000.0f);
    auto* child = new CVornMesh();
    root->AddChild(child);
    child->SetVertexCount(2);
    child->GetVertices()[0] = {0, 3, 0, 0, 1, 0};
    child->GetVertices()[1] = {1, -2, 0, 0, 1, 0};
    root->SetPosition(5, 10, 0);
    child->SetPosition(0, 1, 0);
    EXPECT_FLOAT_EQ(root->GetHighestPoint(), 14.0f);
    CVector world;
    child->LocalToWorld(world, {1, 1, 1});
    EXPECT_EQ(world, CVector(6, 12, 1));

    // Texture replacement marks only the meshes below a mesh that changed.
    child->SetFaceCount(1, 0);
    auto* used = reinterpret_cast<CTexture*>(0x10);
    auto* other = reinterpret_cast<CTexture*>(0x20);
    child->GetFaces(0)[0].texture = used;
    const std::uint32_t rootBefore = root->GetPendingUpdates();
    EXPECT_FALSE(root->ReplaceTexture(other, used));
    EXPECT_EQ(child->GetPendingUpdates() & CMesh::kUpdateRebuild, 0u);
    EXPECT_TRUE(root->ReplaceTexture(used, other));
    EXPECT_EQ(child->GetFaces(0)[0].texture, other);
    EXPECT_NE(child->GetPendingUpdates() & CMesh::kUpdateRebuild, 0u);
    EXPECT_EQ(root->GetPendingUpdates(), rootBefore);
}

} // namespace
