// The taunts: the face scripts as read from text and from the sample set, the taunt sounds, what each
// event shows for a driver, and the queue's frame over the cars and display it is given.

#include "RaceSample.h"

#include "foundation/math/Random.h"
#include "race/TauntCars.h"
#include "race/TauntDisplay.h"
#include "race/TauntEventQueue.h"
#include "race/TauntMonitor.h"
#include "race/TauntScript.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

// ---- scripts ----

TEST(TauntScript, LinesReadOrDrop) {
    const struct {
        const char* line;
        int tag, first, last; // tag -1: nothing stored
        int dropped;
    } rows[] = {
        {"{Happy=120-150}", 13, 120, 150, 0},
        {"  x {Brake= 3 - 7 } trailing", 3, 3, 7, 0},
        {"{Landing=+5-1999}", 27, 5, 1999, 0},
        {"{Jump=9-4}", 8, 9, 4, 0}, // kept: the player ends such a clip at once
        {"{Jump=0-2000}", -1, 0, 0, 1},
        {"{Jump=-1-5}", -1, 0, 0, 1},
        {"{Jump=1--5}", -1, 0, 0, 1},
        {"{Jump=99999999999999999999-5}", -1, 0, 0, 1},
        {"{Jump=4294967297-5}", -1, 0, 0, 1},
        {"{Jump=5-6", -1, 0, 0, 1},
        {"{Jump=56}", -1, 0, 0, 1},
        {"{Jump=a-6}", -1, 0, 0, 1},
        {"{Jump=5x-6}", -1, 0, 0, 1},
        {"{Jump=-}", -1, 0, 0, 1},
        // The first key in tag order wins, wherever it stands on the line.
        {"{Happy=1-2}{NormalDriving=3-4}", 0, 3, 4, 0},
        {"{HappyTaunt=7-9}", 23, 7, 9, 0},
        {"{SevereBumps=10-12}", 7, 10, 12, 0},
        {"{Happy=1-2} {SOUND=5-54000}", 13, 1, 2, 0},
        {"{happy=1-2}", -1, 0, 0, 0}, // not a key: ignored, not dropped
        {"no key at all", -1, 0, 0, 0},
    };
    for (const auto& row : rows) {
        CTauntScript script;
        EXPECT_EQ(script.Read(row.line, "test"), row.dropped) << row.line;
        for (int tag = 0; tag < CTauntScript::kTagCount; ++tag) {
            EXPECT_EQ(script.GetFirst(tag), tag == row.tag ? row.first : -1) << row.line << " tag " << tag;
            EXPECT_EQ(script.GetLast(tag), tag == row.tag ? row.last : -1) << row.line << " tag " << tag;
        }
    }
}

TEST(TauntScript, SoundLinesLineEndsAndLimits) {
    CTauntScript script;
    const std::string text = "{SOUND=0-54000}\r\n{SOUND=1999-7}\r\n{SOUND=2000-54001}\n{SOUND=-1-54001}\n"
                             "{SOUND=3-99999999999}\n{Bored1=4-6}\r\n{Bored2=5-8}";
    EXPECT_EQ(script.Read(text, "test"), 3);
    EXPECT_EQ(script.GetFrameSound(0), 54000);
    EXPECT_EQ(script.GetFrameSound(1999), 7);
    EXPECT_EQ(script.GetFrameSound(3), -1);
    EXPECT_EQ(script.GetFrameSound(2000), -1);
    EXPECT_EQ(script.GetFrameSound(-1), -1);
    EXPECT_TRUE(script.HasTag(17));
    EXPECT_EQ(script.GetLast(18), 8); // the last line needs no line end
    EXPECT_EQ(script.GetFirst(28), -1);
    EXPECT_EQ(script.GetFirst(-1), -1);
    // A later line for the same tag replaces the earlier; a new read forgets everything.
    EXPECT_EQ(script.Read("{Bored1=4-6}\n{Bored1=10-11}", "test"), 0);
    EXPECT_EQ(script.GetFirst(17), 10);
    EXPECT_FALSE(script.HasTag(18));
    EXPECT_EQ(script.GetFrameSound(0), -1);
    EXPECT_EQ(script.Read(std::string(CTauntScript::kMaxBytes + 1, '{'), "test"), 1);
}

class TauntSample : public racetest::RaceSample {};

