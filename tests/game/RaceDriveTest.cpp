// Driving on demo.trk from the keyboard, headless on the sample set at 40 ms frames with the 3D scene left
// undrawn: after the start lights the player's keys move, steer and brake the player's car, and a whole
// race driven from a recorded key script ends with the same finishing order and times as its golden.

#include "HeadlessGame.h"

#include "app/DriverControls.h"
#include "app/GameStateMan.h"
#include "foundation/base/GameStates.h"
#include "race/HumanDriver.h"
#include "race/RaceResultsMan.h"
#include "race/WorldRaceMan.h"
#include "render/EngineMan.h"
#include "world/CarObject.h"
#include "world/GoldenTrace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

constexpr int kFrameMs = 40;
// Keyboard layout 1.
constexpr int kUp = 200;
constexpr int kDown = 208;
constexpr int kRight = 205;
constexpr int kLeft = 203;

gametest::GameSetup DriveSetup(const std::string& commandLine) {
    gametest::GameSetup setup;
    setup.commandLine = commandLine;
    setup.frameMs = kFrameMs;
    setup.drawScene = false;
    return setup;
}

/// From the main screen through the second main screen's race button to the start signal.
bool ReachRacing(HeadlessGame& game) {
    return game.Start() && game.Reach(GAMESTATE_MAIN) && game.ClickControl(0) &&
           game.Reach(GAMESTATE_MAIN2) && game.ClickControl(4) && game.Reach(GAMESTATE_RACE) &&
           game.RunUntil([] { return CWorldRaceMan::GetInstance()->GetState() == CWorldRaceMan::kRacing; },
                         400);
}

CVector Flat(CVector v) {
    v.y = 0.0f;
    v.Normalise();
    return v;
}

TEST(RaceDrive, KeysMoveSteerAndBrakeThePlayersCar) {
    for (const char* commandLine : {"", "/FREEFORM"}) {
        SCOPED_TRACE(commandLine);
        const bool free = std::string(commandLine).empty() == false;
        HeadlessGame game(DriveSetup(commandLine));
        ASSERT_TRUE(ReachRacing(game));
        auto* car = dynamic_cast<CCarObject*>(CWorldMan::GetCar(0));
        ASSERT_NE(car, nullptr);
        auto* driver = dynamic_cast<CHumanDriver*>(car->GetDriver());
        ASSERT_NE(driver, nullptr);
        EXPECT_TRUE(driver->IsReady());
        EXPECT_TRUE(driver->IsActive());
        EXPECT_EQ(driver->IsLaneSteering(), !free);

        // Without keys the car stands; the throttle takes it forward along the track, node by node.
        const CVector start = car->Position();
        const CVector heading = Flat(car->Direction());
        game.Frames(5);
        EXPECT_LT((car->Position() - start).Length(), 0.5f);
        game.input.SetKey(kUp, true);
        game.Frames(8);
        EXPECT_GT((car->Position() - start).Dot(heading), 8.0f);
        EXPECT_GE(driver->GetTargetNode(), 2);

        // The right arrow turns the car to the right of the screen, the left arrow to the left. The view
        // maps the camera's up x direction to the screen's right (up being +y), so seen from above a turn
        // to the right is one whose old x new heading points up.
        // Lanes turn the car gently, a few units across the road; free steering at full lock.
        const struct {
            int key;
            int frames;
            float sign;
        } turns[] = {{kRight, 5, 1.0f}, {kLeft, 6, -1.0f}};
        for (const auto& turn : turns) {
            SCOPED_TRACE(turn.key);
            const CVector up = game.App().GetEngineMan()->GetCameraUp();
            ASSERT_GT(up.y, 0.5f);
            const CVector before = Flat(car->Direction());
            float most = 0.0f;
            game.input.SetKey(turn.key, true);
            for (int i = 0; i < turn.frames; ++i) {
                game.Frames(1);
                most = std::max(most, turn.sign * before.Cross(Flat(car->Direction())).y);
            }
            game.input.SetKey(turn.key, false);
            EXPECT_GT(most, free ? 0.1f : 0.005f);
            if (!free)
                EXPECT_GT(turn.sign * -static_cast<float>(driver->GetTargetLane()), 0.0f)
                    << "the negative lanes lie to the right";
        }

        // Down brakes: the brake reaches the car and the car slows.
        const float speed = car->GetSpeed();
        ASSERT_GT(speed, 1.0f);
        game.input.SetKey(kUp, false);
        game.input.SetKey(kDown, true);
        game.Frames(1);
        CDriverControls controls;
        driver->GetControls(controls);
        EXPECT_EQ(controls.axis2, 127);
        EXPECT_EQ(controls.axis1, -127);
        game.Frames(9);
        EXPECT_LT(car->GetSpeed(), speed * 0.7f);
    }
}

TEST(RaceDrive, RecordedRaceGivesTheGoldenResult) {
    // Frames after the start signal at which keys go down or up.
    const struct {
        int frame;
        int key;
        bool down;
    } script[] = {
        {0, kUp, true},       {30, kLeft, true},   {34, kLeft, false},  {150, kRight, true},
        {153, kRight, false}, {400, kLeft, true},  {402, kLeft, false}, {560, kDown, true},
        {561, kUp, false},    {565, kDown, false}, {566, kUp, true},
    };
    HeadlessGame game(DriveSetup(""));
    ASSERT_TRUE(ReachRacing(game));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    const CRaceResultsMan* results = race->GetResults();
    ASSERT_NE(results, nullptr);
    const std::vector<int> drivers(std::begin(race->GetRaceSetup().driver),
                                   std::end(race->GetRaceSetup().driver));

    std::vector<CRaceResultsMan::SRecord> records;
    std::map<int, int> finishMs; // by slot
    int frame = 0;
    constexpr int kLimit = 1500;
    for (;
         frame < kLimit && game.App().GetGameStateMan()->GetState() == GAMESTATE_RACE && !results->IsEnded();
         ++frame) {
        for (const auto& event : script)
            if (event.frame == frame)
                game.input.SetKey(event.key, event.down);
        records = results->GetRecords();
        game.Frames(1);
        for (const CRaceResultsMan::SRecord& record : results->GetRecords())
            if (record.finished && !finishMs.count(record.slot))
                finishMs[record.slot] = (frame + 1) * kFrameMs;
    }
    ASSERT_LT(frame, kLimit) << "the race did not end";
    ASSERT_FALSE(records.empty());
    ASSERT_TRUE(finishMs.count(0)) << "the player finished";

    std::ostringstream trace;
    trace << "# slot, driver, position, laps, finished, finish time (ms, -1 none)\n";
    for (const CRaceResultsMan::SRecord& record : records) {
        trace << record.slot << ' ' << drivers.at(static_cast<std::size_t>(record.slot)) << ' '
              << record.position << ' ' << record.laps << ' ' << (finishMs.count(record.slot) ? 1 : 0) << ' '
              << (finishMs.count(record.slot) ? finishMs[record.slot] : -1) << '\n';
    }
    trace << "# winner: driver, car, slot; the race ended after (ms)\n";
    trace << race->GetWinner().driver << ' ' << race->GetWinner().car << ' ' << race->GetWinner().slot
          << '\n';
    trace << frame * kFrameMs << '\n';
    EXPECT_TRUE(goldentrace::Matches("race_demo_results", trace.str()));
}

} // namespace
