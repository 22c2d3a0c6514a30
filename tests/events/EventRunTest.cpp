// A headless run of the sample scripts: a roller that drives itself and a car pass a beacon, which
// pushes them away and starts glow events on them. Every trigger that holds and every effect that fires is
// logged per frame and compared with tests/golden/event_run_log.txt (ZENTRIX_UPDATE_GOLDENS=1 writes it).

#include "EventWorld.h"

#include "events/EventItemFactory.h"
#include "events/WorldEventController.h"
#include "world/CarDoubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace zentrix;

namespace {

constexpr int kBeacon = 30038;
constexpr int kRoller = 30040;
constexpr int kCar = 60000;

std::string NameOf(int kind) {
    for (const CScriptParser::CKeyword& keyword : CScriptParser::GetKeywords())
        if (keyword.kind == kind)
            return std::string(keyword.name);
    return "kind " + std::to_string(kind);
}

std::string Ids(const std::vector<CWorldObject*>& objects) {
    std::string text;
    for (const CWorldObject* object : objects)
        text += " " + (object ? std::to_string(object->GetTypeId()) : std::string("null"));
    return text;
}

// The game's trigger of a kind, logging "<owner> <keyword> holds, targets <ids>" when it holds.
class LoggedTrigger : public CTrigger {
public:
    LoggedTrigger(std::unique_ptr<CTrigger> inner, int kind, std::ostringstream& log)
        : m_inner(std::move(inner)), m_name(NameOf(kind)), m_log(log) {}
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override {
        m_owner = owner;
        return m_inner->Init(item, owner);
    }
    bool IsTriggered() override {
        const bool holds = m_inner->IsTriggered();
        if (holds)
            m_log << "  " << m_owner->GetTypeId() << " " << m_name << " holds, targets" << Ids(GetTargets())
                  << "\n";
        return holds;
    }
    void Update(unsigned ms) override { m_inner->Update(ms); }
    std::vector<CWorldObject*> GetTargets() override { return m_inner->GetTargets(); }

private:
    std::unique_ptr<CTrigger> m_inner;
    std::string m_name;
    std::ostringstream& m_log;
    CWorldObject* m_owner = nullptr;
};

// The game's effect of a kind, logging "<owner> <keyword> fired on <ids>".
class LoggedEffect : public CEffect {
public:
    LoggedEffect(std::unique_ptr<CEffect> inner, int kind, std::ostringstream& log)
        : m_inner(std::move(inner)), m_name(NameOf(kind)), m_log(log) {}
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override {
        InitOwner(owner, false);
        return m_inner->Init(item, owner);
    }
    void Fire(std::vector<CWorldObject*> targets) override {
        m_log << "  " << GetOwner()->GetTypeId() << " " << m_name << " fired on" << Ids(targets) << "\n";
        m_inner->Fire(targets);
    }
    void Update(unsigned ms) override { m_inner->Update(ms); }

private:
    std::unique_ptr<CEffect> m_inner;
    std::string m_name;
    std::ostringstream& m_log;
};

::testing::AssertionResult MatchesGolden(const std::string& name, const std::string& actual) {
    const std::string path = std::string(ZENTRIX_SOURCE_DIR) + "/tests/golden/" + name + ".txt";
    if (const char* update = std::getenv("ZENTRIX_UPDATE_GOLDENS"); update && std::string(update) == "1") {
        std::ofstream(path) << actual;
        return ::testing::AssertionSuccess();
    }
    std::ifstream file(path);
    std::stringstream golden;
    golden << file.rdbuf();
    if (golden.str() == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "differs from " << path << ":\n" << actual;
}

class EventRun : public eventstest::EventWorld {
protected:
    void SetUp() override {
        EventWorld::SetUp();
        for (int kind = 0; kind < CEventItemFactory::kTriggerKinds; ++kind)
            logged.SetTrigger(kind, [this, kind]() -> std::unique_ptr<CTrigger> {
                auto inner = CEventItemFactory::Game().MakeTrigger(kind);
                return inner ? std::make_unique<LoggedTrigger>(std::move(inner), kind, trace) : nullptr;
            });
        for (int kind = CEventItemFactory::kFirstEffectKind;
             kind < CEventItemFactory::kFirstEffectKind + CEventItemFactory::kEffectKinds; ++kind)
            logged.SetEffect(kind, [this, kind]() -> std::unique_ptr<CEffect> {
                auto inner = CEventItemFactory::Game().MakeEffect(kind);
                return inner ? std::make_unique<LoggedEffect>(std::move(inner), kind, trace) : nullptr;
            });
        SWorldLinks links = CWorldMan::GetLinks();
        links.makeEventController = [this](CWorldObject&) -> std::unique_ptr<IEventControllerLink> {
            return std::make_unique<CWorldEventController>(&scripts->GetCache(), logged);
        };
        CWorldMan::SetLinks(links);
    }

    CEventItemFactory logged;
    std::ostringstream trace;
};

TEST_F(EventRun, ARollerAndACarPassingTheSampleBeaconArePushedAndLitUp) {
    CWorldObject* beacon = Make(kBeacon, {0, 0, 0});
    CActiveWorldObject* roller = MakeActive(kRoller, {-14, 0, 0}, {1, 0, 0});
    ASSERT_NE(beacon, nullptr);
    ASSERT_NE(roller, nullptr);
    roller->SetVelocity(CVector(0.5f, 0, 0));
    // A car driven at full throttle passes on the other side.
    auto* car = dynamic_cast<CCarObject*>(Make(kCar, {-14, 0, -4}, {1, 0, 0}));
    ASSERT_NE(car, nullptr);
    car->Reorient(CVector(1, 0, 0), kUpVector);
    cartest::ScriptedDriver driver;
    driver.Throttle();
    car->AssignDriver(&driver);
    float nearest = 1e9f;
    for (int frame = 1; frame <= 80; ++frame) {
        trace << "frame " << frame << "\n";
        CWorldMan::UpdateObjects(40);
        CWorldMan::SimulateActiveObjects(40);
        CWorldMan::CollideObjects(40);
        CWorldMan::FinishActiveObjects(40);
        const CVector p = roller->Position();
        nearest = std::min(nearest, std::hypot(p.x, p.z));
        const CVector c = car->Position();
        trace << "  roller at " << std::lround(p.x * 10) / 10.0 << " " << std::lround(p.z * 10) / 10.0
              << ", car at " << std::lround(c.x * 10) / 10.0 << " " << std::lround(c.z * 10) / 10.0 << "\n";
    }
    // The roller came within the beacon's reach and went on past it.
    EXPECT_LT(nearest, 6.0f);
    EXPECT_GT(roller->Position().x, 6.0f);
    const std::string text = trace.str();
    EXPECT_NE(text.find("30038 EventCreateEffect fired on 30040"), std::string::npos);
    EXPECT_NE(text.find("30040 ParticlesEffects fired on 30040"), std::string::npos);
    EXPECT_NE(text.find("30038 EventCreateEffect fired on 60000"), std::string::npos);
    EXPECT_NE(text.find("60000 ParticlesEffects fired on 60000"), std::string::npos);
    EXPECT_TRUE(MatchesGolden("event_run_log", text));
    car->AssignDriver(nullptr);
}

} // namespace
