// The start-up and exit pictures, timed by hand through the slide-out manager's update.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/QelSlideOut.h"
#include "platform/gfx2d/PixelFormat.h"
#include "render/CompoundOverlay.h"
#include "render/EngineMan.h"
#include "ui/SlideOutMan.h"
#include "world/WorldMan.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

constexpr int kPictures = 18;

CQelSlideOut* Pictures(HeadlessGame& game) {
    return dynamic_cast<CQelSlideOut*>(game.App().GetSlideOutMan()->GetSlideOutByIndex(kPictures));
}

TEST(PicturePanel, TheStartUpPictureCountsShownTimeOnlyAndGivesWayAfterMoreThanThreeSeconds) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    CSlideOutMan* panels = game.App().GetSlideOutMan();
    CEventMan* events = game.App().GetEventMan();
    CQelSlideOut* pictures = Pictures(game);
    ASSERT_NE(pictures, nullptr);
    EXPECT_EQ(pictures->GetWorld(), CWorldMan::GetWorld(CWorldMan::kStartUp));
    const std::size_t hides = events->GetPendingCount(VORNMSG_HIDE_POINTER);

    // Nineteen slide steps of five seconds each count for nothing.
    for (int i = 0; i < 19; ++i)
        panels->Update(5000);
    EXPECT_EQ(pictures->GetState(), CSlideOut::kSlidingIn);
    EXPECT_EQ(pictures->GetElapsed(), 0);
    EXPECT_EQ(events->GetPendingCount(VORNMSG_HIDE_POINTER), hides);

    panels->Update(0); // the last step: shown, and the pointer is hidden once
    EXPECT_EQ(pictures->GetState(), CSlideOut::kShown);
    panels->Update(2000);
    panels->Update(1000);
    EXPECT_EQ(events->GetPendingCount(VORNMSG_HIDE_POINTER), hides + 1);
    EXPECT_EQ(pictures->GetElapsed(), 3000);
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_STARTUP);

    panels->Update(1);
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_MAIN);
    EXPECT_EQ(pictures->GetState(), CSlideOut::kHiddenState);
    EXPECT_EQ(panels->GetCurrentSlideOutId(), 7);
}

/// Runs updates of no time until the picture panel is fully shown.
void ShowPictures(CSlideOutMan& panels, CQelSlideOut& pictures) {
    for (int i = 0; i < 25 && pictures.GetState() != CSlideOut::kShown; ++i)
        panels.Update(0);
}

/// Every seventh pixel of the panel's picture is the colour key.
bool AllColourKey(CQelSlideOut& pictures) {
    CCompoundOverlay* overlay = pictures.GetOverlay();
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 640; x += 7)
            if (!overlay || !overlay->IsTransparentAt(x, y))
                return false;
    return true;
}

/// Three pictures of more than 15 s each, which neither a control nor a key cuts short, then state 13.
void ExpectTheExitPictures(HeadlessGame& game) {
    CSlideOutMan* panels = game.App().GetSlideOutMan();
    CEngineMan* engine = game.App().GetEngineMan();
    CQelSlideOut* pictures = Pictures(game);
    for (int picture : {33210, 33211, 33212}) {
        SCOPED_TRACE(picture);
        EXPECT_EQ(engine->GetBackgroundImageId(), picture);
        panels->Update(15000);
        pictures->OnControl(0);
        panels->OnChar(27);
        EXPECT_EQ(engine->GetBackgroundImageId(), picture);
        EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_STARTUP);
        panels->Update(1);
    }
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_QUIT);
    EXPECT_EQ(pictures->GetState(), CSlideOut::kHiddenState);
    game.App().Run(false);
    EXPECT_TRUE(game.App().IsQuitting());
}

TEST(PicturePanel, TheExitPicturesShowOverTheColourKeyThenTheGameEnds) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    CEventMan* events = game.App().GetEventMan();
    events->PostMessage(VORNMSG_QUIT_REQUEST);
    game.App().Update();
    ASSERT_TRUE(game.App().IsExiting());
    CQelSlideOut* pictures = Pictures(game);
    ASSERT_TRUE(pictures->IsActive());
    EXPECT_TRUE(AllColourKey(*pictures)) << "only the background shows";

    const std::size_t hides = events->GetPendingCount(VORNMSG_HIDE_POINTER);
    ShowPictures(*game.App().GetSlideOutMan(), *pictures);
    EXPECT_EQ(events->GetPendingCount(VORNMSG_HIDE_POINTER), hides + 1);
    ExpectTheExitPictures(game);
}

TEST(PicturePanel, AQuitWhileTheStartUpPictureShowsStillGetsAllThreeExitPictures) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    CQelSlideOut* pictures = Pictures(game);
    ShowPictures(*game.App().GetSlideOutMan(), *pictures);
    game.App().GetSlideOutMan()->Update(1000);
    ASSERT_FALSE(AllColourKey(*pictures)) << "the start-up picture shows";

    // The state does not change, so the panel stays up: it turns to the exit pictures itself.
    game.App().GetEventMan()->PostMessage(VORNMSG_QUIT_REQUEST);
    game.App().Update();
    ASSERT_TRUE(game.App().IsExiting());
    game.App().GetSlideOutMan()->Update(0);
    EXPECT_TRUE(AllColourKey(*pictures));
    EXPECT_EQ(pictures->GetElapsed(), 0);
    ExpectTheExitPictures(game);
}

} // namespace
