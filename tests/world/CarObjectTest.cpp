// The car as the world makes it from the sample cars: its tree of children in the race and the workshop,
// its wheels over its contact points, its tyres, liveries, marker and driver.

#include "CarDoubles.h"
#include "WorldDoubles.h"

#include "foundation/assets/CarAsset.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "world/CarPickupHelper.h"
#include "world/ContactPoint.h"
#include "world/WheelContactPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zentrix;
using cartest::RecordingSounds;
using cartest::ScriptedDriver;

namespace {

/// Whether any face of the object's mesh shows the texture.
bool Shows(CWorldObject* object, int textureId) {
    return object && object->ReplaceTexture(textureId, textureId);
}

CVector WorldPositionOf(const CWorldObject* object) {
    float m[16];
    object->GetMesh()->GetWorldMatrix(m);
    return CVector(m[12], m[13], m[14]);
}

class CarObject : public worldtest::WorldFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        CreateWorlds();
        services.sounds = &sounds;
    }
    void TearDown() override {
        CWorldMan::DeleteAllObjects();
        WorldFixture::TearDown();
    }
    static CCarObject* Car(int id, CVector at = CVector()) {
        return dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(id, at.x, at.y, at.z, -1));
    }

    RecordingSounds sounds;
};

TEST_F(CarObject, EverySampleCarIsBuiltInTheRaceSetWithItsWheelsOverItsContacts) {
    for (int id = 60000; id <= 60012; ++id) {
        SCOPED_TRACE(id);
        CCarObject* car = Car(id, CVector(40.0f, 0.0f, -20.0f));
        ASSERT_NE(car, nullptr);
        const CCarAsset* asset = car->GetCarAsset();
        ASSERT_NE(asset, nullptr);
        EXPECT_FALSE(car->OwnsAsset());
        EXPECT_EQ(car->GetAssetId(), 0);
        ASSERT_EQ(car->GetContactCount(), 5u);
        for (std::uint32_t i = 0; i < 5; ++i) {
            const auto* wheel = dynamic_cast<const CWheelContactPoint*>(car->GetContact(i));
            ASSERT_NE(wheel, nullptr);
            EXPECT_FLOAT_EQ(wheel->GetMaxSteering(), 0.2617994f);
        }
        // The tree: pivot 10 on the car, body 9 and mounts 5..8 on the pivot, a wheel on each mount, the
        // indicators 11 and 12 on the car.
        CWorldObject* pivot = car->GetChild(CCarObject::kChildPivot);
        ASSERT_NE(pivot, nullptr);
        EXPECT_EQ(pivot, car->GetBodyPivot());
        EXPECT_EQ(pivot->GetTypeId(), 39);
        EXPECT_EQ(pivot->Direction(), CVector(0, 0, -1));
        ASSERT_NE(car->GetBody(), nullptr);
        EXPECT_EQ(car->GetBody()->GetTypeId(), 60100);
        EXPECT_EQ(pivot->GetChild(CCarObject::kChildBody), car->GetBody());
        const CVector positions[4] = {asset->GetWheelPosition1(), asset->GetWheelPosition2(),
                                      asset->GetWheelPosition3(), asset->GetWheelPosition4()};
        for (int i = 0; i < 4; ++i) {
            CWorldObject* mount = pivot->GetChild(CCarObject::kChildFirstMount + i);
            ASSERT_NE(mount, nullptr);
            EXPECT_EQ(mount, car->GetWheelMount(i));
            EXPECT_EQ(mount->Position(), positions[i]);
            ASSERT_NE(car->GetWheel(i), nullptr);
            EXPECT_EQ(car->GetWheel(i)->GetTypeId(), i < 2 ? 60110 : 60111);
            EXPECT_EQ(mount->GetChild(0), car->GetWheel(i));
        }
        EXPECT_EQ(car->GetChild(CCarObject::kChildDisable)->GetTypeId(), 60266);
        EXPECT_EQ(car->GetChild(CCarObject::kChildPickup)->GetTypeId(), 60269);
        EXPECT_NE(car->GetSpriteSet(), nullptr);

        // Turned, the front wheels stand over the front contacts (3, 4) and the rear ones over 1 and 2, a
        // wheel's radius above them.
        car->Reorient(CVector(0.6f, 0.0f, 0.8f), kUpVector);
        const std::uint32_t under[4] = {CCarObject::kFrontLeft, CCarObject::kFrontRight,
                                        CCarObject::kRearLeft, CCarObject::kRearRight};
        for (int i = 0; i < 4; ++i) {
            const CVector wheel = WorldPositionOf(car->GetWheel(i));
            bool over = false;
            for (const std::uint32_t p : {under[i], under[i ^ 1]}) {
                const CVector contact = car->GetContact(p)->GetPosition();
                over = over ||
                       (std::fabs(wheel.x - contact.x) < 1e-4f && std::fabs(wheel.z - contact.z) < 1e-4f &&
                        std::fabs(wheel.y - contact.y - 0.4f) < 1e-4f);
            }
            EXPECT_TRUE(over) << "wheel " << i;
        }
        CWorldMan::RemoveObject(car);
    }
}

