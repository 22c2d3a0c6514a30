// The loop, barrel and DoD pieces, which work through the car's stunts, on the sample set's race world at
// 40 ms updates with real cars; each behaviour as a table of updates and what they must give.

#include "PieceFixture.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/assets/CarAsset.h"
#include "world/BarrelStuntObject.h"
#include "world/ContactPoint.h"
#include "world/DoDTrackObject.h"
#include "world/JamTruck.h"
#include "world/LoopTrackObject.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

using namespace zentrix;

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

void ExpectNear(const CVector& a, const CVector& b, float tolerance = 1e-4f) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

class StuntCarPieces : public worldtest::PieceWorld {
protected:
    template <typename T> T* MakePiece(int typeId, const CVector& at, int rotation = 0) {
        auto* piece = dynamic_cast<T*>(CWorldMan::CreateWorldObject(typeId, at.x, at.y, at.z, -1));
        if (piece)
            piece->SetRotation(rotation);
        return piece;
    }
    worldtest::RecordingRaceWorld* Race() const {
        return dynamic_cast<worldtest::RecordingRaceWorld*>(CWorldMan::GetWorld(1));
    }
    int Taunts(int event) const {
        int n = 0;
        for (const auto& taunt : Race()->taunts)
            n += taunt.second == event ? 1 : 0;
        return n;
    }
    static CVector Force(const CCarObject& car) { return car.GetContact(0)->GetForce(); }
    /// One physics step, so that the car knows whether it stands on the ground; then back where it was.
    static void Settle(CCarObject& car) {
        const CVector at = car.Position();
        CWorldMan::SimulateActiveObjects(kFrameMs);
        CWorldMan::FinishActiveObjects(kFrameMs);
        if (!car.IsGrounded())
            car.SetPositionVector(at);
    }
};

// ---- the loop ----

TEST_F(StuntCarPieces, TheLoopCarriesACarFortyTwoStepsAndPutsItDownAtTheTurnedExit) {
    const struct {
        int rotation;
        CVector entry;
        CVector exit;
    } rows[] = {
        {0, {7, 0, 25}, {-7, 0, 19}},
        {1, {25, 0, -7}, {19, 0, 7}},
        {2, {-7, 0, -25}, {7, 0, -19}},
        {3, {-25, 0, 7}, {-19, 0, -7}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rotation);
        auto* loop = MakePiece<CLoopTrackObject>(15219, CVector(0, 0, 0), row.rotation);
        ASSERT_NE(loop, nullptr);
        CCarObject* car = MakeCar(row.entry);
        sounds.played.clear();
        loop->Update(kFrameMs);
        ASSERT_EQ(loop->GetCars().size(), 1u);
        EXPECT_EQ(car->GetStuntState(), CCarObject::kStuntLoop);
        EXPECT_EQ(car->GetCollisionPause(), 1600u);
        EXPECT_EQ(Played(CLoopTrackObject::kEnterSound), 1);
        int steps = 0;
        while (loop->GetCars().front().angle <= kTwoPi && steps < 100) {
            loop->CheckTrackCollision(kFrameMs);
            ++steps;
            // Held at the piece, facing back along it; the body goes round.
            ExpectNear(car->GetMeanContactVelocity(), CVector());
            ExpectNear(car->Direction(), loop->Direction() * -1.0f);
        }
        EXPECT_EQ(steps, 42);
        loop->Update(kFrameMs);
        EXPECT_TRUE(loop->GetCars().empty());
        EXPECT_EQ(car->GetStuntState(), CCarObject::kNoStunt);
        ExpectNear(car->Position(), row.exit);
        ExpectNear(car->GetMeanContactVelocity(), loop->Direction() * -1.9f);
        ExpectNear(car->GetBodyPivot()->Position(), CVector());
        CWorldMan::RemoveObject(car);
        CWorldMan::RemoveObject(loop);
    }
}

