// The jam truck (60015 of the sample set) through its phases at 40 ms updates, and the four ground
// splats acting on a real car on the sample road.

#include "PieceFixture.h"

#include "foundation/assets/AssetMan.h"
#include "world/CarPickupHelper.h"
#include "world/JamTruck.h"
#include "world/SplodgeWO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zentrix;

namespace {

class JamTrucks : public worldtest::PieceWorld {
protected:
    CJamTruck* MakeTruck(const CVector& at) {
        return dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(60015, at.x, at.y, at.z, -1));
    }
    static int Count(int typeId) {
        const auto& objects = CWorldMan::GetObjectList();
        return static_cast<int>(std::count_if(objects.begin(), objects.end(), [typeId](const auto& o) {
            return o && o->GetTypeId() == typeId;
        }));
    }
};

TEST_F(JamTrucks, ABumpInTheFirstTwoSecondsDoesNothingLaterItTipsTheTruckOnce) {
    CJamTruck* truck = MakeTruck(CVector(0, 0, 0));
    ASSERT_NE(truck, nullptr);
    EXPECT_EQ(truck->GetPhase(), CJamTruck::kDriving);
    EXPECT_TRUE(truck->IsJamTruck());
    CCarObject* car = MakeCar(CVector(-40, 0, -40));
    ASSERT_NE(car, nullptr);
    // (updates before the bump, phase after it)
    const struct {
        int updates;
        int phase;
    } rows[] = {{25, CJamTruck::kDriving}, {50, CJamTruck::kTipping}};
    for (const auto& row : rows) {
        for (int i = 0; i < row.updates; ++i)
            truck->Update(kFrameMs);
        car->SetPositionVector(truck->Position() + CVector(1, 0, 0));
        CWorldMan::CollideActivePairs();
        EXPECT_EQ(truck->GetPhase(), row.phase);
        // Away again: a pause that runs out lasts while anything touches the truck.
        car->SetPositionVector(CVector(-40, 0, -40));
    }
    // Two hits in one update start the tipping once; hits while tipping restart nothing.
    CJamTruck* second = MakeTruck(CVector(50, 0, 50));
    for (int i = 0; i < 3; ++i)
        second->Update(kFrameMs);
    second->RecordCollision(CVector(1, 0, 0), 1.0f, 5, car);
    second->RecordCollision(CVector(1, 0, 0), 1.0f, 5, car);
    EXPECT_EQ(second->GetPhase(), CJamTruck::kTipping);
    EXPECT_EQ(second->GetPhaseMs(), 0u);
    second->Update(kFrameMs);
    second->RecordCollision(CVector(1, 0, 0), 1.0f, 5, car);
    EXPECT_EQ(second->GetPhaseMs(), kFrameMs);
}

