// Driving on demo.trk from the keyboard, headless on the sample set at 40 ms frames with the 3D scene left
// undrawn: after the start lights the player's keys move, steer and brake the player's car; a restart from
// the pause menu holds every car on the grid until the new start signal; and a whole race driven from a
// recorded key script ends with the same finishing order and times as its golden. With the game's sound
// and music on, the same keys take the player to the last lap, where the race music speeds up.

#include "HeadlessGame.h"

#include "app/DriverControls.h"
#include "app/GameStateMan.h"
#include "audio/MusicManager.h"
#include "audio/MusicWrapper.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/RaceOptionsSlideOut.h"
#include "platform/window/ScriptedWindow.h"
#include "race/HumanDriver.h"
#include "race/RaceResultsMan.h"
#include "race/RouteNodeMan.h"
#include "race/WorldRaceMan.h"
#include "render/EngineMan.h"
#include "ui/SlideOutMan.h"
#include "world/CarObject.h"
#include "world/GoldenTrace.h"
#include "world/JamTruck.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

float FlatDistance(const CVector& a, const CVector& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

CCarObject* CarAt(int slot) {
    return dynamic_cast<CCarObject*>(CWorldMan::GetCar(slot));
}

CVector Flat(CVector v) {
    v.y = 0.0f;
    v.Normalise();
    return v;
}

/// The recorded race: frames after the start signal at which keys go down or up.
const struct {
    int frame;
    int key;
    bool down;
} kScript[] = {
    {0, kUp, true},       {30, kLeft, true},   {34, kLeft, false},  {150, kRight, true},
    {153, kRight, false}, {400, kLeft, true},  {402, kLeft, false}, {560, kDown, true},
    {561, kUp, false},    {565, kDown, false}, {566, kUp, true},
};

/// The keys of the recorded race that go down or up at `frame`.
void PressScripted(HeadlessGame& game, int frame) {
    for (const auto& event : kScript)
        if (event.frame == frame)
            game.input.SetKey(event.key, event.down);
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

TEST(RaceDrive, ARestartFromThePauseMenuPutsEveryCarBackOnTheGridAndHoldsItUntilTheStartSignal) {
    HeadlessGame game(DriveSetup(""));
    ASSERT_TRUE(ReachRacing(game));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    const CRaceResultsMan* results = race->GetResults();
    const CRouteNodeMan* route = game.App().GetRouteNodeMan();
    const CTrackObject* start = CWorldRaceMan::FindStartPiece();
    ASSERT_TRUE(results && route && start);
    const int count = race->GetCarCount();
    ASSERT_GE(count, 2);
    std::vector<CVector> grid;
    for (int slot = 0; slot < count; ++slot) {
        ASSERT_NE(CarAt(slot), nullptr);
        grid.push_back(CarAt(slot)->Position());
    }

    // Mid-race, every car well away from the grid; the player keeps the throttle down from here on, through
    // the pause menu and the new countdown.
    game.input.SetKey(kUp, true);
    game.Frames(150);
    for (int slot = 0; slot < count; ++slot)
        EXPECT_GT(FlatDistance(CarAt(slot)->Position(), grid[slot]), 20.0f) << slot;
    // The last car has a put-back pending when the race is stopped; it must not follow it into the new one.
    CarAt(count - 1)->Respawn(60000);
    ASSERT_GE(CarAt(count - 1)->GetRespawnCountdownMs(), 0);
    game.PressKey(27);
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kRaceOptions));
    ASSERT_TRUE(game.ClickControl(CRaceOptionsSlideOut::kRestartButton));
    ASSERT_TRUE(game.RunUntil(
        [&] {
            return race->GetLeaveRequest() == CWorldRaceMan::kNoRequest &&
                   race->GetState() == CWorldRaceMan::kNotRacing;
        },
        100));

    // Back on the grid, every driver held, its lanes taken at the grid slot of its own slot.
    CVector facing, side;
    CWorldRaceMan::GridAxes(*start, facing, side);
    for (int slot = 0; slot < count; ++slot) {
        SCOPED_TRACE(slot);
        const CDriver* driver = CarAt(slot)->GetDriver();
        ASSERT_NE(driver, nullptr);
        EXPECT_LT(FlatDistance(CarAt(slot)->Position(), grid[slot]), 0.5f);
        EXPECT_FALSE(driver->IsActive());
        const CVector own = CWorldRaceMan::GridSlotPosition(slot, start->Position(), facing, side);
        EXPECT_EQ(driver->GetLane(), route->GetDriverLateralOffset(own, 1));
    }
    // No car moves, nor is put back, until the start signal, a whole countdown and the lights later.
    int frames = 0;
    for (; frames < 400; ++frames) {
        game.Frames(1);
        if (race->GetState() == CWorldRaceMan::kRacing)
            break;
        for (int slot = 0; slot < count; ++slot) {
            ASSERT_LT(FlatDistance(CarAt(slot)->Position(), grid[slot]), 0.5f) << slot << " at " << frames;
            ASSERT_LT(CarAt(slot)->GetRespawnCountdownMs(), 0) << slot << " at " << frames;
        }
    }
    ASSERT_EQ(race->GetState(), CWorldRaceMan::kRacing);
    EXPECT_GT(frames * kFrameMs, CWorldRaceMan::kCountdownMs);

    // Then a fresh race: no lap counted, no finisher, every driver let go, the cars off the grid.
    for (const CRaceResultsMan::SRecord& record : results->GetRecords())
        EXPECT_EQ(record.laps * 10 + record.finished, -10) << record.slot;
    EXPECT_EQ(results->GetFinisherCount(), 0);
    EXPECT_FALSE(results->IsLastLap());
    game.Frames(25);
    for (int slot = 0; slot < count; ++slot) {
        EXPECT_TRUE(CarAt(slot)->GetDriver()->IsActive()) << slot;
        EXPECT_GT(FlatDistance(CarAt(slot)->Position(), grid[slot]), slot == 0 ? 8.0f : 1.0f) << slot;
    }
}

