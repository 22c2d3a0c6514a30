// How active objects answer collisions: the bounce off a wall by kind, continued contact with its stop,
// hook and lift, and hits between two active objects by zone.

#include "GroundDoubles.h"
#include "HeadlessRun.h"
#include "WorldDoubles.h"

#include "support/VectorExpect.h"
#include "world/ActiveWorldObject.h"
#include "world/CollisionRecorder.h"
#include "world/ContactPoint.h"
#include "world/GridCell.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldTopography.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr unsigned kTick = 40;
constexpr int kCrate = 30030; // five points, 4 long and 3 wide, step height 1

/// A crate that counts the calls of the long-contact hook.
class HookedCrate : public CActiveWorldObject {
public:
    HookedCrate() : CActiveWorldObject(kCrate, -1) {}
    void ContactHook(const CVector&, int, CWorldObject*) override { ++hooks; }
    int hooks = 0;
};

class CollisionResponse : public worldtest::WorldFixture {
protected:
    static CActiveWorldObject* Crate(CVector at) {
        return dynamic_cast<CActiveWorldObject*>(CWorldMan::CreateWorldObject(kCrate, at.x, at.y, at.z, -1));
    }
    static void Tick(CActiveWorldObject& object) {
        object.Update(kTick);
        object.SimulateStep(kTick);
        object.FinishStep(kTick);
    }
    /// The frame's start and the step with the given velocity going in, the body back where the frame
    /// began (no step displacement).
    static void StepWith(CActiveWorldObject& object, CVector velocity) {
        object.SetVelocity(velocity);
        object.Update(kTick);
        object.SimulateStep(kTick);
        object.SetPositionVector(object.GetSavedPosition());
    }
    static CVector Flat(CVector v) { return {v.x, 0.0f, v.z}; }
    static SContactEntry LastContact(const CWorldObject& object) {
        const CCollisionRecorder& recorder = *object.GetCollisionRecorder();
        SContactEntry entry;
        EXPECT_TRUE(recorder.GetCurrentContact(recorder.GetCurrentCount() - 1, entry));
        return entry;
    }
};

