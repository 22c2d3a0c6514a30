// The car's stunts on a flat race ground of the sample set: which effects a stunt state lets start, the
// timing and the end of each effect, the slide sound's frames, the landings and the taunts the car
// reports.

#include "CarDoubles.h"
#include "GroundDoubles.h"
#include "HeadlessRun.h"
#include "WorldDoubles.h"

#include "foundation/assets/CarAsset.h"
#include "render/ShadowMan.h"
#include "render/VornMesh.h"
#include "world/ContactPoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

using namespace zentrix;
using cartest::RecordingSounds;
using cartest::ScriptedDriver;

namespace {

constexpr unsigned kFrameMs = 40;
constexpr int kReleased = -127;
constexpr float kPi = 3.1415927f;

class CarStunts : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        CreateWorlds();
        tree.AddMesh(groundtest::Plate(-116, -116, 140, 140, 0));
        ASSERT_TRUE(ground.Build(&tree.root));
        Race()->ground = &ground;
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
        services.sounds = &sounds;
        car = Make(60001);
        Run(1000);
        ASSERT_TRUE(car->IsGrounded());
        sounds.calls.clear();
        Race()->taunts.clear();
    }
    void TearDown() override {
        CWorldMan::DeleteAllObjects();
        WorldFixture::TearDown();
    }
    CCarObject* Make(int assetId) {
        auto* made = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(assetId, 0, 0, 0, -1));
        if (made)
            made->AssignDriver(&driver);
        return made;
    }
    static void Run(unsigned ms) {
        for (unsigned t = 0; t < ms; t += kFrameMs) {
            worldtest::TickWorld(kFrameMs);
        }
    }
    /// The taunts reported since the last call, in order.
    std::vector<int> Taunts() {
        std::vector<int> events;
        for (const auto& [who, event] : Race()->taunts)
            if (who == car)
                events.push_back(event);
        Race()->taunts.clear();
        return events;
    }
    bool Taunted(int event) {
        const std::vector<int> events = Taunts();
        return std::find(events.begin(), events.end(), event) != events.end();
    }
    /// Every point of the car moving at `speed` along its heading.
    void Speed(float speed) { car->SetVelocity(car->Direction() * speed); }
    /// The pivot at rest: looking along -z with y up, at the car's centre.
    bool PivotAtRest() const {
        const CWorldObject* pivot = car->GetBodyPivot();
        return (pivot->Direction() - CVector(0, 0, -1)).Length() < 1e-5f &&
               (pivot->Up() - CVector(0, 1, 0)).Length() < 1e-5f && pivot->Position().Length() < 1e-5f;
    }
    bool Hidden(const CWorldObject* object) const {
        return object && object->GetMesh() && object->GetMesh()->IsHidden();
    }
    bool HasShadow() const {
        for (const auto& shadow : CShadowMan::GetInstance()->GetShadows())
            if (shadow->GetOwner() == car)
                return true;
        return false;
    }

    groundtest::TerrainTree tree;
    CWorldTopography ground;
    RecordingSounds sounds;
    ScriptedDriver driver;
    CCarObject* car = nullptr;
};

using Start = std::function<bool(CCarObject&)>;

const Start kSpin = [](CCarObject& c) { return c.Spin(kPi, 500, CVector(0, 1, 0), false); };
const Start kRumble = [](CCarObject& c) {
    c.SetVelocity(c.Direction());
    return c.Rumble(0.5f, 500);
};
const Start kRoll = [](CCarObject& c) { return c.StartTwoWheelsType0(500); };
const Start kWheelie = [](CCarObject& c) { return c.StartTwoWheelsType1(500); };
const Start kInvisible = [](CCarObject& c) { return c.StartInvisible(500, false); };
const Start kCrazy = [](CCarObject& c) { return c.StartCrazySteering(500, 400, 6.0f, true); };
const Start kModifiers = [](CCarObject& c) { return c.ApplyParamModifiers({2, 1, 1, 1, 1, 1, 1}, 500); };

