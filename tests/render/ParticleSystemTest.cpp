#include "render/ParticleSystem.h"

#include "engine/GeometryBuffer.h"
#include "foundation/math/Random.h"
#include "render/AdaptiveSfxMan.h"
#include "render/EffectsLevelLinks.h"
#include "render/FakeParticleServices.h"
#include "render/ParticleKind.h"
#include "ui/SampleServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

constexpr int kOrdinary = 9020;
constexpr int kAlways = 9022;

struct FakeOwner : IParticleOwner {
    bool dead = false;
    CVector translation;
    bool active = false;
    CVector velocity;
    bool IsDead() const override { return dead; }
    void GetWorldMatrix(float* out) const override {
        GetWorldRotation(out);
        out[12] = translation.x;
        out[13] = translation.y;
        out[14] = translation.z;
    }
    void GetWorldRotation(float* out) const override {
        std::fill(out, out + 16, 0.0f);
        out[0] = out[5] = out[10] = out[15] = 1.0f;
    }
    bool GetVelocity(CVector& out) const override {
        out = velocity;
        return active;
    }
};

class ParticleTest : public testing::Test {
protected:
    void SetUp() override { Use(std::make_unique<FakeParticleServices>()); }
    void TearDown() override {
        CParticleSystem::DestroyAll();
        CParticleSystem::FreeKinds();
        CParticleSystem::SetServices(nullptr);
        CParticleSystem::SetEnabled(true);
    }
    /// Starts afresh on `fresh`: no systems, no kinds, creation on, the generator seeded.
    FakeParticleServices& Use(std::unique_ptr<FakeParticleServices> fresh) {
        TearDown();
        services = std::move(fresh);
        CParticleSystem::SetServices(services.get());
        Random::Seed(7);
        return *services;
    }
    static const DecalVertex& Vertex(const CParticleSystem& s, std::uint32_t i) {
        return s.GetBuffer()->GetVertices()[i];
    }
    std::unique_ptr<FakeParticleServices> services;
};

TEST_F(ParticleTest, CreationFollowsTheSwitchAndTheKindsData) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        std::function<void(FakeParticleServices&)> change;
        bool enabled;
        int kind;
        bool created, kindValid;
    };
    const Case cases[] = {
        {"ordinary kind", {}, true, kOrdinary, true, true},
        {"ordinary kind, switch off", {}, false, kOrdinary, false, false},
        {"always-created kind, switch off", {}, false, kAlways, true, true},
        {"no data", {}, true, 9030, false, false},
        {"missing value",
         [](auto& f) {
             f.floats.erase({kOrdinary, 265, 1});
         },
         true, kOrdinary, false, false},
        {"missing text",
         [](auto& f) {
             f.strings.erase({kOrdinary, 273, 0});
         },
         true, kOrdinary, false, false},
        {"texture id 0",
         [](auto& f) {
             f.ints[{kOrdinary, 269, 0}] = 0;
         },
         true, kOrdinary, false, false},
        {"no particles",
         [](auto& f) {
             f.ints[{kOrdinary, 266, 0}] = 0;
         },
         true, kOrdinary, false, false},
        {"negative pool",
         [](auto& f) {
             f.ints[{kOrdinary, 266, 0}] = -1;
         },
         true, kOrdinary, false, false},
        {"largest pool",
         [](auto& f) {
             f.ints[{kOrdinary, 266, 0}] = 4096;
         },
         true, kOrdinary, true, true},
        {"pool too large",
         [](auto& f) {
             f.ints[{kOrdinary, 266, 0}] = 4097;
         },
         true, kOrdinary, false, false},
        {"NaN float",
         [=](auto& f) {
             f.floats[{kOrdinary, 264, 0}] = nan;
         },
         true, kOrdinary, false, false},
        {"huge float",
         [](auto& f) {
             f.floats[{kOrdinary, 267, 1}] = 3e38f;
         },
         true, kOrdinary, false, false},
        {"NaN vector",
         [=](auto& f) {
             f.vectors[{kOrdinary, 253, 1}] = {0, nan, 0};
         },
         true, kOrdinary, false, false},
        {"missing texture asset",
         [](auto& f) {
             f.ints[{kOrdinary, 269, 0}] = 1599;
         },
         true, kOrdinary, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto& f = Use(std::make_unique<FakeParticleServices>());
        f.AddKind(kOrdinary);
        f.AddKind(kAlways);
        if (c.change)
            c.change(f);
        CParticleSystem::SetEnabled(c.enabled);
        CParticleSystem* s = CParticleSystem::Create(c.kind, {}, nullptr, 0);
        ASSERT_EQ(s != nullptr, c.created);
        EXPECT_EQ(CParticleSystem::GetLiveCount(), c.created ? 1 : 0);
        if (!s)
            continue;
        EXPECT_TRUE(CParticleSystem::IsAlive(s));
        EXPECT_EQ(s->IsKindValid(), c.kindValid);
        EXPECT_EQ(s->GetTexture() != nullptr, c.kindValid);
        EXPECT_EQ(s->GetBuffer()->GetCapacity(), s->GetPoolSize());
        const DecalList& list = f.scene.GetDecalList(0);
        EXPECT_EQ(std::count(list.begin(), list.end(), s->GetBuffer()), 1);
    }
}

