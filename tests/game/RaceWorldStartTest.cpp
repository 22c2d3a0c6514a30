// The race world started again in the headless game on the sample set, on set-ups the second main screen
// never makes: its ground, its car and driver slots when a car cannot be made, and the race panel's plates.

#include "HeadlessGame.h"

#include "app/RaceSetup.h"
#include "engine/Frame.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/base/GameStates.h"
#include "race/Driver.h"
#include "race/DriverManager.h"
#include "race/RaceResultsMan.h"
#include "race/RaceSlideOut.h"
#include "race/WorldRaceMan.h"
#include "ui/SlideOutMan.h"
#include "world/CarObject.h"
#include "world/WorldTopography.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

/// The jungle's water piece.
constexpr int kWaterPiece = 15274;

/// The race world run again on `setup`, as the world switch starts it.
void StartAgain(CWorldRaceMan& race, const CRaceSetup& setup) {
    race.Deactivate();
    race.StartRace(setup, false);
}

TEST(RaceWorldStart, WaterCarriesNoCarAndACarThatCannotBeMadeLeavesItsSlotToTheNextRacer) {
    gametest::GameSetup undrawn;
    undrawn.drawScene = false;
    HeadlessGame game(undrawn);
    // The race of the second main screen: the player and three opponents.
    ASSERT_TRUE(game.Start() && game.Reach(GAMESTATE_MAIN) && game.ClickControl(0) &&
                game.Reach(GAMESTATE_MAIN2) && game.ClickControl(4) && game.Reach(GAMESTATE_RACE));
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_TRUE(race && race->HasStarted());
    ASSERT_EQ(race->GetCarCount(), 4);
    const CRaceSetup demo = race->GetRaceSetup();

    {
        SCOPED_TRACE("the water's surface is seen, never driven on");
        CRaceSetup setup = demo;
        SetRaceTrackFile(setup, "pieces_water.trk");
        setup.trackDirectory = CFileSaver::kGameTracks;
        setup.world = 0;
        StartAgain(*race, setup);
        const CWorldObject* water = nullptr;
        for (const auto& object : CWorldMan::GetObjectList())
            if (object && object->GetTypeId() == kWaterPiece)
                water = object.get();
        ASSERT_NE(water, nullptr);
        const CWorldTopography* ground = race->GetWorldTopography();
        ASSERT_NE(ground, nullptr);
        // Every face of the track, the flagged ones too: the water's surface lies a quarter below the road,
        // over the theme's ground tiles; the race's ground has the tiles there and not the water.
        CWorldTopography everything;
        everything.Build(CWorldMan::GetWorldFrame());
        const CVector road = water->Position() + CVector(0.0f, 0.0f, 8.0f);
        const CVector open = water->Position() + CVector(8.0f, 0.0f, -30.0f);
        EXPECT_FLOAT_EQ(everything.GetHeight(open.x, open.z), -0.25f);
        EXPECT_LT(ground->GetHeight(open.x, open.z), -0.25f);
        EXPECT_FLOAT_EQ(ground->GetHeight(road.x, road.z), everything.GetHeight(road.x, road.z));
        EXPECT_FLOAT_EQ(ground->GetHeight(road.x, road.z), 0.0f);
    }
    {
        SCOPED_TRACE("the second racer's car cannot be made");
        CRaceSetup setup = demo;
        setup.car[1] = 99999; // no asset
        StartAgain(*race, setup);
        const CDriverManager* drivers = game.App().GetDriverManager();
        ASSERT_EQ(race->GetCarCount(), 3);
        const int entries[] = {0, 2, 3};
        for (int slot = 0; slot < 3; ++slot) {
            SCOPED_TRACE(slot);
            const auto* car = dynamic_cast<CCarObject*>(CWorldMan::GetCar(slot));
            ASSERT_NE(car, nullptr);
            ASSERT_NE(car->GetDriver(), nullptr);
            EXPECT_EQ(car->GetDriver(), drivers->GetDriver(slot));
            EXPECT_EQ(car->GetDriverSlot(), slot);
            EXPECT_EQ(car->GetDriver()->GetDriverIndex(), setup.driver[entries[slot]]);
            EXPECT_EQ(car->GetTypeId(), setup.car[entries[slot]]);
        }
        EXPECT_EQ(CWorldMan::GetCar(3), nullptr);
        EXPECT_EQ(drivers->GetDriver(3), nullptr);
        EXPECT_EQ(race->GetResults()->GetRecords().size(), 3u);
    }
    {
        SCOPED_TRACE("four plates at most");
        auto* panel =
            dynamic_cast<CRaceSlideOut*>(game.App().GetSlideOutMan()->FindSlideOut(CSlideOutMan::kRace));
        ASSERT_NE(panel, nullptr);
        panel->ClearEntries();
        for (int slot : {0, 1, 2, 3, 3, 2, 4, -1})
            panel->AddEntry(slot, 3, 9);
        EXPECT_EQ(panel->GetEntryCount(), CRaceSlideOut::kPlateCount);
        game.Frames(2);
    }
}

} // namespace