TEST_F(CollisionResponse, AWallHitBouncesByKindAndSpeed) {
    struct Case {
        const char* what;
        bool airborne;
        CVector velocity, contact;
        int kind;
        CVector after;  // every point's velocity after the response
        float response; // as recorded
        bool stepCancelled;
        bool recorded;
    };
    const Case cases[] = {
        {"head on: straight back", false, {-1, 0, 0}, {1, 0, 0}, 1, {0.75f, 0, 0}, 1.0f, true, true},
        {"along the wall: out along the contact",
         false,
         {0, 0, 1},
         {1, 0, 0},
         2,
         {0.75f, 0, 0},
         0.5f,
         true,
         true},
        {"at an angle: mirrored, a quarter of the contact added",
         false,
         {-0.6f, 0, 0.8f},
         {1, 0, 0},
         7,
         CVector(0.6f + 0.25f, 0, 0.8f).GetNormalised() * 0.75f,
         (1.0f - CVector(-0.6f, 0, 0.8f).Dot(CVector(0.85f, 0, 0.8f).GetNormalised())) / 2.0f,
         true,
         true},
        {"slow on the ground: leaves at 0.3",
         false,
         {-0.2f, 0, 0},
         {1, 0, 0},
         1,
         {0.3f, 0, 0},
         1.0f,
         true,
         true},
        {"airborne: leaves at 0.3", true, {-1, 0, 0}, {1, 0, 0}, 1, {0.3f, 0, 0}, 1.0f, true, true},
        {"vertical contact of kind 1: no velocity set",
         false,
         {-1, 0, 0},
         {0, 1, 0},
         1,
         {-1, 0, 0},
         0.0f,
         true,
         true},
        {"vertical contact of kind 2", false, {-1, 0, 0}, {0, 2, 0}, 2, {-1, 0, 0}, 0.0f, true, true},
        {"vertical contact of kind 5 keeps the step",
         false,
         {-1, 0, 0},
         {0, 1, 0},
         5,
         {-1, 0, 0},
         0.0f,
         false,
         true},
        {"kind 3: nothing at once", false, {-1, 0, 0}, {1, 0, 0}, 3, {-1, 0, 0}, 0.0f, false, true},
        {"a zero contact is not recorded", false, {-1, 0, 0}, {0, 0, 0}, 1, {-1, 0, 0}, 0.0f, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CActiveWorldObject* crate = Crate(c.airborne ? CVector(0, 20, 0) : CVector(0, 0, 0));
        Tick(*crate);
        Tick(*crate);
        ASSERT_EQ(crate->CountContactsGroundedLastStep(), c.airborne ? 0u : 5u);
        StepWith(*crate, CVector());
        crate->SetVelocity(c.velocity);
        const std::uint32_t before = crate->GetCollisionRecorder()->GetCurrentCount();
        crate->OnCollision(c.contact, c.kind, nullptr);
        for (std::uint32_t i = 0; i < crate->GetContactCount(); ++i)
            EXPECT_TRUE(VectorNear(crate->GetContact(i)->GetVelocity(), c.after, 1e-5f)) << i;
        EXPECT_EQ(crate->IsStepValid(), !c.stepCancelled);
        ASSERT_EQ(crate->GetCollisionRecorder()->GetCurrentCount(), before + (c.recorded ? 1u : 0u));
        if (c.recorded) {
            const SContactEntry entry = LastContact(*crate);
            EXPECT_NEAR(entry.response, c.response, 1e-5f);
            EXPECT_EQ(entry.kind, c.kind);
            EXPECT_TRUE(VectorNear(entry.vector, c.contact.GetNormalised(), 1e-6f));
        }
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(CollisionResponse, AWallHeldOnSlidesThenStopsThenHooksAndTheBodyIsLiftedFree) {
    // Asking for a jam truck makes the hooked crate.
    SWorldLinks links = Links();
    links.makeObjectOfKind = [](int kind, int, int) -> std::unique_ptr<CWorldObject> {
        return kind == CWorldMan::kKindJamTruck ? std::make_unique<HookedCrate>() : nullptr;
    };
    CWorldMan::SetLinks(links);
    auto* crate = dynamic_cast<HookedCrate*>(CWorldMan::CreateWorldObject(60015, 0, 0, 0, -1));
    ASSERT_NE(crate, nullptr);
    Tick(*crate);
    Tick(*crate);
    std::set<std::uint32_t> seen;
    for (int tick = 0; tick < 16; ++tick) {
        SCOPED_TRACE(tick);
        crate->Update(kTick);
        crate->SimulateStep(kTick);
        SContactEntry entry;
        std::uint32_t c = 0;
        crate->GetCollisionRecorder()->FindContact(CWorldObject::kCollisionTrack, entry, c);
        seen.insert(c);
        crate->SetVelocity(CVector(-1, 0, 0.5f));
        const int hooks = crate->hooks;
        if (tick == 0)
            crate->OnCollision(CVector(1, 0, 0), CWorldObject::kCollisionTrack, nullptr);
        else
            crate->OnCollisionContinued(CVector(1, 0, 0), CWorldObject::kCollisionTrack, nullptr);
        EXPECT_FALSE(crate->IsStepValid());
        const CVector v = crate->GetMeanContactVelocity();
        if (c <= 3) {
            // First the mirror image plus a quarter of the contact, then along the wall pushed half a unit
            // off it; at three quarters of the speed.
            const float k = 1.0f / std::sqrt(1.25f);
            const CVector d =
                (tick == 0 ? CVector(k + 0.25f, 0, 0.5f * k) : CVector(0.5f, 0, 0.5f * k)).GetNormalised();
            EXPECT_TRUE(VectorNear(v, d * (std::sqrt(1.25f) * 0.75f), 1e-5f)) << v;
        } else if (c <= 5) {
            EXPECT_EQ(v, CVector());
        } else {
            EXPECT_EQ(v, CVector(-1, 0, 0.5f));
            EXPECT_EQ(crate->hooks, hooks + 1);
        }
        const float y = crate->GetSavedPosition().y;
        crate->FinishStep(kTick);
        // The lift acts on what the tick before recorded: counts 4 to 9 lift 0.75 to 4.5.
        const float lift = c > 3 && c < 10 ? static_cast<float>(c - 3) * 0.75f : 0.0f;
        EXPECT_NEAR(crate->Position().y - y, lift, 1e-4f) << c;
    }
    EXPECT_EQ(seen, (std::set<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    CWorldMan::DeleteAllObjects();
}

TEST_F(CollisionResponse, ObjectHitsSetAPendingVelocityByZone) {
    struct Case {
        const char* what;
        CVector mine, theirs, contact;
        CVector after; // horizontal velocity after FinishStep
        float response;
        bool stepCancelled;
    };
    const float r2 = std::sqrt(0.5f);
    const Case cases[] = {
        {"zone 0, head on: a slow rebound of 0.25",
         {1, 0, 0},
         {0, 0, 0},
         {-3, 0, 0},
         {-0.25f, 0, 0},
         1.0f,
         true},
        {"zone 1, across: pushed off along the contact",
         {0, 0, 1},
         {0, 0, 0},
         {-3, 0, 0},
         {-1, 0, 1},
         (1.0f - r2) / 2.0f,
         true},
        {"zone 1, fast: no faster than 1.5",
         {0, 0, 2},
         {0, 0, 0},
         {-3, 0, 0},
         CVector(-1, 0, 1).GetNormalised() * 1.5f,
         (1.0f - r2) / 2.0f,
         true},
        {"zone 2, hit from behind by a faster one",
         {0.2f, 0, 0},
         {1, 0, 0},
         {3, 0, 0},
         {0.85f, 0, 0},
         0.0f,
         false},
        {"zone 2, faster than the other: a tenth more",
         {1, 0, 0},
         {0.5f, 0, 0},
         {3, 0, 0},
         {1.1f, 0, 0},
         0.0f,
         false},
        {"no horizontal contact: nothing", {1, 0, 0}, {0, 0, 0}, {0, 2, 0}, {1, 0, 0}, 0.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CActiveWorldObject* me = Crate({0, 0, 0});
        CActiveWorldObject* other = Crate({-c.contact.x, 0, -c.contact.z});
        for (int i = 0; i < 2; ++i) {
            Tick(*me);
            Tick(*other);
        }
        StepWith(*other, c.theirs);
        StepWith(*me, c.mine);
        ASSERT_TRUE(VectorNear(me->GetMeanPreviousVelocity(), c.mine, 1e-6f));
        const CVector stepped = me->GetMeanContactVelocity();
        me->OnCollision(c.contact, CWorldObject::kCollisionObject, other);
        EXPECT_EQ(me->IsStepValid(), !c.stepCancelled);
        EXPECT_EQ(me->GetMeanContactVelocity(), stepped); // pending until the step's end
        EXPECT_NEAR(LastContact(*me).response, c.response, 1e-5f);
        me->FinishStep(kTick);
        if (!c.contact.IsZero() && c.contact.y == 0.0f) {
            for (std::uint32_t i = 0; i < me->GetContactCount(); ++i)
                EXPECT_TRUE(VectorNear(Flat(me->GetContact(i)->GetVelocity()), c.after, 1e-5f)) << i;
        }
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(CollisionResponse, TwoBodiesMeetingHeadOnStopAndReboundInsteadOfPassingThrough) {
    CreateWorlds();
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kMainScreen));
    CActiveWorldObject* a = Crate({-10, 0, 0});
    CActiveWorldObject* b = Crate({10, 0, 0});
    bool cancelled = false;
    float nearestA = -100.0f;
    float nearestB = 100.0f;
    for (int tick = 0; tick < 30; ++tick) {
        if (tick < 8) {
            a->SetVelocity(CVector(1, 0, 0));
            b->SetVelocity(CVector(-1, 0, 0));
        }
        CWorldMan::UpdateObjects(kTick);
        CWorldMan::SimulateActiveObjects(kTick);
        CWorldMan::CollideObjects(kTick);
        cancelled = cancelled || !a->IsStepValid() || !b->IsStepValid();
        CWorldMan::FinishActiveObjects(kTick);
        ASSERT_LT(a->Position().x, -1.0f) << tick;
        ASSERT_GT(b->Position().x, 1.0f) << tick;
        nearestA = std::fmax(nearestA, a->Position().x);
        nearestB = std::fmin(nearestB, b->Position().x);
    }
    EXPECT_TRUE(cancelled);
    // Each rebounded: it ends farther back than where they met.
    EXPECT_LT(a->Position().x, nearestA - 0.5f);
    EXPECT_GT(b->Position().x, nearestB + 0.5f);
    CWorldMan::DeleteAllObjects();
}

TEST_F(CollisionResponse, TheTrackCheckClimbsALowStepAndStopsAtAHighOne) {
    struct Case {
        const char* what;
        float stepHeight;
        bool blocks;
    };
    const Case cases[] = {{"a step of 0.5 is climbed", 0.5f, false}, {"a step of 8 blocks", 8.0f, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CreateWorlds();
        groundtest::TerrainTree tree;
        tree.AddMesh(groundtest::Plate(-112, -48, 0, 48, 0));
        tree.AddMesh(groundtest::Plate(0, -48, 48, 48, c.stepHeight));
        CWorldTopography ground;
        ASSERT_TRUE(ground.Build(&tree.root));
        Race()->ground = &ground;
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
        // The piece under the crate stands far above it, so only the track check reaches it.
        auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(15280, -4, 40, -4, -1));
        ASSERT_NE(piece, nullptr);
        CWorldMan::GetWorldGrid()->GetCell(3, 3)->piece = piece;
        CActiveWorldObject* crate = Crate({-6, 0, 0});
        crate->SetVelocity(CVector(0.8f, 0, 0));
        bool everInContact = false;
        SContactEntry first;
        float farthest = -100.0f;
        for (int tick = 0; tick < 20; ++tick) {
            worldtest::TickWorld(kTick);
            if (!everInContact && crate->IsInTrackContact())
                EXPECT_TRUE(
                    crate->GetCollisionRecorder()->FindCurrentContact(CWorldObject::kCollisionTrack, first));
            everInContact = everInContact || crate->IsInTrackContact();
            farthest = std::fmax(farthest, crate->Position().x);
        }
        EXPECT_EQ(everInContact, c.blocks);
        if (c.blocks) {
            EXPECT_LT(farthest, -1.5f);
            EXPECT_EQ(crate->Position().y, 0.0f);
            // The crate hears kind 1 from the piece under it, the piece kind 5 turned round.
            EXPECT_EQ(first.other, piece);
            EXPECT_TRUE(VectorNear(first.vector, CVector(-1, 0, 0), 1e-5f));
            SContactEntry heard;
            ASSERT_TRUE(piece->GetCollisionRecorder()->GetCurrentContact(0, heard));
            EXPECT_EQ(heard.kind, CWorldObject::kCollisionObject);
            EXPECT_EQ(heard.other, crate);
            EXPECT_TRUE(VectorNear(heard.vector, CVector(1, 0, 0), 1e-5f));
        } else {
            EXPECT_GT(farthest, 2.0f);
            EXPECT_EQ(piece->GetCollisionRecorder()->GetCurrentCount(), 0u);
        }
        CWorldMan::GetWorldGrid()->GetCell(3, 3)->piece = nullptr;
        CWorldMan::DeleteAllObjects();
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kMainScreen));
        Race()->ground = nullptr;
        CWorldMan::DestroyWorlds();
    }
}

} // namespace