TEST_F(ParticleTest, KindsAreReadOnceUntilFreed) {
    services->AddKind(kOrdinary);
    ASSERT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    const int firstLoad = services->reads;
    ASSERT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    EXPECT_EQ(services->reads, firstLoad);
    // Freeing the kinds ends the systems that use them.
    CParticleSystem::FreeKinds();
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 0);
    EXPECT_TRUE(services->scene.GetDecalList(0).empty());
    ASSERT_TRUE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    EXPECT_EQ(services->reads, 2 * firstLoad);
}

TEST_F(ParticleTest, LifetimeAndBlendingComeFromTheKind) {
    struct Case {
        float lifetime;
        const char* blend;
        float remaining;
        std::uint32_t flags;
    };
    const Case cases[] = {
        {0, "", 1000, 0x4},
        {300, "opaque", 300, 0},
        {-5, "opaque saturate", 1000, 0x200},
        {0, "blend saturate", 1000, 0x204},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blend);
        auto& f = Use(std::make_unique<FakeParticleServices>());
        f.AddKind(kOrdinary);
        f.strings[{kOrdinary, 272, 0}] = c.blend;
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, c.lifetime);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->GetRemainingLifetime(), c.remaining);
        EXPECT_EQ(s->GetTexture()->GetFlags(), c.flags);
        EXPECT_EQ(Vertex(*s, 7).texture, s->GetTexture());
    }
}

TEST_F(ParticleTest, OneFrameAtThirtyFramesPerSecond) {
    services->AddKind(kOrdinary);
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {1, 2, 3}, nullptr, 0);
    ASSERT_TRUE(s);
    CParticleSystem::UpdateAll(25);
    EXPECT_EQ(s->GetRemainingLifetime(), 983.0f);
    // Emitted (timer reset to 5) after the 0.68 of the step, then 17 more.
    EXPECT_FLOAT_EQ(s->GetEmissionTimer(), 5.0f - 17.0f);
    ASSERT_EQ(s->GetUsedCount(), 1u);
    EXPECT_EQ(s->GetParticle(0).life, 200.0f);
    EXPECT_EQ(Vertex(*s, 0).colour, 0xFF7F003Fu);
    EXPECT_EQ(Vertex(*s, 0).size, 1.0f);
    EXPECT_EQ(Vertex(*s, 0).y, 2.0f);

    CParticleSystem::UpdateAll(25);
    EXPECT_EQ(s->GetUsedCount(), 2u);
    const CParticleSystem::Particle& p = s->GetParticle(0);
    EXPECT_EQ(p.life, 149.0f);
    // A quarter (51 / 200) of the way from birth to death; speed 2 over 1.7 units.
    EXPECT_FLOAT_EQ(Vertex(*s, 0).size, 1.51f);
    EXPECT_EQ(Vertex(*s, 0).colour, 0xFFA0003Fu);
    EXPECT_FLOAT_EQ(Vertex(*s, 0).y, 5.4f);
    EXPECT_EQ(Vertex(*s, 0).x, 1.0f);
    EXPECT_EQ(s->GetBuffer()->GetCount(), 2u);
}