TEST_F(StuntCarPieces, LoopCarsEnterOneAnUpdateAreCarriedWhateverTheirStateAndLeaveTheWorldCleanly) {
    auto* loop = MakePiece<CLoopTrackObject>(15219, CVector(0, 0, 0));
    CCarObject* first = MakeCar(CVector(7, 0, 25));
    CCarObject* second = MakeCar(CVector(8, 0, 24));
    // The second car is in the pit's state, which the loop cannot take over: it is carried all the same.
    ASSERT_TRUE(second->SetStuntState(CCarObject::kStuntDoD));
    sounds.played.clear();
    std::string entered;
    for (int update = 0; update < 3; ++update) {
        loop->Update(kFrameMs);
        entered += std::to_string(loop->GetCars().size());
    }
    EXPECT_EQ(entered, "122");
    EXPECT_EQ(Played(CLoopTrackObject::kEnterSound), 1);
    EXPECT_EQ(Taunts(CLoopTrackObject::kTaunt), 2);
    EXPECT_EQ(second->GetStuntState(), CCarObject::kStuntDoD);
    loop->CheckTrackCollision(kFrameMs);
    EXPECT_NE(second->GetBodyPivot()->Position(), CVector());
    // A carried car leaving the world leaves the loop; the next steps touch only the other.
    ASSERT_TRUE(CWorldMan::RemoveObject(first));
    ASSERT_EQ(loop->GetCars().size(), 1u);
    EXPECT_EQ(loop->GetCars().front().car, second);
    for (int i = 0; i < 5; ++i) {
        loop->CheckTrackCollision(kFrameMs);
        loop->Update(kFrameMs);
    }
    // So does a jam truck that ends while carried.
    auto* truck = dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(60015, 7, 0, 25, -1));
    ASSERT_NE(truck, nullptr);
    CWorldMan::RemoveObject(second);
    loop->Update(kFrameMs);
    ASSERT_EQ(loop->GetCars().size(), 1u);
    truck->SetDead();
    CWorldMan::GetCurrentWorld()->Tick(kFrameMs);
    EXPECT_TRUE(loop->GetCars().empty());
    loop->CheckTrackCollision(kFrameMs);
    loop->Update(kFrameMs);
}

TEST_F(StuntCarPieces, TheLoopPushesOnlyStalledCarsAwayFromItsExit) {
    auto* loop = MakePiece<CLoopTrackObject>(15219, CVector(0, 0, 0));
    const CVector zone(-7, 0, 39); // the exit sphere, turned 0
    const struct {
        float speed;
        bool pushed;
    } rows[] = {{0.0f, true}, {1.99f, true}, {2.0f, false}, {3.0f, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.speed);
        CCarObject* car = MakeCar(zone);
        car->SetVelocity(CVector(0, 0, row.speed));
        const CVector before = Force(*car);
        loop->Update(kFrameMs);
        CVector away = car->Position() - loop->Position();
        away.SetLength(CLoopTrackObject::kExitPush);
        ExpectNear(Force(*car) - before, row.pushed ? away : CVector());
        CWorldMan::RemoveObject(car);
    }
}

// ---- the barrel ----