// Every driver of the sample set has a face for every expression, and a script cut anywhere keeps only
// what its whole lines say.
TEST_F(TauntSample, SampleScriptsAndTheirTruncations) {
    for (int driver = 0; driver < CTauntMonitor::kDriverCount; ++driver) {
        std::string text;
        ASSERT_TRUE(assets->LoadAssetIntoString(CTauntMonitor::kFirstScript + driver, text)) << driver;
        CTauntScript whole;
        EXPECT_EQ(whole.Read(text, "sample"), 0) << driver;
        for (int tag = 0; tag < CTauntScript::kTagCount; ++tag)
            EXPECT_TRUE(whole.HasTag(tag)) << driver << " " << tag;
        std::string path;
        ASSERT_TRUE(assets->GetAssetPath(CTauntMonitor::kFirstFaceVideo + driver, path)) << driver;
        if (driver != 0)
            continue;
        for (std::size_t cut = 0; cut < text.size(); ++cut) {
            CTauntScript part;
            part.Read(std::string_view(text).substr(0, cut), "cut");
            for (int tag = 0; tag < CTauntScript::kTagCount; ++tag) {
                if (part.GetFirst(tag) != -1 || part.GetLast(tag) != -1) {
                    EXPECT_EQ(part.GetFirst(tag), whole.GetFirst(tag)) << cut;
                    EXPECT_EQ(part.GetLast(tag), whole.GetLast(tag)) << cut;
                }
            }
            for (int frame = 0; frame < CTauntScript::kMaxFrames; ++frame)
                if (part.GetFrameSound(frame) != -1)
                    EXPECT_EQ(part.GetFrameSound(frame), whole.GetFrameSound(frame)) << cut;
        }
    }
}

// ---- sounds and events ----

