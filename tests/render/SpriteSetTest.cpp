#include "render/SpriteSet.h"

#include "FakeRenderAssets.h"
#include "engine/GeometryBuffer.h"
#include "engine/RenderBatch.h"
#include "engine/Scene.h"
#include "render/VornMesh.h"
#include "render/VornSprite.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr int kAsset = 500;

std::size_t DecalCount(const CScene& scene) {
    const DecalList& list = scene.GetDecalList(CVornSprite::kDecalList);
    return static_cast<std::size_t>(std::distance(list.begin(), list.end()));
}

// A mesh moved to (10, 20, 30).
void PlaceMesh(CVornMesh& mesh, float x, float y, float z) {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    mesh.SetMatrix(m);
}

void AddRecordSprite(FakeRenderAssets& assets, int i, int texture, float size, CVector position,
                     CVector colour) {
    assets.ints[{kAsset, CSpriteSet::kFieldTexture, i}] = texture;
    assets.floats[{kAsset, CSpriteSet::kFieldSize, i}] = size;
    assets.vectors[{kAsset, CSpriteSet::kFieldPosition, i}] = position;
    assets.vectors[{kAsset, CSpriteSet::kFieldColour, i}] = colour;
}

TEST(SpriteSetTest, RecordsMakeSetsOrNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        int count;          // -1: field absent
        int sprites;        // sprites in the record
        int missingTexture; // index whose texture asset is missing, -1 none
        bool nanSize;       // the last sprite's size is NaN
        int expected;       // sprites of the set, -1: no set
    };
    const Case cases[] = {
        {"no count field", -1, 2, -1, false, -1},
        {"count 0 keeps an empty set", 0, 0, -1, false, 0},
        {"two sprites", 2, 2, -1, false, 2},
        {"negative count", -5, 2, -1, false, 0},
        {"count beyond the record", 1000000, 2, -1, false, -1},
        {"missing texture drops the set", 3, 3, 1, false, -1},
        {"NaN size", 2, 2, -1, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRenderAssets assets;
        CScene scene;
        CVornMesh mesh;
        if (c.count != -1)
            assets.ints[{kAsset, CSpriteSet::kFieldCount, 0}] = c.count;
        for (int i = 0; i < c.sprites; ++i) {
            const int texture = 100 + i;
            if (i != c.missingTexture)
                assets.AddTexture(texture);
            const float size = c.nanSize && i == c.sprites - 1 ? nan : 1.0f;
            AddRecordSprite(assets, i, texture, size, CVector(0, 0, 0), CVector(1, 1, 1));
        }
        const int liveBefore = CVornSprite::LiveCount();
        auto set = CSpriteSet::Create(kAsset, mesh, assets, scene);
        if (c.expected < 0) {
            EXPECT_EQ(set, nullptr);
            EXPECT_EQ(DecalCount(scene), 0u);
            EXPECT_EQ(CVornSprite::LiveCount(), liveBefore);
        } else {
            ASSERT_NE(set, nullptr);
            EXPECT_TRUE(set->IsLoaded());
            EXPECT_EQ(set->GetCount(), static_cast<std::size_t>(c.expected));
            EXPECT_EQ(DecalCount(scene), static_cast<std::size_t>(c.expected));
        }
    }
}

TEST(SpriteSetTest, SpritesFollowTheMeshAndKeepTheirPositionsWhenOthersGo) {
    FakeRenderAssets assets;
    CScene scene;
    CVornMesh mesh;
    PlaceMesh(mesh, 10, 20, 30);
    CTexture* texture = assets.AddTexture(7);
    assets.ints[{kAsset, CSpriteSet::kFieldCount, 0}] = 3;
    for (int i = 0; i < 3; ++i)
        AddRecordSprite(assets, i, 7, 0.5f + static_cast<float>(i), CVector(static_cast<float>(i), 1, 0),
                        CVector(1, 0.5f, 0));
    auto set = CSpriteSet::Create(kAsset, mesh, assets, scene);
    ASSERT_NE(set, nullptr);
    EXPECT_NE(texture->GetFlags() & 0x4u, 0u);

    CVornSprite* first = set->GetSprite(0);
    CVector p;
    first->GetPosition(p);
    EXPECT_TRUE(VectorNear(p, CVector(10, 21, 30)));
    EXPECT_EQ(first->GetColour(), 0xFFFF7F00u);
    EXPECT_EQ(first->GetTexture(), texture);
    EXPECT_FLOAT_EQ(set->GetSprite(2)->GetSize(), 2.5f);

    set->RemoveSprite(set->GetSprite(1));
    CVornSprite stranger(scene, 1.0f, CVector(), nullptr, 0);
    set->RemoveSprite(&stranger); // not of this set: ignored
    ASSERT_EQ(set->GetCount(), 2u);
    EXPECT_EQ(DecalCount(scene), 3u); // two of the set and the stranger

    PlaceMesh(mesh, -4, 0, 2);
    set->Update();
    for (std::size_t i = 0; i < set->GetCount(); ++i) {
        set->GetSprite(i)->GetPosition(p);
        EXPECT_TRUE(VectorNear(p, CVector(-4 + set->GetLocalPosition(i).x, 1, 2)));
    }
    set->GetSprite(1)->GetPosition(p);
    EXPECT_FLOAT_EQ(p.x, -2.0f); // the third sprite kept its own local position

    set.reset();
    EXPECT_EQ(DecalCount(scene), 1u);
}

TEST(SpriteSetTest, ColoursPackAsBytesAndBadChannelsClamp) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float r, g, b;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {1.0f, 0.5f, 0.0f, 0xFFFF7F00u}, {0.0f, 0.0f, 0.0f, 0xFF000000u},    {1.0f, 1.0f, 1.0f, 0xFFFFFFFFu},
        {2.0f, -1.0f, nan, 0xFFFF0000u}, {0.1f, 0.999f, 1e30f, 0xFF19FEFFu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << " " << c.g << " " << c.b);
        EXPECT_EQ(CSpriteSet::PackColour(c.r, c.g, c.b), c.expected);
    }
    CScene scene;
    CVornSprite sprite(scene, 1.0f, CVector(), nullptr, 0xFFFFFFFFu);
    sprite.SetColourRGB(0x12, 0x34, 0x56);
    EXPECT_EQ(sprite.GetColour(), 0x00123456u);
}

} // namespace