TEST_F(CarStunts, WhatEachStuntStateAndRunningEffectLetsStart) {
    const Start starts[] = {kSpin, kRumble, kRoll, kWheelie, kInvisible, kCrazy, kModifiers};
    const char* names[] = {"spin", "rumble", "roll", "wheelie", "invisible", "crazy", "modifiers"};
    struct {
        const char* name;
        std::function<void(CCarObject&)> before;
        bool accepted[7];
    } const cases[] = {
        {"free", [](CCarObject&) {}, {true, true, true, true, true, true, true}},
        {"loop", [](CCarObject& c) { c.SetStuntState(6); }, {false, false, false, false, true, false, true}},
        {"DoD", [](CCarObject& c) { c.SetStuntState(8); }, {false, false, false, false, true, false, true}},
        {"rumble state left by a slow rumble",
         [](CCarObject& c) { c.SetStuntState(0); },
         {true, true, true, true, true, true, true}},
        {"spinning", [](CCarObject& c) { kSpin(c); }, {false, false, true, true, true, false, true}},
        {"rumbling", [](CCarObject& c) { kRumble(c); }, {false, false, true, true, true, false, true}},
        {"crazy", [](CCarObject& c) { kCrazy(c); }, {false, false, true, true, false, false, true}},
        {"invisible", [](CCarObject& c) { kInvisible(c); }, {true, true, true, true, true, false, false}},
        {"modified", [](CCarObject& c) { kModifiers(c); }, {true, true, true, true, true, true, false}},
        {"holding a pickup",
         [](CCarObject& c) { c.GivePickup(0); },
         {true, true, true, true, true, false, true}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 7; ++i) {
            SCOPED_TRACE(std::string(c.name) + " then " + names[i]);
            car->EndAllEffects();
            car->ClearStuntState();
            car->CancelPickup(true);
            c.before(*car);
            EXPECT_EQ(starts[i](*car), c.accepted[i]);
        }
    }
    // The pieces' states are not free: nothing replaces them, and only clearing ends them.
    car->EndAllEffects();
    for (const int state : {6, 8}) {
        car->ClearStuntState();
        ASSERT_TRUE(car->SetStuntState(state));
        EXPECT_FALSE(car->SetStuntState(CCarObject::kStuntSpin));
        EXPECT_FALSE(car->SetStuntState(state == 6 ? 8 : 6));
        EXPECT_EQ(car->GetStuntState(), state);
        EXPECT_EQ(car->IsNotLooping(), state != 6);
    }
    car->ClearStuntState();
    EXPECT_EQ(car->GetStuntState(), -1);
}

TEST_F(CarStunts, ASpinTurnsTheBodyByItsSharesAndEndsAtRest) {
    struct {
        const char* name;
        float angle;
        int duration;
        CVector axis;
        bool ease;
        bool accepted;
        float firstTurn;
        int taunt;
    } const cases[] = {
        {"eased", 2 * kPi, 1000, {0, 1, 0}, true, true, 4 * kPi * 40 / 1000, 12},
        {"even", 2 * kPi, 1000, {0, 1, 0}, false, true, 2 * kPi * 40 / 1000, 12},
        {"twelve is no big spin", 12.0f, 1000, {0, 1, 0}, false, true, 12.0f * 40 / 1000, 12},
        {"above twelve", 12.1f, 2000, {0, 1, 0}, false, true, 12.1f * 40 / 2000, 11},
        {"no time", kPi, 0, {0, 1, 0}, true, false, 0, -1},
        {"negative time", kPi, -40, {0, 1, 0}, true, false, 0, -1},
        {"no axis", kPi, 1000, {0, 0, 0}, true, false, 0, -1},
        {"no angle", std::numeric_limits<float>::quiet_NaN(), 1000, {0, 1, 0}, true, false, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(car->Spin(c.angle, c.duration, c.axis, c.ease), c.accepted);
        EXPECT_EQ(Taunts(), c.accepted ? std::vector<int>{c.taunt} : std::vector<int>{});
        if (!c.accepted) {
            EXPECT_EQ(car->GetStuntState(), -1);
            continue;
        }
        EXPECT_EQ(car->GetStuntState(), CCarObject::kStuntSpin);
        const CVector before = car->GetBodyPivot()->Direction();
        car->UpdateTimedEffects(kFrameMs);
        const CVector after = car->GetBodyPivot()->Direction();
        EXPECT_NEAR(std::acos(std::clamp(before.Dot(after), -1.0f, 1.0f)), std::fmod(c.firstTurn, 2 * kPi),
                    1e-4f);
        // Running while its elapsed time is not past its duration, and at rest the frame after.
        int frames = 1;
        while (car->IsSpinning() && frames < 1000) {
            car->UpdateTimedEffects(kFrameMs);
            ++frames;
        }
        EXPECT_EQ(frames, c.duration / 40 + 1);
        EXPECT_EQ(car->GetStuntState(), -1);
        EXPECT_TRUE(PivotAtRest());
    }
}

TEST_F(CarStunts, ARumbleIsRefusedInALoopAndLeavesItsStateWhenSlow) {
    struct {
        const char* name;
        int state;
        float speed;
        float intensity;
        bool accepted;
        int stateAfter;
        int taunt;
    } const cases[] = {
        {"light", -1, 1.0f, 0.5f, true, 0, 6},
        {"hard", -1, 1.0f, 0.6f, true, 0, 7},
        {"too slow", -1, 0.3f, 0.5f, false, 0, -1},
        {"in a loop", 6, 1.0f, 0.5f, false, 6, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        car->EndAllEffects();
        car->ClearStuntState();
        if (c.state != -1)
            car->SetStuntState(c.state);
        Speed(c.speed);
        EXPECT_EQ(car->Rumble(c.intensity, 200), c.accepted);
        EXPECT_EQ(car->GetStuntState(), c.stateAfter);
        EXPECT_EQ(car->IsEffectActive(CCarObject::kEffectRumble), c.accepted);
        Taunts();
        if (!c.accepted)
            continue;
        for (int f = 0; f < 5; ++f) {
            car->UpdateTimedEffects(kFrameMs);
            EXPECT_EQ(Taunts(), std::vector<int>{c.taunt});
            const float lift = car->GetBodyPivot()->Position().y;
            EXPECT_GE(lift, 0.0f);
            EXPECT_LE(lift, c.intensity);
        }
        car->UpdateTimedEffects(kFrameMs);
        EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectRumble));
        EXPECT_EQ(car->GetStuntState(), -1);
        EXPECT_TRUE(PivotAtRest());
    }
}

