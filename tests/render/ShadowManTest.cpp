#include "render/ShadowMan.h"

#include "FakeRenderAssets.h"
#include "engine/Frame.h"
#include "engine/Mesh.h"
#include "render/ShadowOwner.h"
#include "render/ShadowWorld.h"
#include "render/VornMesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace zentrix;

namespace {

class FakeWorld final : public IShadowWorld {
public:
    CFrame root{nullptr};
    int current = 0;
    std::function<float(float x, float z)> ground = [](float, float) { return 0.0f; };
    int heightQueries = 0;

    CEntity* GetWorldFrame() override { return &root; }
    int GetCurrentWorldId() const override { return current; }
    float GetGroundHeight(float x, float z, CGroundHint&) override {
        ++heightQueries;
        return ground(x, z);
    }
};

class FakeOwner final : public IShadowOwner {
public:
    int type = 1;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    int GetTypeId() const override { return type; }
    void GetWorldMatrix(float* out) const override {
        const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
        std::copy(m, m + 16, out);
    }
};

constexpr int kType = 40;
constexpr int kShadowTexture = 900;

void AddShadowRecord(FakeRenderAssets& assets, int type, float sizeX, float sizeZ) {
    assets.ints[{type, CShadowMan::kFieldTexture, 0}] = kShadowTexture;
    assets.vectors[{type, CShadowMan::kFieldOffset, 0}] = CVector(0, 1, 0);
    assets.vectors[{type, CShadowMan::kFieldSize, 0}] = CVector(sizeX, 99, sizeZ);
}

int ShownMarks(const CShadowMan& shadows) {
    int shown = 0;
    for (const auto& mark : shadows.GetSkidMarks())
        if (mark->GetMesh() && !mark->GetMesh()->IsHidden())
            ++shown;
    return shown;
}

TEST(ShadowManTest, ShadowsComeFromCompleteFiniteRecords) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        int dropField; // 0: none
        float sizeX;
        bool texture;
        bool off;
        bool created;
        bool hasShadow;
    };
    const Case cases[] = {
        {"complete record", 0, 4, true, false, true, true},
        {"no texture id", CShadowMan::kFieldTexture, 4, true, false, false, false},
        {"no offset", CShadowMan::kFieldOffset, 4, true, false, false, false},
        {"no size", CShadowMan::kFieldSize, 4, true, false, false, false},
        {"NaN size", 0, nan, true, false, false, false},
        {"texture asset missing: shadow without quad", 0, 4, false, false, true, true},
        {"shadows off", 0, 4, true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRenderAssets assets;
        FakeWorld world;
        AddShadowRecord(assets, kType, c.sizeX, 2);
        assets.ints.erase({kType, c.dropField, 0});
        assets.vectors.erase({kType, c.dropField, 0});
        CTexture* texture = c.texture ? assets.AddTexture(kShadowTexture) : nullptr;
        CShadowMan shadows(assets, world);
        shadows.SetSkidMarkCount(0);
        shadows.SetShadowsOff(c.off);
        FakeOwner owner;
        owner.type = kType;
        for (int attempt = 0; attempt < 3; ++attempt)
            EXPECT_EQ(shadows.CreateShadowFor(&owner), c.created);
        EXPECT_LE(shadows.GetCachedDescriptionCount(), 1u); // no growth on repeated misses
        EXPECT_EQ(!shadows.GetShadows().empty(), c.hasShadow);
        if (!c.hasShadow)
            continue;
        const CShadowMan::CShadow& shadow = *shadows.GetShadows().front();
        EXPECT_TRUE(shadow.IsBlended());
        EXPECT_EQ(shadow.GetMesh() != nullptr, c.texture);
        if (!c.texture)
            continue;
        EXPECT_NE(texture->GetFlags() & 0x4u, 0u);
        EXPECT_EQ(shadow.GetMesh()->GetParent(), &world.root);
    }
}

