// Cars using their pickups on a flat race ground of the sample set: starting, running out, cancelling and
// locking, and what each type does to the car and to the cars around it.

#include "CarDoubles.h"
#include "GroundDoubles.h"
#include "HeadlessRun.h"
#include "PieceFixture.h"
#include "WorldDoubles.h"

#include "foundation/assets/CarAsset.h"
#include "render/ParticleServices.h"
#include "render/ParticleSystem.h"
#include "render/VornMesh.h"
#include "render/assets/TextureAsset.h"
#include "world/CarPickupHelper.h"
#include "world/ContactPoint.h"
#include "world/SplodgeWO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace zentrix;
using cartest::RecordingSounds;
using cartest::ScriptedDriver;

namespace {

constexpr unsigned kFrameMs = 40;

/// Whether any face of the object's mesh shows the texture.
bool Shows(CWorldObject* object, int textureId) {
    return object && object->ReplaceTexture(textureId, textureId);
}

class CarPickups : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        particles = std::make_unique<worldtest::SampleParticles>(*assets, *engine);
        CParticleSystem::SetServices(particles.get());
        CreateWorlds();
        tree.AddMesh(groundtest::Plate(-116, -116, 140, 140, 0));
        ASSERT_TRUE(ground.Build(&tree.root));
        Race()->ground = &ground;
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
        services.sounds = &sounds;
        driver.human = true;
        car = Make(CVector(0, 0, 0), driver);
        other.slot = 1;
        other.human = true;
        Run(1000);
        ASSERT_TRUE(car->IsGrounded());
        sounds.calls.clear();
        Race()->taunts.clear();
    }
    void TearDown() override {
        CWorldMan::DeleteAllObjects();
        CParticleSystem::DestroyAll();
        CParticleSystem::SetServices(nullptr);
        WorldFixture::TearDown();
    }
    static CCarObject* Make(const CVector& at, ScriptedDriver& by) {
        auto* made = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60001, at.x, at.y, at.z, -1));
        if (made)
            made->AssignDriver(&by);
        return made;
    }
    static void Run(unsigned ms) {
        for (unsigned t = 0; t < ms; t += kFrameMs) {
            worldtest::TickWorld(kFrameMs);
        }
    }
    CCarPickupHelper& Helper() { return *car->GetPickupHelper(); }
    /// Gives and uses a pickup of `type`.
    void Use(int type) {
        car->GivePickup(type);
        sounds.calls.clear();
        Helper().ActivateIfHeld();
    }
    /// A second car `ahead` units in front of the first, at rest.
    CCarObject* Ahead(float ahead) {
        CCarObject* made = Make(car->Position() + car->Direction() * ahead, other);
        Run(400);
        return made;
    }
    int Count(int typeId) const {
        int n = 0;
        for (const auto& object : CWorldMan::GetObjectList())
            n += object->GetTypeId() == typeId && !object->IsDead() ? 1 : 0;
        return n;
    }

    std::unique_ptr<worldtest::SampleParticles> particles;
    groundtest::TerrainTree tree;
    CWorldTopography ground;
    RecordingSounds sounds;
    ScriptedDriver driver;
    ScriptedDriver other;
    CCarObject* car = nullptr;
};

