// A race from the second main screen, headless on the sample set: the race world loads demo.trk, the
// race panel's start light runs after the countdown and lets the race begin, Escape pauses it into the
// in-race options, and a leave request taken once the race panel is back ends on the second main screen.
// What the race camera shows a player at the loop: the ring with the car riding it and a pickup on its pad.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "race/Driver.h"
#include "race/DriverManager.h"
#include "race/RaceSlideOut.h"
#include "race/RaceTrafficLight.h"
#include "race/WorldRaceMan.h"
#include "ui/SlideOutMan.h"
#include "world/CarObject.h"
#include "world/JamTruck.h"
#include "world/PickupObject.h"
#include "world/TrackObject.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

TEST(RaceRun, CountdownLightsPauseAndLeave) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    CGameStateMan* states = game.App().GetGameStateMan();
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    ASSERT_TRUE(game.ClickControl(4));
    ASSERT_TRUE(game.Reach(GAMESTATE_RACE));

    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);
    EXPECT_TRUE(race->HasStarted());
    ASSERT_NE(CWorldRaceMan::FindStartPiece(), nullptr);
    EXPECT_EQ(race->GetRaceSetup().laps, 4); // the 8 x 8 demo track
    EXPECT_NE(race->GetWorldTopography(), nullptr);
    // The human and three computer racers, on the grid ahead of and behind the start piece, a plate for
    // the human.
    EXPECT_EQ(race->GetCarCount(), 4);
    EXPECT_EQ(race->GetHumanCount(), 1);
    const CVector start = CWorldRaceMan::FindStartPiece()->Position();
    for (int slot = 0; slot < 4; ++slot) {
        ASSERT_NE(CWorldMan::GetCar(slot), nullptr) << slot;
        const CVector offset = CWorldMan::GetCar(slot)->Position() - start;
        EXPECT_NEAR(std::abs(offset.x), 5.0f, 0.01f) << slot; // the start piece runs along z on demo.trk
        EXPECT_TRUE(std::abs(std::abs(offset.z) - 10.0f) < 0.01f ||
                    std::abs(std::abs(offset.z) - 4.0f) < 0.01f)
            << slot << " " << offset.z;
    }
    auto* panel =
        dynamic_cast<CRaceSlideOut*>(game.App().GetSlideOutMan()->FindSlideOut(CSlideOutMan::kRace));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->GetTrafficLight(), nullptr);
    EXPECT_TRUE(panel->GetTrafficLight()->IsLoaded());
    EXPECT_EQ(panel->GetEntryCount(), 1);
    game.Frames(3);
    EXPECT_TRUE(testsupport::MatchesGolden("race_start", game.Screen()));

    // 5000 ms of countdown, then the lights: first, second and green, each with its sound.
    ASSERT_TRUE(game.RunUntil([&] { return race->GetState() == CWorldRaceMan::kRacing; }, 150));
    for (int sound : CRaceTrafficLight::kSounds)
        EXPECT_EQ(gametest::Count(game.log, "ui " + std::to_string(sound)), 1) << sound;
    ASSERT_NE(panel->GetTrafficLight(), nullptr);
    EXPECT_TRUE(panel->GetTrafficLight()->IsGreen());

    // Escape pauses into the in-race options; a second request while paused changes nothing.
    game.App().GetEventMan()->SetKeyMessage(27);
    game.Frames(1);
    EXPECT_EQ(race->GetState(), CWorldRaceMan::kPaused);
    EXPECT_EQ(states->GetState(), GAMESTATE_RACE_OPTIONS);

    // Back from the options with a leave request: taken once the race panel is shown again.
    race->SetPaused(false);
    EXPECT_EQ(race->GetState(), CWorldRaceMan::kRacing);
    race->RequestQuit(CWorldRaceMan::kLeave);
    race->RequestQuit(CWorldRaceMan::kRestart);
    EXPECT_EQ(race->GetLeaveRequest(), CWorldRaceMan::kLeave);
    states->SetState(GAMESTATE_RACE);
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    EXPECT_FALSE(race->HasStarted());
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kMainScreen2);
}

