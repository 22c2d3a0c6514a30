// The world registry's life and its world switch, over recording worlds.

#include "WorldDoubles.h"

#include "engine/Frame.h"
#include "render/ShadowMan.h"
#include "render/VornMesh.h"
#include "world/WorldGrid.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zentrix;

namespace {

using worldtest::Log;

class WorldSwitch : public worldtest::WorldFixture {};

Log Entries(const Log& log, const std::string& suffix) {
    Log out;
    for (const std::string& entry : log)
        if (entry.size() > suffix.size() &&
            entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) == 0)
            out.push_back(entry.substr(0, entry.size() - suffix.size() - 1));
    return out;
}

TEST_F(WorldSwitch, WorldsAreCreatedAndDestroyedInTheirOrdersAroundOneSharedWorld) {
    CreateWorlds();
    EXPECT_EQ(Entries(log, "create"),
              (Log{"2", "1", "0", "4", "5", "7", "6", "8", "9", "11", "12", "10", "13", "14"}));
    EXPECT_EQ(Without({"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}),
              (Log{"spawn start", "spawn enable"}));
    EXPECT_EQ(CWorldMan::LiveCount(), 14);
    EXPECT_EQ(CWorldMan::GetWorld(3), CWorldMan::GetWorld(1));
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), -1);
    ASSERT_NE(CWorldMan::GetWorldGrid(), nullptr);
    EXPECT_EQ(CWorldMan::GetWorldGrid()->GetSizeX(), 8u);
    ASSERT_NE(CShadowMan::GetInstance(), nullptr);
    EXPECT_EQ(CWorldMan::GetWorldFrame()->GetParent(), engine->GetSceneRoot());

    ASSERT_TRUE(CWorldMan::SetCurrentWorld(4));
    CWorldMan::CreateWorldObject(31001, 0, 0, 0, -1);
    log.clear();
    CWorldMan::DestroyWorlds();
    // The current world goes first; the construction world then frees the shared world, and every later
    // world's deactivation finds no grid, objects or spawning manager left to walk.
    EXPECT_EQ(Entries(log, "destroy"),
              (Log{"2", "0", "1", "8", "9", "11", "12", "4", "5", "7", "6", "10", "13", "14"}));
    EXPECT_EQ(log.front(), "4 deactivate");
    const auto firstDestroy = std::find(log.begin(), log.end(), "2 destroy");
    ASSERT_LE(firstDestroy + 6, log.end());
    EXPECT_EQ((Log(firstDestroy, firstDestroy + 6)), (Log{"2 destroy", "2 deactivate", "spawn remove pickups",
                                                          "spawn disable", "spawn stop", "0 deactivate"}));
    EXPECT_EQ(CWorldMan::LiveCount(), 0);
    EXPECT_EQ(CWorldMan::GetWorldGrid(), nullptr);
    EXPECT_EQ(CWorldMan::GetSpawningMan(), nullptr);
    EXPECT_EQ(CWorldMan::GetWorldFrame(), nullptr);
    EXPECT_EQ(CShadowMan::GetInstance(), nullptr);
    EXPECT_EQ(CWorldObject::LiveCount(), 0);

    log.clear();
    CWorldMan::DestroyWorlds();
    EXPECT_TRUE(log.empty());
}

TEST_F(WorldSwitch, AFailingWorldLeavesNothingBehind) {
    for (int failing : {2, 5, 14}) {
        SCOPED_TRACE(failing);
        failingWorlds = {failing};
        log.clear();
        CWorldMan::SetLinks(Links());
        EXPECT_FALSE(CWorldMan::CreateWorlds());
        const Log created = Entries(log, "create");
        EXPECT_EQ(created.back(), std::to_string(failing));
        EXPECT_EQ(Entries(log, "destroy").size(), 14u);
        EXPECT_EQ(CWorldMan::LiveCount(), 0);
        EXPECT_FALSE(CWorldMan::IsSharedWorldSet());
        EXPECT_EQ(CWorldMan::GetWorldGrid(), nullptr);
        EXPECT_EQ(CShadowMan::GetInstance(), nullptr);
    }
}

