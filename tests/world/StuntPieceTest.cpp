// The side-force, timed-death, water and cannon pieces on the sample set's race world, driven update by
// update at 40 ms, with real cars; each behaviour as a table of updates and what they must give.

#include "PieceFixture.h"

#include "foundation/assets/AssetMan.h"
#include "world/BoundingVolume.h"
#include "world/CannonTrackObject.h"
#include "world/JamTruck.h"
#include "world/SideForceTrackObject.h"
#include "world/TimedDeathTrackObject.h"
#include "world/WaterTrackObject.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;

namespace {

void ExpectNear(const CVector& a, const CVector& b, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

class StuntPieces : public worldtest::PieceWorld {
protected:
    template <typename T> T* MakePiece(int typeId, const CVector& at) {
        auto* piece = dynamic_cast<T*>(CWorldMan::CreateWorldObject(typeId, at.x, at.y, at.z, -1));
        if (piece)
            piece->SetRotation(0);
        return piece;
    }
    int Taunts(int event) const {
        int n = 0;
        for (const auto& [car, e] : Race()->taunts)
            n += e == event ? 1 : 0;
        return n;
    }
    worldtest::RecordingRaceWorld* Race() const {
        return dynamic_cast<worldtest::RecordingRaceWorld*>(CWorldMan::GetWorld(1));
    }
};

TEST_F(StuntPieces, TheSideForceShiftsGroundedCarsAlongItsTurnedPushAndPutsBackThoseThatFall) {
    LoadRoad("pieces_sideforce.trk");
    auto* piece = dynamic_cast<CSideForceTrackObject*>(Find(15227));
    ASSERT_NE(piece, nullptr);
    const CVector pushCentre[4] = {{10, 0, 0}, {0, 0, -10}, {-10, 0, 0}, {0, 0, 10}};
    struct Row {
        int rotation;
        unsigned ms;
        float lift; // the car starts this high: airborne cars are not pushed
        CVector step;
    } rows[] = {
        {0, 40, 0, {0.384f, 0, 0}}, {1, 40, 0, {0, 0, -0.384f}}, {2, 40, 0, {-0.384f, 0, 0}},
        {3, 40, 0, {0, 0, 0.384f}}, {0, 25, 0, {0.24f, 0, 0}},   {3, 10, 0, {0, 0, 0.096f}},
        {0, 40, 6, {0, 0, 0}},      {2, 40, 6, {0, 0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "rotation " << row.rotation << " ms " << row.ms << " lift " << row.lift);
        piece->SetRotation(row.rotation);
        const CVector at = piece->Position() + pushCentre[row.rotation] + CVector(0, row.lift, 0);
        CCarObject* car = MakeCar(at);
        ASSERT_NE(car, nullptr);
        CWorldMan::SimulateActiveObjects(kFrameMs);
        CWorldMan::FinishActiveObjects(kFrameMs);
        ASSERT_EQ(car->IsGrounded(), row.lift == 0.0f);
        const CVector before = car->Position();
        piece->Update(row.ms);
        ExpectNear(car->Position() - before, row.step);
        CWorldMan::RemoveObject(car);
    }
    piece->SetRotation(0);

    // The fall zone beside the road puts the car back, heard in the jungle and on ice only.
    const struct {
        int theme;
        int sounds;
    } falls[] = {{0, 1}, {1, 1}, {2, 0}, {3, 0}};
    for (const auto& fall : falls) {
        SCOPED_TRACE(fall.theme);
        assets->SetWorld(fall.theme, false);
        CCarObject* car = MakeCar(piece->Position() + CVector(32, -10, 0));
        const int respawns = Respawns();
        sounds.played.clear();
        piece->Update(kFrameMs);
        EXPECT_EQ(Respawns(), respawns + 1);
        EXPECT_EQ(Played(CSideForceTrackObject::kFallSound), fall.sounds);
        CWorldMan::RemoveObject(car);
    }
}

TEST_F(StuntPieces, TheTimedDeathPieceRunsItsThemesClockAndFreezesInAPause) {
    const struct {
        int theme;
        int deadlyAt; // the first update of the deadly phase
        int quietAt;  // the first quiet update after it
    } rows[] = {{0, 113, 139}, {1, 63, 139}, {2, 108, 139}, {3, 118, 139}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.theme);
        assets->SetWorld(row.theme, false);
        auto* piece = MakePiece<CTimedDeathTrackObject>(15228, CVector(0, 0, 0));
        ASSERT_NE(piece, nullptr);
        // A pause holds the clock.
        Race()->paused = true;
        for (int i = 0; i < 200; ++i)
            piece->Update(kFrameMs);
        EXPECT_EQ(piece->GetElapsedMs(), 0u);
        Race()->paused = false;
        int deadlyAt = -1;
        int quietAt = -1;
        for (int update = 1; update <= 300 && quietAt == -1; ++update) {
            piece->Update(kFrameMs);
            if (piece->IsDeadly() && deadlyAt == -1)
                deadlyAt = update;
            if (!piece->IsDeadly() && deadlyAt != -1)
                quietAt = update;
        }
        EXPECT_EQ(deadlyAt, row.deadlyAt);
        EXPECT_EQ(quietAt, row.quietAt);
        CWorldMan::RemoveObject(piece);
    }
}

TEST_F(StuntPieces, TheTimedDeathPieceKillsInsideItsOpenFrameWindowOrWhileDeadlyOnIce) {
    // The deadly animation's frame is 0.5 x the updates since the activation.
    const struct {
        int theme;
        int updates; // since the activation, the car in the sphere at the last
        bool killed;
    } rows[] = {
        {0, 13, false}, {0, 14, true},  {0, 18, true},  {0, 19, false}, // jungle: 6.5 to 9.5
        {2, 19, true},  {2, 20, false},                                 // desert: to 9.9
        {3, 15, false}, {3, 16, true},                                  // city: 7.5 to 9.5
        {1, 1, true},   {1, 60, true},  {1, 76, false},                 // ice: while deadly
    };
    const CVector far(60, 0, 60);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "theme " << row.theme << " update " << row.updates);
        assets->SetWorld(row.theme, false);
        auto* piece = MakePiece<CTimedDeathTrackObject>(15228, CVector(0, 0, 0));
        CCarObject* car = MakeCar(far);
        ASSERT_NE(car, nullptr);
        while (!piece->IsDeadly())
            piece->Update(kFrameMs);
        for (int i = 1; i < row.updates; ++i)
            piece->Update(kFrameMs);
        car->SetPositionVector(CVector(0, 0, 0));
        const int respawns = Respawns();
        const std::size_t taunts = Race()->taunts.size();
        piece->Update(kFrameMs);
        EXPECT_EQ(Respawns(), respawns + (row.killed ? 1 : 0));
        // Every car inside is reported, killed or not.
        EXPECT_EQ(Race()->taunts.size(), taunts + 1);
        EXPECT_EQ(Race()->taunts.back().second, CTimedDeathTrackObject::kTaunt);
        // A car just put back is not put back again while its pause runs (on ice the piece is still
        // deadly 200 ms later).
        if (row.killed) {
            for (int i = 0; i < 5; ++i)
                car->Update(kFrameMs);
            car->SetPositionVector(CVector(0, 0, 0));
            const int again = Respawns();
            piece->Update(kFrameMs);
            EXPECT_EQ(Respawns(), again);
        }
        CWorldMan::RemoveObject(car);
        CWorldMan::RemoveObject(piece);
    }
}