TEST_F(CarObject, TheWorkshopHangsRaisedWheelsOnTheBodyAndHasNoPivot) {
    assetHost.worldId = CWorldMan::kWorkshop;
    CCarObject* car = Car(60001);
    ASSERT_NE(car, nullptr);
    const CCarAsset* asset = car->GetCarAsset();
    EXPECT_EQ(car->GetAssetId(), 60101);
    EXPECT_EQ(car->GetBodyPivot(), nullptr);
    EXPECT_EQ(car->GetChild(CCarObject::kChildPivot), nullptr);
    EXPECT_EQ(car->GetChild(CCarObject::kChildDisable), nullptr);
    // Front wheels 60462 sit 18.7 higher, rear wheels 60460 8.64 higher than the record's positions.
    const CVector positions[4] = {asset->GetWheelPosition1(), asset->GetWheelPosition2(),
                                  asset->GetWheelPosition3(), asset->GetWheelPosition4()};
    const float raised[4] = {18.7f, 18.7f, 8.64f, 8.64f};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(car->GetChild(i), car->GetWheel(i));
        EXPECT_EQ(car->GetWheel(i)->GetTypeId(), i < 2 ? 60462 : 60460);
        EXPECT_EQ(car->GetWheel(i)->Position(), positions[i] + CVector(0, raised[i], 0));
    }
    // The workshop's tread shows the tyre type's texture (60480 for type 0); the race tread stays.
    EXPECT_TRUE(Shows(car->GetWheel(0), 60480));
    EXPECT_FALSE(Shows(car->GetWheel(0), 60465));
    EXPECT_EQ(car->GetWheelTextureId(), 60480);
    // Without a pivot the car's own frame stands for the body.
    float own[16];
    float body[16];
    car->CWorldObject::GetWorldMatrix(own);
    car->GetWorldMatrix(body);
    EXPECT_TRUE(std::equal(own, own + 16, body));
    EXPECT_EQ(car->BodyPosition(), car->Position());
    EXPECT_EQ(CCarObject::WorkshopWheelHeight(60461), 13.45f);
    EXPECT_EQ(CCarObject::WorkshopWheelHeight(60465), 0.0f);
}

TEST_F(CarObject, TyreTypesSwapTheRaceTreadAndTuneTheTopSpeed) {
    Race()->started = true; // each car tunes its own copy
    CCarObject* car = Car(60001);
    CCarObject* other = Car(60001);
    ASSERT_NE(car, nullptr);
    ASSERT_TRUE(car->OwnsAsset());
    // Top speed level 3 of 60001: 275 x 0.0088; tyre 1 one table step up, tyre 2 one down.
    EXPECT_FLOAT_EQ(car->GetTopSpeed(), 275.0f * 0.0088f);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Shows(car->GetWheel(i), 60523)) << i;
    struct {
        int type;
        bool accepted;
        int shows;
        float topSpeed;
    } const cases[] = {
        {1, true, 60524, 280.0f * 0.0088f},  {1, false, 60524, 280.0f * 0.0088f},
        {3, false, 60524, 280.0f * 0.0088f}, {-1, false, 60524, 280.0f * 0.0088f},
        {2, true, 60522, 270.0f * 0.0088f},  {0, true, 60523, 275.0f * 0.0088f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(car->SetTyreType(c.type), c.accepted);
        EXPECT_EQ(car->GetWheelTextureId(), c.shows);
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(Shows(car->GetWheel(i), c.shows)) << i;
        EXPECT_FLOAT_EQ(car->GetTopSpeed(), c.topSpeed);
    }
    // The other car of the same id keeps its own tuning.
    EXPECT_EQ(other->GetTyreType(), 0);
    EXPECT_FLOAT_EQ(other->GetTopSpeed(), 275.0f * 0.0088f);
    EXPECT_NE(other->GetCarAsset(), car->GetCarAsset());
}