TEST(ShadowManTest, ShadowsLieOnTheGroundOfTheRaceWorld) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        int world;
        std::function<float(float, float)> ground;
        float expectedY[4];
    };
    // Corners: (-2,-1), (2,-1), (2,1), (-2,1) around the owner at (10, 3, 20).
    const Case cases[] = {
        {"other world: plane", 0, [](float, float) { return 100.0f; }, {0.5f, 0.5f, 0.5f, 0.5f}},
        {"race world: ground + lift", 1, [](float x, float) { return x / 4.0f; }, {2.5f, 3.5f, 3.5f, 2.5f}},
        {"step of 5 keeps the slope",
         1,
         [](float x, float) { return x > 10 ? 5.0f : 0.0f; },
         {0.5f, 5.5f, 5.5f, 0.5f}},
        {"higher step lies flat",
         1,
         [](float x, float) { return x > 10 ? 6.5f : 1.0f; },
         {1.5f, 1.5f, 1.5f, 1.5f}},
        {"no ground: base plane",
         1,
         [nan](float x, float) { return x > 10 ? nan : 2.0f; },
         {2.5f, 0.5f, 0.5f, 2.5f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRenderAssets assets;
        FakeWorld world;
        world.current = c.world;
        world.ground = c.ground;
        AddShadowRecord(assets, kType, 4, 2);
        assets.AddTexture(kShadowTexture);
        CShadowMan shadows(assets, world);
        FakeOwner owner;
        owner.type = kType;
        owner.x = 10;
        owner.y = 3;
        owner.z = 20;
        ASSERT_TRUE(shadows.CreateShadowFor(&owner));
        shadows.UpdateShadows();
        CVornMesh* mesh = shadows.GetShadows().front()->GetMesh();
        const MeshVertex* v = mesh->GetVertices();
        const float xs[4] = {8, 12, 12, 8};
        const float zs[4] = {19, 19, 21, 21};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_FLOAT_EQ(v[i].x, xs[i]);
            EXPECT_FLOAT_EQ(v[i].z, zs[i]);
            EXPECT_FLOAT_EQ(v[i].y, c.expectedY[i]);
        }
        EXPECT_NE(mesh->GetPendingUpdates() & CMesh::kUpdatePositions, 0u);
        EXPECT_EQ(world.heightQueries, c.world == 1 ? 4 : 0);
    }
}

TEST(ShadowManTest, SkidMarksRecycleTheOldestOfThePool) {
    struct Case {
        int count;
        int theme;
        int expectedPool;
        int shownAfterThree; // marks shown after three cars' calls
        bool quads;
    };
    const Case cases[] = {
        {0, 0, 0, 0, true},
        {1, 1, 1, 0, true},
        {2, 2, 2, 0, true},
        {3, 3, 3, 3, true},
        {70, 0, 70, 6, true},
        {-4, 0, 0, 0, true},
        {1 << 30, 0, CShadowMan::kMaxSkidMarks, 6, true},
        {10, 7, 10, 0, false}, // unknown theme: no skid texture, no quads
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "count " << c.count << " theme " << c.theme);
        FakeRenderAssets assets;
        FakeWorld world;
        assets.theme = c.theme;
        for (int id : CShadowMan::kSkidTextures)
            assets.AddTexture(id);
        CShadowMan shadows(assets, world);
        const int liveBefore = CShadowMan::CCarSkidMark::LiveCount();
        shadows.SetSkidMarkCount(c.count);
        ASSERT_EQ(static_cast<int>(shadows.GetSkidMarks().size()), c.expectedPool);
        EXPECT_EQ(CShadowMan::CCarSkidMark::LiveCount(),
                  liveBefore - CShadowMan::kDefaultSkidMarks + c.expectedPool);
        EXPECT_EQ(ShownMarks(shadows), 0);
        FakeOwner cars[3];
        for (int i = 0; i < 3; ++i) {
            cars[i].x = static_cast<float>(100 * i);
            EXPECT_TRUE(shadows.AddSkidMark(&cars[i]));
        }
        EXPECT_EQ(ShownMarks(shadows), c.shownAfterThree);
        if (c.expectedPool < 3 || !c.quads)
            continue;
        const CShadowMan::CCarSkidMark& last = *shadows.GetSkidMarks().back();
        const CShadowMan::CCarSkidMark& beforeLast = *std::next(shadows.GetSkidMarks().rbegin())->get();
        EXPECT_EQ(last.GetOwner(), &cars[2]);
        EXPECT_FLOAT_EQ(last.GetPoint().x, -1.5f);
        EXPECT_FLOAT_EQ(beforeLast.GetPoint().x, 1.5f);
        EXPECT_EQ(last.GetMesh()->GetFaces(0)[0].texture,
                  assets.GetTexture(CShadowMan::kSkidTextures[c.theme]));
        // The mark is a 2 x 2 quad around the car's point (-1.5, 0, 2.6), at the plane outside the race.
        const MeshVertex* v = last.GetMesh()->GetVertices();
        EXPECT_FLOAT_EQ(v[0].x, 200 - 1.5f - 1);
        EXPECT_FLOAT_EQ(v[2].z, 2.6f + 1);
        EXPECT_FLOAT_EQ(v[3].y, 0.5f);
    }
}

