#include "render/ParticleSystem.h"

#include "engine/GeometryBuffer.h"
#include "foundation/math/Random.h"
#include "render/AdaptiveSfxMan.h"
#include "render/EffectsLevelLinks.h"
#include "render/FakeParticleServices.h"
#include "render/ParticleKind.h"
#include "ui/SampleServices.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zentrix;

namespace {

constexpr int kOrdinary = 9020;
constexpr int kAlways = 9022;

struct FakeOwner : IParticleOwner {
    bool dead = false, active = false;
    CVector translation, velocity;
    bool IsDead() const override { return dead; }
    void GetWorldMatrix(float* out) const override {
        GetWorldRotation(out);
        out[12] = translation.x;
    }
    void GetWorldRotation(float* out) const override {
        for (int i = 0; i < 16; ++i)
            out[i] = i % 5 == 0 ? 1.0f : 0.0f;
    }
    bool GetVelocity(CVector& out) const override {
        out = velocity;
        return active;
    }
};

class ParticleTest : public testing::Test {
protected:
    void SetUp() override { Use(); }
    void TearDown() override {
        CParticleSystem::FreeKinds();
        CParticleSystem::SetServices(nullptr);
        CParticleSystem::SetEnabled(true);
    }
    /// Starts afresh: new services holding the steady kind as 9020 and 9022, no systems, no kinds,
    /// creation on, the generator seeded.
    FakeParticleServices& Use() {
        TearDown();
        services = std::make_unique<FakeParticleServices>();
        services->AddKind(kOrdinary);
        services->AddKind(kAlways);
        CParticleSystem::SetServices(services.get());
        Random::Seed(7);
        return *services;
    }
    /// Runs `frames` frames at 30 frames per second.
    static void Frames(int frames) {
        for (int i = 0; i < frames; ++i)
            CParticleSystem::UpdateAll(25);
    }
    static const DecalVertex& Vertex(const CParticleSystem* s, std::uint32_t i) {
        return s->GetBuffer()->GetVertices()[i];
    }
    std::unique_ptr<FakeParticleServices> services;
};

TEST_F(ParticleTest, CreationFollowsTheSwitchAndTheKindsData) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        bool enabled;
        int kind;
        char type; // the value changed: 'i' int, 'f' float, 'v' vector y, 'e' float element erased, 'E' id
                   // out of the format, 0 none
        int dataId, element;
        float value;
        bool created, kindValid;
    };
    const Case cases[] = {
        {"ordinary kind", true, kOrdinary, 0, 0, 0, 0, true, true},
        {"ordinary kind, switch off", false, kOrdinary, 0, 0, 0, 0, false, false},
        {"always-created kind, switch off", false, kAlways, 0, 0, 0, 0, true, true},
        {"no data", true, 9030, 0, 0, 0, 0, false, false},
        {"an id the format lacks", true, kOrdinary, 'E', 265, 0, 0, false, false},
        {"an element past the stored ones: the default", true, kOrdinary, 'e', 265, 1, 0, true, true},
        {"texture id 0", true, kOrdinary, 'i', 269, 0, 0, false, false},
        {"no particles", true, kOrdinary, 'i', 266, 0, 0, false, false},
        {"negative pool", true, kOrdinary, 'i', 266, 0, -1, false, false},
        {"largest pool", true, kOrdinary, 'i', 266, 0, 4096, true, true},
        {"pool too large", true, kOrdinary, 'i', 266, 0, 4097, false, false},
        {"NaN float", true, kOrdinary, 'f', 264, 0, nan, false, false},
        {"huge float", true, kOrdinary, 'f', 267, 1, 3e38f, false, false},
        {"NaN vector", true, kOrdinary, 'v', 253, 1, nan, false, false},
        {"missing texture asset", true, kOrdinary, 'i', 269, 0, 1599, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto& f = Use();
        const FakeParticleServices::Key key{c.kind, c.dataId, c.element};
        if (c.type == 'i')
            f.ints[key] = static_cast<int>(c.value);
        if (c.type == 'f')
            f.floats[key] = c.value;
        if (c.type == 'v')
            f.vectors[key].y = c.value;
        if (c.type == 'e')
            f.floats.erase(key);
        if (c.type == 'E')
            f.Erase(c.kind, c.dataId);
        CParticleSystem::SetEnabled(c.enabled);
        CParticleSystem* s = CParticleSystem::Create(c.kind, {}, nullptr, 0);
        ASSERT_EQ(s != nullptr, c.created);
        EXPECT_EQ(CParticleSystem::GetLiveCount(), c.created ? 1 : 0);
        if (!s)
            continue;
        EXPECT_EQ(s->IsKindValid(), c.kindValid);
        EXPECT_EQ(s->GetTexture() != nullptr, c.kindValid);
        EXPECT_EQ(s->GetBuffer()->GetCapacity(), s->GetPoolSize());
        EXPECT_EQ(f.scene.GetDecalList(0).front(), s->GetBuffer());
    }
}