TEST_F(StuntCarPieces, TheBarrelSpinsAirborneCarsFasterThanItsMinimumOverTheGround) {
    LoadRoad("pieces_barrel.trk");
    auto* barrel = dynamic_cast<CBarrelStuntObject*>(Find(15218));
    ASSERT_NE(barrel, nullptr);
    EXPECT_EQ(barrel->GetSpinTime(), 1000);
    EXPECT_EQ(barrel->GetSpinAxis(), CVector(0, 0, 1));
    const CVector sphere = barrel->Position() + CVector(0, 10, 16);
    const struct {
        const char* what;
        CVector velocity;
        bool grounded;
        bool spun;
    } rows[] = {
        {"fast", {0, 0, -1.6f}, false, true},
        {"exactly the minimum", {0, 0, -1.5f}, false, false},
        {"fast and falling", {0.6f, -3.0f, -1.5f}, false, true},
        {"slow and climbing fast", {0, 3.0f, -1.2f}, false, false},
        {"fast on the ground", {0, 0, -1.6f}, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        CCarObject* car = MakeCar(row.grounded ? CVector(sphere.x, 0, sphere.z - 4) : sphere);
        Settle(*car);
        ASSERT_EQ(car->IsGrounded(), row.grounded);
        car->SetVelocity(row.velocity);
        const int taunts = Taunts(CBarrelStuntObject::kTaunt);
        barrel->Update(kFrameMs);
        EXPECT_EQ(car->IsSpinning(), row.spun);
        EXPECT_EQ(Taunts(CBarrelStuntObject::kTaunt),
                  taunts + (row.spun ? 2 : 0)); // the spin's and the piece's
        if (row.spun)
            EXPECT_FLOAT_EQ(car->GetMeanContactVelocity().y, CBarrelStuntObject::kLift);
        CWorldMan::RemoveObject(car);
    }
}

TEST_F(StuntCarPieces, TheBarrelBrakesCarsAtItsCentreAndPutsBackFallenOnes) {
    auto* barrel = MakePiece<CBarrelStuntObject>(15218, CVector(0, 0, 0));
    CCarObject* car = MakeCar(CVector(0, 0, 0), CVector(1, 0, 0));
    const CVector before = Force(*car);
    barrel->Update(kFrameMs);
    ExpectNear(Force(*car) - before, CVector(-0.02f, 0, 0));
    CWorldMan::RemoveObject(car);
    // The reset box below the next cell puts back any car in it.
    for (float y : {-12.0f, -8.0f}) {
        CCarObject* fallen = MakeCar(CVector(0, y, 32));
        const int respawns = Respawns();
        barrel->Update(kFrameMs);
        EXPECT_EQ(Respawns(), respawns + 1) << y;
        CWorldMan::RemoveObject(fallen);
    }
}

TEST_F(StuntCarPieces, ABarrelWithoutSpinTimeSkipsOnlyTheSpin) {
    // The car refuses a spin of no time; the lift, the taunt, the particles, the shot and the theme's
    // effect come all the same.
    const struct {
        int typeId;
        int spinTime;
        bool spun;
        int taunts; // the spin's and the piece's
    } rows[] = {{15218, 1000, true, 2}, {15224, 0, false, 1}};
    assets->SetWorld(0, false);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typeId);
        auto* barrel = MakePiece<CBarrelStuntObject>(row.typeId, CVector(64, 0, 64));
        ASSERT_NE(barrel, nullptr);
        EXPECT_EQ(barrel->GetSpinTime(), row.spinTime);
        CCarObject* flying = MakeCar(CVector(64, 10, 80));
        Settle(*flying);
        ASSERT_FALSE(flying->IsGrounded());
        flying->SetVelocity(CVector(0, 0, -2.5f));
        const int taunts = Taunts(CBarrelStuntObject::kTaunt);
        Race()->stuntCams.clear();
        sounds.played.clear();
        CParticleSystem::DestroyAll();
        barrel->Update(kFrameMs);
        EXPECT_EQ(flying->IsSpinning(), row.spun);
        EXPECT_FLOAT_EQ(flying->GetMeanContactVelocity().y, CBarrelStuntObject::kLift);
        EXPECT_EQ(Taunts(CBarrelStuntObject::kTaunt), taunts + row.taunts);
        ASSERT_EQ(Race()->stuntCams.size(), 1u);
        EXPECT_EQ(Race()->stuntCams[0].car, flying);
        EXPECT_EQ(Race()->stuntCams[0].durationMs, static_cast<unsigned>(row.spinTime) + 1200u);
        EXPECT_EQ(CParticleSystem::GetLiveCount(), 4); // the car's two and the jungle's two
        EXPECT_EQ(sounds.played, (std::vector<std::string>{"at 51171 once slot 0"}));
        CWorldMan::RemoveObject(flying);
        CWorldMan::RemoveObject(barrel);
    }
}

TEST_F(StuntCarPieces, TheBarrelsThemeEffectPlaysItsSoundParticlesAndAnimation) {
    const struct {
        int theme;
        const char* sound;
        int particles; // besides the car's two
        bool animates;
    } rows[] = {
        {0, "at 51171 once slot 0", 2, false},
        {1, "car 51174 slot 0", 0, true},
        {2, "at 51172 once slot 0", 1, false},
        {3, "at 51173 once slot 0", 2, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.theme);
        assets->SetWorld(row.theme, false);
        auto* barrel = MakePiece<CBarrelStuntObject>(15218, CVector(0, 0, 0));
        EXPECT_EQ(barrel->GetCurrentAnimation(), 0);
        for (int pass = 0; pass < 2; ++pass) {
            CCarObject* car = MakeCar(CVector(0, 10, 16));
            Settle(*car);
            car->SetVelocity(CVector(0, 0, -2));
            sounds.played.clear();
            CParticleSystem::DestroyAll();
            barrel->Update(kFrameMs);
            ASSERT_TRUE(car->IsSpinning());
            ASSERT_EQ(sounds.played.size(), 1u);
            EXPECT_EQ(sounds.played[0], row.sound);
            // The animation starts only from the idle one: the city's particles come with it.
            const bool started = row.animates && pass == 0;
            EXPECT_EQ(CParticleSystem::GetLiveCount(), 2 + (row.theme == 3 && !started ? 0 : row.particles));
            if (row.animates) {
                EXPECT_GE(barrel->GetCurrentAnimation(), 1);
                EXPECT_LE(barrel->GetCurrentAnimation(), row.theme == 1 ? 2 : 1);
            } else {
                EXPECT_EQ(barrel->GetCurrentAnimation(), 0);
            }
            CWorldMan::RemoveObject(car);
        }
        CWorldMan::RemoveObject(barrel);
    }
}