TEST_F(CarStunts, TheWheelieClimbsWithTheThrottleAndDropsWithoutIt) {
    struct {
        int assetId;
        float lift;
    } const cars[] = {{60001, 2.4f}, {60008, 6.0f}};
    for (const auto& c : cars) {
        SCOPED_TRACE(c.assetId);
        CCarObject* wheelie = c.assetId == 60001 ? car : Make(c.assetId);
        ASSERT_NE(wheelie, nullptr);
        ASSERT_TRUE(wheelie->StartTwoWheelsType1(1000));
        EXPECT_EQ(wheelie->GetStuntState(), CCarObject::kStuntWheelie);
        driver.Throttle();
        for (int f = 1; f <= 3; ++f) {
            wheelie->UpdateTimedEffects(kFrameMs);
            EXPECT_NEAR(wheelie->GetTiltPitch(), 0.004375f * static_cast<float>(f), 1e-6f);
            EXPECT_NEAR(wheelie->GetBodyPivot()->Position().y, wheelie->GetTiltPitch() / (kPi / 4) * c.lift,
                        1e-5f);
        }
        // Released: it drops to nothing, then climbs a step from there.
        driver.controls = CDriverControls();
        wheelie->UpdateTimedEffects(kFrameMs);
        EXPECT_NEAR(wheelie->GetTiltPitch(), 0.004375f, 1e-6f);
        // Within 0.07 of the top it snaps there.
        driver.Throttle();
        for (int f = 0; f < 200 && wheelie->GetTiltPitch() < kPi / 4 - 1e-6f; ++f)
            wheelie->UpdateTimedEffects(1);
        EXPECT_FLOAT_EQ(wheelie->GetTiltPitch(), 0.7853982f);
        wheelie->EndEffect(CCarObject::kEffectWheelie);
        EXPECT_EQ(wheelie->GetTiltPitch(), 0.0f);
        EXPECT_EQ(wheelie->GetStuntState(), -1);
        if (wheelie != car)
            CWorldMan::RemoveObject(wheelie);
    }
}

TEST_F(CarStunts, InvisibilityOfACarWithoutAShadowGivesItNone) {
    ASSERT_FALSE(HasShadow());
    ASSERT_TRUE(car->StartInvisible(100, true));
    car->UpdateTimedEffects(120);
    EXPECT_FALSE(car->IsInvisible());
    EXPECT_FALSE(Hidden(car->GetBody()));
    EXPECT_FALSE(HasShadow());
}