TEST_F(ParticleTest, KindsAreReadOnceAndFreeingThemEndsTheirSystems) {
    ASSERT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    const int firstLoad = services->reads;
    ASSERT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    EXPECT_EQ(services->reads, firstLoad);
    CParticleSystem::FreeKinds();
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 0);
    EXPECT_TRUE(services->scene.GetDecalList(0).empty());
    ASSERT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    EXPECT_EQ(services->reads, 2 * firstLoad);
}

TEST_F(ParticleTest, LifetimeBlendingAndColourComeFromTheKind) {
    struct Case {
        float lifetime;
        const char* blend;
        float red;
        float remaining;
        std::uint32_t flags, colour; // colour at birth and one frame later; channels held to 0..255
    };
    const Case cases[] = {
        {0, "", 0.5f, 1000, 0x4, 0xFF7F003F},
        {300, "opaque", 1.0f, 300, 0, 0xFFFF003F},
        {-5, "opaque saturate", 2.0f, 1000, 0x200, 0xFFFF003F},
        {0, "blend saturate", -1.0f, 1000, 0x204, 0xFF00003F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blend);
        auto& f = Use();
        f.strings[{kOrdinary, 272, 0}] = c.blend;
        f.SetFloats(kOrdinary, 258, {c.red, c.red, c.red, c.red});
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, c.lifetime);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->GetRemainingLifetime(), c.remaining);
        EXPECT_EQ(s->GetTexture()->GetFlags(), c.flags);
        EXPECT_EQ(Vertex(s, 7).texture, s->GetTexture());
        Frames(1);
        EXPECT_EQ(Vertex(s, 0).colour, c.colour);
        Frames(1);
        EXPECT_EQ(Vertex(s, 0).colour, c.colour);
    }
}

TEST_F(ParticleTest, FramesAtThirtyFramesPerSecond) {
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {1, 2, 3}, nullptr, 0);
    Frames(1);
    EXPECT_EQ(s->GetRemainingLifetime(), 983.0f);
    // Emitted (timer reset to 5) after the 0.68 of the step, then 17 more.
    EXPECT_FLOAT_EQ(s->GetEmissionTimer(), 5.0f - 17.0f);
    EXPECT_EQ(s->GetParticle(0).life, 200.0f);
    EXPECT_EQ(Vertex(s, 0).size, 1.0f);
    EXPECT_EQ(Vertex(s, 0).y, 2.0f);
    Frames(1);
    EXPECT_EQ(s->GetBuffer()->GetCount(), 2u);
    EXPECT_EQ(s->GetParticle(0).life, 149.0f);
    // A quarter (51 / 200) of the way from birth to death; speed 2 over 1.7 units.
    EXPECT_FLOAT_EQ(Vertex(s, 0).size, 1.51f);
    EXPECT_EQ(Vertex(s, 0).colour, 0xFFA0003Fu);
    EXPECT_FLOAT_EQ(Vertex(s, 0).y, 5.4f);
    EXPECT_EQ(Vertex(s, 0).x, 1.0f);

    // A pool of 3 after five frames: slots emitted at frames 4, 5 and 3, the next to go is slot 2.
    services->ints[{kAlways, 266, 0}] = 3;
    s = CParticleSystem::Create(kAlways, {}, nullptr, 0);
    Frames(5);
    EXPECT_EQ(s->GetRingCursor(), 2u);
    EXPECT_EQ(s->GetParticle(0).life, 149.0f);
    EXPECT_EQ(s->GetParticle(1).life, 200.0f);
    EXPECT_EQ(s->GetParticle(2).life, 98.0f);
}

