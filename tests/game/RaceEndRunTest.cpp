// A race from the second main screen to its end, scripted and headless as a player plays it: paused in
// the countdown into the race options and resumed, finished, the winner's lap of honour, the race-end
// choice and back to the second main screen. The finish is handed over through the race world as the
// results board would hand it over; the picture is checked at each panel.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/RaceEndOptionsSlideOut.h"
#include "frontend/RaceOptionsSlideOut.h"
#include "platform/window/ScriptedWindow.h"
#include "race/RaceResultsMan.h"
#include "race/WorldRaceMan.h"
#include "ui/SlideOutMan.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

constexpr int kLapOfHonourPanel = 14;

TEST(RaceEndRunSlow, PauseResumeFinishLapOfHonourAndBack) {
    gametest::GameSetup setup;
    setup.frameMs = 190; // the countdown and the lights in fewer frames
    HeadlessGame game(setup);
    ASSERT_TRUE(game.Start());
    CGameStateMan* states = game.App().GetGameStateMan();
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    ASSERT_TRUE(game.ClickControl(4));
    ASSERT_TRUE(game.Reach(GAMESTATE_RACE));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);

    // Escape in the countdown pauses into the race options; Escape again resumes, and the same key
    // cannot pause again at once.
    game.PressKey(27);
    EXPECT_EQ(race->GetState(), CWorldRaceMan::kPaused);
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kRaceOptions));
    game.MoveTo(320, 400);
    EXPECT_TRUE(testsupport::MatchesGolden("race_options", game.Screen()));
    game.PressKey(27);
    EXPECT_EQ(states->GetState(), GAMESTATE_RACE);
    EXPECT_EQ(race->GetState(), CWorldRaceMan::kNotRacing);
    ASSERT_TRUE(game.RunUntil([&] { return race->GetState() == CWorldRaceMan::kRacing; }, 200));
    EXPECT_EQ(states->GetState(), GAMESTATE_RACE);

    // The finish: the board's list names the winner, the results hand over to the lap of honour.
    race->GetResults()->GetResultList();
    race->OnRaceFinished();
    ASSERT_TRUE(game.ReachPanel(kLapOfHonourPanel));
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kLapOfHonour);
    EXPECT_EQ(race->GetCarCount(), 1);
    EXPECT_TRUE(testsupport::MatchesGolden("race_lap_of_honour", game.Screen()));

    // Space goes on to the race-end choice; its second button back to the second main screen.
    game.PressKey(32);
    ASSERT_TRUE(game.Reach(GAMESTATE_RACE_END));
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kPreRace);
    game.MoveTo(320, 420);
    EXPECT_TRUE(testsupport::MatchesGolden("race_end", game.Screen()));
    ASSERT_TRUE(game.ClickControl(CRaceEndOptionsSlideOut::kLeaveButton));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kMainScreen2);
    EXPECT_FALSE(race->HasStarted());
}

} // namespace
