// The world object on the sample set: what Create takes from its asset, its tick, its placement and
// orientation, skins, children, highlight and shadow.

#include "WorldDoubles.h"

#include "engine/Frame.h"
#include "engine/Texture.h"
#include "foundation/math/Rotation.h"
#include "render/Animator.h"
#include "render/ShadowMan.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "render/VornSprite.h"
#include "render/assets/MeshAsset.h"
#include "render/assets/TextureAsset.h"
#include "support/VectorExpect.h"
#include "world/BoundingVolume.h"
#include "world/CollisionRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace zentrix;

namespace {

using worldtest::Log;

class WorldObject : public worldtest::WorldFixture {
protected:
    std::unique_ptr<CWorldObject> Make(int assetId, int lifeMs = -1) {
        auto object = std::make_unique<CWorldObject>(assetId, lifeMs);
        object->Create();
        return object;
    }
    static CMesh* FirstMesh(CEntity* node) {
        if (auto* mesh = dynamic_cast<CMesh*>(node); mesh && mesh->GetVertexCount() > 0)
            return mesh;
        for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
            if (CMesh* found = FirstMesh(child))
                return found;
        return nullptr;
    }
    /// Whether any face of the tree shows the texture asset's engine texture.
    bool Shows(CEntity* node, int textureId) {
        CTexture* texture = assets->GetTexture(textureId)->GetEngineTexture();
        bool found = false;
        std::function<void(CEntity*)> walk = [&](CEntity* n) {
            if (auto* mesh = dynamic_cast<CMesh*>(n))
                for (std::uint32_t f = 0; f < mesh->GetFaceCount(0); ++f)
                    found = found || mesh->GetFaces(0)[f].texture == texture;
            for (CEntity* c = n->GetFirstChild(); c; c = c->GetNextSibling())
                walk(c);
        };
        walk(node);
        return found;
    }
};

TEST_F(WorldObject, CreateTakesMeshAnimationScriptRecorderAndVolumesFromTheAsset) {
    scripted = {31000};
    CWorldMan::SetLinks(Links());
    struct Case {
        int assetId, reportedId;
        bool mesh, animator, script;
        std::size_t volumes;
        std::size_t sprites;
    };
    const Case cases[] = {
        {31000, 62000, true, false, true, 2, 1},
        {31001, 15004, true, true, false, 0, 0},
        {31002, 0, false, false, false, 0, 0},
        {30016, 30016, false, false, false, 0, 0}, // a mesh id with no mesh: an empty mesh
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assetId);
        log.clear();
        auto object = Make(c.assetId);
        EXPECT_EQ(object->GetAssetId(), c.reportedId);
        ASSERT_NE(object->GetMesh(), nullptr);
        EXPECT_EQ(FirstMesh(object->GetMesh()) != nullptr, c.mesh);
        EXPECT_EQ(object->GetAnimator() != nullptr, c.animator);
        EXPECT_EQ(object->GetCurrentAnimation(), c.animator ? 0 : -1);
        EXPECT_EQ(object->GetBoundingVolumes().size(), c.volumes);
        EXPECT_EQ(object->GetSpriteSet() ? object->GetSpriteSet()->GetCount() : 0u, c.sprites);
        EXPECT_EQ(object->GetCollisionKind(), 1);
        EXPECT_EQ(object->GetSkin(), -1);
        ASSERT_NE(object->GetCollisionRecorder(), nullptr);
        EXPECT_TRUE(object->GetCollisionRecorder()->IsInitialised());
        // The animation is read before the script is loaded; a text that builds nothing is logged.
        EXPECT_EQ(log.back(), "script " + std::to_string(c.assetId));
        EXPECT_EQ(log.front() == "log 7 Animation loading failure - From the world object Broken flag",
                  c.assetId == 31002);
        object->Destroy();
        EXPECT_TRUE(object->GetBoundingVolumes().empty());
        EXPECT_EQ(object->GetEventController(), nullptr);
        EXPECT_EQ(object->GetCollisionRecorder(), nullptr);
        EXPECT_EQ(object->GetCollisionKind(), -1);
        EXPECT_NE(object->GetMesh(), nullptr);
    }
    auto box = Make(31000);
    const auto& volumes = box->GetBoundingVolumes();
    EXPECT_EQ(volumes[0]->GetKind(), CBoundingVolume::kKindSphere);
    EXPECT_EQ(volumes[1]->GetKind(), CBoundingVolume::kKindBox);
    // Turned with the object from the start: the box's offset (0, 1, 0) stays up.
    EXPECT_TRUE(VectorNear(volumes[1]->GetWorldOffset(), CVector(0, 1, 0)));
}

