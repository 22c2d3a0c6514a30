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
        if (!car)
            car = std::make_unique<CWorldObject>(60000, 0);
        car->SetPositionVector(position);
        return *car;
    }
    CVector EnginePosition() const {
        CVector p;
        engine.GetPosition(p);
        return p;
    }
    // The updates a running move of the engine camera takes to land: a move of n frames blends over n
    // and lands on the next.
    int UpdatesToLand() {
        int frames = 0;
        while (engine.IsMoving() && frames < 1000) {
            engine.Update();
            ++frames;
        }
        return frames;
    }

    CCameraController engine{nullptr};
    std::array<std::unique_ptr<CWorldObject>, 5> cars;
    CRaceCamMan cams{&engine, [this](int slot) {
                         return slot >= 0 && slot < 5 ? cars[static_cast<std::size_t>(slot)].get() : nullptr;
                     }};
};

TEST(RaceCamMoves, MovesCountThirtyFramesASecondInWholeFrames) {
    const std::pair<int, unsigned> cases[] = {{2300, 69}, {3000, 90}, {500, 15}, {34, 1},
                                              {33, 0},    {25, 0},    {0, 0},    {-40, 0}};
    for (const auto& [ms, frames] : cases)
        EXPECT_EQ(CRaceCamMan::MoveFrames(ms), frames) << ms;
}

TEST_F(RaceCams, TheChaseCameraBlendsInAndSwitchingToItAgainChangesNothing) {
    Car(0, CVector(10, 2, 30));
    cams.CaptureStartView();
    cams.SetCamera(CRaceCamMan::kChase, true, 2300);
    EXPECT_EQ(cams.GetCameraType(), CRaceCamMan::kChase);
    EXPECT_EQ(cams.GetMoveDuration(), 2300);
    EXPECT_TRUE(cams.IsCameraMoving());
    cams.SetCamera(CRaceCamMan::kChase, true, 500);
    EXPECT_EQ(cams.GetMoveDuration(), 2300);
    // While the engine camera moves the ticks only count time.
    cams.Update(40);
    EXPECT_EQ(cams.GetElapsed(), 40);
    EXPECT_EQ(cams.GetLastPosition(), CVector());
    EXPECT_EQ(UpdatesToLand(), 69 + 1);
    EXPECT_EQ(EnginePosition(), CVector(10 - 148, 2, 30));
}

TEST_F(RaceCams, TheChaseCameraPlacesStepsOf64At40MsAndCatchesUpOnLongerOnes) {
    CWorldObject& car = Car(0, CVector(10, 2, 30));
    cams.CaptureStartView();
    cams.SetCamera(CRaceCamMan::kChase, false, 2300);
    EXPECT_EQ(cams.GetMoveDuration(), -1);
    // The first tick only records where the camera would be.
    cams.Update(40);
    EXPECT_EQ(EnginePosition(), CVector(1, 2, 3));
    EXPECT_EQ(cams.GetLastPosition(), CVector(10 - 148, 2, 30));
    const struct {
        float step;
        bool placed;
    } steps[] = {{64.0f, true}, {10.0f, true}, {64.5f, false}};
    float x = 10;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        x += s.step;
        car.SetPositionVector(CVector(x, 2, 30));
        cams.Update(40);
        EXPECT_EQ(cams.IsCameraMoving(), !s.placed);
        if (s.placed)
            EXPECT_EQ(EnginePosition(), CVector(x - 148, 2, 30));
        CVector direction;
        engine.GetDirection(direction);
        EXPECT_EQ(direction, CVector(1, 0, 0));
        EXPECT_EQ(cams.GetLastPosition(), CVector(x - 148, 2, 30));
    }
    EXPECT_EQ(cams.GetMoveDuration(), CRaceCamMan::kCatchUpMs);
    EXPECT_EQ(UpdatesToLand(), 15 + 1);
    EXPECT_EQ(EnginePosition(), CVector(x - 148, 2, 30));
}

TEST_F(RaceCams, WithoutACarNothingMoves) {
    cams.SetCamera(CRaceCamMan::kChase, true, 2300);
    EXPECT_FALSE(cams.IsCameraMoving());
    cams.Update(40);
    cams.SetCamera(CRaceCamMan::kLapOfHonour, false, 2300);
    cams.Update(40);
    EXPECT_EQ(cams.GetLastPosition(), CVector());
    EXPECT_EQ(EnginePosition(), CVector(1, 2, 3));
    cams.SetCamera(CRaceCamMan::kNone, true, 3000);
    EXPECT_EQ(cams.GetCameraType(), CRaceCamMan::kNone);
    cams.Update(40);
    EXPECT_EQ(cams.GetElapsed(), 0);
}

TEST_F(RaceCams, TheLapOfHonourOrbitCirclesTheCarsAndWaitsATickAfterTheCut) {
    Car(0, CVector(0, 5, 0));
    Car(3, CVector(20, 7, 40));
    cams.CaptureStartView();
    cams.SetCamera(CRaceCamMan::kChase, false, 2300);
    cams.Update(40);
    cams.Update(40);
    const CVector chase = EnginePosition();
    EXPECT_EQ(chase, CVector(-148, 5, 0));

    // The orbit starts far from the chase camera: one tick leaves the engine camera still.
    cams.SetCamera(CRaceCamMan::kLapOfHonour, false, 2300);
    cams.Update(0);
    EXPECT_EQ(EnginePosition(), chase);
    EXPECT_FALSE(cams.IsCameraMoving());
    // At t = 0 the camera stands 170 beyond the centre (10, 5, 20) in z, pushed 30 out and 2 up.
    EXPECT_EQ(cams.GetLastPosition(), CVector(40, 80, 220));
    cams.Update(40);
    const CVector next = EnginePosition();
    EXPECT_NEAR(next.x, 41.5f, 1.0f);
    EXPECT_NEAR(next.z, 220.0f, 1.0f);
    CVector direction;
    engine.GetDirection(direction);
    EXPECT_GT(direction.Dot(CVector(10, 5, 20) - next), 0.99f * (CVector(10, 5, 20) - next).Length());

    // A quarter of the orbit later the camera is 170 beyond the centre in x.
    cams.Update(7225 - 40);
    const CVector quarter = EnginePosition();
    EXPECT_NEAR(quarter.x, 150.199f, 0.01f);
    EXPECT_NEAR(quarter.y, 76.424f, 0.01f);
    EXPECT_NEAR(quarter.z, -9.801f, 0.01f);
    for (int tick = 0; tick < 300; ++tick) {
        cams.Update(40);
        EXPECT_NEAR(EnginePosition().y, 78.0f, 2.0f + 1e-4f);
    }
}

} // namespace
