// Track pieces in the world: the sound played to the cars near them, their scene lights, and the volumes
// through which stunt pieces find the cars on them.

#include "TrackDoubles.h"

#include "render/EngineMan.h"
#include "world/BoundingVolume.h"
#include "world/StuntTrackObject.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zentrix;

namespace {

/// A stunt piece whose small box, 20 ahead of it along its direction, finds the cars (a box meets a
/// sphere that holds one of its corners).
class ProbePiece : public CStuntTrackObject {
public:
    explicit ProbePiece(int typeId) : CStuntTrackObject(typeId) {}
    bool Create() override {
        CStuntTrackObject::Create();
        CBoundingVolumeDesc desc;
        desc.kind = CBoundingVolumeDesc::kBox;
        desc.sizes = {2.0f, 2.0f, 2.0f};
        m_box = MakeStuntVolume(desc, CVector(-20.0f, 0.0f, 0.0f));
        return true;
    }
    std::vector<CActiveWorldObject*> Cars() {
        std::vector<CActiveWorldObject*> cars;
        if (m_box)
            FindCarsIn(*m_box, cars);
        return cars;
    }

private:
    std::unique_ptr<CBoundingVolume> m_box;
};

class TrackPieces : public worldtest::TrackFixture {
protected:
    worldtest::TestCar* Car(float x, float z, int slot = 0) {
        auto* car = dynamic_cast<worldtest::TestCar*>(CWorldMan::CreateWorldObject(60090, x, 0, z, -1));
        EXPECT_NE(car, nullptr);
        car->slot = slot;
        return car;
    }
    void SetUp() override {
        worldtest::TrackFixture::SetUp();
        services.sounds = &heard;
    }
    worldtest::Log& Played() { return heard.played; }
    worldtest::RecordingSounds heard;
};

TEST_F(TrackPieces, ASoundingPiecePlaysToEveryCarStrictlyWithinHearing) {
    assets->SetWorld(0, true);
    const struct {
        int typeId, soundId;
    } sounds[] = {{15241, 55011}, {15242, 55006}, {15243, -1}, {15244, 51120}, {15246, -1}, {15201, -1}};
    for (const auto& c : sounds) {
        auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(c.typeId, 0, 0, 0, -1));
        ASSERT_NE(piece, nullptr);
        EXPECT_EQ(piece->GetSoundId(), c.soundId) << c.typeId;
        CWorldMan::RemoveObject(piece);
    }

    CTrackObject* pad = builder.PlaceTrackPiece(15244, 3, 3, 0);
    ASSERT_NE(pad, nullptr);
    const CVector at = pad->Position();
    Car(at.x + 89.9f, at.z, 0);
    Car(at.x, at.z - 90.0f, 1);
    Car(at.x + 60.0f, at.z + 60.0f, 2); // 84.9 away
    Car(at.x - 95.0f, at.z, 3);
    // An active object that is no car is not played to.
    ASSERT_NE(CWorldMan::CreateWorldObject(30031, at.x, 0, at.z, -1), nullptr);
    pad->Update(40);
    EXPECT_EQ(Played(), (worldtest::Log{"at 51120 loop slot 0", "at 51120 loop slot 2"}));
    // Also while the race stands paused.
    Race()->paused = true;
    Played().clear();
    pad->Update(40);
    EXPECT_EQ(Played().size(), 2u);
}

TEST_F(TrackPieces, LightsShowInTheEditorOnLampsOnlyAndGoWithTheirPiece) {
    assets->SetWorld(0, true);
    CTrackObject* lamp = builder.PlaceTrackPiece(15272, 3, 3, 0);
    CTrackObject* lit = builder.PlaceTrackPiece(15246, 4, 3, 0);
    ASSERT_TRUE(lamp && lit);
    // Two lights of the lamp: a radius that overflows and a negative one make none.
    plat::raster::Light light;
    const int handles[] = {lamp->GetLightHandle(0), lamp->GetLightHandle(1)};
    for (int slot = 0; slot < CTrackObject::kLightSlots; ++slot)
        EXPECT_EQ(lamp->GetLightHandle(slot) != -1, slot < 2) << slot;
    ASSERT_TRUE(engine->GetLight(handles[1], light));
    EXPECT_EQ(light.type, plat::raster::LightType::Point);
    EXPECT_EQ(light.range, 15.0f);
    EXPECT_EQ(light.attenuation0, 1.0f);
    EXPECT_EQ(light.attenuation1, 0.0f);
    EXPECT_NEAR(light.diffuse.g, 128.0f / 255.0f, 1e-6f);
    EXPECT_EQ(light.diffuse.a, 0.0f);
    EXPECT_NEAR(light.position[1], lamp->Position().y + 10.0f, 1e-4f);
    EXPECT_NEAR(lamp->GetLightReach(), std::sqrt(109.0f) + 20.0f, 1e-4f);
    // The lit straight waits for a race; once one has started, updating lights it.
    EXPECT_EQ(lit->GetLightHandle(0), -1);
    Race()->started = true;
    lit->UpdateLights();
    EXPECT_NE(lit->GetLightHandle(0), -1);
    // Lit again, a slot takes the place of its old light rather than adding one.
    const int before = lit->GetLightHandle(0);
    lit->UpdateLights();
    EXPECT_EQ(lit->GetLightHandle(0), before);

    builder.RemoveTrackPiece(3, 3);
    for (int handle : handles)
        EXPECT_FALSE(engine->GetLight(handle, light)) << handle;

    // An engine with every light taken leaves the slot empty.
    while (engine->AddLight(light) != -1) {
    }
    CTrackObject* full = builder.PlaceTrackPiece(15272, 5, 5, 0);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full->GetLightHandle(0), -1);
}

TEST_F(TrackPieces, AStuntPieceFindsTheCarsInItsVolumeTurnedWithIt) {
    auto owned = std::make_unique<ProbePiece>(15201);
    ProbePiece& piece = *owned;
    piece.Create();
    piece.SetPosition(10.0f, 0.0f, 10.0f);
    worldtest::TestCar* car = Car(0, 0);
    ASSERT_NE(CWorldMan::CreateWorldObject(30031, 0, 0, 0, -1), nullptr);
    const CVector ahead[] = {{0, 0, -20}, {-20, 0, 0}, {0, 0, 20}, {20, 0, 0}};
    for (int r = 0; r < 4; ++r) {
        piece.SetRotation(r);
        for (int side : {1, -1}) {
            const CVector at = piece.Position() + ahead[r] * static_cast<float>(side);
            car->SetPosition(at.x, 0.0f, at.z);
            for (const auto& object : CWorldMan::GetObjectList())
                if (object->GetTypeId() == 30031)
                    object->SetPosition(at.x, 0.0f, at.z);
            const auto cars = piece.Cars();
            EXPECT_EQ(cars.size(), side == 1 ? 1u : 0u) << r << " " << side;
        }
    }
}

} // namespace
