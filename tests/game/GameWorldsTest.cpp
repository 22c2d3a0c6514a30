// The application on the game's parts, headless, on the sample set: the worlds follow the game state.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "app/Win.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "race/RouteNodeMan.h"
#include "race/WorldRaceMan.h"
#include "render/ShadowMan.h"
#include "support/TempFolder.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

TEST(GameWorlds, TheWorldFollowsTheGameStateFromStartUpToQuit) {
    {
        gametest::HeadlessGame game;
        CApp& app = game.App();
        ASSERT_TRUE(game.Start());
        EXPECT_EQ(CWorldMan::LiveCount(), 14);
        ASSERT_NE(CShadowMan::GetInstance(), nullptr);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kStartUp);
        EXPECT_EQ(app.GetWorldMan(), CWorldMan::GetWorld(CWorldMan::kStartUp));

        // The start-up pictures give way to the main screen after 3000 ms.
        int frames = 0;
        while (CWorldMan::GetCurrentWorldId() == CWorldMan::kStartUp && frames < 100) {
            app.Update();
            ++frames;
        }
        EXPECT_GE(frames, 30);
        EXPECT_EQ(app.GetGameStateMan()->GetState(), GAMESTATE_MAIN);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kMainScreen);

        // A race starts the race world; going back to the main screen ends it and clears the world.
        auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace));
        ASSERT_NE(race, nullptr);
        app.GetGameStateMan()->SetState(GAMESTATE_RACE);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kRace);
        EXPECT_TRUE(race->HasStarted());
        // The program reads a track into the race world through its track builder.
        ASSERT_TRUE(CWorldMan::LoadTrack("circuit.trk", CFileSaver::kGameTracks));
        EXPECT_NE(CWorldMan::GetBasePlate(), nullptr);
        EXPECT_NE(CWorldMan::GetWorldGrid()->GetPieceAt(0, 0), nullptr);
        // The program's route manager closes the route over the track the world read.
        CRouteNodeMan* route = app.GetRouteNodeMan();
        ASSERT_NE(route, nullptr);
        EXPECT_TRUE(route->IsStarted());
        EXPECT_TRUE(CWorldMan::GetLinks().isRouteBroken());
        route->BuildRoute();
        EXPECT_EQ(route->GetNodeCount(), 20);
        EXPECT_EQ(route->GetRouteLength(), 608);
        EXPECT_FALSE(CWorldMan::GetLinks().isRouteBroken());
        ASSERT_NE(CWorldMan::CreateWorldObject(31001, 0, 0, 0, -1), nullptr);
        app.Update();
        app.GetGameStateMan()->SetState(GAMESTATE_MAIN);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kMainScreen);
        EXPECT_FALSE(race->HasStarted());
        EXPECT_TRUE(CWorldMan::GetObjectList().empty());

        // A quit request shows the exit pictures in the start-up world.
        app.GetEventMan()->PostMessage(VORNMSG_QUIT_REQUEST);
        app.Update();
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kStartUp);

        app.StopManager();
        EXPECT_EQ(app.GetRouteNodeMan(), nullptr);
        EXPECT_EQ(CWorldMan::LiveCount(), 0);
        EXPECT_EQ(CShadowMan::GetInstance(), nullptr);
        EXPECT_EQ(CWorldObject::LiveCount(), 0);
    }
}

} // namespace