TEST(RaceRun, TheRaceCameraShowsTheLoopRiddenAndAPickupOnItsPad) {
    gametest::GameSetup setup;
    setup.frameMs = 40;
    HeadlessGame game(setup);
    ASSERT_TRUE(game.Start() && game.Reach(GAMESTATE_MAIN) && game.ClickControl(0) &&
                game.Reach(GAMESTATE_MAIN2) && game.ClickControl(4) && game.Reach(GAMESTATE_RACE));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_TRUE(game.RunUntil([&] { return race->GetState() == CWorldRaceMan::kRacing; }, 400));
    // Full throttle up the left side and along the top to the loop.
    game.input.SetKey(200, true);
    game.Frames(56);
    const auto* player = dynamic_cast<const CCarObject*>(CWorldMan::GetCar(0));
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->GetStuntState(), 6) << "the player rides the loop";
    int shown = 0;
    for (const auto& object : CWorldMan::GetObjectList())
        if (const auto* pickup = dynamic_cast<const CPickupObject*>(object.get());
            pickup && pickup->GetDisplayObject())
            ++shown;
    EXPECT_GT(shown, 0) << "a pickup stands on a pad";
    EXPECT_TRUE(testsupport::MatchesGolden("race_loop", game.Screen()));
}

TEST(RacePanel, LightTimingMarksAndBoardLines) {
    CRaceTrafficLight light;
    EXPECT_EQ(light.GetState(), CRaceTrafficLight::kSlidingIn);
    light.Advance(500);
    EXPECT_EQ(light.GetX(), 640 - 137 / 2);
    light.Advance(2000);
    EXPECT_EQ(light.GetX(), CRaceTrafficLight::kShownX);
    const struct {
        int ms, state, x;
    } steps[] = {{1000, 1, 503}, {1, 2, 503}, {1300, 2, 503}, {1, 3, 503}, {500, 3, 571}, {2000, 3, 845}};
    light.Start();
    for (const auto& s : steps) {
        light.Advance(s.ms);
        EXPECT_EQ(light.GetState(), s.state) << s.ms;
        EXPECT_EQ(light.GetX(), s.x) << s.ms;
    }
    light.Start(); // only from the slide-in
    EXPECT_TRUE(light.IsGreen());

    using Entry = CRaceSlideOut::CPlayerEntry;
    const int marks[][2] = {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {4, 0},
                            {4, 3}, {4, 4}, {4, 5}, {5, 1}, {-1, 0}};
    const int expected[] = {1, 2, 3, 3, -1, 5, 8, 8, -1, -1, -1};
    for (std::size_t i = 0; i < std::size(marks); ++i)
        EXPECT_EQ(Entry::LapMark(marks[i][0], marks[i][1]), expected[i]) << marks[i][0] << "/" << marks[i][1];
    const int icons[] = {-1, 0, 5, 1, 2, 3, -1, 4, -1, -1, 6, 7};
    for (int type = -1; type <= 10; ++type)
        EXPECT_EQ(Entry::PickupIcon(type), icons[type + 1]) << type;
    EXPECT_EQ(Entry::FacePicture(0), 39517);
    EXPECT_EQ(Entry::FacePicture(12), 39519);
    EXPECT_EQ(Entry::FacePicture(13), -1);
}

} // namespace

TEST(RaceRun, TheRaceCallsInAJamTruckThatEveryRacerWatchesUntilItEnds) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    ASSERT_TRUE(game.ClickControl(4));
    ASSERT_TRUE(game.Reach(GAMESTATE_RACE));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);
    ASSERT_TRUE(game.RunUntil([&] { return race->GetState() == CWorldRaceMan::kRacing; }, 150));

    auto* truck = dynamic_cast<CJamTruck*>(race->SpawnJamTruck(2000, 4));
    ASSERT_NE(truck, nullptr);
    EXPECT_EQ(truck->GetTypeId(), 60015);
    EXPECT_EQ(truck->GetPhase(), CJamTruck::kDriving);
    EXPECT_EQ(truck->GetDriverSlot(), 4);
    CDriverManager* drivers = game.App().GetDriverManager();
    const auto watching = [&] {
        int n = 0;
        for (int slot = 0; slot < 4; ++slot)
            if (CDriver* driver = drivers->GetDriver(slot))
                for (int i = 0; i < driver->GetWatchedTruckCount(); ++i)
                    n += driver->GetWatchedTruck(i) == truck ? 1 : 0;
        return n;
    };
    EXPECT_EQ(watching(), 4);
    // Hit (its first two seconds are not over: the hit counts all the same when told directly), tipped,
    // lying, ended: off every list and out of the world.
    truck->RecordCollision(CVector(1, 0, 0), 1.0f, 5, nullptr);
    ASSERT_TRUE(game.RunUntil([&] { return !CWorldMan::IsInWorld(truck); }, 60));
    EXPECT_EQ(watching(), 0);
}