TEST_F(WorldObject, TheMeshIsMovedTurnedAndScaledByItsRecord) {
    auto ramp = Make(31003);
    CMesh* placed = FirstMesh(ramp->GetMesh());
    CMesh* cached = FirstMesh(assets->GetMesh(15008)->GetMesh());
    ASSERT_TRUE(placed && cached);
    ASSERT_EQ(placed->GetVertexCount(), cached->GetVertexCount());
    for (std::uint32_t i = 0; i < cached->GetVertexCount(); ++i) {
        const MeshVertex& v = cached->GetVertices()[i];
        CVector expected;
        RotateEulerXYZ(CVector(v.x, v.y + 2.0f, v.z), expected, 0.0f, 1.5707964f, 0.0f);
        const MeshVertex& p = placed->GetVertices()[i];
        EXPECT_TRUE(VectorNear(CVector(p.x, p.y, p.z), expected * 2.0f)) << i;
    }
}

TEST_F(WorldObject, LifeEndsAtTheFirstUpdatePastIt) {
    auto object = Make(31000, 1000);
    for (unsigned ms : {400u, 400u, 200u}) {
        object->Update(ms);
        EXPECT_FALSE(object->IsDead());
    }
    object->Update(1);
    EXPECT_TRUE(object->IsDead());
    auto forever = Make(31000, 0);
    forever->Update(4000000000u);
    EXPECT_FALSE(forever->IsDead());
}

TEST_F(WorldObject, ACollisionPauseCountsDownThenHoldsWhileAnActiveObjectTouches) {
    CWorldObject* paused = CWorldMan::CreateWorldObject(31000, 0, 0, 0, -1);
    CWorldObject* active = CWorldMan::CreateWorldObject(30001, 1, 0, 0, -1);
    struct Run {
        CVector activeAt;
        int ticks;
        bool pausedAfter;
    };
    const Run runs[] = {
        {{50, 0, 0}, 7, true},  // 300 - 7 x 40 = 20 ms left
        {{50, 0, 0}, 1, false}, // the eighth tick ends it
    };
    paused->SetCollisionPause(300);
    for (const Run& run : runs) {
        active->SetPositionVector(run.activeAt);
        for (int i = 0; i < run.ticks; ++i)
            paused->Update(40);
        EXPECT_EQ(paused->IsCollisionPaused(), run.pausedAfter);
    }
    // Touched at its end, the pause holds until the first tick without a touch.
    paused->SetCollisionPause(300);
    active->SetPositionVector(CVector(1, 0, 0));
    for (int i = 0; i < 10; ++i)
        paused->Update(40);
    EXPECT_EQ(paused->GetCollisionPause(), CWorldObject::kPausedWhileTouched);
    EXPECT_FALSE(CWorldObject::BoundingVolumesIntersect(*paused, *active));
    active->SetPositionVector(CVector(50, 0, 0));
    paused->Update(40);
    EXPECT_EQ(paused->GetCollisionPause(), 0u);
    active->SetPositionVector(CVector(1, 0, 0));
    EXPECT_TRUE(CWorldMan::IsTouchingActiveObject(*paused));
    EXPECT_FALSE(CWorldMan::IsTouchingActiveObject(*active));
    CWorldMan::DeleteAllObjects();
}