TEST_F(CarStunts, InvisibilityHidesTheBodyAndShadowAndItsEndShowsThemAgain) {
    // The sample car that casts a shadow.
    CWorldMan::RemoveObject(car);
    car = Make(60008);
    ASSERT_NE(car, nullptr);
    ASSERT_TRUE(HasShadow());
    for (const bool hideWheels : {false, true}) {
        SCOPED_TRACE(hideWheels);
        ASSERT_TRUE(car->StartInvisible(200, hideWheels));
        EXPECT_TRUE(Hidden(car->GetBody()));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Hidden(car->GetWheelMount(i)), hideWheels);
        EXPECT_FALSE(HasShadow());
        // A running invisibility starts again.
        car->UpdateTimedEffects(120);
        ASSERT_TRUE(car->StartInvisible(200, hideWheels));
        car->UpdateTimedEffects(120);
        EXPECT_TRUE(car->IsInvisible());
        EXPECT_TRUE(Taunted(CCarObject::kTauntInvisible));
        car->UpdateTimedEffects(120);
        EXPECT_FALSE(car->IsInvisible());
        EXPECT_FALSE(Hidden(car->GetBody()));
        for (int i = 0; i < 4; ++i)
            EXPECT_FALSE(Hidden(car->GetWheelMount(i)));
        EXPECT_TRUE(HasShadow());
    }
}

TEST_F(CarStunts, TheCrazyBounceFadesInAndOutAndTakesItsSpriteAway) {
    EXPECT_FALSE(car->StartCrazySteering(1000, 0, 6.0f, true)); // a period of 0 has no phase
    ASSERT_TRUE(car->StartCrazySteering(1000, 400, 6.0f, true));
    EXPECT_EQ(car->GetStuntState(), CCarObject::kStuntCrazy);
    const bool sprite = car->GetSpriteSet() != nullptr;
    EXPECT_EQ(car->GetCrazySprite() != nullptr, sprite);
    struct {
        unsigned ms;  // this frame
        float height; // of the pivot after it
    } const frames[] = {
        {100, 0.0f},                                      // elapsed 0: faded out
        {100, (std::sin(kPi / 2) + 6.0f) * 100 / 400},    // elapsed 100
        {400, (std::sin(kPi) + 6.0f) * 200 / 400},        // elapsed 200
        {100, (std::sin(3 * kPi) + 6.0f)},                // elapsed 600: full height
        {250, (std::sin(3.5f * kPi) + 6.0f) * 300 / 400}, // elapsed 700: 300 left
        {40, (std::sin(4.75f * kPi) + 6.0f) * 50 / 400},  // elapsed 950: 50 left
    };
    for (const auto& f : frames) {
        car->UpdateTimedEffects(f.ms);
        EXPECT_NEAR(car->GetBodyPivot()->Position().y, f.height, 1e-4f);
    }
    car->UpdateTimedEffects(10); // elapsed 1000: not past its time
    EXPECT_TRUE(car->IsCrazySteering());
    car->UpdateTimedEffects(10);
    EXPECT_FALSE(car->IsCrazySteering());
    EXPECT_EQ(car->GetCrazySprite(), nullptr);
    EXPECT_EQ(car->GetStuntState(), -1);
    EXPECT_TRUE(PivotAtRest());
}

TEST_F(CarStunts, TheSlideSoundFollowsTheSteeringBuildUpAboveSpeed14) {
    // The build-up of steering hard at 20 ms frames until it beats the threshold at the current speed.
    const auto steerPast = [&](float speed) {
        Speed(speed);
        driver.controls = CDriverControls();
        driver.controls.steering = 127;
        for (int i = 0; i < 1000 && std::fabs(car->GetSteeringHold()) <= car->GetSlideThreshold(); ++i)
            car->UpdateCounters(20);
    };
    const auto straighten = [&] {
        driver.controls = CDriverControls();
        car->UpdateCounters(20);
    };
    const std::string start = "loop 0 51055";
    const std::string stop = "stop loop 0";
    const auto frame = [&](float speed) {
        Speed(speed);
        sounds.calls.clear();
        car->UpdateSlideSound(kReleased, 0, 20);
        return sounds.calls;
    };
    using Calls = std::vector<std::string>;

    // However hard it steers, at 1.4 it does not slide (and the build-up is dropped).
    steerPast(1.4f);
    EXPECT_EQ(frame(1.4f), Calls{stop});
    EXPECT_EQ(car->GetSteeringHold(), 0.0f);
    EXPECT_FALSE(car->IsSliding());

    steerPast(1.5f);
    EXPECT_EQ(frame(1.5f), Calls{start});
    EXPECT_TRUE(car->IsSliding());
    EXPECT_TRUE(car->IsSlideActive());
    EXPECT_EQ(car->GetSlideMarkMs(), 0);
    // Straight again it plays on.
    straighten();
    for (int f = 0; f < 10; ++f)
        EXPECT_EQ(frame(1.5f), Calls{});
    EXPECT_TRUE(car->IsSliding());
    // Hard again: the sound starts afresh in the fourth frame (20, 40, 60, 80 > 60).
    steerPast(1.5f);
    EXPECT_EQ(frame(1.5f), Calls{});
    EXPECT_EQ(frame(1.5f), Calls{});
    EXPECT_EQ(frame(1.5f), Calls{});
    EXPECT_EQ(frame(1.5f), (Calls{stop, start}));
    // Slowing to 1.4 stops it in that frame.
    EXPECT_EQ(frame(1.4f), Calls{stop});
    EXPECT_FALSE(car->IsSliding());
}