// ---- the DoD pit ----

TEST_F(StuntCarPieces, ThePitsGripFollowsTheCarsRating) {
    const struct {
        float rating;
        float factor;
    } rows[] = {{9.0f, 1.6f}, {9.9f, 1.6f}, {10.4f, 1.3f}, {10.9f, 1.0f}, {11.9f, 0.4f}, {12.5f, 0.4f}};
    for (const auto& row : rows) {
        EXPECT_NEAR(CDoDTrackObject::GripFactor(row.rating), row.factor, 1e-5f) << row.rating;
        EXPECT_NEAR(CDoDTrackObject::ModifiersFor(row.rating).grip, 8.0f * row.factor, 1e-4f) << row.rating;
    }
    // A real car in the pit drives on the set of its own rating, in the pit's state.
    auto* pit = MakePiece<CDoDTrackObject>(15221, CVector(0, 0, 0));
    CCarObject* car = MakeCar(CVector(0, 0, 16));
    car->SetVelocity(CVector(0, 0, -1));
    pit->Update(kFrameMs);
    EXPECT_EQ(car->GetStuntState(), CCarObject::kStuntDoD);
    EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectModifiers));
    EXPECT_NEAR(car->GetModifiers().grip,
                8.0f * CDoDTrackObject::GripFactor(car->GetCarAsset()->GetGripRatingValue()), 1e-5f);
    EXPECT_FLOAT_EQ(car->GetModifiers().sideGrip, 9.0f);
}

TEST_F(StuntCarPieces, ThePitRenewsItsHandlingSetAndACarLeavingItHasItsOwnHandlingBackExactly) {
    auto* pit = MakePiece<CDoDTrackObject>(15221, CVector(0, 0, 0));
    CCarObject* car = MakeCar(CVector(0, 0, 16));
    const CCarAsset& asset = *car->GetCarAsset();
    const auto values = [&asset] {
        return std::array<float, 6>{asset.GetAcceleration(), asset.GetBraking(),  asset.GetSteeringRate(),
                                    asset.GetTopSpeed(),     asset.GetSideGrip(), asset.GetGripRatingValue()};
    };
    const std::array<float, 6> own = values();
    // 200 ms records, asked for on every update: the car takes a new one whenever the last has ended.
    std::string active;
    for (int update = 0; update < 30; ++update) {
        car->SetVelocity(CVector(0, 0, -1));
        pit->Update(kFrameMs);
        active += car->IsEffectActive(CCarObject::kEffectModifiers) ? "1" : "0";
        car->UpdateTimedEffects(kFrameMs);
    }
    EXPECT_EQ(active, std::string(30, '1'));
    pit->Update(kFrameMs);
    EXPECT_NE(values(), own);
    // Out of the pit; once the last record ends the car drives on its own values, bit for bit.
    car->SetPositionVector(CVector(0, 0, 80));
    pit->Update(kFrameMs);
    for (int update = 0; update < 6; ++update)
        car->UpdateTimedEffects(kFrameMs);
    EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectModifiers));
    EXPECT_EQ(values(), own);
}

