#include "AssetTestDoubles.h"

#include "engine/Frame.h"
#include "engine/Scene.h"
#include "engine/Texture.h"
#include "render/AssetRenderAssets.h"
#include "render/ShadowMan.h"
#include "render/ShadowOwner.h"
#include "render/ShadowWorld.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "render/VornSprite.h"
#include "render/assets/GraphicsCaches.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

class FlatWorld final : public IShadowWorld {
public:
    CFrame root{nullptr};
    CEntity* GetWorldFrame() override { return &root; }
    int GetCurrentWorldId() const override { return 0; }
    float GetGroundHeight(float, float, CGroundHint&) override { return 0.0f; }
};

class Barrel final : public IShadowOwner {
public:
    int GetTypeId() const override { return 30001; }
    void GetWorldMatrix(float* out) const override {
        for (int i = 0; i < 16; ++i)
            out[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
};

// The sample barrel's glows and shadow, and the skid marks of every theme, read through the asset
// manager with the real texture cache.
TEST(RenderAssetsSample, BarrelSpritesShadowAndSkidMarks) {
    assettest::SampleWorld world;
    CAssetMan::SLinks links;
    links.host = &world.services;
    links.settings = &world.settings;
    links.fonts = &world.fonts;
    links.engine = &world.services;
    links.audio = &world.audio;
    links.makeGraphicsCaches = [](CAssetMan& assets) { return std::make_unique<CGraphicsCaches>(assets); };
    world.assets = std::make_unique<CAssetMan>(std::move(links));
    ASSERT_EQ(world.assets->StartManager(), 0);
    {
        CAssetRenderAssets assets(*world.assets);
        CScene scene;
        CVornMesh mesh;
        auto set = CSpriteSet::Create(30001, mesh, assets, scene);
        ASSERT_NE(set, nullptr);
        ASSERT_EQ(set->GetCount(), 2u);
        EXPECT_EQ(set->GetSprite(0)->GetColour(), 0xFFFF7F00u);
        EXPECT_EQ(set->GetSprite(1)->GetColour(), 0xFF0000FFu);
        EXPECT_EQ(set->GetSprite(0)->GetTexture()->GetWidth(), 8);
        // A record whose format holds no sprites gives no set.
        EXPECT_EQ(CSpriteSet::Create(40004, mesh, assets, scene), nullptr);
        // Past the stored textures a field answers the default texture -1: no more sprites than
        // textures. A texture of -1, or one the table does not list, gives no set and ends nothing.
        auto lamp = CSpriteSet::Create(30022, mesh, assets, scene);
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->GetCount(), 2u);
        EXPECT_EQ(CSpriteSet::Create(30023, mesh, assets, scene), nullptr);
        EXPECT_EQ(CSpriteSet::Create(30024, mesh, assets, scene), nullptr);

        FlatWorld flat;
        CShadowMan shadows(assets, flat);
        Barrel barrel;
        ASSERT_TRUE(shadows.CreateShadowFor(&barrel));
        const CShadowMan::CShadow& shadow = *shadows.GetShadows().front();
        EXPECT_FLOAT_EQ(shadow.GetDescription().sizeX * shadow.GetDescription().sizeZ, 6.0f);
        EXPECT_EQ(shadow.GetMesh()->GetFaces(0)[0].texture->GetWidth(), 16);
        for (int theme = 0; theme < 4; ++theme) {
            SCOPED_TRACE(theme);
            world.assets->SetWorld(theme, true);
            shadows.ResetSkidMarks();
            ASSERT_NE(shadows.GetSkidMarks().front()->GetMesh(), nullptr);
        }
    }
    world.assets->StopManager();
}

} // namespace
