#include "render/SpriteSet.h"

#include "FakeRenderAssets.h"
#include "engine/RenderBatch.h"
#include "engine/Scene.h"
#include "render/VornMesh.h"
#include "render/VornSprite.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

#include <iterator>
#include <limits>

using namespace zentrix;

namespace {

constexpr int kAsset = 500;
const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::size_t DecalCount(const CScene& scene) {
    const DecalList& list = scene.GetDecalList(CVornSprite::kDecalList);
    return static_cast<std::size_t>(std::distance(list.begin(), list.end()));
}

void PlaceMesh(CVornMesh& mesh, float x, float y, float z) {
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    mesh.SetMatrix(m);
}

// A record of `sprites` entries with texture 100 + i; entry `noTexture` names a missing texture (or,
// with `textureId`, that id) and the last entry has size `lastSize`; count -1 leaves the count out.
void MakeRecord(FakeRenderAssets& assets, int count, int sprites, int noTexture, float lastSize,
                int textureId = 0) {
    if (count != -1)
        assets.ints[{kAsset, CSpriteSet::kFieldCount, 0}] = count;
    for (int i = 0; i < sprites; ++i) {
        if (i != noTexture)
            assets.AddTexture(100 + i);
        assets.ints[{kAsset, CSpriteSet::kFieldTexture, i}] =
            i == noTexture && textureId ? textureId : 100 + i;
        assets.floats[{kAsset, CSpriteSet::kFieldSize, i}] = i == sprites - 1 ? lastSize : 1.0f;
        assets.vectors[{kAsset, CSpriteSet::kFieldPosition, i}] = CVector(static_cast<float>(i), 1, 0);
        assets.vectors[{kAsset, CSpriteSet::kFieldColour, i}] = CVector(1, 0.5f, 0);
    }
}

TEST(SpriteSetTest, RecordsMakeWholeSetsOrNothing) {
    struct Case {
        const char* name;
        int count, sprites, noTexture;
        float lastSize;
        int expected; // -1: no set
        int textureId = 0;
    } const cases[] = {
        {"no count field", -1, 2, -1, 1, -1},
        {"count 0: an empty set", 0, 0, -1, 1, 0},
        {"negative count: an empty set", -5, 2, -1, 1, 0},
        {"three sprites", 3, 3, -1, 2.5f, 3},
        {"a count beyond the stored textures", 1000000, 2, -1, 1, 2},
        {"a missing texture drops the set", 3, 3, 1, 1, -1},
        {"texture -1 drops the set", 3, 3, 2, 1, -1, -1},
        {"NaN size", 2, 2, -1, kNaN, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRenderAssets assets;
        CScene scene;
        CVornMesh mesh;
        MakeRecord(assets, c.count, c.sprites, c.noTexture, c.lastSize, c.textureId);
        const int liveBefore = CVornSprite::LiveCount();
        auto set = CSpriteSet::Create(kAsset, mesh, assets, scene);
        EXPECT_EQ(set ? static_cast<int>(set->GetCount()) : -1, c.expected);
        EXPECT_EQ(DecalCount(scene), static_cast<std::size_t>(std::max(c.expected, 0)));
        EXPECT_EQ(CVornSprite::LiveCount(), liveBefore + std::max(c.expected, 0));
    }
}

TEST(SpriteSetTest, SpritesFollowTheMeshAndKeepTheirPositionsWhenOthersGo) {
    FakeRenderAssets assets;
    CScene scene;
    CVornMesh mesh;
    PlaceMesh(mesh, 10, 20, 30);
    MakeRecord(assets, 3, 3, -1, 2.5f);
    auto set = CSpriteSet::Create(kAsset, mesh, assets, scene);
    ASSERT_NE(set, nullptr);
    CVornSprite* first = set->GetSprite(0);
    CVector p;
    first->GetPosition(p);
    EXPECT_TRUE(VectorNear(p, CVector(10, 21, 30)));
    EXPECT_EQ(first->GetColour(), 0xFFFF7F00u);
    EXPECT_NE(first->GetTexture()->GetFlags() & 0x4u, 0u);
    EXPECT_FLOAT_EQ(set->GetSprite(2)->GetSize(), 2.5f);

    set->RemoveSprite(set->GetSprite(1));
    CVornSprite stranger(scene, 1.0f, CVector(), nullptr, 0);
    set->RemoveSprite(&stranger); // not of this set: ignored
    ASSERT_EQ(set->GetCount(), 2u);
    PlaceMesh(mesh, -4, 0, 2);
    set->Update();
    set->GetSprite(1)->GetPosition(p);
    EXPECT_TRUE(VectorNear(p, CVector(-2, 1, 2))); // the third sprite with its own local position
    set.reset();
    EXPECT_EQ(DecalCount(scene), 1u);
}

TEST(SpriteSetTest, ColourChannelsBecomeBytesAndBadOnesClamp) {
    struct Case {
        float r, g, b;
        std::uint32_t expected;
    } const cases[] = {{1.0f, 0.5f, 0.0f, 0xFFFF7F00u},
                       {2.0f, -1.0f, kNaN, 0xFFFF0000u},
                       {0.1f, 0.999f, 1e30f, 0xFF19FEFFu}};
    for (const Case& c : cases)
        EXPECT_EQ(CSpriteSet::PackColour(c.r, c.g, c.b), c.expected) << c.r << " " << c.g << " " << c.b;
}

} // namespace