TEST_F(StuntCarPieces, APitCarBelowTheStopSpeedIsStuckHeldAndSunkThenPutBack) {
    auto* pit = MakePiece<CDoDTrackObject>(15221, CVector(0, 0, 0));
    const struct {
        float speed;
        bool stuck;
    } speeds[] = {{0.14f, false}, {0.139f, true}};
    for (const auto& row : speeds) {
        CCarObject* car = MakeCar(CVector(0, 0, 16));
        car->SetVelocity(CVector(row.speed, 0, 0));
        sounds.played.clear();
        pit->Update(kFrameMs);
        EXPECT_EQ(pit->GetStuck().size(), row.stuck ? 1u : 0u) << row.speed;
        EXPECT_EQ(Played(51150), row.stuck ? 1 : 0) << row.speed;
        CWorldMan::RemoveObject(car);
    }
    EXPECT_TRUE(pit->GetStuck().empty());
    EXPECT_TRUE(pit->GetInside().empty());

    // A stuck car keeps only its vertical speed, and after 500 ms sinks 0.018 an update.
    CCarObject* car = MakeCar(CVector(0, 0, 16));
    car->SetVelocity(CVector(0.05f, -0.5f, 0));
    const struct {
        int update;
        float y;
        int sounds;
    } rows[] = {{1, 0.0f, 1}, {12, 0.0f, 1}, {13, -0.018f, 1}, {20, -0.144f, 1}};
    sounds.played.clear();
    int update = 0;
    for (const auto& row : rows) {
        while (update < row.update) {
            ++update;
            car->SetPositionVector(CVector(0, car->Position().y, 16));
            pit->Update(kFrameMs);
        }
        SCOPED_TRACE(row.update);
        EXPECT_NEAR(car->Position().y, row.y, 1e-4f);
        EXPECT_NEAR(car->GetGroundSink(), -row.y, 1e-4f); // the ground lets it down as far
        ExpectNear(car->GetMeanContactVelocity(), CVector(0, -0.5f, 0));
        EXPECT_EQ(Played(51150), row.sounds);
    }
    // Once below -3.9 it is put back and loses its stuck record at once.
    car->SetPositionVector(CVector(0, -3.88f, 16));
    pit->Update(kFrameMs);
    EXPECT_EQ(Respawns(), 0);
    car->SetPositionVector(CVector(0, -3.885f, 16));
    pit->Update(kFrameMs);
    EXPECT_EQ(Respawns(), 1);
    EXPECT_TRUE(pit->GetStuck().empty());
    EXPECT_EQ(car->GetGroundSink(), 0.0f);
    // Stuck and sinking again, then pushed out of the box: it comes up out of the mud.
    car->SetPositionVector(CVector(0, 0, 16));
    for (int update = 0; update < 20; ++update)
        pit->Update(kFrameMs);
    EXPECT_GT(car->GetGroundSink(), 0.1f);
    car->SetPositionVector(CVector(0, 0, 80));
    pit->Update(kFrameMs);
    EXPECT_EQ(car->GetGroundSink(), 0.0f);
}

TEST_F(StuntCarPieces, ThePitSinksTheBodyToItsFloorAndLeavingItPutsTheCarBack) {
    auto* pit = MakePiece<CDoDTrackObject>(15221, CVector(0, 0, 0));
    CCarObject* car = MakeCar(CVector(0, 0, 16));
    std::string heights;
    for (int update = 1; update <= 40; ++update) {
        car->SetVelocity(CVector(0, 0, -1));
        pit->Update(kFrameMs);
        if (update == 1 || update == 35 || update == 36 || update == 40) {
            char text[32];
            std::snprintf(text, sizeof text, "%d:%.3f ", update, car->GetBodyPivot()->Position().y);
            heights += text;
        }
    }
    EXPECT_EQ(heights, "1:-0.036 35:-1.260 36:-1.296 40:-1.296 ");
    EXPECT_EQ(car->GetStuntState(), CCarObject::kStuntDoD);
    car->SetPositionVector(CVector(0, 0, 80));
    pit->Update(kFrameMs);
    EXPECT_TRUE(pit->GetInside().empty());
    EXPECT_EQ(car->GetStuntState(), CCarObject::kNoStunt);
    ExpectNear(car->GetBodyPivot()->Position(), CVector());
}

TEST_F(StuntCarPieces, AJamTruckThatEndsInThePitIsNeverTouchedAgain) {
    auto* pit = MakePiece<CDoDTrackObject>(15221, CVector(0, 0, 0));
    auto* truck = dynamic_cast<CJamTruck*>(CWorldMan::CreateWorldObject(60015, 0, 0, 16, -1));
    ASSERT_NE(truck, nullptr);
    pit->Update(kFrameMs);
    ASSERT_EQ(pit->GetInside().size(), 1u);
    ASSERT_EQ(pit->GetStuck().size(), 1u);
    // Tipped over, lying, ended: the world's tick removes it; the pit forgets it with it.
    truck->RecordCollision(CVector(1, 0, 0), 1.0f, 5, nullptr);
    for (int i = 0; i < 80 && !truck->IsDead(); ++i)
        truck->Update(kFrameMs);
    ASSERT_TRUE(truck->IsDead());
    CWorldMan::GetCurrentWorld()->Tick(kFrameMs);
    EXPECT_TRUE(pit->GetInside().empty());
    EXPECT_TRUE(pit->GetStuck().empty());
    for (int i = 0; i < 3; ++i)
        pit->Update(kFrameMs);
}

} // namespace