TEST_F(CarPickups, UsingEndsTheRunningOneFirstAndLoopsAndLocksRefuse) {
    struct {
        const char* name;
        int running; // started before
        int held;
        int state; // the stunt state at the use
        int lockMs;
        int active; // after the use
        int heldAfter;
    } const cases[] = {
        {"nothing held", -1, -1, -1, -1, -1, -1},
        {"shield", -1, 0, -1, -1, 0, -1},
        {"grip over a running boost", 1, 9, -1, -1, 9, -1},
        {"in a loop", 0, 1, 6, -1, -1, 1},
        {"locked", 0, 6, -1, 800, -1, 6},
        {"a lock run out", -1, 6, -1, 0, 6, -1},
        {"a drop ends at once", -1, 3, -1, -1, -1, -1},
        {"a type without an effect", -1, 5, -1, -1, 5, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Helper().Cancel(true);
        car->ClearStuntState();
        car->EndAllEffects();
        Helper().ClearLock();
        if (c.running != -1)
            Use(c.running);
        if (c.held != -1)
            car->GivePickup(c.held);
        if (c.state != -1)
            ASSERT_TRUE(car->SetStuntState(c.state));
        if (c.lockMs != -1)
            car->LockPickups(c.lockMs);
        const bool boosted = car->IsEffectActive(CCarObject::kEffectWheelie);
        Helper().ActivateIfHeld();
        EXPECT_EQ(Helper().GetActiveType(), c.active);
        EXPECT_EQ(car->GetPickupType(), c.heldAfter);
        // A boost that ran is over, with everything it started.
        if (boosted && c.held != -1)
            EXPECT_EQ(car->IsEffectActive(CCarObject::kEffectModifiers), c.active == 9);
    }
    // The lock counts down; a respawn lifts it and drops what is held.
    Helper().Cancel(true);
    car->ClearStuntState();
    car->LockPickups(100);
    car->GivePickup(0);
    Helper().Update(kFrameMs);
    Helper().Update(kFrameMs);
    Helper().ActivateIfHeld();
    EXPECT_EQ(Helper().GetActiveType(), -1);
    Helper().Update(kFrameMs);
    Helper().ActivateIfHeld();
    EXPECT_EQ(Helper().GetActiveType(), 0);
    car->LockPickups(5000);
    car->GivePickup(1);
    car->Respawn(-1);
    EXPECT_EQ(Helper().GetLockMs(), -1);
    EXPECT_EQ(Helper().GetActiveType(), -1);
    EXPECT_EQ(car->GetPickupType(), -1);
}

TEST_F(CarPickups, EachTypeRunsItsTimeAndTheTypesOutsideTheTableNone) {
    struct {
        int type;
        unsigned durationMs;
        const char* sound;
    } const cases[] = {{0, 10000, "play 51085 0"}, {1, 10000, "play 51092 0"}, {5, 10000, nullptr},
                       {6, 5000, "play 51081 0"},  {8, 10000, nullptr},        {9, 10000, "play 51090 0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Use(c.type);
        EXPECT_EQ(sounds.calls, c.sound ? std::vector<std::string>{c.sound} : std::vector<std::string>{});
        unsigned ran = 0;
        while (Helper().GetActiveType() == c.type && ran < 20000) {
            Helper().Update(kFrameMs);
            ran += kFrameMs;
        }
        // Still running when its time is exactly up; over in the frame after.
        EXPECT_EQ(ran, c.durationMs + kFrameMs);
        EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectModifiers));
        car->ClearStuntState();
    }
    for (const int type : {-1, 11, 100000}) {
        EXPECT_EQ(CCarPickupHelper::GetDuration(type), 0u);
        EXPECT_FALSE(Helper().Give(type));
    }
}

TEST_F(CarPickups, DropsLieFifteenBehindOnTheGround) {
    car->Reorient(CVector(0.6f, 0, 0.8f), kUpVector);
    struct {
        int type;
        int asset;
        const char* sound;
    } const cases[] = {{2, 12200, "play 51083 0"},
                       {3, 12201, "play 51086 0"},
                       {4, 12202, "play 51089 0"},
                       {10, 12203, "play 55038 0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Use(c.type);
        EXPECT_EQ(Helper().GetActiveType(), -1);
        EXPECT_EQ(sounds.calls, std::vector<std::string>{c.sound});
        CWorldObject* drop = nullptr;
        for (const auto& object : CWorldMan::GetObjectList())
            if (object->GetTypeId() == c.asset)
                drop = object.get();
        ASSERT_NE(drop, nullptr);
        const CVector expected = car->Position() - car->Direction() * 15.0f;
        EXPECT_NEAR(drop->Position().x, expected.x, 1e-3f);
        EXPECT_NEAR(drop->Position().z, expected.z, 1e-3f);
        // A drop is a splat: made 5 above, it lies on the ground under it.
        auto* splat = dynamic_cast<CSplodgeWO*>(drop);
        ASSERT_NE(splat, nullptr);
        EXPECT_FLOAT_EQ(drop->Position().y, splat->GetGroundHeight(expected.x, expected.z, nullptr));
        EXPECT_EQ(drop->GetLifeTime(), 10000);
    }
}

TEST_F(CarPickups, TheBoostPushesBelowSpeed2AndLiftsTheNose) {
    const float acceleration = car->GetAcceleration();
    const float top = car->GetTopSpeed();
    Use(1);
    EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectWheelie));
    EXPECT_FLOAT_EQ(car->GetAcceleration(), acceleration * 1.4f);
    EXPECT_FLOAT_EQ(car->GetTopSpeed(), top * 1.1f);
    for (const float speed : {0.0f, 1.99f, 2.0f, 2.5f}) {
        SCOPED_TRACE(speed);
        car->SetVelocity(car->Direction() * speed);
        CContactPoint* centre = car->GetContact(0);
        const CVector before = centre->GetForce();
        Race()->taunts.clear();
        Helper().Update(kFrameMs);
        const CVector push = centre->GetForce() - before;
        EXPECT_NEAR(push.Length(), speed < 2.0f ? 0.1f : 0.0f, 1e-5f);
        if (speed < 2.0f)
            EXPECT_NEAR(push.Dot(car->Direction().GetNormalised()), 0.1f, 1e-5f);
        ASSERT_EQ(Race()->taunts.size(), 1u);
        EXPECT_EQ(Race()->taunts[0].second, 10);
    }
    // A rumble would fight the boost's own motion.
    car->SetVelocity(car->Direction());
    EXPECT_FALSE(car->Rumble(0.5f, 200));
    // Its end ends every effect of the car and gives the handling back exactly.
    Helper().Cancel(false);
    EXPECT_TRUE(car->Rumble(0.5f, 200));
    car->EndAllEffects();
    EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectWheelie));
    EXPECT_EQ(car->GetAcceleration(), acceleration);
    EXPECT_EQ(car->GetTopSpeed(), top);
}

