// A player's way through the front end, scripted and headless: from the start-up picture to the main
// screen, the options and back, the race screen and back, the quit box and the exit pictures to the end.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/base/GameStates.h"
#include "platform/window/ScriptedWindow.h"
#include "render/EngineMan.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

TEST(ScreenRun, FromTheStartUpPictureThroughTheMenusToTheExitPictures) {
    gametest::GameSetup setup;
    setup.frameMs = 190; // the longest frame the timing counts: the 45 s of exit pictures in few frames
    HeadlessGame game(setup);
    ASSERT_TRUE(game.Start());
    CGameStateMan* states = game.App().GetGameStateMan();
    CEngineMan* engine = game.App().GetEngineMan();

    ASSERT_TRUE(game.Reach(GAMESTATE_STARTUP));
    game.Frames(2);
    EXPECT_TRUE(testsupport::MatchesGolden("screen_startup", game.Screen()));

    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    game.MoveTo(600, 300);
    EXPECT_TRUE(testsupport::MatchesGolden("screen_main", game.Screen()));

    ASSERT_TRUE(game.ClickControl(2));
    ASSERT_TRUE(game.Reach(GAMESTATE_OPTIONS));
    game.MoveTo(600, 60);
    EXPECT_TRUE(testsupport::MatchesGolden("screen_options", game.Screen()));
    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));

    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    game.MoveTo(600, 300);
    EXPECT_TRUE(testsupport::MatchesGolden("screen_race", game.Screen()));
    ASSERT_TRUE(game.ClickControl(3));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));

    // The quit box lies over the main screen; its first button asks the game to quit.
    ASSERT_TRUE(game.ClickControl(3));
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kMessageBox));
    game.MoveTo(600, 60);
    EXPECT_TRUE(testsupport::MatchesGolden("screen_quit_box", game.Screen()));
    ASSERT_TRUE(game.ClickControl(1));
    EXPECT_TRUE(game.App().IsExiting());
    EXPECT_EQ(states->GetState(), GAMESTATE_STARTUP);

    ASSERT_TRUE(game.RunUntil([&] { return engine->GetBackgroundImageId() == 33210; }, 100));
    // The picture panel came back at once (its slide ended with the start-up picture); the main screen
    // and the box slide away over the first picture.
    game.Frames(25);
    EXPECT_TRUE(testsupport::MatchesGolden("screen_exit", game.Screen()));
    for (int picture : {33211, 33212}) {
        SCOPED_TRACE(picture);
        ASSERT_TRUE(game.RunUntil([&] { return engine->GetBackgroundImageId() == picture; }, 200));
        // Neither a key nor a click cuts a picture short.
        plat::window::Event key{plat::window::EventKind::Char};
        key.character = 27;
        game.window->Push(key);
        game.Click(320, 240);
        EXPECT_EQ(engine->GetBackgroundImageId(), picture);
    }
    EXPECT_TRUE(game.RunUntil([&] { return game.App().IsQuitting(); }, 200));
    EXPECT_EQ(states->GetState(), GAMESTATE_QUIT);
}

} // namespace