TEST_F(ParticleTest, AFullPoolReusesItsOldestSlots) {
    services->AddKind(kOrdinary);
    services->ints[{kOrdinary, 266, 0}] = 3;
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
    ASSERT_TRUE(s);
    for (int i = 0; i < 5; ++i)
        CParticleSystem::UpdateAll(25);
    EXPECT_EQ(s->GetUsedCount(), 3u);
    EXPECT_EQ(s->GetRingCursor(), 2u);
    // Emitted at frames 4, 5 and 3.
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
        auto& f = Use(std::make_unique<FakeParticleServices>());
        f.AddKind(kOrdinary);
        f.ints[{kOrdinary, 266, 0}] = 20;
        f.SetFloats(kOrdinary, 270, {c.from, c.to});
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
        for (int i = 0; i < 10; ++i)
            CParticleSystem::UpdateAll(25);
        EXPECT_EQ(s->GetUsedCount(), c.emitted);
    }
}

TEST_F(ParticleTest, SystemsEndWithTheirLifetimeOrTheirOwner) {
    services->AddKind(kOrdinary);
    FakeOwner a, b;
    CParticleSystem* short1 = CParticleSystem::Create(kOrdinary, {}, nullptr, 17);
    CParticleSystem* ofA = CParticleSystem::Create(kOrdinary, {}, &a, 0);
    CParticleSystem* ofB = CParticleSystem::Create(kOrdinary, {}, &b, 0);
    CParticleSystem* expired = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
    CParticleSystem* other = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
    expired->Expire();
    a.dead = true;
    CParticleSystem::UpdateAll(25);
    EXPECT_FALSE(CParticleSystem::IsAlive(short1));
    EXPECT_FALSE(CParticleSystem::IsAlive(ofA));
    EXPECT_FALSE(CParticleSystem::IsAlive(expired));
    EXPECT_TRUE(CParticleSystem::IsAlive(ofB));
    EXPECT_TRUE(CParticleSystem::IsAlive(other));
    EXPECT_FALSE(CParticleSystem::DestroyByOwner(&a));
    EXPECT_TRUE(CParticleSystem::DestroyByOwner(&b));
    EXPECT_FALSE(CParticleSystem::IsAlive(ofB));
    EXPECT_EQ(CParticleSystem::GetLiveCount(), 1);
    EXPECT_EQ(std::distance(services->scene.GetDecalList(0).begin(), services->scene.GetDecalList(0).end()),
              1);
}

TEST_F(ParticleTest, AnOwnerCarriesAndThrowsItsParticles) {
    services->AddKind(kOrdinary);
    FakeOwner owner;
    owner.translation = {10, 0, 0};
    owner.active = true;
    owner.velocity = {3, 4, 0};
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {1, 2, 3}, &owner, 0);
    CParticleSystem::UpdateAll(25);
    ASSERT_EQ(s->GetUsedCount(), 1u);
    EXPECT_EQ(Vertex(*s, 0).x, 11.0f);
    EXPECT_EQ(Vertex(*s, 0).z, 3.0f);
    EXPECT_EQ(s->GetParticle(0).speed[0], 12.0f);
    EXPECT_EQ(s->GetParticle(0).speed[1], 2.0f);
}

TEST_F(ParticleTest, ColourChannelsStayInTheirBits) {
    struct Case {
        float red;
        std::uint32_t colour;
    };
    const Case cases[] = {{0.5f, 0xFF7F003F}, {1.0f, 0xFFFF003F}, {2.0f, 0xFFFF003F}, {-1.0f, 0xFF00003F}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.red);
        auto& f = Use(std::make_unique<FakeParticleServices>());
        f.AddKind(kOrdinary);
        f.SetFloats(kOrdinary, 258, {c.red, c.red, c.red, c.red});
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
        CParticleSystem::UpdateAll(25);
        EXPECT_EQ(Vertex(*s, 0).colour, c.colour);
        CParticleSystem::UpdateAll(25);
        EXPECT_EQ(Vertex(*s, 0).colour, c.colour);
    }
}

