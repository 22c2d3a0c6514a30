#include "AssetTestDoubles.h"

#include "foundation/assets/CarAsset.h"

#include <gtest/gtest.h>

#include <limits>

using namespace zentrix;

namespace {

struct WorldObjects : ::testing::Test {
    assettest::SampleWorld world;
    CAssetMan& assets = *world.assets;
    void SetUp() override { ASSERT_EQ(assets.StartManager(), 0); }
    CCarAsset* Car(int id) { return dynamic_cast<CCarAsset*>(assets.GetWorldObjectAsset(id)); }
};

TEST_F(WorldObjects, AssetClassFollowsTheFormat) {
    const struct {
        int id;
        int kind; ///< 0 none, 1 plain, 2 active, 3 car
    } cases[] = {{15201, 1}, {30001, 2}, {60000, 3}, {60015, 3}, {30002, 0}, {1500, 0}, {0, 0}, {80001, 0}};
    for (const auto& c : cases) {
        CWorldObjectAsset* asset = assets.GetWorldObjectAsset(c.id);
        const int kind = !asset                            ? 0
                         : dynamic_cast<CCarAsset*>(asset) ? 3
                         : dynamic_cast<CAWOAsset*>(asset) ? 2
                                                           : 1;
        EXPECT_EQ(kind, c.kind) << c.id;
        EXPECT_EQ(assets.GetWorldObjectAsset(c.id), asset) << c.id; // kept and shared
    }
}

TEST_F(WorldObjects, PlainValuesAndBoundingVolumes) {
    CWorldObjectAsset* piece = assets.GetWorldObjectAsset(15299);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->GetAssetId(), 15299);
    EXPECT_EQ(piece->GetMeshOffset(), CVector(0, 0.5f, 0));
    EXPECT_EQ(piece->GetMeshRotation(), CVector(0, 1.5707964f, 0));
    EXPECT_EQ(piece->GetMeshScale(), CVector(2, 2, 2));
    EXPECT_EQ(piece->GetFirstText(), "Straight piece");
    EXPECT_EQ(piece->GetScript(), "WHEN touched DO spin");

    ASSERT_EQ(piece->GetBoundingVolumeCount(), 2);
    SBoundingVolumeDesc sphere, box, empty;
    ASSERT_TRUE(piece->GetBoundingVolume(0, sphere) && piece->GetBoundingVolume(1, box) &&
                piece->GetBoundingVolume(4, empty));
    EXPECT_EQ(sphere.type, 0);
    EXPECT_EQ(sphere.centre, CVector(0, 1, 0));
    EXPECT_EQ(sphere.size1, 4.0f);
    EXPECT_EQ(box.type, 1);
    EXPECT_EQ(box.offset, CVector(0, 0.5f, 0));
    EXPECT_EQ(box.size1 + box.size2 + box.size3, 21.0f);
    EXPECT_EQ(empty.type, -1);
    SBoundingVolumeDesc untouched;
    untouched.type = 9;
    EXPECT_FALSE(piece->GetBoundingVolume(5, untouched) || piece->GetBoundingVolume(-1, untouched));
    EXPECT_EQ(untouched.type, 9);

    // No bounding entries stored: none at all. Unstored values take the defaults.
    CWorldObjectAsset* start = assets.GetWorldObjectAsset(16200);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->GetBoundingVolumeCount(), 0);
    EXPECT_EQ(start->GetMeshScale(), CVector(1, 1, 1));
}

TEST_F(WorldObjects, ActiveObjectContactsAndScaledValues) {
    auto* barrel = dynamic_cast<CAWOAsset*>(assets.GetWorldObjectAsset(30001));
    ASSERT_NE(barrel, nullptr);
    EXPECT_EQ(barrel->GetContactCount(), 3);
    EXPECT_EQ(barrel->GetContactNetSize(), 4);
    EXPECT_EQ(barrel->GetMass(), 250.0f * 0.01f);
    EXPECT_EQ(barrel->GetFrictionCoefficient(), 500.0f * 0.00018f);
    // Offsets in the simulation's order: data ids 75, 78, 79, 76, 77.
    const CVector expect[] = {{0, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, -1}, {0, 0, 0}};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(barrel->GetVectorParam(i), expect[i]) << i;
}

