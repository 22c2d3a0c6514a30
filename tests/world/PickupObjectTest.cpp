// Pickups over their pads: the bob and turn of what shows them, who takes them, and how they end.

#include "CarDoubles.h"
#include "TrackDoubles.h"

#include "world/CarObject.h"
#include "world/CarPickupHelper.h"
#include "world/PickupObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>

using namespace zentrix;

namespace {

class Pickups : public worldtest::TrackFixture {
protected:
    void SetUp() override {
        worldtest::TrackFixture::SetUp();
        services.sounds = &heard;
    }
    worldtest::RecordingSounds heard;
    CPickupObject* Pickup(int assetId = 12048, int type = 1, float x = 0.0f, float z = 0.0f) {
        auto* pickup = dynamic_cast<CPickupObject*>(CWorldMan::CreateWorldObject(assetId, x, 0, z, 3000));
        EXPECT_NE(pickup, nullptr);
        if (pickup)
            pickup->SetType(type);
        return pickup;
    }
    worldtest::TestCar* Car(float x, float z, int assetId = 60090) {
        auto* car = dynamic_cast<worldtest::TestCar*>(CWorldMan::CreateWorldObject(assetId, x, 0, z, -1));
        EXPECT_NE(car, nullptr);
        return car;
    }
};

TEST_F(Pickups, TheDisplayBobsOverThreeSecondsAndTurnsByTheMillisecond) {
    CPickupObject* pickup = Pickup();
    CWorldObject* display = pickup->GetDisplayObject();
    ASSERT_NE(display, nullptr);
    // The object the pickup's asset names to show it.
    int shownId = -1;
    ASSERT_TRUE(assets->GetInt(12048, CPickupObject::kFieldDisplayObject, shownId));
    EXPECT_EQ(display->GetTypeId(), shownId);
    // Elapsed time after each 40 ms update, and the height over the pickup.
    double turned = 0.0;
    for (int update = 1; update <= 80; ++update) {
        pickup->Update(40);
        turned += 40 * 0.0031415;
        const double elapsed = 40.0 * update;
        const double height = std::sin(2.0 * std::numbers::pi * elapsed / 3000.0) - 1.5 + 5.5;
        ASSERT_NEAR(display->Position().y, height, 1e-4) << elapsed;
        EXPECT_EQ(display->Position().x, 0.0f);
        // Turned from (0, 0, 1) about up.
        const CVector d = display->Direction();
        ASSERT_NEAR(std::cos(turned), d.z, 1e-3) << elapsed;
        ASSERT_NEAR(std::fabs(std::sin(turned)), std::fabs(d.x), 1e-3) << elapsed;
    }
    EXPECT_EQ(pickup->GetElapsed(), 3200u);
    // The same turn in one long update as in many short ones.
    CPickupObject* other = Pickup();
    other->Update(1000);
    CPickupObject* stepped = Pickup();
    for (int i = 0; i < 25; ++i)
        stepped->Update(40);
    const CVector a = other->GetDisplayObject()->Direction();
    const CVector b = stepped->GetDisplayObject()->Direction();
    EXPECT_NEAR(a.x, b.x, 1e-4f);
    EXPECT_NEAR(a.z, b.z, 1e-4f);
    // Its life ends after 3000 ms.
    EXPECT_TRUE(pickup->IsDead());
    EXPECT_FALSE(other->IsDead());
}

TEST_F(Pickups, CarsInTheSphereTakeItUnlessTheyHoldItOrRefuse) {
    const struct {
        const char* what;
        int heldFirst, heldSecond;
        bool takesSecond, truckSecond, secondFar;
        std::vector<int> givenFirst, givenSecond;
        bool dead;
    } cases[] = {
        {"one car", -1, -1, true, false, true, {1}, {}, true},
        {"holds the same type", 1, -1, true, false, true, {}, {}, false},
        {"holds another type", 0, -1, true, false, true, {1}, {}, true},
        {"two cars at once", -1, 6, true, false, false, {1}, {1}, true},
        {"second holds it", -1, 1, true, false, false, {1}, {}, true},
        {"driver refuses", 1, -1, false, false, false, {}, {}, false},
        {"the jam truck", 1, -1, false, true, false, {}, {}, false},
        {"outside the sphere", -1, -1, true, false, true, {1}, {}, true},
    };
    for (const auto& c : cases) {
        CPickupObject* pickup = Pickup(12048, 1, 40.0f, 40.0f);
        worldtest::TestCar* first = Car(40.0f + 5.0f, 40.0f);
        worldtest::TestCar* second =
            Car(c.secondFar ? 40.0f + 9.0f : 40.0f - 4.0f, 40.0f, c.truckSecond ? 60095 : 60090);
        first->held = c.heldFirst;
        second->held = c.heldSecond;
        second->takes = c.takesSecond;
        pickup->Update(40);
        EXPECT_EQ(first->given, c.givenFirst) << c.what;
        EXPECT_EQ(second->given, c.givenSecond) << c.what;
        EXPECT_EQ(pickup->IsDead(), c.dead) << c.what;
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(Pickups, APickupEndsWithItsPadAndStandsWithoutADisplay) {
    assets->SetWorld(0, true);
    // A pad marked dead takes its pickup along at the pickup's next update.
    CTrackObject* pad = builder.PlaceTrackPiece(15241, 1, 2, 0);
    ASSERT_NE(pad, nullptr);
    CPickupObject* pickup = Pickup();
    pickup->SetPiece(pad);
    pickup->Update(40);
    EXPECT_FALSE(pickup->IsDead());
    pad->SetDead();
    pickup->Update(40);
    EXPECT_TRUE(pickup->IsDead());
    // A pad taken off the grid: the pickup forgets it and dies.
    CTrackObject* other = builder.PlaceTrackPiece(15243, 1, 4, 0);
    CPickupObject* kept = Pickup();
    kept->SetPiece(other);
    builder.RemoveTrackPiece(1, 4);
    EXPECT_EQ(kept->GetPiece(), nullptr);
    EXPECT_TRUE(kept->IsDead());

    // No display object: nothing shows, nothing breaks, and it is not created until typed.
    auto* bare = dynamic_cast<CPickupObject*>(CWorldMan::CreateWorldObject(12097, 0, 0, 0, 3000));
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->GetDisplayObject(), nullptr);
    EXPECT_FALSE(bare->IsCreated());
    bare->Update(40);
    bare->SetType(0);
    EXPECT_TRUE(bare->IsCreated());
    worldtest::TestCar* car = Car(0, 0);
    bare->Update(40);
    EXPECT_EQ(car->given, std::vector<int>{0});
}

TEST_F(Pickups, APickupSoundsOnlyInTheRaceWorld) {
    Pickup();
    EXPECT_TRUE(heard.played.empty());
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
    Pickup();
    EXPECT_EQ(heard.played, worldtest::Log{"at 51070 once slot 0"});
}

TEST_F(Pickups, ARealCarTakesItThroughItsDriverAndHoldsOnlyKnownTypes) {
    cartest::RecordingSounds carSounds;
    services.sounds = &carSounds;
    auto* car = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60000, 3.0f, 0, 0, -1));
    ASSERT_NE(car, nullptr);
    CPickupObject* pickup = Pickup(12028, 0);
    // No driver: no pickup.
    pickup->Update(40);
    EXPECT_EQ(car->GetPickupType(), -1);
    cartest::ScriptedDriver driver;
    driver.slot = 1;
    driver.human = false; // a driver that refuses pickups
    car->AssignDriver(&driver);
    pickup->Update(40);
    EXPECT_EQ(car->GetPickupType(), -1);
    driver.human = true;
    carSounds.calls.clear();
    pickup->Update(40);
    EXPECT_EQ(car->GetPickupType(), 0);
    EXPECT_TRUE(pickup->IsDead());
    EXPECT_EQ(carSounds.calls, std::vector<std::string>{"play 51093 1"});

    // A type the table does not know keeps the held one; 7 draws each usable type and never itself.
    for (int type : {-1, 11, 100000}) {
        car->GivePickup(type);
        EXPECT_EQ(car->GetPickupType(), 0) << type;
    }
    Random::Seed(1234);
    std::map<int, int> drawn;
    for (int i = 0; i < 800; ++i) {
        car->GivePickup(CCarPickupHelper::kRandomType);
        ++drawn[car->GetPickupType()];
    }
    EXPECT_EQ(drawn.size(), 8u);
    for (int type : {0, 1, 2, 3, 4, 6, 9, 10})
        EXPECT_GT(drawn[type], 60) << type;
    car->AssignDriver(nullptr);
}

} // namespace
