// The world effects' outcomes: forces by type, the force's cycle, the sound definition, spawning with its
// countdown, ground and randomness, events started on targets, and particles.

#include "EventWorld.h"

#include "events/Event.h"
#include "events/EventCreateEffect.h"
#include "events/ForceEffect.h"
#include "events/ParticleEffect.h"
#include "events/SoundEffect.h"
#include "events/SpawnEffect.h"
#include "foundation/math/Random.h"
#include "foundation/math/RandomNumbers.h"
#include "render/FakeParticleServices.h"
#include "render/ParticleSystem.h"
#include "support/VectorExpect.h"
#include "world/ContactPoint.h"
#include "world/GroundDoubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using WorldEffects = eventstest::EventWorld;

CVector ForceOn(const CActiveWorldObject& object) {
    return object.GetContact(0)->GetForce();
}

void ClearForces(const CActiveWorldObject& object) {
    for (std::uint32_t i = 0; i < object.GetContactCount(); ++i)
        object.GetContact(i)->SetForce(CVector());
}

int CountOf(int typeId) {
    int n = 0;
    for (const auto& object : CWorldMan::GetObjectList())
        n += object && object->GetTypeId() == typeId ? 1 : 0;
    return n;
}

CWorldObject* LastOf(int typeId) {
    CWorldObject* last = nullptr;
    for (const auto& object : CWorldMan::GetObjectList())
        if (object && object->GetTypeId() == typeId)
            last = object.get();
    return last;
}

TEST_F(WorldEffects, ForcesPushTurnedWithTheOwnersHeadingByType) {
    // The owner looks along +z, so ForceDir (1, 0, 0) points along +z; the target stands 6 behind it.
    CActiveWorldObject* owner = MakeActive(kCrate, {0, 0, 0});
    CActiveWorldObject* target = MakeActive(kCrate, {0, 0, -6});
    enum Who { kOwner = 1, kTarget = 2, kBoth = 3 };
    struct Case {
        const char* params;
        int targets;
        CVector onOwner, onTarget;
    };
    const CVector none;
    const Case cases[] = {
        {"ForceType=0", kBoth, none, {0, 0, 2}},
        {"ForceType=0", kOwner, none, none},
        // ForceFreq 2: a cycle of 500 ms, a quarter of it gone: the sine is 1, and the owner is pushed too.
        {"ForceType=1,ForceFreq=2", kBoth, {0, 0, 2}, {0, 0, 2}},
        {"ForceType=1", kBoth, none, none}, // no ForceFreq: the phase stays at 0
        {"ForceType=2", kBoth, none, {0, 0, -2}},
        {"ForceType=2", kOwner, none, none},
        {"ForceType=3", kBoth, {0, 0, 2}, none},
        {"ForceType=3", kTarget, none, none},
        {"ForceDir={0;1;0}", kBoth, none, none}, // ForceType left out: none
    };
    for (const Case& c : cases) {
        const std::string text = std::string("ForceEffect<") + c.params + ",ForceDir={1;0;0},ForceMag=2>";
        SCOPED_TRACE(text);
        CForceEffect force;
        ASSERT_TRUE(force.Init(Item(text), owner));
        force.Update(125);
        std::vector<CWorldObject*> targets;
        if (c.targets & kOwner)
            targets.push_back(owner);
        if (c.targets & kTarget)
            targets.push_back(target);
        targets.push_back(Make(kPlain, {0, 0, 3})); // not active: never pushed
        ClearForces(*owner);
        ClearForces(*target);
        force.Fire(targets);
        EXPECT_TRUE(VectorNear(ForceOn(*owner), c.onOwner, 1e-5f));
        EXPECT_TRUE(VectorNear(ForceOn(*target), c.onTarget, 1e-5f));
    }
    // A target right at the owner has no way out: no force, never NaN.
    CActiveWorldObject* atOwner = MakeActive(kBall, {0, 0, 0});
    CForceEffect radial;
    ASSERT_TRUE(radial.Init(Item("ForceEffect<ForceType=2,ForceDir={1;0;0},ForceMag=2>"), owner));
    radial.Fire({atOwner});
    EXPECT_TRUE(VectorNear(ForceOn(*atOwner), none, 0.0f));
}