TEST_F(CarPickups, TheBeamPulsesAndSlowsAndDisablesTheCarAhead) {
    CCarObject* target = Ahead(20.0f);
    ASSERT_NE(target, nullptr);
    const float acceleration = target->GetAcceleration();
    target->GivePickup(0);
    Use(6);
    sounds.calls.clear();
    int hits = 0;
    for (unsigned t = kFrameMs; t <= 5000; t += kFrameMs) {
        Helper().Update(kFrameMs);
        target->UpdateTimedEffects(kFrameMs);
        // On for 0-1000, 2000-3000 and 4000-5000 ms (each flip in the frame past the second).
        const unsigned phase = t / 1040;
        const bool on = phase % 2 == 0;
        ASSERT_EQ(Helper().IsBeamOn(), on) << t;
        EXPECT_EQ(Helper().GetBeamParticles() != nullptr, on) << t;
        if (on) {
            ++hits;
            EXPECT_EQ(target->GetDisableTimeMs(), 2600) << t;
            EXPECT_EQ(target->GetPickupType(), -1);
        }
    }
    EXPECT_EQ(std::count(sounds.calls.begin(), sounds.calls.end(), "play 51080 1"), hits);
    // The modifiers were taken once and run their 3000 ms, then taken again in a later on half.
    EXPECT_TRUE(target->IsEffectActive(CCarObject::kEffectModifiers));
    EXPECT_FLOAT_EQ(target->GetAcceleration(), acceleration * 0.01f);
    Helper().Update(kFrameMs);
    EXPECT_EQ(Helper().GetActiveType(), -1);
    EXPECT_EQ(Helper().GetBeamParticles(), nullptr);
    // A car behind or beside is no target.
    target->EndAllEffects();
    target->SetPosition(car->Position().x - car->Direction().x * 20.0f, 0,
                        car->Position().z - car->Direction().z * 20.0f);
    Run(200);
    Use(6);
    Helper().Update(kFrameMs);
    EXPECT_FALSE(target->IsEffectActive(CCarObject::kEffectModifiers));
}

TEST_F(CarPickups, TheGripRollsTheCarAndFlashesItsTyresInTheLastSeconds) {
    const int tread = car->GetWheelTextureId();
    Use(9);
    EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectRoll));
    EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectModifiers));
    EXPECT_TRUE(Shows(car->GetWheel(0), 60483));
    EXPECT_FALSE(Shows(car->GetWheel(0), tread));
    std::vector<unsigned> flips;
    bool swapped = true;
    for (unsigned t = kFrameMs; t <= 10000; t += kFrameMs) {
        Helper().Update(kFrameMs);
        if (Helper().IsGripTextureSwapped() != swapped) {
            swapped = !swapped;
            flips.push_back(t);
            EXPECT_EQ(Shows(car->GetWheel(2), 60483), swapped) << t;
        }
    }
    ASSERT_FALSE(flips.empty());
    EXPECT_EQ(flips.front(), 7320u);
    for (std::size_t i = 1; i < flips.size(); ++i)
        EXPECT_EQ(flips[i] - flips[i - 1], 320u);
    Helper().Update(kFrameMs);
    EXPECT_EQ(Helper().GetActiveType(), -1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Shows(car->GetWheel(i), tread)) << i;
        EXPECT_FALSE(Shows(car->GetWheel(i), 60483)) << i;
    }
    EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectRoll));
}

TEST_F(CarPickups, TheShieldRespawnsTouchingCarsUnlessTheirPauseRunsAndHidesInALoop) {
    CCarObject* near = Ahead(6.0f);
    ASSERT_NE(near, nullptr);
    near->SetCollisionPause(0);
    Use(0);
    EXPECT_TRUE(car->GetPickupIndicator()->GetMesh() && !car->GetPickupIndicator()->GetMesh()->IsHidden());
    struct {
        const char* name;
        std::uint32_t pause;
        bool respawned;
    } const cases[] = {{"touching", 0, true}, {"paused", 1000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        other.resetTaunts = 0;
        near->SetCollisionPause(c.pause);
        const float y = near->Position().y;
        Helper().Update(kFrameMs);
        EXPECT_EQ(other.resetTaunts, c.respawned ? 1 : 0);
        EXPECT_EQ(near->Position().y > y + 20.0f, c.respawned);
        if (c.respawned) {
            // Back where it stood, for the next case.
            near->SetPosition(car->Position().x + car->Direction().x * 6.0f, 0,
                              car->Position().z + car->Direction().z * 6.0f);
            Run(400);
        }
    }
    ASSERT_TRUE(car->SetStuntState(CCarObject::kStuntLoop));
    Helper().Update(kFrameMs);
    EXPECT_TRUE(car->GetPickupIndicator()->GetMesh()->IsHidden());
    car->ClearStuntState();
    Helper().Cancel(false);
    EXPECT_TRUE(car->GetPickupIndicator()->GetMesh()->IsHidden());
}

} // namespace