TEST_F(WorldObject, AFlashingHighlightRunsFromFullToHalfAndBack) {
    auto flag = Make(31001);
    CMesh* mesh = FirstMesh(flag->GetMesh());
    ASSERT_NE(mesh, nullptr);
    const CVector colour = engine->GetHighlightFlash1();
    ASSERT_GT(colour.x + colour.y + colour.z, 0.5f);
    flag->SetHighlight(CWorldObject::kHighlightFlash1);
    struct Step {
        unsigned ms;
        int timer;
        float brightness;
    };
    const Step steps[] = {
        {0, 2000, 1.0f}, {1000, 1000, 0.5f}, {1000, 0, 1.0f}, {1, 2000, 1.0f}, {500, 1500, 0.75f}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.timer);
        flag->Update(step.ms);
        EXPECT_EQ(flag->GetHighlightTimer(), step.timer);
        const CVector expected = colour * step.brightness * 255.0f;
        EXPECT_NEAR(mesh->GetColours()[0], std::min(expected.x, 255.0f), 1.0f);
        EXPECT_NEAR(mesh->GetColours()[1], std::min(expected.y, 255.0f), 1.0f);
        EXPECT_NEAR(mesh->GetColours()[2], std::min(expected.z, 255.0f), 1.0f);
    }
    // The same mode again does not restart the flashing.
    flag->SetHighlight(CWorldObject::kHighlightFlash1);
    EXPECT_EQ(flag->GetHighlightTimer(), 1500);
    flag->SetHighlight(CWorldObject::kHighlightNone);
    EXPECT_EQ(flag->GetHighlightTimer(), -1);
    flag->Update(500);
    EXPECT_EQ(flag->GetHighlightTimer(), -1);
}

TEST_F(WorldObject, OlderAssetIdsStandForTheirNewerTypes) {
    const std::pair<int, int> ids[] = {
        {3172, 15295}, {3174, 3174}, {1109, 17292}, {4208, 18295}, {2119, 16295}};
    for (auto [assetId, typeId] : ids)
        EXPECT_EQ(CWorldObject(assetId, -1).GetTypeId(), typeId) << assetId;
}

TEST_F(WorldObject, PlacingOrTurningToWhereItIsTouchesNothing) {
    auto box = Make(31000);
    box->SetPosition(3, 4, 5);
    box->SetDirection(1, 0, 0);
    CBoundingVolume& volume = *box->GetBoundingVolumes()[1]; // the box, offset (0, 1, 0)
    EXPECT_EQ(volume.GetCentre(), CVector(3, 4, 5));
    EXPECT_TRUE(VectorNear(volume.GetWorldOffset(), CVector(0, 1, 0)));
    volume.SetCentre(9, 9, 9);
    volume.SetOrientation(CVector(1, 0, 0), CVector(0, 0, 1)); // lying on its side: the offset along z
    box->GetMesh()->SetPosition(7, 7, 7);
    box->SetPosition(3, 4, 5);
    box->SetOrientation(CVector(1, 0, 0), box->Up());
    EXPECT_EQ(volume.GetCentre(), CVector(9, 9, 9));
    EXPECT_TRUE(VectorNear(volume.GetWorldOffset(), CVector(0, 0, 1)));
    float p[3];
    box->GetMesh()->GetPosition(p);
    EXPECT_EQ(CVector(p[0], p[1], p[2]), CVector(7, 7, 7));
}

TEST_F(WorldObject, AnUpVectorAlongTheDirectionIsReplaced) {
    struct Case {
        CVector direction, up, expectedDirection, expectedUp;
    };
    const Case cases[] = {
        {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, -1, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}}, // nose-down
        {{2, 0, 0}, {-1, 0, 0}, {2, 0, 0}, {0, 1, 0}},
        {{0, 0, 1}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{1, 1, 0}, {0, 1, 0}, {1, 1, 0}, {-1, 1, 0}}, // made perpendicular, not normalised
        {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 0}},  // no direction: the old one stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.direction.x << " " << c.direction.y << " " << c.direction.z);
        auto object = Make(31001);
        object->SetOrientation(CVector(0, 0, 1), CVector(0, 1, 0));
        object->SetOrientation(c.direction, c.up);
        EXPECT_EQ(object->Direction(), c.expectedDirection);
        EXPECT_EQ(object->Up(), c.expectedUp);
        float m[16];
        object->GetWorldMatrix(m);
        for (float value : m)
            EXPECT_TRUE(std::isfinite(value));
        EXPECT_GT(std::fabs(m[4]) + std::fabs(m[5]) + std::fabs(m[6]), 0.5f);
    }
}