TEST_F(JamTrucks, PickupsReachCarsThatAcceptThemUnderADriverWhoDoesAndNeverTheTruck) {
    CCarObject* car = MakeCar(CVector(-40, 0, -40));
    CJamTruck* truck = MakeTruck(CVector(40, 0, 40));
    ASSERT_TRUE(car && truck);
    cartest::ScriptedDriver human;
    human.human = true;
    cartest::ScriptedDriver computer;
    const struct {
        const char* what;
        CCarObject* car;
        cartest::ScriptedDriver* driver;
        bool accepts; // HasPickup
        bool takes;
    } rows[] = {
        {"a car under a driver who accepts pickups", car, &human, true, true},
        {"a car under one who does not", car, &computer, true, false},
        {"a car without a driver", car, nullptr, true, false},
        {"the truck under a driver who accepts pickups", truck, &human, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.car->AssignDriver(row.driver);
        EXPECT_EQ(row.car->HasPickup(), row.accepts);
        EXPECT_EQ(row.car->TakesPickups(), row.takes);
        EXPECT_FALSE(row.car->HoldsPickup());
    }
    // Holding one is another matter: it changes neither answer.
    car->AssignDriver(&human);
    car->GivePickup(CCarPickupHelper::kShield);
    EXPECT_TRUE(car->HoldsPickup());
    EXPECT_TRUE(car->HasPickup());
    EXPECT_TRUE(car->TakesPickups());
    car->CancelPickup(true);
    EXPECT_FALSE(car->HoldsPickup());
    EXPECT_TRUE(car->HasPickup());
    car->AssignDriver(nullptr);
    truck->AssignDriver(nullptr);
}

TEST_F(JamTrucks, AnUntouchedTruckDrivesTipsDropsItsCargoOnceAndLeavesTheWorld) {
    assets->SetWorld(2, false);
    CJamTruck* truck = MakeTruck(CVector(10, 0, 20));
    ASSERT_NE(truck, nullptr);
    const int cargo = CJamTruck::ThemeOf(2).cargo;
    // (update, phase, cargo objects) at 40 ms; a pause of 100 updates after update 3000 holds everything.
    const struct {
        int update;
        int phase;
        int cargo;
    } rows[] = {{6100, CJamTruck::kDriving, 0}, {6101, CJamTruck::kTipping, 0},
                {6111, CJamTruck::kTipping, 0}, {6112, CJamTruck::kLying, 1},
                {6172, CJamTruck::kLying, 1},   {6173, CJamTruck::kEnded, 1}};
    int update = 0;
    for (const auto& row : rows) {
        while (update < row.update) {
            if (++update == 3000) {
                Race()->paused = true;
                const std::uint32_t phaseMs = truck->GetPhaseMs();
                const std::uint32_t smokeMs = truck->GetSmokeMs();
                for (int i = 0; i < 100; ++i)
                    truck->Update(kFrameMs);
                EXPECT_EQ(truck->GetPhaseMs(), phaseMs);
                EXPECT_EQ(truck->GetSmokeMs(), smokeMs);
                Race()->paused = false;
            }
            truck->Update(kFrameMs);
        }
        SCOPED_TRACE(row.update);
        EXPECT_EQ(truck->GetPhase(), row.phase);
        EXPECT_EQ(Count(cargo), row.cargo);
    }
    // The cargo lies where the truck fell, for 10 s; the drop was heard by slot 0.
    const CWorldObject* dropped = Find(cargo);
    ASSERT_NE(dropped, nullptr);
    EXPECT_NEAR(dropped->Position().x, truck->Position().x, 1e-4f);
    EXPECT_NEAR(dropped->Position().z, truck->Position().z, 1e-4f);
    EXPECT_EQ(dropped->GetLifeTime(), CJamTruck::kCargoLifeMs);
    EXPECT_EQ(Played(CJamTruck::ThemeOf(2).dropSound), 1);
    // Ended: off the watch lists and dead; the world's next tick removes it and tells the spawning manager.
    EXPECT_TRUE(truck->IsDead());
    ASSERT_FALSE(Race()->removedTrucks.empty());
    EXPECT_EQ(Race()->removedTrucks.front(), truck);
    CWorldMan::GetCurrentWorld()->Tick(kFrameMs);
    EXPECT_EQ(Count(60015), 0);
    EXPECT_NE(std::find(log.begin(), log.end(), "spawn remove 60015"), log.end());
}

TEST_F(JamTrucks, TheFirstPuffComesAfterTwoSecondsThenEveryTwoToFive) {
    CJamTruck* truck = MakeTruck(CVector(0, 0, 0));
    std::string puffs;
    int live = CParticleSystem::GetLiveCount();
    for (int update = 1; update <= 52; ++update) {
        truck->Update(kFrameMs);
        const int now = CParticleSystem::GetLiveCount();
        if (now != live)
            puffs += std::to_string(update) + ":" + std::to_string(now - live) + " ";
        live = now;
    }
    EXPECT_EQ(puffs, "51:3 ");
    EXPECT_EQ(truck->GetSmokeMs(), kFrameMs);
    EXPECT_GE(truck->GetSmokeIntervalMs(), 2000u);
    EXPECT_LT(truck->GetSmokeIntervalMs(), 5000u);
}

TEST_F(JamTrucks, EachThemeDressesTheBodyButIceKeepsItsTextures) {
    // Whether the body still shows the asset's textures after set-up, and the theme's own.
    const struct {
        int theme;
        bool keeps;
    } rows[] = {{0, false}, {1, true}, {2, false}, {3, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.theme);
        assets->SetWorld(row.theme, false);
        CJamTruck* truck = MakeTruck(CVector(0, 0, 0));
        ASSERT_NE(truck, nullptr);
        const CJamTruck::STheme& theme = CJamTruck::ThemeOf(row.theme);
        if (!row.keeps) {
            EXPECT_TRUE(truck->ReplaceTexture(theme.textureA, CJamTruck::kBodyTextureA));
            EXPECT_TRUE(truck->ReplaceTexture(theme.textureB, CJamTruck::kBodyTextureB));
        }
        // Now dressed in the asset's textures whatever the theme.
        EXPECT_TRUE(truck->ReplaceTexture(CJamTruck::kBodyTextureA, 60517));
        CWorldMan::RemoveObject(truck);
    }
}

class Splats : public worldtest::PieceWorld {
protected:
    void SetUp() override {
        PieceWorld::SetUp();
        LoadRoad("pieces_timed.trk");
    }
    CSplodgeWO* MakeSplat(int typeId, const CVector& at) {
        CWorldObject* made = CWorldMan::CreateWorldObject(typeId, at.x, at.y, at.z, -1);
        return dynamic_cast<CSplodgeWO*>(made);
    }
    /// A grounded car of the driver at the place.
    CCarObject* GroundedCar(const CVector& at) {
        CCarObject* car = MakeCar(at);
        CWorldMan::SimulateActiveObjects(kFrameMs);
        CWorldMan::FinishActiveObjects(kFrameMs);
        return car;
    }
    int Added(int script) const {
        const std::string entry =
            "add events " + std::to_string(kCarAsset) + " " + std::to_string(script) + " 200";
        return static_cast<int>(std::count(log.begin(), log.end(), entry));
    }
    const CVector road{-68, 0, -4};
};

TEST_F(Splats, ASplatLiesOnTheGroundAndFollowsItOnlyEveryEleventhUpdate) {
    CSplodgeWO* splat = MakeSplat(12201, road + CVector(0, 5, 0));
    ASSERT_NE(splat, nullptr);
    EXPECT_FLOAT_EQ(splat->Position().y, 0.0f);
    EXPECT_EQ(splat->Up(), kUpVector);
    // Lifted 2 before the update: (update, height after it).
    const struct {
        int update;
        float y;
    } rows[] = {{1, 0}, {2, 2}, {11, 2}, {12, 0}, {13, 2}, {22, 2}, {23, 0}};
    int update = 0;
    for (const auto& row : rows) {
        while (update < row.update) {
            ++update;
            splat->CWorldObject::SetPositionVector(road + CVector(0, 2, 0));
            splat->Update(kFrameMs);
        }
        EXPECT_FLOAT_EQ(splat->Position().y, row.y) << row.update;
    }
}

TEST_F(Splats, EachSplatActsOnGroundedCarsByItsOwnTest) {
    const struct {
        const char* what;
        int typeId;
        float carSpeed;
        float splatBelow; // the splat this far below the car
        int stunt;        // 0 none, 1 a spin running, 2 crazy bouncing, 3 invisible
        int script;       // the script the car runs, -1 none
        float speedAfter;
        int lockMs; // how long pickups are locked after it, -1 as before
    } rows[] = {
        {"spin", 12200, 0.0f, 0.0f, 0, 50069, 0.0f, 1500},
        {"spin while spinning", 12200, 0.0f, 0.0f, 1, -1, 0.0f, -1},
        {"slow at 0.25", 12201, 0.25f, 0.0f, 0, -1, 0.25f, -1},
        {"slow at 0.6", 12201, 0.6f, 0.0f, 0, -1, 0.25f, 200},
        {"crazy", 12202, 0.0f, 0.0f, 0, 50072, 0.0f, 2000},
        {"crazy while crazy", 12202, 0.0f, 0.0f, 2, -1, 0.0f, -1},
        {"crazy while invisible", 12202, 0.0f, 0.0f, 3, -1, 0.0f, -1},
        {"bounce just within reach", 12203, 0.0f, 0.29f, 0, 50074, 0.0f, 800},
        {"bounce out of reach", 12203, 0.0f, 0.31f, 0, -1, 0.0f, -1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CCarObject* car = GroundedCar(road);
        ASSERT_TRUE(car->IsGrounded());
        CSplodgeWO* splat = MakeSplat(row.typeId, road);
        splat->CWorldObject::SetPositionVector(car->Position() - CVector(0, row.splatBelow, 0));
        if (row.stunt == 1)
            ASSERT_TRUE(car->Spin(6.28f, 1000, CVector(0, 1, 0), false));
        if (row.stunt == 2)
            ASSERT_TRUE(car->StartCrazySteering(1000, 200, 1.0f, false));
        if (row.stunt == 3)
            ASSERT_TRUE(car->StartInvisible(1000, false));
        car->SetVelocity(CVector(0, 0, -row.carSpeed));
        const int lockBefore = car->GetPickupHelper()->GetLockMs();
        log.clear();
        splat->CheckContacts();
        EXPECT_EQ(car->GetPickupHelper()->GetLockMs(), row.lockMs == -1 ? lockBefore : row.lockMs);
        for (int script : {50069, 50072, 50074})
            EXPECT_EQ(Added(script), script == row.script ? 1 : 0) << script;
        EXPECT_NEAR(car->GetMeanContactVelocity().Length(), row.speedAfter, 1e-5f);
        CWorldMan::RemoveObject(splat);
        CWorldMan::RemoveObject(car);
    }
}

TEST_F(Splats, TheTruckAndAirborneCarsAreIgnoredAndAPausedCarEndsThePass) {
    CSplodgeWO* splat = MakeSplat(12200, road);
    CCarObject* first = GroundedCar(road);
    CCarObject* second = GroundedCar(road + CVector(2, 0, 0));
    ASSERT_TRUE(first->IsGrounded() && second->IsGrounded());
    log.clear();
    splat->CheckContacts();
    EXPECT_EQ(Added(50069), 2);
    // The first car of the list in its collision pause: no car after it is looked at.
    first->SetCollisionPause(500);
    log.clear();
    splat->CheckContacts();
    EXPECT_EQ(Added(50069), 0);
    // A jam truck on the splat is not a car to it.
    CWorldMan::RemoveObject(first);
    CWorldMan::RemoveObject(second);
    auto* truck = dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(60015, road.x, 0, road.z, -1));
    ASSERT_NE(truck, nullptr);
    CWorldMan::SimulateActiveObjects(kFrameMs);
    CWorldMan::FinishActiveObjects(kFrameMs);
    log.clear();
    splat->CheckContacts();
    EXPECT_TRUE(
        std::none_of(log.begin(), log.end(), [](const std::string& e) { return e.rfind("add", 0) == 0; }));
}

} // namespace