TEST(ShadowManTest, RemovalStopAndInstance) {
    FakeRenderAssets assets;
    FakeWorld world;
    AddShadowRecord(assets, kType, 4, 2);
    assets.AddTexture(kShadowTexture);
    {
        CShadowMan shadows(assets, world);
        EXPECT_EQ(CShadowMan::GetInstance(), &shadows);
        EXPECT_EQ(shadows.StartManager(), 0);
        FakeOwner a, b, stranger;
        a.type = b.type = kType;
        ASSERT_TRUE(shadows.CreateShadowFor(&a));
        ASSERT_TRUE(shadows.CreateShadowFor(&b));
        // A second shadow for a replaces its first: one removal leaves a no shadow.
        const CShadowMan::CShadow* first = shadows.GetShadows().front().get();
        ASSERT_TRUE(shadows.CreateShadowFor(&a));
        EXPECT_EQ(shadows.GetShadows().size(), 2u);
        EXPECT_NE(shadows.GetShadows().front().get(), first);
        EXPECT_EQ(shadows.GetShadows().front()->GetOwner(), &a);
        EXPECT_EQ(world.root.GetFirstChild()->GetNextSibling()->GetNextSibling(), nullptr);
        EXPECT_FALSE(shadows.RemoveShadowFor(&stranger));
        EXPECT_TRUE(shadows.RemoveShadowFor(&a));
        EXPECT_FALSE(shadows.RemoveShadowFor(&a));
        EXPECT_EQ(shadows.GetShadows().size(), 1u);
        EXPECT_EQ(shadows.GetShadows().front()->GetOwner(), &b);
        // A type that lost its shadow data takes the owner's shadow away.
        ASSERT_TRUE(shadows.CreateShadowFor(&a));
        a.type = kType + 1;
        EXPECT_FALSE(shadows.CreateShadowFor(&a));
        EXPECT_EQ(shadows.GetShadows().size(), 1u);
        shadows.SetShadowsOff(true);
        EXPECT_TRUE(shadows.RemoveShadowFor(&stranger));
        EXPECT_NE(world.root.GetFirstChild(), nullptr);
        EXPECT_EQ(shadows.StopManager(), 0);
        EXPECT_TRUE(shadows.GetShadows().empty());
        EXPECT_EQ(world.root.GetFirstChild(), nullptr);
    }
    EXPECT_EQ(CShadowMan::GetInstance(), nullptr);
    EXPECT_EQ(CShadowMan::LiveCount(), 0);
}

} // namespace