TEST(RaceDrive, AJamTruckPutBackHalfwayAlongItsRunComesBackOverItsOwnNodeNotOnTheStartPiece) {
    HeadlessGame game(DriveSetup(""));
    ASSERT_TRUE(ReachRacing(game));
    const CRouteNodeMan* route = game.App().GetRouteNodeMan();
    const CTrackObject* start = CWorldRaceMan::FindStartPiece();
    ASSERT_TRUE(route && start);
    CJamTruck* truck = nullptr;
    int spawnNode = -1;
    // The truck leaves its bay and drives three nodes along its run.
    ASSERT_TRUE(game.RunUntil(
        [&] {
            truck = nullptr;
            for (CActiveWorldObject* object : CWorldMan::GetActiveList())
                if (auto* found = dynamic_cast<CJamTruck*>(object); found && found->GetDriver())
                    truck = found;
            if (!truck)
                return false;
            // Once it has found its way (its first frame takes the node nearest its bay).
            const int node = truck->GetDriver()->GetTargetNode();
            if (spawnNode < 0 && truck->GetAliveMs() >= 200)
                spawnNode = node;
            return spawnNode >= 0 && route->GetRouteSteps(spawnNode, node) >= 3;
        },
        3000));
    const CDriver* driver = truck->GetDriver();
    const int node = driver->GetTargetNode();
    EXPECT_EQ(driver->GetRouteNode(), node) << "the truck comes back over the node it drives to";
    const CVector cell = CWorldGrid::WorldToGrid(route->GetNode(node).position);

    truck->Respawn(-1);
    // Above the node's cell, at most a step aside from the node (away from the truck where it stood), and
    // off the start piece.
    EXPECT_EQ(CWorldGrid::WorldToGrid(truck->Position()), cell);
    EXPECT_LE(FlatDistance(truck->Position(), route->GetNode(node).position), 8.01f);
    EXPECT_FALSE(CWorldGrid::WorldToGrid(truck->Position()) == CWorldGrid::WorldToGrid(start->Position()));
}

TEST(RaceDrive, TheRaceMusicSpeedsUpFromThePlayersLastLapAndKeepsItsPiece) {
    // The game's own sound and music on the audio device; the recorded keys take the player round.
    gametest::GameSetup setup = DriveSetup("");
    setup.sound = true;
    HeadlessGame game(setup);
    ASSERT_TRUE(ReachRacing(game));
    const CRaceResultsMan* results = CWorldRaceMan::GetInstance()->GetResults();
    CMusicManager* music = game.App().GetMusicManager();
    ASSERT_TRUE(results && music && music->GetWrapper());
    ASSERT_NE(music->GetLoader(), nullptr) << "no audio device: SDL_AUDIODRIVER=dummy";
    const CMusicWrapper& wrapper = *music->GetWrapper();
    const int theme = game.App().GetAssetMan()->GetWorld();
    const int piece = CMusicManager::SegmentFor(CMusicManager::kCategoryRace, theme, false);
    const int tempo = CMusicManager::TempoFor(CMusicManager::kCategoryRace, theme, false);
    const int lastLapTempo = CMusicManager::TempoFor(CMusicManager::kCategoryRace, theme, true);
    ASSERT_NE(tempo, lastLapTempo);

    // The race tempo until the frame the player's last lap begins, the last lap's from then on.
    int lastLap = -1;
    for (int frame = 0; frame < 1500 && (lastLap < 0 || frame < lastLap + 5); ++frame) {
        PressScripted(game, frame);
        game.Frames(1);
        if (lastLap < 0 && results->IsLastLap())
            lastLap = frame;
        ASSERT_FALSE(wrapper.IsPaused()) << frame;
        ASSERT_EQ(wrapper.GetCurrentSegmentId(), piece) << frame;
        ASSERT_EQ(wrapper.GetCurrentTempo(), lastLap < 0 ? tempo : lastLapTempo) << frame;
    }
    ASSERT_GE(lastLap, 0) << "the player did not reach the last lap";
    EXPECT_TRUE(music->IsLastLap());
    EXPECT_TRUE(music->GetLoader()->IsPlaying());
}

TEST(RaceDrive, RecordedRaceGivesTheGoldenResult) {
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
        PressScripted(game, frame);
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
