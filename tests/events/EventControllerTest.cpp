#include "EventsTestKit.h"

#include "events/Event.h"
#include "events/EventController.h"
#include "events/ScriptCache.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using eventstest::CountingSource;
using zentrix::CEffect;
using zentrix::CEvent;
using zentrix::CEventController;
using zentrix::CEventItemFactory;
using zentrix::CScriptCache;
using zentrix::CScriptParser;
using zentrix::CTrigger;
using Log = std::vector<std::string>;

// A world object made from an asset id and never created: all an event's bookkeeping asks of it.
struct Owner : CWorldObject {
    explicit Owner(int id) : CWorldObject(id, 0) {}
};

// A trigger that logs each question and answers as set; its targets are the owner's unless given.
class FakeTrigger : public CTrigger {
public:
    FakeTrigger(Log& log, int kind, bool answer, bool accept, std::vector<CWorldObject*> targets)
        : m_log(log), m_kind(kind), m_answer(answer), m_accept(accept), m_targets(std::move(targets)) {}
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override {
        return CTrigger::Init(item, owner) && m_accept;
    }
    bool IsTriggered() override {
        m_log.push_back(std::to_string(m_kind) + " asked");
        return m_answer;
    }
    std::vector<CWorldObject*> GetTargets() override {
        return m_targets.empty() ? CTrigger::GetTargets() : m_targets;
    }

private:
    Log& m_log;
    int m_kind;
    bool m_answer, m_accept;
    std::vector<CWorldObject*> m_targets;
};

// An effect that logs what it is fired on ("23 fired 7 1"), its stop, and counts its milliseconds.
class FakeEffect : public CEffect {
public:
    FakeEffect(Log& log, int kind, bool accept, unsigned& ms)
        : m_log(log), m_kind(kind), m_accept(accept), m_ms(ms) {}
    bool Init(const CScriptParser::CItemDesc&, CWorldObject* owner) override {
        InitOwner(owner, true);
        return m_accept;
    }
    void Fire(std::vector<CWorldObject*> targets) override {
        std::string text = std::to_string(m_kind) + " fired";
        for (CWorldObject* target : targets)
            text += " " + std::to_string(target->GetTypeId());
        m_log.push_back(text);
    }
    void Stop() override { m_log.push_back(std::to_string(m_kind) + " stopped"); }
    void Update(unsigned ms) override { m_ms += ms; }

private:
    Log& m_log;
    int m_kind;
    bool m_accept;
    unsigned& m_ms;
};

// Kinds as the fakes stand for them: 0 holds, 2 does not, 3 holds and finds three objects, 5 refuses its
// values, 6 would hold were it ever built; every effect logs, but 18 refuses its values.
struct Fixture : testing::Test {
    Log log;
    unsigned effectMs = 0;
    Owner found[3] = {Owner(1), Owner(2), Owner(3)};
    CEventItemFactory items;
    CountingSource source;
    CScriptCache cache{&source};

    void SetUp() override {
        for (int kind : {0, 2, 3, 5, 6})
            items.SetTrigger(kind, [this, kind] {
                std::vector<CWorldObject*> targets;
                if (kind == 3)
                    targets = {&found[0], &found[1], &found[2]};
                return std::make_unique<FakeTrigger>(log, kind, kind != 2, kind != 5, targets);
            });
        for (int kind = 10; kind <= 24; ++kind)
            items.SetEffect(
                kind, [this, kind] { return std::make_unique<FakeEffect>(log, kind, kind != 18, effectMs); });
        ASSERT_TRUE(cache.Init());
    }
    // Runs `frames` updates of `ms` and returns what was logged meanwhile.
    Log Run(CEventController& controller, int frames, unsigned ms = 40) {
        log.clear();
        for (int i = 0; i < frames; ++i)
            controller.Update(ms);
        return log;
    }
};

using EventController = Fixture;

TEST_F(EventController, RunsTheOwnersEventsEveryFrameAskingTriggersInOrderUntilOneFails) {
    source.assetScripts[7] =
        "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[event_end]"
        "[event_begin]PerformanceTrigger<LowerLimit=1>[then]CarSpinEffect<>[event_end]"
        "[event_begin]ProximityTrigger<>[and]AlwaysTrigger<>[then]CarBounceOff<>[and]"
        "ParticlesEffects<>[event_end]"
        "[event_begin]ToggleTimerTrigger<>[and]AlwaysTrigger<>[then]CarRumbleEffect<>[event_end]"
        "[event_begin]VelocityTrigger<>[then]ForceEffect<>[event_end]";
    Owner owner(7);
    CEventController controller(&cache, items);
    EXPECT_TRUE(controller.LoadScript(&owner));
    const Log frame = {"0 asked", "23 fired 7", "3 asked", "0 asked", "24 fired 1 2 3 7", "2 asked"};
    EXPECT_EQ(Run(controller, 1), frame);
    EXPECT_EQ(Run(controller, 1), frame);
    // Effects advance every frame, fired or not: the five kept (all but the refused particles) x 2 frames.
    EXPECT_EQ(effectMs, 5u * 2 * 40);
    log.clear();
    controller.Clear();
    EXPECT_EQ(log, (Log{"23 stopped", "19 stopped", "24 stopped", "20 stopped", "10 stopped"}));
    EXPECT_EQ(Run(controller, 1), Log{}); // cleared: idle
}

