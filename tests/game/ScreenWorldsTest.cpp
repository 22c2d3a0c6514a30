// The screen worlds: what each shows when its game state selects it, what its deactivation leaves, and
// the shared world they build once between them.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/VideoSlideout.h"
#include "frontend/WorldGenMan.h"
#include "frontend/WorldMainScreen2Man.h"
#include "frontend/WorldMainScreenMan.h"
#include "frontend/WorldOptionsMan.h"
#include "frontend/WorldPreRaceMan.h"
#include "frontend/WorldWorkshopMan.h"
#include "render/EngineMan.h"
#include "support/VectorExpect.h"
#include "ui/SlideOutMan.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

TEST(ScreenWorlds, EachStateShowsItsWorldsBackgroundAndPointer) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    CEngineMan* engine = game.App().GetEngineMan();
    CGameStateMan* states = game.App().GetGameStateMan();
    EXPECT_EQ(engine->GetBackgroundImageId(), -1) << "the start-up pictures show no background";

    // In order: the options keep the picture before them; leaving the pre-race screen takes its
    // picture away, and coming back loads it again.
    struct Step {
        int state;
        int world;
        int background;
    } steps[] = {
        {GAMESTATE_MAIN, CWorldMan::kMainScreen, 34616},   {GAMESTATE_OPTIONS, CWorldMan::kOptions, 34616},
        {GAMESTATE_MAIN2, CWorldMan::kMainScreen2, 34764}, {GAMESTATE_RACE_END, CWorldMan::kPreRace, 34011},
        {GAMESTATE_OPTIONS, CWorldMan::kOptions, -1},      {GAMESTATE_RACE_END, CWorldMan::kPreRace, 34011},
        {GAMESTATE_STARTUP, CWorldMan::kStartUp, -1},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.state);
        engine->SetCursorImage(1500); // another picture, to see the main screen set its own
        states->SetState(step.state);
        game.Frames(1);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), step.world);
        EXPECT_EQ(engine->GetBackgroundImageId(), step.background);
        // Every screen but the pictures shows the pointer; only the main screen sets its picture.
        if (step.state != GAMESTATE_STARTUP)
            EXPECT_TRUE(engine->IsPointerVisible());
        EXPECT_EQ(engine->GetPointerImageId(), step.state == GAMESTATE_MAIN ? 28001 : 1500);
    }

    states->SetState(GAMESTATE_MAIN);
    game.Frames(1);
    EXPECT_TRUE(VectorNear(engine->GetCameraPosition(), CVector(-92.8705f, 198.06f, 159.637f), 1e-3f));
    EXPECT_TRUE(VectorNear(engine->GetCameraDirection(), CVector(0.445615f, -0.738966f, -0.49633f), 5e-3f))
        << "normalised";
}

TEST(ScreenWorlds, TheVideoStatesShowTheVideoPanelAloneOverTheVideoWorld) {
    for (int state : {GAMESTATE_VIDEO, GAMESTATE_VIDEO_THEN_MAIN}) {
        SCOPED_TRACE(state);
        HeadlessGame game;
        ASSERT_TRUE(game.Start());
        ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
        game.App().GetGameStateMan()->SetState(state);
        game.Frames(1);
        CSlideOutMan* panels = game.App().GetSlideOutMan();
        auto* video = dynamic_cast<CVideoSlideout*>(panels->GetActiveSlideOut());
        ASSERT_NE(video, nullptr);
        EXPECT_EQ(video->GetId(), 39870);
        EXPECT_NE(video->GetState(), CSlideOut::kHiddenState);
        EXPECT_EQ(panels->GetSlideOutByIndex(7)->GetState(), CSlideOut::kHiddenState) << "gone at once";
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kVideoPlay);
        EXPECT_EQ(video->GetWorld(), CWorldMan::GetWorld(CWorldMan::kVideoPlay));
        // Only the way to the main screen names a video, and the main screen to follow it.
        const bool named = state == GAMESTATE_VIDEO_THEN_MAIN;
        EXPECT_EQ(CVideoSlideout::GetVideo().videoId, named ? 5121 : -1);
        EXPECT_EQ(CVideoSlideout::GetVideo().nextState, named ? GAMESTATE_MAIN : -1);
    }
}

TEST(ScreenWorlds, ADeactivationOfAWorldThatIsNotCurrentTouchesNothing) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    game.App().GetGameStateMan()->SetState(GAMESTATE_RACE_END);
    game.Frames(1);
    ASSERT_NE(CWorldMan::CreateWorldObject(31001, 0, 0, 0, -1), nullptr);
    for (int id : {0, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14}) {
        SCOPED_TRACE(id);
        CWorldMan::GetWorld(id)->Deactivate();
        EXPECT_EQ(game.App().GetEngineMan()->GetBackgroundImageId(), 34011);
        EXPECT_EQ(CWorldMan::GetObjectList().size(), 1u);
    }
    // The current world's own deactivation clears it.
    CWorldMan::GetWorld(CWorldMan::kPreRace)->Deactivate();
    EXPECT_EQ(game.App().GetEngineMan()->GetBackgroundImageId(), -1);
    EXPECT_TRUE(CWorldMan::GetObjectList().empty());
}

TEST(ScreenWorlds, TheSharedWorldIsBuiltOnceAndFreedByTheFirstScreenDestroyed) {
    {
        CWorldMainScreenMan main;
        CWorldOptionsMan options;
        CWorldWorkshopMan workshop;
        EXPECT_EQ(workshop.GetCarIds().size(), 13u);
        EXPECT_EQ(workshop.GetCarIds().front(), 60000);
        EXPECT_EQ(workshop.GetCarIds().back(), 60012);
        EXPECT_EQ(workshop.GetCar(), nullptr);
        EXPECT_EQ(workshop.GetPodium(), nullptr);
        EXPECT_EQ(workshop.GetTurnTime(), 0u);

        ASSERT_EQ(main.Create(), 0);
        CWorldGrid* grid = CWorldMan::GetWorldGrid();
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(options.Create(), 0);
        EXPECT_EQ(CWorldMan::GetWorldGrid(), grid) << "built once";

        // A workshop that never started frees nothing of it.
        EXPECT_EQ(workshop.Destroy(), 0);
        EXPECT_TRUE(CWorldMan::IsSharedWorldSet());

        EXPECT_EQ(options.Destroy(), 0);
        EXPECT_FALSE(CWorldMan::IsSharedWorldSet());
        EXPECT_EQ(CWorldMan::GetWorldGrid(), nullptr);
        EXPECT_EQ(main.Destroy(), 0);
        EXPECT_FALSE(main.IsStarted());
    }
    // Plain worlds count as created without the shared world.
    CWorldGenMan pictures;
    EXPECT_EQ(pictures.Create(), 0);
    EXPECT_TRUE(pictures.IsStarted());
    EXPECT_FALSE(CWorldMan::IsSharedWorldSet());
    EXPECT_EQ(pictures.Destroy(), 0);
    EXPECT_FALSE(pictures.IsStarted());
}

} // namespace