TEST_F(ParticleTest, EmissionOnlyInsideTheWindow) {
    struct Case {
        float from, to;
        std::uint32_t emitted;
    };
    // Lifetime 1000, 17 a frame: 983, 966, 949, 932, 915 lie inside (900, 1000).
    const Case cases[] = {{0, 0, 10}, {0, 100, 5}, {100, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to);
        auto& f = Use();
        f.ints[{kOrdinary, 266, 0}] = 20;
        f.SetFloats(kOrdinary, 270, {c.from, c.to});
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
        Frames(10);
        EXPECT_EQ(s->GetUsedCount(), c.emitted);
    }
}

TEST_F(ParticleTest, EachEmissionEmitsTheKindsCountUpToThePool) {
    struct Case {
        const char* what;
        std::vector<int> count; // data id 274; empty: the format lacks it
        std::uint32_t afterFirstFrame;
    };
    const Case cases[] = {
        {"a format without the count", {}, 1},
        {"three", {3, 3}, 3},
        {"none", {0, 0}, 0},
        {"below none", {-4, -2}, 0},
        {"more than the pool of 8", {100, 100}, 8},
        {"the second element left out: the id's default (5 here)", {5}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto& f = Use();
        for (std::size_t e = 0; e < c.count.size(); ++e)
            f.ints[{kOrdinary, 274, static_cast<int>(e)}] = c.count[e];
        f.intDefaults[274] = 5;
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
        ASSERT_TRUE(s);
        Frames(1);
        EXPECT_EQ(s->GetUsedCount(), c.afterFirstFrame);
    }
}

TEST_F(ParticleTest, SystemsEndWithTheirLifetimeOrTheirOwner) {
    FakeOwner a, b;
    CParticleSystem* short1 = CParticleSystem::Create(kOrdinary, {}, nullptr, 17);
    CParticleSystem* ofA = CParticleSystem::Create(kOrdinary, {}, &a, 0);
    CParticleSystem* ofB = CParticleSystem::Create(kOrdinary, {}, &b, 0);
    CParticleSystem* expired = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
    CParticleSystem* other = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
    expired->Expire();
    a.dead = true;
    Frames(1);
    EXPECT_FALSE(CParticleSystem::IsAlive(short1) || CParticleSystem::IsAlive(ofA) ||
                 CParticleSystem::IsAlive(expired));
    EXPECT_TRUE(CParticleSystem::IsAlive(ofB) && CParticleSystem::IsAlive(other));
    EXPECT_FALSE(CParticleSystem::DestroyByOwner(&a));
    EXPECT_TRUE(CParticleSystem::DestroyByOwner(&b));
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 1);
    EXPECT_EQ(services->scene.GetDecalList(0).front(), other->GetBuffer());
    EXPECT_EQ(std::next(services->scene.GetDecalList(0).begin()), services->scene.GetDecalList(0).end());
}

TEST_F(ParticleTest, AnOwnerCarriesAndThrowsItsParticles) {
    FakeOwner owner;
    owner.translation = {10, 0, 0};
    owner.active = true;
    owner.velocity = {3, 4, 0};
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {1, 2, 3}, &owner, 0);
    Frames(1);
    EXPECT_EQ(Vertex(s, 0).x, 11.0f);
    EXPECT_EQ(Vertex(s, 0).z, 3.0f);
    // The owner's speed (5) goes into the birth speed twice.
    EXPECT_EQ(s->GetParticle(0).speed[0], 12.0f);
    EXPECT_EQ(s->GetParticle(0).speed[1], 2.0f);
}