TEST_F(StuntPieces, TheTimedDeathPieceActivatesWithItsThemesSoundAndIceParticles) {
    const struct {
        int theme;
        int sound;
        int particles;
    } rows[] = {{0, 51168, 0}, {1, -1, 2}, {2, 51168, 0}, {3, 51167, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.theme);
        assets->SetWorld(row.theme, false);
        auto* piece = MakePiece<CTimedDeathTrackObject>(15228, CVector(0, 0, 0));
        sounds.played.clear();
        CParticleSystem::DestroyAll();
        while (!piece->IsDeadly())
            piece->Update(kFrameMs);
        EXPECT_EQ(piece->GetCurrentAnimation(), CTimedDeathTrackObject::kDeadlyAnimation);
        EXPECT_EQ(CParticleSystem::GetLiveCount(), row.particles);
        ASSERT_EQ(sounds.played.size(), row.sound == -1 ? 0u : 1u);
        if (row.sound != -1)
            EXPECT_EQ(sounds.played[0], "at " + std::to_string(row.sound) + " once slot 0");
        CWorldMan::RemoveObject(piece);
    }
}

TEST_F(StuntPieces, WaterBoxesByTypeAndNoneForAnUnlistedPiece) {
    const struct {
        int typeId;
        bool water;
        CVector sizes;
        CVector offset;
    } rows[] = {
        {15274, true, {60, 5, 60}, {-32, -5, -32}},
        {17274, true, {60, 5, 60}, {-32, -5, -32}},
        {16277, true, {86, 10, 64}, {32, -5, -32}},
        {16279, true, {50, 5, 50}, {16, -5, -16}},
        {16278, false, {}, {}},
        {15201, false, {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typeId);
        CWaterTrackObject::SWater water;
        ASSERT_EQ(CWaterTrackObject::WaterOf(row.typeId, water), row.water);
        if (row.water) {
            EXPECT_EQ(water.sizes, row.sizes);
            EXPECT_EQ(water.offset, row.offset);
        }
    }
    // A piece of an unlisted water type has no box: a car at its centre is left alone.
    auto* puddle = MakePiece<CWaterTrackObject>(16278, CVector(0, 0, 0));
    ASSERT_NE(puddle, nullptr);
    EXPECT_EQ(puddle->GetWaterBox(), nullptr);
    CCarObject* car = MakeCar(CVector(0, 0, 0));
    puddle->Update(kFrameMs);
    EXPECT_EQ(car->GetRespawnCountdownMs(), -1);
    EXPECT_TRUE(sounds.played.empty());
    // The ice lake's box is 86 long and lies (32, -5, 32) from a piece turned 0
    auto* lake = MakePiece<CWaterTrackObject>(16277, CVector(0, 0, 0));
    ASSERT_NE(lake->GetWaterBox(), nullptr);
    EXPECT_FLOAT_EQ(lake->GetWaterBox()->GetRadiusSquared(), 86.0f * 86.0f);
    // (its 86 run along the piece, which looks along -z).
    car->SetPositionVector(CVector(32, -5, 32 + 40));
    lake->Update(kFrameMs);
    EXPECT_EQ(car->GetRespawnCountdownMs(), CWaterTrackObject::kRespawnDelayMs);
}

TEST_F(StuntPieces, ACarInTheWaterIsRearmedEveryUpdateAndPutBackHalfASecondAfterItsLast) {
    auto* water = MakePiece<CWaterTrackObject>(15274, CVector(0, 0, 0));
    ASSERT_NE(water, nullptr);
    CCarObject* car = MakeCar(CVector(0, 10, 0));
    const CVector inside(32, -6, -32);
    const CVector outside(0, 10, 0);
    // Piece, then car: the countdown after both.
    const struct {
        bool in;
        int countdown;
        int splashes;
    } rows[] = {{true, 460, 1},  {true, 460, 2},  {false, 420, 2}, {true, 460, 3},
                {false, 420, 3}, {false, 380, 3}, {false, 340, 3}};
    Race()->paused = true; // the water has no pause test
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        car->SetPositionVector(rows[i].in ? inside : outside);
        const int live = CParticleSystem::GetLiveCount();
        water->Update(kFrameMs);
        EXPECT_EQ(CParticleSystem::GetLiveCount(), live + (rows[i].in ? 1 : 0));
        Race()->paused = false;
        car->Update(kFrameMs);
        Race()->paused = true;
        EXPECT_EQ(car->GetRespawnCountdownMs(), rows[i].countdown);
        EXPECT_EQ(Played(CWaterTrackObject::kSplashSound), rows[i].splashes);
    }
    Race()->paused = false;
    // Counted down to below 0 by the car's own updates: back on the route, 25 above the ground.
    for (int i = 0; i < 9; ++i)
        car->Update(kFrameMs);
    EXPECT_EQ(Respawns(), 1);
    EXPECT_EQ(car->GetRespawnCountdownMs(), -1);

    // The jam truck sinks like any car; an active object that is no car does not.
    auto* truck = dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(60015, 32, -6, -32, -1));
    ASSERT_NE(truck, nullptr);
    for (int i = 0; i < 5; ++i)
        truck->Update(kFrameMs);
    truck->SetPositionVector(inside);
    CWorldObject* standIn = CWorldMan::CreateWorldObject(worldtest::kStandInCar, 32, -6, -32, -1);
    ASSERT_NE(standIn, nullptr);
    sounds.played.clear();
    water->Update(kFrameMs);
    EXPECT_EQ(truck->GetRespawnCountdownMs(), CWaterTrackObject::kRespawnDelayMs);
    EXPECT_EQ(sounds.played.size(), 1u);
}