TEST_F(CarStunts, LandingsAfterTheirTimeInTheAir) {
    // The car lifted off the plate (or put back on it) with its wheels, and one physics step to see it.
    const CVector rest = car->Position();
    std::vector<CVector> points;
    for (std::uint32_t i = 0; i < car->GetContactCount(); ++i)
        points.push_back(car->GetContact(i)->GetPosition());
    const auto place = [&](float lift) {
        car->SetPosition(rest.x, rest.y + lift, rest.z);
        for (std::uint32_t i = 0; i < car->GetContactCount(); ++i) {
            const CVector at = points[i];
            car->GetContact(i)->SetPosition(at.x, at.y + lift, at.z);
        }
        car->SetVelocity(CVector());
        CWorldMan::SimulateActiveObjects(1);
    };
    struct {
        unsigned airMs;
        const char* sound;
    } const cases[] = {{400, nullptr}, {401, "play 51040 0"}, {1000, "play 51040 0"}, {1001, "play 51041 0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.airMs);
        place(30.0f);
        ASSERT_FALSE(car->IsGrounded());
        car->ReportDrivingEvents(CDriverControls(), c.airMs);
        EXPECT_EQ(car->GetAirborneMs(), c.airMs);
        place(0.0f);
        ASSERT_TRUE(car->IsGrounded());
        sounds.calls.clear();
        Taunts();
        car->ReportDrivingEvents(CDriverControls(), 0);
        EXPECT_EQ(car->GetAirborneMs(), 0u);
        EXPECT_EQ(sounds.calls, c.sound ? std::vector<std::string>{c.sound} : std::vector<std::string>{});
        EXPECT_EQ(Taunted(CCarObject::kTauntLanding), c.sound != nullptr);
    }
}

TEST_F(CarStunts, DrivingTauntsBySpeedBrakeAndTimeStopped) {
    struct {
        const char* name;
        float speed; // along the heading; negative: backwards
        int throttle;
        int brake;
        std::vector<int> taunts;
    } const cases[] = {
        {"cruising", 1.5f, 127, kReleased, {29}},
        {"braking hard", 1.5f, kReleased, 0, {3, 29}},
        {"braking slowly", 0.5f, kReleased, 0, {29}},
        {"crawling", 0.12f, kReleased, kReleased, {29, 30}},
        {"standing", 0.0f, kReleased, kReleased, {19, 30}},
        {"rolling back", -0.5f, kReleased, kReleased, {16, 29}},
        {"backing up", -0.5f, 127, kReleased, {29}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Speed(c.speed);
        CDriverControls controls;
        controls.axis1 = c.throttle;
        controls.axis2 = c.brake;
        car->ReportDrivingEvents(controls, kFrameMs);
        EXPECT_EQ(Taunts(), c.taunts);
        EXPECT_EQ(car->GetThrottleHeldMs(), c.throttle != kReleased ? kFrameMs : 0u);
        EXPECT_EQ(car->GetBrakeHeldMs(), c.brake != kReleased ? kFrameMs : 0u);
        car->ReportDrivingEvents(CDriverControls(), 0); // the held counters start again
        Taunts();
    }
}

TEST_F(CarStunts, EffectsRunThroughTheCarsFrameAndARespawnEndsNone) {
    ASSERT_TRUE(car->StartTwoWheelsType0(400));
    ASSERT_TRUE(car->ApplyParamModifiers({1.5f, 1, 1, 1, 1, 1, 1}, 400));
    Run(200);
    EXPECT_EQ(car->GetEffectElapsedMs(CCarObject::kEffectRoll), 200);
    car->Respawn(-1);
    EXPECT_TRUE(PivotAtRest());
    EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectRoll));
    EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectModifiers));
    Run(240);
    EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectRoll));
    EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectModifiers));
    EXPECT_EQ(car->GetStuntState(), -1);
    EXPECT_EQ(car->GetTiltRoll(), 0.0f);
}

} // namespace