TEST_F(ParticleTest, GroupsShareOnePlace) {
    struct Case {
        int size;
        bool sameAsFirst[3]; // slots 1..3
    };
    // A group of 3 shares the first member's place; a group size below 1 makes groups of one.
    const Case cases[] = {{3, {true, true, false}}, {-5, {false, false, false}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        auto& f = Use();
        f.vectors[{kOrdinary, 250, 0}] = {10, 10, 10};
        f.SetFloats(kOrdinary, 261, {0, 0});
        f.SetFloats(kOrdinary, 262, {0, 0});
        f.ints[{kOrdinary, 268, 0}] = f.ints[{kOrdinary, 268, 1}] = c.size;
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
        Frames(4);
        for (std::uint32_t i = 1; i <= 3; ++i)
            EXPECT_EQ(Vertex(s, i).x == Vertex(s, 0).x && Vertex(s, i).y == Vertex(s, 0).y,
                      c.sameAsFirst[i - 1])
                << "slot " << i;
    }
}

TEST_F(ParticleTest, UnsoundKindsStaySound) {
    // No default lifetime (the emitter's progress divides by it) and particles born without life.
    services->SetFloats(kOrdinary, 271, {0});
    services->SetFloats(kOrdinary, 265, {-10, 0});
    services->vectors[{kOrdinary, 256, 1}] = services->vectors[{kOrdinary, 253, 1}] = {1, 1, 1};
    EXPECT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0)->IsFinished());
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 100);
    Frames(3);
    EXPECT_TRUE(std::isfinite(s->GetEmitterStart().x) && std::isfinite(s->GetEmitterEnd().y));
    EXPECT_EQ(Vertex(s, 0).size, 0.0f);
    EXPECT_EQ(Vertex(s, 1).size, 0.0f);
}

TEST_F(ParticleTest, TheSampleSparksLoad) {
    uitest::SampleServices sample;
    struct Values : FakeParticleServices {
        CAssetMan* assets = nullptr;
        bool GetInt(int a, int d, int& out, int e) override { return assets->GetInt(a, d, out, e); }
        bool GetFloat(int a, int d, float& out, int e) override { return assets->GetFloat(a, d, out, e); }
        bool GetVector(int a, int d, CVector& out, int e) override { return assets->GetVector(a, d, out, e); }
        bool GetString(int a, int d, char* b, std::size_t n) override {
            return assets->GetString(a, d, b, n);
        }
    } values;
    values.assets = sample.assets.get();
    CParticleKind kind(kAlways);
    ASSERT_TRUE(kind.Load(values));
    EXPECT_EQ(kind.particleCount, 24);
    EXPECT_TRUE(kind.saturate && !kind.opaque && kind.HasGroups());
    EXPECT_EQ(kind.emitCount[0], 1); // not stored: the dictionary's default
    EXPECT_EQ(kind.emitCount[1], 1);
    CParticleKind burst(9041);
    ASSERT_TRUE(burst.Load(values));
    EXPECT_EQ(burst.emitCount[0], 6);
    EXPECT_EQ(burst.emitCount[1], 10);
    std::vector<std::uint8_t> picture;
    EXPECT_TRUE(sample.assets->GetAssetData(kind.textureId, picture));
}

struct RecordingLinks : IEffectsLevelLinks {
    int option = 0;
    std::vector<std::string> calls;
    int GetEffectsLevelOption() override { return option; }
    void SetTauntsEnabled(bool on) override { calls.push_back(on ? "taunts on" : "taunts off"); }
    void SetShadowsOff(bool off) override { calls.push_back(off ? "shadows off" : "shadows on"); }
    void SetSkidMarkCount(int n) override { calls.push_back("skid marks " + std::to_string(n)); }
};

TEST_F(ParticleTest, EffectsLevelSetsParticlesTauntsAndSkidMarks) {
    using Calls = std::vector<std::string>;
    struct Case {
        std::vector<int> options; // at the start, then each set again
        int level;
        bool particles;
        Calls lastCalls;
    };
    const Case cases[] = {
        {{0}, 0, false, {"taunts off", "shadows on", "skid marks 0"}},
        {{1}, 1, true, {"taunts off", "shadows on", "skid marks 70"}},
        {{2}, 2, true, {"taunts on", "shadows on", "skid marks 170"}},
        {{3}, -1, true, {}},
        {{0, 3}, 0, false, {}},
        {{2, -1, 0}, 0, false, {"taunts off", "shadows on", "skid marks 0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "last option " << c.options.back());
        CParticleSystem::SetEnabled(true);
        RecordingLinks links;
        CAdaptiveSfxMan man(&links);
        for (std::size_t i = 0; i < c.options.size(); ++i) {
            links.option = c.options[i];
            links.calls.clear();
            i == 0 ? man.StartManager() : (man.ApplyEffectsLevel(), 0);
        }
        EXPECT_EQ(man.GetLevel(), c.level);
        EXPECT_EQ(CParticleSystem::IsEnabled(), c.particles);
        EXPECT_EQ(links.calls, c.lastCalls);
    }
}

} // namespace