TEST_F(WorldSwitch, TheSwitchAsksDeactivatesAndActivatesAsEachIdWants) {
    CreateWorlds();
    World(7)->canActivate = false;
    struct Case {
        int id;
        bool result;
        int current;
        Log log;
    };
    const Case cases[] = {
        // From no world the race starts without a world to leave.
        {1, true, 1, {"clear messages", "build set-up", "1 start race", "recording on"}},
        {1, true, 1, {}},
        {15, false, 1, {"clear messages"}},
        {-1, false, 1, {"clear messages"}},
        {4, true, 4, {"clear messages", "4 can activate", "1 deactivate", "4 activate"}},
        // A world that refuses keeps the old one current; the queue is emptied all the same.
        {7, false, 4, {"clear messages", "7 can activate"}},
        {3, true, 3, {"clear messages", "4 deactivate", "1 lap of honour"}},
        // Leaving the lap of honour for the editor ends the input playback before the race world goes.
        {2, true, 2, {"clear messages", "2 can activate", "playback off", "1 deactivate", "2 activate"}},
        {0, true, 0, {"clear messages", "0 can activate", "2 deactivate", "0 activate"}},
        {14, true, 14, {"clear messages", "14 can activate", "0 deactivate", "14 activate"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        log.clear();
        EXPECT_EQ(CWorldMan::SetCurrentWorld(c.id), c.result);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), c.current);
        EXPECT_EQ(Without({"spawn"}), c.log);
    }
    EXPECT_EQ(assets->GetWorld(), services.theme);
}

TEST_F(WorldSwitch, EveryLapOfHonourRepeatsTheNumbersOfTheRace) {
    CreateWorlds();
    worldtest::ReversingPanel panel;
    services.lapPanel = &panel;
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(6));
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(1));
    for (int other : {4, 11}) {
        Random::Next();
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(other));
        Random::Next();
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(3));
    }
    const auto& starts = Race()->starts;
    ASSERT_EQ(starts.size(), 3u);
    for (const auto& start : starts)
        EXPECT_EQ(start.draws, starts[0].draws);
    // The laps run the racers in the panel's order; the saved set-up keeps the race's.
    EXPECT_EQ(starts[0].setup.driver[0], 9);
    EXPECT_EQ(starts[1].setup.driver[0], 3);
    EXPECT_TRUE(starts[1].lapOfHonour);
    EXPECT_EQ(CWorldMan::GetSavedRaceSetup().driver[0], 9);

    // A race started again from the lap of honour runs the saved set-up, not a new one.
    services.previousState = CWorldMan::kLapOfHonourState;
    services.theme = 3;
    log.clear();
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(1));
    EXPECT_EQ(std::count(log.begin(), log.end(), "build set-up"), 0);
    EXPECT_EQ(starts.back().setup.world, 2);
    EXPECT_EQ(assets->GetWorld(), 2);
}

TEST_F(WorldSwitch, AFrameRunsTheWorldThenTheShadows) {
    CreateWorlds();
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(4));
    CWorldObject* flag = CWorldMan::CreateWorldObject(31001, 0, 0, 0, -1);
    CWorldObject* dying[] = {CWorldMan::CreateWorldObject(31001, 5, 0, 5, -1),
                             CWorldMan::CreateWorldObject(31000, 0, 0, 0, -1),
                             CWorldMan::CreateWorldObject(31004, 0, 0, 0, -1)};
    for (CWorldObject* object : dying)
        object->SetDead();
    ASSERT_EQ(CShadowMan::GetInstance()->GetShadows().size(), 2u);
    World(4)->onPreFrame = [flag] { flag->SetPosition(10, 0, 10); };
    log.clear();
    CWorldMan::FrameCurrentWorld(16);
    // The frame runs the base tick, not the world's own.
    EXPECT_EQ(log, (Log{"4 pre-frame", "spawn remove 31001", "spawn remove 31000", "spawn remove 31004",
                        "spawn update 16"}));
    ASSERT_EQ(CWorldMan::GetObjectList().size(), 1u);
    EXPECT_EQ(CWorldMan::GetObjectList().front().get(), flag);
    // The shadow lies under where the world's frame moved its owner.
    ASSERT_EQ(CShadowMan::GetInstance()->GetShadows().size(), 1u);
    const MeshVertex* corners = CShadowMan::GetInstance()->GetShadows().front()->GetMesh()->GetVertices();
    EXPECT_FLOAT_EQ((corners[0].x + corners[1].x + corners[2].x + corners[3].x) / 4.0f, 10.0f);
    EXPECT_FLOAT_EQ((corners[0].z + corners[1].z + corners[2].z + corners[3].z) / 4.0f, 10.0f);

    // With a timer driving the ticks, the frame leaves them out.
    services.gameTimer = true;
    log.clear();
    CWorldMan::FrameCurrentWorld(16);
    EXPECT_EQ(log, (Log{"4 pre-frame"}));
}

} // namespace