TEST_F(WorldObject, SkinsReplaceTexturesPlaceByPlace) {
    auto box = Make(31000);
    ASSERT_TRUE(Shows(box->GetMesh(), 62001));
    EXPECT_TRUE(box->SetSkin(-1, 31000)); // the current skin: each texture by itself
    EXPECT_TRUE(Shows(box->GetMesh(), 62001));
    EXPECT_TRUE(box->SetSkin(0, 31000));
    EXPECT_FALSE(Shows(box->GetMesh(), 62001));
    EXPECT_TRUE(Shows(box->GetMesh(), 62002));
    EXPECT_EQ(box->GetSkin(), 0);
    // The new skin is longer than the current one: its second place has nothing to replace.
    auto shortSkin = Make(31004);
    EXPECT_FALSE(shortSkin->SetSkin(0, 31004));
    EXPECT_EQ(shortSkin->GetSkin(), 0);
    // A skin the record does not have replaces nothing.
    EXPECT_TRUE(shortSkin->SetSkin(7, 31004));
}

TEST_F(WorldObject, ChildrenHangUnderTheParentAndGoWithIt) {
    for (int meshId : {15004, 15008, 62000})
        assets->GetMesh(meshId);
    const int meshesBefore = CVornMesh::LiveCount();
    {
        auto parent = Make(31003);
        EXPECT_TRUE(parent->AddChild(31000, 2));
        EXPECT_FALSE(parent->AddChild(31001, 2));
        EXPECT_TRUE(parent->AddChild(31001, 5));
        CWorldObject* child = parent->GetChild(2);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->GetParent(), parent.get());
        EXPECT_EQ(child->GetMesh()->GetParent(), parent->GetMesh());
        EXPECT_EQ(parent->GetChild(3), nullptr);
        EXPECT_EQ(CWorldObject::LiveCount(), 3);

        // A new mesh for the parent keeps the children's meshes, now under it.
        parent->SetMesh(15004);
        EXPECT_EQ(child->GetMesh()->GetParent(), parent->GetMesh());

        // The child's glow follows the parent at the end of the parent's tick.
        parent->SetPosition(20, 0, 0);
        CVector glow;
        child->GetSpriteSet()->GetSprite(0)->GetPosition(glow);
        EXPECT_LT(glow.x, 10.0f);
        parent->Update(10);
        child->GetSpriteSet()->GetSprite(0)->GetPosition(glow);
        EXPECT_NEAR(glow.x, 20.0f, 0.001f);
        EXPECT_EQ(Without({"script"}), (Log{"events 31003 10", "events 31000 10", "events 31001 10"}));
    }
    EXPECT_EQ(CWorldObject::LiveCount(), 0);
    EXPECT_EQ(CVornMesh::LiveCount(), meshesBefore);
}

TEST_F(WorldObject, CollisionsReachTheRecorderAsDirectionAndMagnitude) {
    auto box = Make(31000);
    auto other = Make(31001);
    box->OnCollision(CVector(3, 4, 0), 5, other.get());
    box->OnCollision(CVector(0, 0, 0), 2, nullptr);
    other->SetDead();
    box->OnCollision(CVector(0, 0, -2), 1, other.get());
    const CCollisionRecorder& recorder = *box->GetCollisionRecorder();
    ASSERT_EQ(recorder.GetCurrentCount(), 3u);
    SContactEntry contacts[3];
    for (std::uint32_t i = 0; i < 3; ++i)
        ASSERT_TRUE(recorder.GetCurrentContact(i, contacts[i]));
    EXPECT_TRUE(VectorNear(contacts[0].vector, CVector(0.6f, 0.8f, 0)));
    EXPECT_FLOAT_EQ(contacts[0].response, 5.0f);
    EXPECT_EQ(contacts[0].other, other.get());
    EXPECT_EQ(contacts[0].kind, 5);
    EXPECT_EQ(contacts[1].vector, CVector(0, 1, 0));
    EXPECT_EQ(contacts[1].response, 0.0f);
    EXPECT_EQ(contacts[2].other, nullptr);
}

TEST_F(WorldObject, AShadowGoesWithItsObjectEvenWhileShadowsAreOff) {
    CreateWorlds();
    CShadowMan& shadows = *CShadowMan::GetInstance();
    {
        auto flag = Make(31001);
        auto box = Make(31000);
        EXPECT_EQ(shadows.GetShadows().size(), 1u);
        flag->Create();
        flag->SetMesh(15004);
        EXPECT_EQ(shadows.GetShadows().size(), 1u);
        shadows.SetShadowsOff(true);
    }
    EXPECT_TRUE(shadows.GetShadows().empty());
    shadows.UpdateShadows();
    shadows.SetShadowsOff(false);
}

} // namespace