TEST_F(CarObject, LiveriesOutsideTheListChangeNothingAndInitTwiceKeepsOneSet) {
    Race()->started = true;
    CCarObject* car = Car(60000); // livery 2, tyre 1
    ASSERT_NE(car, nullptr);
    // The body wears skin 2 of its row (60106), the race tread of tyre 1.
    EXPECT_EQ(car->GetBody()->GetSkin(), 2);
    EXPECT_TRUE(Shows(car->GetBody(), 60106));
    EXPECT_TRUE(Shows(car->GetWheel(3), 60524));
    struct {
        int livery;
        bool accepted;
    } const selections[] = {{13, false}, {-1, false}, {2, false}, {1, true}, {12, true}};
    for (const auto& s : selections)
        EXPECT_EQ(car->SelectLivery(s.livery), s.accepted) << s.livery;
    EXPECT_EQ(car->GetCarAsset()->GetLivery(), 12);

    // A livery and tyre type beyond the lists (data may hold anything) replace nothing on set-up.
    car->SetLivery(13);
    car->ApplyTuning(5);
    const int live = CWorldObject::LiveCount();
    ASSERT_TRUE(car->Init());
    EXPECT_EQ(CWorldObject::LiveCount(), live);
    EXPECT_NE(car->GetPickupHelper(), nullptr);
    EXPECT_TRUE(car->OwnsAsset());
    EXPECT_EQ(car->GetCarAsset()->GetLivery(), 2); // the new copy reads the record again
    car->ApplyTuning(5);
    EXPECT_FALSE(car->SetTyreType(5));
    EXPECT_TRUE(car->SetTyreType(2)); // from an unknown type: the wheels' own tread goes
    EXPECT_EQ(car->GetWheelTextureId(), 60522);

    // At race set-up: -1 keeps what is there, -2 the default livery (the asset's own: nothing to change),
    // another skins the body.
    struct {
        int livery;
        int choice;
        int skin;
    } const inits[] = {{-1, -1, 2}, {-2, 2, 2}, {1, 1, 1}, {0, 0, 0}};
    for (const auto& i : inits) {
        SCOPED_TRACE(i.livery);
        car->InitLivery(i.livery);
        EXPECT_EQ(car->GetLiveryChoice(), i.choice);
        EXPECT_EQ(car->GetBody()->GetSkin(), i.skin);
    }
}

TEST_F(CarObject, ExtraAssetsAndTheSeamsOfDriverAndRace) {
    CCarObject* car = Car(60003);
    ASSERT_NE(car, nullptr);
    EXPECT_EQ(car->GetExtraAssetId(0), 60221);
    EXPECT_EQ(car->GetExtraAssetId(1), 60220);
    EXPECT_EQ(car->GetExtraAssetId(2), -1);
    EXPECT_EQ(car->GetDriver(), nullptr);
    EXPECT_EQ(car->GetDriverSlot(), -1);
    EXPECT_EQ(car->GetStuntState(), -1);
    EXPECT_TRUE(car->IsNotLooping());
    EXPECT_EQ(car->GetPickupType(), -1);
    EXPECT_TRUE(car->HasPickup());
    EXPECT_FALSE(car->HoldsPickup());
    EXPECT_EQ(car->GetModeIndex(), 1);

    ScriptedDriver driver;
    driver.slot = 2;
    car->AssignDriver(&driver);
    EXPECT_EQ(driver.car, car);
    EXPECT_EQ(car->GetDriverSlot(), 2);
    EXPECT_EQ(sounds.calls, std::vector<std::string>{"engine 2 57900"});

    car->SetStartOffset(CVector(0, 0, 12));
    EXPECT_EQ(car->GetStartOffset(), CVector(0, 0, 12));
    car->SetActionRequest(0, true);
    car->SetActionRequest(2, true); // beyond the flags: nothing
    EXPECT_TRUE(car->IsActionRequested(0));
    EXPECT_FALSE(car->IsActionRequested(1));
    EXPECT_FALSE(car->IsActionRequested(2));
}