TEST(CarAsset, LevelsSelectTableEntries) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float level;
        int index;
    } cases[] = {{-3.0f, 0}, {-0.5f, 0}, {2.9f, 2},   {6.0f, 6}, {6.9f, 6},
                 {9.0f, 6},  {1e30f, 6}, {-1e30f, 0}, {nan, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CCarAsset::LevelIndex(c.level), c.index) << c.level;
}

TEST_F(WorldObjects, CarHandlingTyresAndReload) {
    CCarAsset* car = Car(60000);
    ASSERT_NE(car, nullptr);
    EXPECT_EQ(car->GetAcceleration(), 85.0f * 0.0015f);
    EXPECT_EQ(car->GetBraking(), 80.0f * 0.00034f);
    EXPECT_EQ(car->GetSteeringRate(), 175.0f * 0.0006f);
    EXPECT_EQ(car->GetTopSpeed(), 285.0f * 0.0088f);
    EXPECT_EQ(car->GetSideGrip(), 50.0f * 0.025f);
    EXPECT_EQ(car->GetGripRatingValue(), 10.25f * 1.1f);
    EXPECT_EQ(car->GetParam8(), 1.2f * 0.7f);
    EXPECT_EQ(car->GetEngineSoundId() + car->GetHornSoundId(), 57900 + 40010);
    EXPECT_EQ(car->GetTyreType(), 1);

    // Tyre type 1: top speed one entry up, 382 and 380 one down (382 is already at the bottom).
    car->ApplyTuning(1);
    EXPECT_EQ(car->GetTopSpeed(), 290.0f * 0.0088f);
    EXPECT_EQ(car->GetSideGrip(), 50.0f * 0.025f);
    EXPECT_EQ(car->GetSlideAngle(), 9.9f * 1.1f);
    EXPECT_EQ(car->GetDisplayLevel379(), 1.0f);
    EXPECT_EQ(car->GetDisplayLevel380(), 0.65f);
    car->ApplyTuning(2);
    EXPECT_EQ(car->GetTopSpeed(), 280.0f * 0.0088f);
    EXPECT_EQ(car->GetScaledParam382(), 60.0f * 0.025f);

    car->SetLivery(5);
    car->Reload(60000);
    EXPECT_EQ(car->GetLivery(), 5);
    EXPECT_EQ(car->GetDefaultLivery(), 2);
    EXPECT_EQ(car->GetTyreType(), 2);
    EXPECT_EQ(car->GetTopSpeed(), 285.0f * 0.0088f); // reloading does not tune

    CCarAsset* truck = Car(60015);
    ASSERT_NE(truck, nullptr);
    EXPECT_EQ(truck->GetTopSpeed(), 0.5f);
    truck->ApplyTuning(0);
    EXPECT_EQ(truck->GetTopSpeed(), 290.0f * 0.0088f);
}

TEST_F(WorldObjects, ScalingByPowersOfTwoIsUndoneExactly) {
    CCarAsset* car = Car(60000);
    ASSERT_NE(car, nullptr);
    car->SetParam80(0.3f);
    const auto values = [car] {
        return std::vector<float>{car->GetAcceleration(),  car->GetBraking(),  car->GetScaledParam381(),
                                  car->GetParam80(),       car->GetSideGrip(), car->GetTopSpeed(),
                                  car->GetScaledParam380()};
    };
    const std::vector<float> before = values();
    car->ScaleParameters(2, 4, 0.5f, 8, 0.25f, 16, 0.125f);
    EXPECT_EQ(values()[6], before[6] * 0.125f);
    car->ScaleParameters(0.5f, 0.25f, 2, 0.125f, 4, 0.0625f, 8);
    EXPECT_EQ(values(), before);
}

TEST_F(WorldObjects, WheelSetFollowsTheWorkshop) {
    CCarAsset* car = Car(60000);
    ASSERT_NE(car, nullptr);
    world.services.worldId = 0;
    EXPECT_EQ(car->GetWorkshopParam(), 60101);
    EXPECT_EQ(car->GetWheelPosition1(), CVector(-1.0f, 0, -1.3f));
    EXPECT_EQ(car->GetWheelAssetIdA(), 60462);
    world.services.worldId = 1;
    EXPECT_EQ(car->GetWorkshopParam(), 0);
    EXPECT_EQ(car->GetWheelPosition1(), CVector(-1.0f, 0.4f, -1.3f));
    EXPECT_EQ(car->GetWheelAssetIdA(), 60110);
}

} // namespace