TEST_F(EventController, AddedEventsStartAtTheNextUpdateAndEndAfterTheirLifetime) {
    source.resourceTexts[50] = "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[event_end]";
    Owner owner(7); // no script of its own: the controller runs, with no events
    CEventController controller(&cache, items);
    EXPECT_FALSE(controller.LoadScript(&owner));
    EXPECT_FALSE(controller.AddEvents(51, 1000));
    EXPECT_TRUE(controller.AddEvents(50, 1000));
    EXPECT_TRUE(controller.AddEvents(50, 0));

    // 25 x 40 ms is not beyond 1000: both fire. The 26th update still fires the first, then deletes it.
    const Log both = {"0 asked", "23 fired 7", "0 asked", "23 fired 7"};
    for (int frame = 1; frame <= 25; ++frame)
        ASSERT_EQ(Run(controller, 1), both) << frame;
    Log last = both;
    last.push_back("23 stopped");
    EXPECT_EQ(Run(controller, 1), last);
    EXPECT_EQ(Run(controller, 2), (Log{"0 asked", "23 fired 7", "0 asked", "23 fired 7"}));

    // One huge frame cannot wrap an event's age back below its lifetime.
    EXPECT_TRUE(controller.AddEvents(50, 0x7FFFFFFF));
    EXPECT_EQ(Run(controller, 1, 0x7FFFFFFFu), both);
    EXPECT_EQ(Run(controller, 1, 0xFFFFFFF0u), last);
}

TEST_F(EventController, IdleControllersRunNothing) {
    source.assetScripts[16224] = "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[event_end]";
    source.resourceTexts[50] = source.assetScripts[16224];

    // The pieces of type x224 keep their controller idle, even for added events.
    Owner piece(16224);
    CEventController pieceEvents(&cache, items);
    EXPECT_TRUE(pieceEvents.LoadScript(&piece));
    EXPECT_TRUE(pieceEvents.AddEvents(50, 0));
    EXPECT_EQ(Run(pieceEvents, 3), Log{});
    EXPECT_EQ(source.assetLoads, 0);

    // Without a script cache nothing loads or is added; before LoadScript added events wait.
    Owner owner(16224 + 1);
    CEventController detached(nullptr, items);
    EXPECT_FALSE(detached.LoadScript(&owner));
    EXPECT_FALSE(detached.AddEvents(50, 0));
    CEventController early(&cache, items);
    EXPECT_TRUE(early.AddEvents(50, 0));
    EXPECT_EQ(Run(early, 2), Log{});
}

TEST(EventItems, TheGameBuildsEveryKindWhoseClassExists) {
    // Kinds 4, 6, 8, 9, 13 and 14 have no class.
    std::string built;
    for (int kind = -1; kind <= 25; ++kind) {
        const bool made = kind < CEventItemFactory::kTriggerKinds
                              ? CEventItemFactory::Game().MakeTrigger(kind) != nullptr
                              : CEventItemFactory::Game().MakeEffect(kind) != nullptr;
        built += made ? std::to_string(kind) + " " : "";
    }
    EXPECT_EQ(built, "0 1 2 3 5 7 10 11 12 15 16 17 18 19 20 21 22 23 24 ");
}

TEST_F(EventController, EventsTestTheirTriggersAtTheirCheckInterval) {
    CScriptParser parser;
    ASSERT_TRUE(parser.Parse("[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[event_end]"
                             "[event_begin]VelocityTrigger<>[then]CarCrazyFX<>[event_end]"));
    Owner owner(9);
    CEvent every3rd(items), withoutTriggers(items);
    every3rd.Init(parser.GetEvents()[0], &owner, 0, 3);
    withoutTriggers.Init(parser.GetEvents()[1], &owner, 0, 1);
    for (int frame = 1; frame <= 7; ++frame) {
        every3rd.Update(10);
        withoutTriggers.Update(10);
    }
    EXPECT_EQ(log, (Log{"0 asked", "23 fired 9", "0 asked", "23 fired 9"}));

    // The factories answer whether the kind was known, whatever became of its item.
    const std::pair<int, bool> triggers[] = {{0, true},  {4, true},  {5, true},
                                             {6, false}, {1, false}, {10, false}};
    for (const auto& [kind, known] : triggers) {
        CScriptParser::CItemDesc item;
        item.kind = kind;
        EXPECT_EQ(every3rd.CreateTrigger(item), known) << kind;
    }
    const std::pair<int, bool> effects[] = {{10, true}, {13, true},  {14, true},
                                            {18, true}, {25, false}, {0, false}};
    for (const auto& [kind, known] : effects) {
        CScriptParser::CItemDesc item;
        item.kind = kind;
        EXPECT_EQ(every3rd.CreateEffect(item), known) << kind;
    }
}

} // namespace
