// The race from the second main screen with its three computer opponents, headless: after the start
// lights every computer driver drives its car round the demo track, and the track's pad calls in the jam
// truck.

#include "HeadlessGame.h"

#include "foundation/base/GameStates.h"
#include "race/AIDriver.h"
#include "race/WorldRaceMan.h"
#include "world/CarObject.h"
#include "world/JamTruck.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

TEST(ComputerRaceRunSlow, TheThreeOpponentsRaceRoundTheDemoTrack) {
    gametest::GameSetup setup;
    setup.frameMs = 40;
    HeadlessGame game(setup);
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    ASSERT_TRUE(game.ClickControl(4));
    ASSERT_TRUE(game.Reach(GAMESTATE_RACE));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);
    ASSERT_TRUE(game.RunUntil([&] { return race->GetState() == CWorldRaceMan::kRacing; }, 400));

    struct SOpponent {
        CCarObject* car;
        CAIDriver* driver;
        CVector start;
        int nodes = 0; ///< route nodes reached, counted as the lap node moves on
        int last = -1;
    };
    std::vector<SOpponent> opponents;
    for (int slot = 0; slot < 4; ++slot) {
        auto* car = dynamic_cast<CCarObject*>(CWorldMan::GetCar(slot));
        ASSERT_NE(car, nullptr);
        if (auto* driver = dynamic_cast<CAIDriver*>(car->GetDriver()))
            opponents.push_back({car, driver, car->Position()});
    }
    ASSERT_EQ(opponents.size(), 3u);
    // Ten seconds of racing: each opponent passes node after node (a lap of the demo track is 20).
    bool truck = false;
    for (int frame = 0; frame < 250; ++frame) {
        game.Frames(1);
        for (const CActiveWorldObject* object : CWorldMan::GetActiveList())
            truck = truck || dynamic_cast<const CJamTruck*>(object) != nullptr;
        for (SOpponent& o : opponents) {
            const int node = o.driver->GetLapNode();
            if (node != o.last)
                ++o.nodes;
            o.last = node;
        }
    }
    for (const SOpponent& o : opponents) {
        EXPECT_TRUE(o.driver->IsActive());
        EXPECT_GT(o.nodes, 8) << o.driver->GetName();
        EXPECT_GT((o.car->Position() - o.start).Length(), 50.0f) << o.driver->GetName();
    }
    EXPECT_TRUE(truck) << "the truck pad on the route calls in the jam truck";
}

} // namespace