TEST_F(StuntPieces, TheCannonHoldsACarFiresItInTheSixthUpdateAndReleasesItInTheEleventh) {
    const struct {
        int rotation;
        CVector intake;
        CVector muzzle;
        CVector velocity;
    } turns[] = {
        {0, {0, 0, 4}, {0, 30, 25}, {0, 0.9f, 2.1f}},
        {1, {4, 0, 0}, {25, 30, 0}, {2.1f, 0.9f, 0}},
        {2, {0, 0, -4}, {0, 30, -25}, {0, 0.9f, -2.1f}},
        {3, {-4, 0, 0}, {-25, 30, 0}, {-2.1f, 0.9f, 0}},
    };
    for (const auto& turn : turns) {
        SCOPED_TRACE(turn.rotation);
        auto* cannon = MakePiece<CCannonTrackObject>(15223, CVector(0, 0, 0));
        ASSERT_NE(cannon, nullptr);
        cannon->SetRotation(turn.rotation);
        CCarObject* car = MakeCar(turn.intake);
        sounds.played.clear();
        for (int update = 1; update <= 12; ++update) {
            SCOPED_TRACE(update);
            // Held until fired: put back in the intake with some speed each update, the piece stops it.
            if (update < 6 || (update > 6 && update <= 12)) {
                car->SetPositionVector(turn.intake);
                car->SetVelocity(CVector(0.5f, 0, 0));
            }
            cannon->Update(kFrameMs);
            const auto& cars = cannon->GetCars();
            if (update <= 10 || update == 12) {
                ASSERT_EQ(cars.size(), 1u);
                EXPECT_EQ(cars.front().elapsedMs,
                          (update == 12 ? 1u : static_cast<unsigned>(update)) * kFrameMs);
                EXPECT_EQ(cars.front().loaded, update < 6 || update == 12);
            } else {
                EXPECT_TRUE(cars.empty());
            }
            if (update == 6) {
                ExpectNear(car->Position(), turn.muzzle);
                ExpectNear(car->GetMeanContactVelocity(), turn.velocity);
                EXPECT_EQ(Played(CCannonTrackObject::kFireSound), 1);
            } else if (update < 6 || update == 12) {
                ExpectNear(car->GetMeanContactVelocity(), CVector());
                ExpectNear(car->Position(), turn.intake);
                EXPECT_TRUE(car->IsCollisionPaused());
            } else {
                // Fired and still in the box: left alone until its record goes.
                ExpectNear(car->GetMeanContactVelocity(), CVector(0.5f, 0, 0));
            }
        }
        EXPECT_EQ(Played(CCannonTrackObject::kFireSound), 1);
        CWorldMan::RemoveObject(car);
        CWorldMan::RemoveObject(cannon);
    }
}