TEST_F(ParticleTest, GroupsShareOnePlace) {
    struct Case {
        int low, high;
        std::vector<bool> sameAsFirst; // slots 1..3
    };
    // A group of 3 shares the first member's place; a group size below 1 starts a new group each time.
    const Case cases[] = {{3, 3, {true, true, false}}, {-5, -5, {false, false, false}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.low);
        auto& f = Use(std::make_unique<FakeParticleServices>());
        f.AddKind(kOrdinary);
        f.vectors[{kOrdinary, 250, 0}] = {10, 10, 10};
        f.SetFloats(kOrdinary, 261, {0, 0});
        f.SetFloats(kOrdinary, 262, {0, 0});
        f.ints[{kOrdinary, 268, 0}] = c.low;
        f.ints[{kOrdinary, 268, 1}] = c.high;
        CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
        for (int i = 0; i < 4; ++i)
            CParticleSystem::UpdateAll(25);
        for (std::uint32_t i = 1; i <= 3; ++i)
            EXPECT_EQ(Vertex(*s, i).x == Vertex(*s, 0).x && Vertex(*s, i).y == Vertex(*s, 0).y,
                      c.sameAsFirst[i - 1])
                << "slot " << i;
    }
}

TEST_F(ParticleTest, UnsoundKindsStaySound) {
    // No default lifetime (the emitter's progress divides by it) and particles born without life.
    services->AddKind(kOrdinary);
    services->SetFloats(kOrdinary, 271, {0});
    services->SetFloats(kOrdinary, 265, {-10, 0});
    services->vectors[{kOrdinary, 256, 1}] = {1, 0, 0};
    services->vectors[{kOrdinary, 253, 1}] = {1, 1, 1};
    CParticleSystem* s = CParticleSystem::Create(kOrdinary, {}, nullptr, 0);
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->IsFinished());
    s = CParticleSystem::Create(kOrdinary, {}, nullptr, 100);
    for (int i = 0; i < 3; ++i)
        CParticleSystem::UpdateAll(25);
    EXPECT_TRUE(std::isfinite(s->GetEmitterStart().x) && std::isfinite(s->GetEmitterEnd().y));
    EXPECT_EQ(Vertex(*s, 0).size, 0.0f);
    EXPECT_EQ(Vertex(*s, 1).size, 0.0f);
}

TEST_F(ParticleTest, SampleKindsLoad) {
    uitest::SampleServices sample;
    struct Case {
        int id;
        int count;
        bool opaque, saturate, groups;
        int type;
    };
    const Case cases[] = {{kAlways, 24, false, true, true, CParticleKind::kTypePlain},
                          {kOrdinary, 8, true, false, false, CParticleKind::kTypeSnow}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        struct Values : FakeParticleServices {
            CAssetMan* assets = nullptr;
            bool GetInt(int a, int d, int& out, int e) override { return assets->GetInt(a, d, out, e); }
            bool GetFloat(int a, int d, float& out, int e) override { return assets->GetFloat(a, d, out, e); }
            bool GetVector(int a, int d, CVector& out, int e) override {
                return assets->GetVector(a, d, out, e);
            }
            bool GetString(int a, int d, char* b, std::size_t n) override {
                return assets->GetString(a, d, b, n);
            }
        } values;
        values.assets = sample.assets.get();
        CParticleKind kind(c.id);
        ASSERT_TRUE(kind.Load(values));
        EXPECT_EQ(kind.particleCount, c.count);
        EXPECT_EQ(kind.opaque, c.opaque);
        EXPECT_EQ(kind.saturate, c.saturate);
        EXPECT_EQ(kind.HasGroups(), c.groups);
        EXPECT_EQ(kind.type, c.type);
        EXPECT_EQ(kind.textureId, FakeParticleServices::kTextureId);
        std::vector<std::uint8_t> picture;
        EXPECT_TRUE(sample.assets->GetAssetData(kind.textureId, picture));
        EXPECT_FALSE(picture.empty());
    }
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
            if (i == 0)
                man.StartManager();
            else
                man.ApplyEffectsLevel();
        }
        EXPECT_EQ(man.GetLevel(), c.level);
        EXPECT_EQ(CParticleSystem::IsEnabled(), c.particles);
        EXPECT_EQ(links.calls, c.lastCalls);
    }
    // At level 0 only the always-created kinds appear.
    services->AddKind(kOrdinary);
    services->AddKind(kAlways);
    EXPECT_FALSE(CParticleSystem::Create(kOrdinary, {}, nullptr, 0));
    EXPECT_TRUE(CParticleSystem::Create(kAlways, {}, nullptr, 0));
}

} // namespace
