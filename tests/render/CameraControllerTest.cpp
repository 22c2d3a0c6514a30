#include "render/CameraController.h"
#include "engine/Camera.h"
#include "support/VectorExpect.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

struct Pose {
    CVector position, direction, up;
};

Pose Read(const CCameraController& c) {
    Pose p;
    c.GetPosition(p.position);
    c.GetDirection(p.direction);
    c.GetUpVector(p.up);
    return p;
}

TEST(CameraControllerTest, MovesLandOnTheirTargetsAfterFramesPlusOneUpdates) {
    const CVector target(10.0f, 300.0f, -20.0f), direction(0.0f, 0.0f, -1.0f), up(0.0f, 1.0f, 0.0f);
    for (std::uint32_t frames : {0u, 1u, 4u}) {
        for (bool smooth : {false, true}) {
            SCOPED_TRACE(testing::Message() << frames << " frames, smooth " << smooth);
            CEntity root;
            CCameraController camera(&root);
            camera.SetPosition(0.0f, 0.0f, 0.0f);
            camera.SetOrientation({1.0f, 0.0f, 0.0f}, up);
            camera.StartMove(frames, target, direction, &up, smooth);
            camera.Update();
            if (frames > 0) {
                // The first update shows the start state.
                EXPECT_TRUE(VectorNear(Read(camera).position, {0.0f, 0.0f, 0.0f}));
                for (std::uint32_t i = 1; i < frames; ++i)
                    camera.Update();
                EXPECT_TRUE(camera.IsMoving());
                camera.Update();
            }
            EXPECT_FALSE(camera.IsMoving());
            const Pose p = Read(camera);
            EXPECT_TRUE(VectorNear(p.position, target));
            EXPECT_TRUE(VectorNear(p.direction, direction));
            EXPECT_TRUE(VectorNear(p.up, up));
            EXPECT_EQ(camera.GetCamera()->GetNearPlane(), 100.0f); // height 300
        }
    }
}

TEST(CameraControllerTest, EasingAndNearPlane) {
    EXPECT_FLOAT_EQ(CCameraController::Ease(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(CCameraController::Ease(0.5f), 0.5f);
    EXPECT_FLOAT_EQ(CCameraController::Ease(1.0f), 1.0f);
    EXPECT_FLOAT_EQ(CCameraController::Ease(0.25f) + CCameraController::Ease(0.75f), 1.0f);
    EXPECT_LT(CCameraController::Ease(0.1f), 0.1f);

    CCameraController camera(nullptr);
    EXPECT_EQ(camera.GetCamera()->GetNearPlane(), 64.0f);
    for (auto [height, near] : {std::pair{150.0f, 2.0f}, {200.0f, 2.0f}, {500.0f, 300.0f}}) {
        camera.SetPosition(0.0f, height, 0.0f);
        camera.Update();
        EXPECT_EQ(camera.GetCamera()->GetNearPlane(), near) << height;
    }
}

TEST(CameraControllerTest, SettersDuringAMoveLandOnItsTargets) {
    CCameraController camera(nullptr);
    const CVector target(0.0f, 50.0f, 0.0f), direction(0.0f, 0.0f, 1.0f);
    camera.StartMove(30, target, direction, nullptr, false);
    camera.Update();
    camera.SetPosition(7.0f, 7.0f, 7.0f);
    camera.Update();
    EXPECT_FALSE(camera.IsMoving());
    EXPECT_TRUE(VectorNear(Read(camera).position, target));

    // Without an up the target up is (dx, 1 - dy, dz), made square to the direction.
    camera.StartMove(0, target, {0.6f, 0.8f, 0.0f}, nullptr, false);
    camera.Update();
    EXPECT_TRUE(VectorNear(Read(camera).up, {0.8f, -0.6f, 0.0f}));
}

TEST(CameraControllerTest, BlendThroughZeroKeepsTheLastOrientation) {
    CCameraController camera(nullptr);
    const CVector up(0.0f, 1.0f, 0.0f);
    camera.SetOrientation({1.0f, 0.0f, 0.0f}, up);
    camera.StartMove(2, {0.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}, &up, false);
    for (int i = 0; i < 3; ++i) {
        camera.Update();
        const Pose p = Read(camera);
        ASSERT_FALSE(std::isnan(p.direction.x)) << i;
        EXPECT_NEAR(p.direction.Length(), 1.0f, 1e-5f) << i; // the halfway blend is zero: step skipped
    }
    EXPECT_TRUE(VectorNear(Read(camera).direction, {-1.0f, 0.0f, 0.0f}));
}

} // namespace
