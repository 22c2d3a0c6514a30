// The triggers' firing rules, frame by frame, each built from a script item in the sample set's world.

#include "EventWorld.h"

#include "events/AlwaysTrigger.h"
#include "events/EventItemFactory.h"
#include "events/IntDataParam.h"
#include "events/ProximityTrigger.h"
#include "events/PulseTimedTrigger.h"
#include "events/RandomTimedTrigger.h"
#include "events/ScalarDataParam.h"
#include "events/ToggleTimedTrigger.h"
#include "events/VelocityTrigger.h"
#include "foundation/math/Random.h"
#include "foundation/math/RandomNumbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Triggers = eventstest::EventWorld;

// The trigger's answers over frames of `ms` each, "1" for a frame in which it held: each frame updates
// it, then tests it, as its event does.
std::string Answers(CTrigger& trigger, const std::vector<unsigned>& frames) {
    std::string out;
    for (unsigned ms : frames) {
        trigger.Update(ms);
        out += trigger.IsTriggered() ? '1' : '0';
    }
    return out;
}

std::vector<unsigned> Frames(int n, unsigned ms) {
    return std::vector<unsigned>(static_cast<std::size_t>(n), ms);
}

TEST_F(Triggers, TimersHoldInTheFramesTheirClocksDecide) {
    CWorldObject* owner = Make(kPlain, {0, 0, 0});
    struct Case {
        const char* script;
        std::vector<unsigned> frames;
        const char* answers;
    };
    const Case cases[] = {
        // Off until more than 200 ms, on for more than 100 ms, never on again in the frame it went off.
        {"ToggleTimerTrigger<OnTime=100,OffTime=200>", Frames(30, 20), "000000000011111100000000000111"},
        {"ToggleTimerTrigger<OnTime=100,OffTime=200>", Frames(6, 250), "101010"},
        // Both times 0: on and off in turn in frames that take any time; a frame of 0 ms changes nothing.
        {"ToggleTimerTrigger<>", {20, 0, 20, 20, 0}, "11011"},
        // No random wait: the first frame that takes time, then whenever more than 1000 ms have gathered,
        // the overshoot carried.
        {"PulsedTimerTrigger<TimeVar=0,TimeLimit=1000>", {0, 300, 300, 300, 300, 300, 300, 300}, "01001001"},
        {"PulsedTimerTrigger<TimeVar=0,TimeLimit=1000>", {1000, 1000, 1, 999, 2}, "11101"},
        // An offset counts towards the first period; beyond the period read so far it counts as 0.
        {"PulsedTimerTrigger<TimeVar=0,TimeLimit=2000,Offset=1500>", {10, 400, 100}, "101"},
        {"PulsedTimerTrigger<TimeVar=0,Offset=1500,TimeLimit=2000>", {10, 400, 100}, "100"},
        // TimeLimit and TimeVar left out: 1000 ms each.
        {"PulsedTimerTrigger<TimeVar=0>", {10, 1000, 1}, "110"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::unique_ptr<CTrigger> trigger = CEventItemFactory::Game().MakeTrigger(Item(c.script).kind);
        ASSERT_NE(trigger, nullptr);
        ASSERT_TRUE(trigger->Init(Item(c.script), owner));
        EXPECT_EQ(Answers(*trigger, c.frames), c.answers);
        EXPECT_EQ(trigger->GetTargets(), std::vector<CWorldObject*>{owner});
    }
}

TEST_F(Triggers, PulsesWaitARandomTimeFirstAndRefuseUnsafeValues) {
    CWorldObject* owner = Make(kPlain, {0, 0, 0});
    // A seed whose first wait is longer than the offset.
    std::uint32_t seed = 1;
    for (Random::Seed(seed); RandomUnit() * 2000.0f < 600.0f; Random::Seed(++seed)) {
    }
    Random::Seed(seed);
    const int wait = static_cast<int>(RandomUnit() * 2000.0f);
    Random::Seed(seed);
    CPulseTimedTrigger pulse;
    ASSERT_TRUE(pulse.Init(Item("PulsedTimerTrigger<TimeVar=2000,TimeLimit=5000,Offset=500>"), owner));
    EXPECT_EQ(pulse.GetLimit(), wait);
    EXPECT_EQ(pulse.GetElapsed(), 500u);
    // The frame that passes the wait holds, and the next pulse waits the period.
    const unsigned before = static_cast<unsigned>(wait) - 500;
    EXPECT_EQ(Answers(pulse, {before, 1, 4999, 1}), "0101");

    // A slot's second value escapes the parser's range test; the trigger reports it and keeps the first.
    CPulseTimedTrigger twice;
    log.clear();
    ASSERT_TRUE(twice.Init(Item("PulsedTimerTrigger<TimeVar=0,TimeLimit=3000,TimeLimit=-5>"), owner));
    EXPECT_EQ(twice.GetPeriod(), 3000);
    EXPECT_EQ(ScriptReports(),
              std::vector<std::string>{"PulsedTimerTrigger: TimeLimit -5 is outside 0..500000; ignored"});
    // A value of a type its slot does not have is refused too.
    CScriptParser::CItemDesc odd;
    odd.kind = 1;
    odd.values.emplace_back(1, std::make_unique<CScalarDataParam>(5.0f));
    odd.values.emplace_back(9, std::make_unique<CIntDataParam>(5));
    log.clear();
    ASSERT_TRUE(twice.Init(odd, owner));
    EXPECT_EQ(twice.GetPeriod(), 3000);
    EXPECT_EQ(ScriptReports(),
              (std::vector<std::string>{"PulsedTimerTrigger: TimeLimit is not a whole number; ignored",
                                        "PulsedTimerTrigger: no parameter has slot 9; ignored"}));
}

TEST_F(Triggers, VelocityHoldsStrictlyBetweenItsBoundsOnActiveOwnersOnly) {
    CActiveWorldObject* crate = MakeActive(kCrate, {0, 0, 0});
    struct Case {
        const char* script;
        float speed;
        bool built, holds;
    };
    const Case cases[] = {
        {"VelocityTrigger<MinVelocity=1,MaxVelocity=3>", 2.0f, true, true},
        {"VelocityTrigger<MinVelocity=1,MaxVelocity=3>", 1.0f, true, false},
        {"VelocityTrigger<MinVelocity=1,MaxVelocity=3>", 3.0f, true, false},
        {"VelocityTrigger<MinVelocity=1,MaxVelocity=3>", 0.5f, true, false},
        {"VelocityTrigger<MinVelocity=2,MaxVelocity=2>", 2.0f, true, false},
        {"VelocityTrigger<MinVelocity=3,MaxVelocity=1>", 2.0f, false, false},
        {"VelocityTrigger<MaxVelocity=5>", 0.0f, true, false},
        {"VelocityTrigger<MaxVelocity=5>", 0.25f, true, true},
        {"VelocityTrigger<>", 0.0f, true, false}, // both 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.script << " at " << c.speed);
        CVelocityTrigger trigger;
        ASSERT_EQ(trigger.Init(Item(c.script), crate), c.built);
        if (!c.built)
            continue;
        // The speed is the length of the mean contact velocity, in whatever direction.
        crate->SetVelocity(CVector(0.0f, -0.6f, -0.8f) * c.speed);
        EXPECT_EQ(trigger.IsTriggered(), c.holds);
    }
    // A plain object cannot move: the trigger is not built.
    CVelocityTrigger onPlain;
    EXPECT_FALSE(onPlain.Init(Item("VelocityTrigger<MaxVelocity=5>"), Make(kPlain, {0, 0, 0})));
}

TEST_F(Triggers, ProximityFindsActiveObjectsInItsVolumeAndNamesTargetsBySelfAndExclusions) {
    // The owner at the origin looking along +z; a crate (type 30030) 4 ahead, a ball (30031) 3.5 to its
    // side, and a plain object (never found: not active) right at it.
    CWorldObject* owner = Make(kPlain, {0, 0, 0});
    CActiveWorldObject* ahead = MakeActive(kCrate, {0, 0, 4});
    CActiveWorldObject* side = MakeActive(kBall, {3.5f, 0, 0});
    Make(kPlain, {0, 0, 0.5f});
    using List = std::vector<CWorldObject*>;
    struct Case {
        const char* script;
        bool built, holds;
        List targets;
    };
    const Case cases[] = {
        {"ProximityTrigger<ProxType=0,Radius=8>", true, true, {owner}},
        {"ProximityTrigger<ProxType=0,Radius=8,Self=0>", true, true, {ahead, side}},
        {"ProximityTrigger<ProxType=0,Radius=8,Self=0,Excluding={30031}>", true, true, {ahead}},
        {"ProximityTrigger<ProxType=0,Radius=8,Self=0,Excluding={30031;30030}>", true, true, {}},
        {"ProximityTrigger<ProxType=0,Radius=1,Self=0>", true, false, {}},
        // The sphere stays on the owner whatever the Centre.
        {"ProximityTrigger<ProxType=0,Radius=1,Centre={0;0;4},Self=0>", true, false, {}},
        // A box (also with ProxType left out): ZSize along the owner's heading, XSize across it. (A box
        // meets a sphere where one of its corners lies in it.)
        {"ProximityTrigger<XSize=1,YSize=1,ZSize=6,Self=0>", true, true, {ahead}},
        {"ProximityTrigger<ProxType=1,XSize=7,YSize=1,ZSize=1,Self=0>", true, true, {side}},
        // The box ignores exclusions, and its Centre moves it in the model frame, whose +x is behind.
        {"ProximityTrigger<ProxType=1,XSize=1,YSize=4,ZSize=1,Centre={4;0;0},Self=0,Excluding={30030}>",
         true,
         false,
         {}},
        {"ProximityTrigger<ProxType=1,XSize=1,YSize=4,ZSize=1,Centre={-4;0;0},Self=0,Excluding={30030}>",
         true,
         true,
         {ahead}},
        // A box of a size left out is kept but never holds.
        {"ProximityTrigger<ProxType=1,XSize=50,YSize=50,Self=0>", true, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        CProximityTrigger trigger;
        ASSERT_EQ(trigger.Init(Item(c.script), owner), c.built);
        EXPECT_EQ(trigger.IsTriggered(), c.holds);
        if (c.holds)
            EXPECT_EQ(trigger.GetTargets(), c.targets);
    }
    // The volume follows the owner as it moves and turns: turned to look along +x, the narrow box now
    // reaches the ball.
    CProximityTrigger box;
    ASSERT_TRUE(box.Init(Item("ProximityTrigger<XSize=1,YSize=1,ZSize=6,Self=0>"), owner));
    owner->SetDirectionVector(CVector(1, 0, 0));
    EXPECT_TRUE(box.IsTriggered());
    EXPECT_EQ(box.GetTargets(), List{side});
    owner->SetPositionVector(CVector(100, 0, 100));
    EXPECT_FALSE(box.IsTriggered());
}

TEST_F(Triggers, TheRandomTimerFiresAfterDrawnWaitsAndTheAlwaysTriggerAlways) {
    CWorldObject* owner = Make(kPlain, {0, 0, 0});
    CRandomTimedTrigger never;
    EXPECT_FALSE(never.Init(owner, 0));
    EXPECT_FALSE(never.Init(Item("AlwaysTrigger<>"), owner)); // a script item carries no maximum

    Random::Seed(5);
    CRandomTimedTrigger timer;
    ASSERT_TRUE(timer.Init(owner, 1000));
    EXPECT_EQ(Answers(timer, {0, 1}), "01"); // the first test after any time
    Random::Seed(5);
    const int wait = static_cast<int>(RandomUnit() * 1000.0f);
    EXPECT_EQ(timer.GetLimit(), wait);
    const unsigned w = static_cast<unsigned>(wait);
    EXPECT_EQ(Answers(timer, {w, 1}), "01");

    CAlwaysTrigger always;
    ASSERT_TRUE(always.Init(Item("AlwaysTrigger<>"), owner));
    EXPECT_EQ(Answers(always, {0, 5, 0}), "111");
}

} // namespace