TEST_F(StuntPieces, CannonCarsRunTheirOwnTimersAndACarLeavingTheWorldIsForgotten) {
    auto* cannon = MakePiece<CCannonTrackObject>(15223, CVector(0, 0, 0));
    ASSERT_NE(MakeCar(CVector(0, 0, 4)), nullptr);
    CCarObject* second = MakeCar(CVector(0, 0, 60));
    std::string fired;
    for (int update = 1; update <= 9; ++update) {
        if (update == 3)
            second->SetPositionVector(CVector(2, 0, 4));
        cannon->Update(kFrameMs);
        fired += std::to_string(Played(CCannonTrackObject::kFireSound));
    }
    EXPECT_EQ(fired, "000001122");
    // A held car that leaves the world leaves no record behind (the sanitizer sees any use of it).
    CCarObject* held = MakeCar(CVector(0, 0, 4));
    cannon->Update(kFrameMs);
    ASSERT_FALSE(cannon->GetCars().empty());
    ASSERT_TRUE(CWorldMan::RemoveObject(held));
    for (const auto& record : cannon->GetCars())
        EXPECT_NE(record.car, held);
    for (int update = 0; update < 8; ++update)
        cannon->Update(kFrameMs);
    // So does a held jam truck that ends and is removed by the world's tick.
    auto* truck = dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(60015, 0, 0, 4, -1));
    ASSERT_NE(truck, nullptr);
    cannon->Update(kFrameMs);
    ASSERT_EQ(cannon->GetCars().size(), 1u);
    truck->SetDead();
    CWorldMan::GetCurrentWorld()->Tick(kFrameMs);
    EXPECT_TRUE(cannon->GetCars().empty());
    for (int update = 0; update < 8; ++update)
        cannon->Update(kFrameMs);
}

} // namespace