TEST(TauntSounds, ByDriverAndTag) {
    const struct {
        int driver, tag, sound;
    } rows[] = {
        {0, 23, 54101}, {0, 24, 54102},  {0, 25, 54100},  {0, 26, 54103},  {2, 23, 54181},  {8, 26, 54143},
        {5, 25, 54110}, {0, 22, -1},     {0, 27, -1},     {9, 21, 54341},  {9, 3, 54025},   {9, 18, 54038},
        {9, 19, -1},    {10, 0, -1},     {10, 3, 54000},  {10, 6, 54001},  {10, 18, 54013}, {10, 22, 54017},
        {10, 23, -1},   {11, 20, 54065}, {12, 10, 54093}, {12, 11, 54081}, {12, 21, 54391}, {12, 22, 54092},
        {13, 3, -1},    {-1, 23, -1},    {-2, 3, -1},     {10, -1, -1},    {10, 28, -1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CTauntMonitor::TauntSound(row.driver, row.tag), row.sound) << row.driver << "/" << row.tag;
    const int holds[][2] = {{4, 2}, {5, 2}, {8, 1}, {16, 2}, {20, 10}, {0, 0}, {21, 0}, {28, 0}, {-1, 0}};
    for (const auto& hold : holds)
        EXPECT_EQ(CTauntMonitor::HoldFrames(hold[0]), hold[1]) << hold[0];
}

// What each event shows a player character (10) and a computer driver (6), over many draws.
TEST(TauntEvents, LookUpByDriver) {
    const struct {
        int event;
        int priority;
        std::set<int> playerTags;   // empty: never shown
        std::set<int> computerTags; // empty: never shown
    } rows[] = {
        {0, -1, {}, {}},
        {3, 7, {3}, {}},
        {4, 6, {4}, {}},
        {7, 8, {7}, {}},
        {13, 12, {13}, {}},
        {14, -1, {}, {}},
        {19, 4, {19}, {}},
        {21, 14, {21}, {}},
        {23, 12, {23}, {23}},
        {24, 9, {24}, {24}},
        {25, 12, {25}, {25}},
        {26, 11, {26}, {26}},
        {27, 8, {27}, {}},
        {28, -1, {}, {}},
        {29, 5, {0, 1, 2}, {}},
        {30, 4, {17, 18, 19}, {}},
        {31, 14, {0, 1, 2, 13, 14}, {}},
        {32, 14, {0, 1, 2, 15}, {}},
        {33, 12, {23, 26}, {23, 26}},
        {34, -1, {}, {}},
        {-1, -1, {}, {}},
    };
    Random::Seed(1234);
    for (const auto& row : rows) {
        EXPECT_EQ(CTauntEventQueue::EventPriority(row.event), row.priority) << row.event;
        std::set<int> player, computer;
        for (int draw = 0; draw < 200; ++draw) {
            const auto p = CTauntEventQueue::LookUp(row.event, 10);
            const auto c = CTauntEventQueue::LookUp(row.event, 6);
            if (p.tag != -1) {
                player.insert(p.tag);
                EXPECT_EQ(p.priority, row.priority) << row.event;
            } else {
                EXPECT_EQ(p.priority, -1) << row.event;
            }
            if (c.tag != -1)
                computer.insert(c.tag);
            else
                EXPECT_EQ(c.priority, -1) << row.event;
        }
        EXPECT_EQ(player, row.playerTags) << row.event;
        EXPECT_EQ(computer, row.computerTags) << row.event;
    }
}

// ---- the queue ----

/// Cars by address: a driver slot and index and a position each; the reference car is the one of slot 0
/// as the race's lookup finds it (a car left out of `cars` is not in the world).
struct FakeCars : ITauntCars {
    struct SCar {
        int slot;
        int driver;
        CVector position;
    };
    std::map<const CWorldObject*, SCar> cars;
    bool FindDriver(const CWorldObject* car, int& slot, int& driverIndex) const override {
        const auto it = cars.find(car);
        if (it == cars.end() || it->second.driver == -2)
            return false;
        slot = it->second.slot;
        driverIndex = it->second.driver;
        return true;
    }
    CVector GetPosition(const CWorldObject* car) const override { return cars.at(car).position; }
    const CWorldObject* GetReferenceCar() const override {
        for (const auto& [car, info] : cars)
            if (info.slot == 0 && info.driver != -2)
                return car;
        return nullptr;
    }
};

/// A display that answers as the monitor does when every driver's script holds every expression.
struct RecordingDisplay : ITauntDisplay {
    bool busy = false;
    bool hold = false;
    int tag = 28;
    int endHolds = 0;
    std::vector<std::pair<int, int>> shown; // (tag, driver) of each accepted call
    bool PlayTaunt(int t, int driver, bool loop, bool h) override {
        busy = true;
        if ((loop && h) || (h && t == tag))
            return false;
        hold = h;
        tag = t;
        shown.emplace_back(t, driver);
        return true;
    }
    bool IsBusy() const override { return busy; }
    int GetTag() const override { return tag; }
    bool IsHolding() const override { return hold; }
    void EndHold() override {
        busy = false;
        ++endHolds;
    }
};

struct QueueRig {
    // Car stand-ins are told apart by address only.
    std::array<char, 8> addresses{};
    FakeCars cars;
    RecordingDisplay display;
    CTauntEventQueue queue{cars, display};
    const CWorldObject* Car(int i) const { return reinterpret_cast<const CWorldObject*>(&addresses[i]); }
    QueueRig() {
        cars.cars[Car(0)] = {0, 10, CVector()};        // the player, the reference
        cars.cars[Car(1)] = {1, 6, CVector(10, 0, 0)}; // computer drivers
        cars.cars[Car(2)] = {2, 7, CVector(0, 0, 29.9f)};
        cars.cars[Car(3)] = {3, 11, CVector(30, 0, 0)}; // a player character just too far
        cars.cars[Car(4)] = {4, 1, CVector(1, 0, 0)};   // a jam-truck slot
        cars.cars[Car(5)] = {1, -2, CVector(1, 0, 0)};  // a car without a driver
        queue.Enable();
        Random::Seed(77);
    }
};

TEST(TauntQueue, ReportsRefused) {
    QueueRig rig;
    const struct {
        int car, event;
        bool taken;
    } rows[] = {
        {0, 3, true},   {1, 3, false},  {1, 23, true},  {1, 31, false}, {0, 31, true},  {0, 0, false},
        {0, 14, false}, {4, 23, false}, {5, 23, false}, {6, 23, false}, {0, 34, false}, {0, -1, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(rig.queue.ReportEvent(rig.Car(row.car), row.event), row.taken)
            << row.car << "/" << row.event;
    EXPECT_EQ(rig.queue.GetCount(), 3);
    for (int i = rig.queue.GetCount(); i < CTauntEventQueue::kMaxReports; ++i)
        EXPECT_TRUE(rig.queue.ReportEvent(rig.Car(0), 3));
    EXPECT_FALSE(rig.queue.ReportEvent(rig.Car(0), 21)); // the 41st
    rig.queue.Frame();
    EXPECT_EQ(rig.queue.GetCount(), 0);
    rig.queue.Init();
    EXPECT_FALSE(rig.queue.ReportEvent(rig.Car(0), 3)); // disabled again
}

// Frames after the reports of the rig: what the display is asked to show.
TEST(TauntQueue, FilterPriorityAndBusy) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> reports; // (car, event)
        bool busyBefore;
        int lastPriority;
        std::set<std::pair<int, int>> may; // (tag, driver) that may be shown; empty: nothing
    } rows[] = {
        {"a far priority 14 does not raise the bar",
         {{1, 25}, {2, 23}, {3, 21}, {0, 6}},
         false,
         0,
         {{25, 6}, {23, 7}}},
        {"only reports within 30", {{3, 25}}, false, 0, {}},
        {"the highest near priority wins", {{0, 21}, {1, 24}, {0, 19}}, false, 0, {{21, 10}}},
        {"a busy display takes a higher priority", {{0, 21}}, true, 13, {{21, 10}}},
        {"but not an equal one", {{0, 20}}, true, 13, {}},
        {"nor a lower one", {{1, 24}}, true, 13, {}},
        {"a random event keeps its priority", {{1, 33}}, true, 11, {{23, 6}, {26, 6}}},
    };
    for (const auto& row : rows) {
        QueueRig rig;
        // A busy display has something on show whose priority the queue remembers.
        if (row.busyBefore) {
            rig.queue.ReportEvent(rig.Car(0), row.lastPriority == 13 ? 20 : 22);
            rig.queue.Frame();
            ASSERT_EQ(rig.queue.GetLastPriority(), row.lastPriority) << row.what;
            rig.display.shown.clear();
            rig.display.hold = false;
        }
        for (const auto& [car, event] : row.reports)
            rig.queue.ReportEvent(rig.Car(car), event);
        rig.queue.Frame();
        EXPECT_EQ(rig.queue.GetCount(), 0) << row.what;
        if (row.may.empty()) {
            EXPECT_TRUE(rig.display.shown.empty()) << row.what;
            continue;
        }
        ASSERT_EQ(rig.display.shown.size(), 1u) << row.what;
        EXPECT_TRUE(row.may.count(rig.display.shown[0])) << row.what << ": " << rig.display.shown[0].first;
    }
}

// Among equal reports the seeded generator picks; the same seed picks the same, and each gets a turn.
TEST(TauntQueue, SeededChoice) {
    auto run = [](std::uint32_t seed) {
        QueueRig rig;
        Random::Seed(seed);
        for (int frame = 0; frame < 60; ++frame) {
            rig.display.busy = false;
            rig.queue.ReportEvent(rig.Car(1), 23);
            rig.queue.ReportEvent(rig.Car(2), 23);
            rig.queue.ReportEvent(rig.Car(0), 13);
            rig.queue.Frame();
        }
        return rig.display.shown;
    };
    const auto first = run(5);
    EXPECT_EQ(first, run(5));
    EXPECT_NE(first, run(6));
    std::set<int> drivers;
    for (const auto& [tag, driver] : first)
        drivers.insert(driver);
    EXPECT_EQ(drivers, (std::set<int>{6, 7, 10}));
}

TEST(TauntQueue, HoldEndsTheFrameAfterItsEventStopsAndNoReferenceShowsNothing) {
    QueueRig rig;
    rig.queue.ReportEvent(rig.Car(0), 20); // Invisible, a hold expression
    rig.queue.Frame();
    ASSERT_TRUE(rig.display.IsHolding());
    EXPECT_EQ(rig.display.GetTag(), 20);
    rig.display.busy = false; // the clip ran out and loops its end
    rig.queue.ReportEvent(rig.Car(0), 20);
    rig.queue.Frame();
    EXPECT_EQ(rig.display.endHolds, 0);
    EXPECT_TRUE(rig.display.IsBusy()); // asked again: the hold goes on
    EXPECT_EQ(rig.display.shown.size(), 1u);
    rig.queue.ReportEvent(rig.Car(1), 25);
    rig.queue.Frame();
    EXPECT_EQ(rig.display.endHolds, 1);

    // Without the car of slot 0 nothing is shown, and the queue is emptied all the same.
    rig.cars.cars.erase(rig.Car(0));
    rig.display.busy = false;
    rig.display.shown.clear();
    rig.queue.ReportEvent(rig.Car(1), 25);
    rig.queue.Frame();
    EXPECT_TRUE(rig.display.shown.empty());
    EXPECT_EQ(rig.queue.GetCount(), 0);
}

} // namespace