TEST_F(WorldEffects, TheForceCycleFollowsItsFrequencyAndStaysFinite) {
    CActiveWorldObject* owner = MakeActive(kCrate, {0, 0, 0});
    CForceEffect twice, endless, unset;
    ASSERT_TRUE(twice.Init(Item("ForceEffect<ForceType=1,ForceFreq=2>"), owner));
    ASSERT_TRUE(endless.Init(Item("ForceEffect<ForceType=1,ForceFreq=0>"), owner));
    ASSERT_TRUE(unset.Init(Item("ForceEffect<ForceType=1>"), owner));
    EXPECT_FLOAT_EQ(twice.GetPeriod(), 500.0f);
    const float sines[] = {1.0f, 0.0f, -1.0f, 0.0f, 1.0f};
    for (float expected : sines) {
        twice.Update(125);
        EXPECT_NEAR(std::sin(twice.GetPhase()), expected, 1e-5f);
        EXPECT_LE(twice.GetPhase(), 6.2831855f);
    }
    // A frame of many cycles keeps the phase within one; no period leaves it where it was.
    twice.Update(500 * 1000 + 125);
    EXPECT_NEAR(std::sin(twice.GetPhase()), 0.0f, 1e-3f);
    EXPECT_LE(twice.GetPhase(), 6.2831855f);
    for (CForceEffect* still : {&endless, &unset}) {
        still->Update(1000);
        EXPECT_EQ(still->GetPhase(), 0.0f);
    }
}

TEST_F(WorldEffects, TheSoundDefinitionTakesItsValuesInTextOrder) {
    CWorldObject* owner = Make(kPlain, {0, 0, 0});
    struct Case {
        const char* params;
        std::uint32_t mode, volume, volume2;
    };
    const Case cases[] = {
        {"Flags=1", 8, 100, 100},
        {"Flags=2", 2, 100, 100},
        {"Flags=3", 9, 100, 100},
        {"Flags=4", 3, 100, 100},
        {"Flags=5", 4, 100, 100},
        {"Flags=6", 13, 100, 100},
        {"Flags=7", 7, 100, 100},
        {"Flags=3,DimOthers=1", 9 | 16, 100, 100},
        {"DimOthers=1,Flags=3", 9, 100, 100},
        {"DimOthers=0", 8, 100, 100},
        {"Volume=70,Volume2=30", 8, 70, 30},
        {"Volume2=30,Volume=70", 8, 70, 70},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        CSoundEffect sound;
        ASSERT_TRUE(sound.Init(Item(std::string("SoundEffect<") + c.params + ">"), owner));
        EXPECT_EQ(sound.GetDefinition().playMode, c.mode);
        EXPECT_EQ(sound.GetDefinition().volume, c.volume);
        EXPECT_EQ(sound.GetDefinition().volume2, c.volume2);
    }
    CSoundEffect full;
    ASSERT_TRUE(full.Init(Item("SoundEffect<TickDelay=40,Pitch=90,Sounds={40010;40011},PosType=3,Priority=7,"
                               "Distance=60>"),
                          owner));
    const CSoundScriptDef& def = full.GetDefinition();
    EXPECT_EQ(def.tickDelay, 40u);
    EXPECT_EQ(def.pitch, 90u);
    EXPECT_EQ(def.samples, (std::vector<std::int32_t>{40010, 40011}));
    EXPECT_EQ(full.GetPositionType(), 3);
    EXPECT_EQ(def.priority, 7u);
    EXPECT_EQ(def.minDistance, 16.0f);
    EXPECT_EQ(def.maxDistance, 60.0f);
    full.Fire({owner}); // builds, plays nothing
    // A Flags value no mode has plays a random single sample.
    CSoundScriptDef other;
    other.SetPlayMode(9);
    EXPECT_EQ(other.playMode, 8u);
}

TEST_F(WorldEffects, SpawnsOncePerCountdownWithTheirLifeWhereverTheTriggerHolds) {
    CWorldObject* owner = Make(kPlain, {10, 0, 20});
    CEvent event(CEventItemFactory::Game());
    event.Init(Script("[event_begin]AlwaysTrigger<>[then]SpawnEffect<Objects={30031;31000},TimeDelay=100,"
                      "TimeDelayVar=0,LifeTime=-1,LifeTimeVar=0>[event_end]"),
               owner, 0, 1);
    std::string counts;
    for (int frame = 0; frame < 10; ++frame) {
        event.Update(40);
        counts += std::to_string(CountOf(kBall));
    }
    // Every 100 ms, counted down in the frames between: frames 1, 4, 7 and 10.
    EXPECT_EQ(counts, "1112223334");
    EXPECT_EQ(CountOf(kPlain), 1 + 4);
    EXPECT_EQ(LastOf(kBall)->GetLifeTime(), 0); // -1 with no variation: unlimited
    EXPECT_EQ(LastOf(kBall)->Position(), CVector(10, 0, 20));

    // By default the wait draws up to 15000 ms more, and the life is 10000 ms and up to 1000 more.
    CSpawnEffect slow;
    ASSERT_TRUE(slow.Init(Item("SpawnEffect<Objects={30031}>"), owner));
    slow.Fire({});
    EXPECT_GE(slow.GetCountdown(), 1000);
    EXPECT_LE(slow.GetCountdown(), 16000);
    EXPECT_GE(LastOf(kBall)->GetLifeTime(), 10000);
    EXPECT_LE(LastOf(kBall)->GetLifeTime(), 11000);
}