TEST_F(CarObject, ThePlayersMarkerShowsOnlyForAHumanRacerInTheRace) {
    struct {
        const char* name;
        int state;
        bool human;
        int slot;
        bool shows;
    } const cases[] = {
        {"human racer", 15, true, 0, true}, {"slot 3", 15, true, 3, true}, {"computer", 15, false, 0, false},
        {"slot 4", 15, true, 4, false},     {"editor", 3, true, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        services.gameState = c.state;
        CCarObject* car = Car(60002);
        ASSERT_NE(car, nullptr);
        ScriptedDriver driver;
        driver.human = c.human;
        driver.slot = c.slot;
        car->AssignDriver(&driver);
        car->ShowPlayerMarker(3000);
        EXPECT_EQ(car->GetPlayerMarker() != nullptr, c.shows);
        EXPECT_EQ(car->GetMarkerTimeMs(), c.shows ? 3000 : -1);
        if (c.shows) {
            CVornSprite* marker = car->GetPlayerMarker();
            car->ShowPlayerMarker(500); // one showing already
            EXPECT_EQ(car->GetPlayerMarker(), marker);
            EXPECT_EQ(car->GetMarkerTimeMs(), 3000);
            // Counted down frame by frame, then taken off.
            for (int t = 0; t < 3000; t += 40)
                car->Update(40);
            EXPECT_EQ(car->GetPlayerMarker(), marker);
            car->Update(40);
            EXPECT_EQ(car->GetPlayerMarker(), nullptr);
            EXPECT_EQ(car->GetMarkerTimeMs(), -1);
        }
        car->AssignDriver(nullptr);
        CWorldMan::RemoveObject(car);
    }
}

} // namespace

namespace {

TEST_F(CarObject, HandlingModifiersRunTheirTimeAndPutBackExactlyWhatTheyScaled) {
    CCarObject* car = Car(60004);
    ASSERT_NE(car, nullptr);
    CCarAsset& a = *car->GetCarAsset();
    const auto values = [&a] {
        return std::vector<float>{a.GetAcceleration(), a.GetBraking(),  a.GetSteeringRate(), a.GetParam80(),
                                  a.GetSideGrip(),     a.GetTopSpeed(), a.GetSlideAngle()};
    };
    const std::vector<float> before = values();
    const float nan = std::nanf("");
    struct {
        const char* name;
        CCarObject::SParamModifiers factors;
        bool accepted;
    } const cases[] = {
        {"doubled acceleration", {2, 1, 1, 1, 1, 1, 1}, true},
        {"a boost", {1.4f, 1, 2, 1, 1, 1.1f, 1}, true},
        {"reversed steering", {1, 1, -1, 1, 1, 1, 1}, true},
        {"a factor of 0", {1, 1, 1, 0, 1, 1, 1}, false},
        {"not a number", {1, nan, 1, 1, 1, 1, 1}, false},
        {"infinite", {1, 1, 1, 1, 1, INFINITY, 1}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(car->ApplyParamModifiers(c.factors, 3000), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(values(), before);
            continue;
        }
        EXPECT_FLOAT_EQ(a.GetAcceleration(), before[0] * c.factors.acceleration);
        EXPECT_FLOAT_EQ(a.GetSteeringRate(), before[2] * c.factors.steering);
        EXPECT_FALSE(car->ApplyParamModifiers({3, 3, 3, 3, 3, 3, 3}, 100)); // one record at a time
        car->UpdateTimedEffects(3000);
        EXPECT_TRUE(car->IsEffectActive(CCarObject::kEffectModifiers)); // until its time is exceeded
        car->UpdateTimedEffects(1);
        EXPECT_FALSE(car->IsEffectActive(CCarObject::kEffectModifiers));
        EXPECT_EQ(values(), before);
    }
    // Ending the car ends a running record and restores the shared asset it scaled.
    ASSERT_TRUE(car->ApplyParamModifiers({2, 2, 2, 2, 2, 2, 2}, 3000));
    CWorldMan::RemoveObject(car);
    EXPECT_EQ(values(), before);
}

TEST_F(CarObject, AnotherModelInTheWorkshopLeavesTheSharedAssetAlone) {
    assetHost.worldId = CWorldMan::kWorkshop;
    CCarObject* car = Car(60001);
    ASSERT_NE(car, nullptr);
    CCarAsset* shared = car->GetCarAsset();
    const float top = shared->GetTopSpeed();
    ASSERT_TRUE(car->SelectLivery(1));
    EXPECT_TRUE(car->ChangeModel(60006));
    EXPECT_TRUE(car->OwnsAsset());
    EXPECT_NE(car->GetCarAsset(), shared);
    EXPECT_FLOAT_EQ(car->GetTopSpeed(),
                    CCarAsset::HandlingValue(CCarAsset::kTopSpeed, 0.0f)); // 60006's level
    EXPECT_EQ(car->GetCarAsset()->GetLivery(), 1);
    EXPECT_EQ(shared->GetTopSpeed(), top);
    EXPECT_EQ(car->GetSkin(), -1);
    shared->SetLivery(shared->GetDefaultLivery());
}

} // namespace
