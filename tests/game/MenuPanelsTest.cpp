// The main screen's and the second main screen's panels, clicked as a player clicks them.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/MainScreen2SlideOut.h"
#include "frontend/MainScreenSlideOut.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"
#include "ui/VornMessageBox.h"
#include "world/WorldMan.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::Count;
using gametest::HeadlessGame;

namespace {

constexpr int kMainPanel = 7;

TEST(MenuPanels, EveryButtonLeadsToItsScreen) {
    struct Case {
        int state;   ///< the screen the button is on
        int control; ///< the button
        int next;    ///< the state it leads to
        int mode;    ///< the game mode afterwards
        int clicks;  ///< push-button sounds: its own, and the editor button's second
    } cases[] = {
        {GAMESTATE_MAIN, CMainScreenSlideOut::kRaceButton, GAMESTATE_MAIN2, -1, 1},
        {GAMESTATE_MAIN, CMainScreenSlideOut::kEditorButton, GAMESTATE_CONSTRUCT, 1, 2},
        {GAMESTATE_MAIN, CMainScreenSlideOut::kOptionsButton, GAMESTATE_OPTIONS, -1, 1},
        {GAMESTATE_MAIN2, CMainScreen2SlideOut::kBackButton, GAMESTATE_MAIN, -1, 1},
        {GAMESTATE_MAIN2, CMainScreen2SlideOut::kRaceButton, GAMESTATE_RACE, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        HeadlessGame game;
        ASSERT_TRUE(game.Start());
        CGameStateMan* states = game.App().GetGameStateMan();
        states->SetState(c.state);
        ASSERT_TRUE(game.Reach(c.state));
        game.log.clear();
        ASSERT_TRUE(game.ClickControl(c.control));
        EXPECT_EQ(states->GetState(), c.next);
        EXPECT_EQ(states->GetGameMode(), c.mode);
        EXPECT_EQ(Count(game.log, "ui 50100"), c.clicks);
    }
}

TEST(MenuPanels, TheQuitBoxAsksFirstAndOnlyItsFirstButtonQuits) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    auto* main =
        dynamic_cast<CMainScreenSlideOut*>(game.App().GetSlideOutMan()->GetSlideOutByIndex(kMainPanel));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->GetWorld(), CWorldMan::GetWorld(CWorldMan::kMainScreen));
    EXPECT_TRUE(CMainScreenSlideOut::HasMainScreenBeenReached());

    // The second button closes the box and leaves the main screen as it was.
    ASSERT_TRUE(game.ClickControl(CMainScreenSlideOut::kQuitButton));
    EXPECT_TRUE(main->IsQuitBoxOpen());
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kMessageBox));
    ASSERT_TRUE(game.ClickControl(2));
    ASSERT_TRUE(game.ReachPanel(kMainPanel));
    EXPECT_FALSE(main->IsQuitBoxOpen());
    EXPECT_FALSE(game.App().IsExiting());
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_MAIN);

    // The first asks the game to quit: the exit pictures follow.
    ASSERT_TRUE(game.ClickControl(CMainScreenSlideOut::kQuitButton));
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kMessageBox));
    ASSERT_TRUE(game.ClickControl(1));
    EXPECT_TRUE(game.App().IsExiting());
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_STARTUP);
    EXPECT_EQ(main->GetQuitBox(), nullptr) << "the box goes with the panel";
}

TEST(MenuPanels, TheStartHintIsSpokenAtTheFirstShowingOnly) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    CGameStateMan* states = game.App().GetGameStateMan();
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
        states->SetState(GAMESTATE_MAIN2);
        ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
        states->SetState(GAMESTATE_MAIN);
    }
    EXPECT_EQ(Count(game.log, "help 57110"), 1);
}

} // namespace