TEST_F(WorldEffects, SpawnedObjectsTakeTheirPlaceSpeedAndHeading) {
    CWorldObject* owner = Make(kPlain, {10, 0, 20});
    // Position is turned with the owner's heading (+x ahead: +z here); a random axis is the world's, round
    // the owner.
    Random::Seed(3);
    CSpawnEffect spawn;
    ASSERT_TRUE(
        spawn.Init(Item("SpawnEffect<Objects={30031},Position={4;1;0},RandomPosX=1,Velocity={0.5;0;0.25},"
                        "RandomVelZ=1,Orientation={0;0;0}>"),
                   owner));
    EXPECT_EQ(ScriptReports(),
              std::vector<std::string>{"SpawnEffect: Orientation {0;0;0} has no direction; (0, 1, 0) kept"});
    Random::Seed(3);
    spawn.Fire({});
    Random::Seed(3);
    RandomFloatInRange(0.0f, 1.0f); // the countdown
    const float x = 10.0f + RandomFloatInRange(-1.0f, 1.0f) * 4.0f;
    const float vz = 0.25f * RandomFloatInRange(-1.0f, 1.0f);
    auto* ball = dynamic_cast<CActiveWorldObject*>(LastOf(kBall));
    ASSERT_NE(ball, nullptr);
    EXPECT_TRUE(VectorNear(ball->Position(), CVector(x, 1, 24), 1e-4f));
    EXPECT_TRUE(VectorNear(ball->GetMeanContactVelocity(), CVector(0.5f, 0, vz), 1e-5f));
    EXPECT_TRUE(VectorNear(ball->Direction(), CVector(0, 1, 0), 1e-5f));
    EXPECT_TRUE(ball->IsAnimPlaying());
}

TEST_F(WorldEffects, SpawnedActiveObjectsStandOnTheRaceGroundOnly) {
    CWorldTopography ground;
    ASSERT_TRUE(ground.Init(25.0f, 25.0f, 12, 12, -150.0f, -150.0f));
    const auto plate = groundtest::Plate(-140.0f, -140.0f, 140.0f, 140.0f, 5.0f);
    ASSERT_TRUE(ground.AddTriangles(plate.data(), plate.size()));
    Race()->ground = &ground;
    struct Case {
        int world, assetId;
        float height;
    };
    const Case cases[] = {{1, kBall, 5.0f}, {3, kBall, 5.0f}, {2, kBall, 2.0f}, {1, kPlain, 2.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "world " << c.world << " asset " << c.assetId);
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(c.world));
        CWorldObject* owner = Make(kPlain, {0, 0, 0});
        CSpawnEffect spawn;
        ASSERT_TRUE(spawn.Init(
            Item("SpawnEffect<Objects={" + std::to_string(c.assetId) + "},Position={0;2;0}>"), owner));
        spawn.Fire({});
        ASSERT_NE(LastOf(c.assetId), owner);
        EXPECT_EQ(LastOf(c.assetId)->Position().y, c.height);
    }
    Race()->ground = nullptr;
}

TEST_F(WorldEffects, EventsStartOnTheTargetsAtTheirNextUpdateAndParticlesFollowTheirOwner) {
    // Resource script 50075 keeps sparks coming out of its owner.
    FakeParticleServices particles;
    particles.AddKind(9022);
    CParticleSystem::SetServices(&particles);
    CWorldObject* owner = Make(kPlain, {0, 0, 0});
    CWorldObject* target = Make(kBall, {0, 0, 5});
    CEventCreateEffect create;
    ASSERT_TRUE(create.Init(Item("EventCreateEffect<FileID=50075,Lifetime=100>"), owner));
    create.Fire({target, nullptr});
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 0);
    // A system attached to the target in each of its updates until more than 100 ms have passed.
    std::string live;
    for (int frame = 0; frame < 4; ++frame) {
        target->Update(40);
        live += std::to_string(CParticleSystem::GetLiveCount());
    }
    EXPECT_EQ(live, "1233");
    EXPECT_TRUE(CParticleSystem::DestroyByOwner(target));
    EXPECT_FALSE(CParticleSystem::DestroyByOwner(owner));

    // A loose system per target, owned by nobody; a kind of 0 is no effect at all.
    CParticleEffect loose, none;
    ASSERT_TRUE(loose.Init(Item("ParticlesEffects<FileID=9022,Offset={0;1;0},Attached=0>"), owner));
    loose.Fire({target, owner, nullptr});
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 2);
    EXPECT_FALSE(CParticleSystem::DestroyByOwner(owner));
    EXPECT_FALSE(CParticleSystem::DestroyByOwner(target));
    EXPECT_FALSE(none.Init(Item("ParticlesEffects<Offset={0;1;0}>"), owner));
    CEventCreateEffect unnamed;
    EXPECT_FALSE(unnamed.Init(Item("EventCreateEffect<Lifetime=100>"), owner));
    CParticleSystem::DestroyAll();
    CParticleSystem::SetServices(nullptr);
}

} // namespace
