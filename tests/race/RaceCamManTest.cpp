// The race cameras driving an engine camera: the chase camera behind the first car, the orbit of the lap
// of honour, cuts, blends and the catch-up after a jump.

#include "race/RaceCamMan.h"
#include "render/CameraController.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

using namespace zentrix;

namespace {

class RaceCams : public ::testing::Test {
protected:
    RaceCams() {
        engine.SetPosition(CVector(1, 2, 3));
        engine.SetOrientation(CVector(1, 0, 0), CVector(0, 1, 0));
    }
    CWorldObject& Car(int slot, const CVector& position) {
        auto& car = cars[static_cast<std::size_t>(slot)];
        car = std::make_unique<CWorldObject>(60000, 0);
        car->SetPositionVector(position);
        return *car;
    }
    CVector Engine() const {
        CVector p;
        engine.GetPosition(p);
        return p;
    }
    // The updates a running move takes: a move of n frames blends over n and lands on the next.
    int UpdatesToLand() {
        int updates = 0;
        for (; engine.IsMoving() && updates < 1000; ++updates)
            engine.Update();
        return updates;
    }

    CCameraController engine{nullptr};
    std::array<std::unique_ptr<CWorldObject>, 5> cars;
    CRaceCamMan cams{&engine, [this](int slot) { return cars.at(static_cast<std::size_t>(slot)).get(); }};
};

TEST_F(RaceCams, TheChaseCameraBlendsInFollowsAndCatchesUpAfterAJump) {
    EXPECT_EQ(CRaceCamMan::MoveFrames(2300) * 1000 + CRaceCamMan::MoveFrames(33), 69000u);
    CWorldObject& car = Car(0, CVector(10, 2, 30));
    cams.CaptureStartView();
    cams.SetCamera(CRaceCamMan::kChase, true, 2300);
    cams.SetCamera(CRaceCamMan::kChase, true, 500); // the same type: nothing happens
    EXPECT_EQ(cams.GetMoveDuration(), 2300);
    cams.Update(40); // while the engine camera moves the ticks only count time
    EXPECT_EQ(cams.GetElapsed(), 40);
    EXPECT_EQ(UpdatesToLand(), 69 + 1);
    EXPECT_EQ(Engine(), CVector(-138, 2, 30));

    // The first tick after the blend records; then steps up to 64 units at 40 ms are placed at once.
    cams.Update(40);
    const struct {
        float step;
        bool placed;
    } steps[] = {{64.0f, true}, {10.0f, true}, {64.5f, false}};
    float x = 10;
    for (const auto& s : steps) {
        x += s.step;
        car.SetPositionVector(CVector(x, 2, 30));
        cams.Update(40);
        EXPECT_EQ(cams.IsCameraMoving(), !s.placed) << s.step;
        EXPECT_EQ(cams.GetLastPosition(), CVector(x - 148, 2, 30));
        if (s.placed)
            EXPECT_EQ(Engine(), CVector(x - 148, 2, 30));
    }
    CVector direction;
    engine.GetDirection(direction);
    EXPECT_EQ(direction, CVector(1, 0, 0));
    EXPECT_EQ(cams.GetMoveDuration(), CRaceCamMan::kCatchUpMs);
    EXPECT_EQ(UpdatesToLand(), 15 + 1);
    EXPECT_EQ(Engine(), CVector(x - 148, 2, 30));
}

TEST_F(RaceCams, WithoutACarNothingMoves) {
    cams.SetCamera(CRaceCamMan::kChase, true, 2300);
    EXPECT_FALSE(cams.IsCameraMoving());
    cams.Update(40);
    cams.SetCamera(CRaceCamMan::kLapOfHonour, false, 2300);
    cams.Update(40);
    EXPECT_EQ(cams.GetLastPosition(), CVector());
    EXPECT_EQ(Engine(), CVector(1, 2, 3));
    cams.SetCamera(CRaceCamMan::kNone, true, 3000);
    EXPECT_EQ(cams.GetCameraType(), CRaceCamMan::kNone);
}

TEST_F(RaceCams, TheLapOfHonourOrbitCirclesTheCarsAndWaitsATickAfterTheCut) {
    Car(0, CVector(0, 5, 0));
    Car(3, CVector(20, 7, 40));
    cams.CaptureStartView();
    cams.SetCamera(CRaceCamMan::kChase, false, 2300);
    cams.Update(40);
    cams.Update(40);
    EXPECT_EQ(Engine(), CVector(-148, 5, 0));

    // The orbit starts far from the chase camera: one tick leaves the engine camera still. At t = 0 it
    // stands 170 beyond the centre (10, 5, 20) in z, pushed 30 out and 2 up.
    cams.SetCamera(CRaceCamMan::kLapOfHonour, false, 2300);
    cams.Update(0);
    EXPECT_EQ(Engine(), CVector(-148, 5, 0));
    EXPECT_EQ(cams.GetLastPosition(), CVector(40, 80, 220));
    cams.Update(40);
    EXPECT_NEAR(Engine().x, 41.5f, 0.1f);
    CVector direction;
    engine.GetDirection(direction);
    EXPECT_NEAR(direction.Dot((CVector(10, 5, 20) - Engine()).GetNormalised()), 1.0f, 1e-4f);

    // A quarter of the orbit on, it is 170 beyond the centre in x.
    cams.Update(7225 - 40);
    EXPECT_NEAR(Engine().x, 150.199f, 0.01f);
    EXPECT_NEAR(Engine().y, 76.424f, 0.01f);
    EXPECT_NEAR(Engine().z, -9.801f, 0.01f);
    for (int tick = 0; tick < 150; ++tick) {
        cams.Update(40);
        EXPECT_NEAR(Engine().y, 78.0f, 2.0001f);
    }
}

} // namespace
