// The editor's camera over the sample grid, moving a camera controller of the test's own: the views and
// zooms keep the point looked at, the edge waits, pushes, speed limits and the clamp to the grid.

#include "EditorFixture.h"

#include "construct/ConstCamHelper.h"
#include "render/CameraController.h"
#include "world/WorldGrid.h"

#include <array>
#include <cmath>
#include <vector>

using namespace zentrix;
using gametest::EditorFixture;

namespace {

class ConstructCamera : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        CWorldMan::SetGridSize(0);
        CConstCamHelper::SetZoomIndex(0);
        Place(0);
    }
    /// The camera in `view` over the grid's middle at the near distance.
    void Place(int view) {
        CConstCamHelper::SetViewIndex(view);
        const CVector direction = CConstCamHelper::GetViewDirection(view);
        camera.SetPosition(kMiddle - direction * CConstCamHelper::kNearDistance);
        camera.SetOrientation(direction, CConstCamHelper::GetViewUp(view));
    }
    void TearDown() override {
        CWorldMan::SetGridSize(0);
        CConstCamHelper::SetViewIndex(0);
        CConstCamHelper::SetZoomIndex(1);
    }
    /// Runs the camera's move to its end.
    void Settle() {
        for (unsigned i = 0; i <= CConstCamHelper::kMoveFrames && camera.IsMoving(); ++i)
            camera.Update();
    }
    CVector Position() {
        CVector p;
        camera.GetPosition(p);
        return p;
    }
    CVector Ground() {
        CVector d;
        camera.GetDirection(d);
        return d.ProjectToHeight(Position(), 0.0f);
    }
    /// The clamp's corners for the current view and zoom.
    void Bounds(CVector& minimum, CVector& maximum) {
        CWorldMan::GetGridBounds(minimum, maximum);
        if (CConstCamHelper::GetViewIndex() != CConstCamHelper::kTopView) {
            CVector d;
            camera.GetDirection(d);
            d.Normalise();
            minimum = minimum - d * CConstCamHelper::GetZoomDistance();
            maximum = maximum - d * CConstCamHelper::GetZoomDistance();
        }
    }

    const CVector kMiddle{12.0f, 0.0f, 12.0f};
    CCameraController camera{nullptr};
    CConstCamHelper helper{[this] { return &camera; }};
};

TEST_F(ConstructCamera, FiveTurnsComeBackAndEveryTurnKeepsTheGroundPointAndDistance) {
    const float distance = (Position() - kMiddle).Length();
    const int views[] = {4, 3, 2, 1, 0};
    for (int view : views) {
        SCOPED_TRACE(view);
        helper.NextView();
        EXPECT_TRUE(camera.IsMoving());
        Settle();
        EXPECT_EQ(CConstCamHelper::GetViewIndex(), view);
        CVector d;
        camera.GetDirection(d);
        const CVector want = CConstCamHelper::GetViewDirection(view).GetNormalised();
        EXPECT_NEAR(d.x, want.x, 1e-4f);
        EXPECT_NEAR(d.y, want.y, 1e-4f);
        EXPECT_NEAR(d.z, want.z, 1e-4f);
        EXPECT_NEAR(Ground().x, kMiddle.x, 1e-2f);
        EXPECT_NEAR(Ground().z, kMiddle.z, 1e-2f);
        EXPECT_NEAR((Position() - Ground()).Length(), distance, 1e-2f);
        EXPECT_TRUE(helper.GetVelocity().IsZero());
    }
    // The zoom keeps the ground point and takes the other distance, and back.
    for (float want : {CConstCamHelper::kFarDistance, CConstCamHelper::kNearDistance}) {
        helper.ToggleZoom();
        Settle();
        EXPECT_NEAR((Position() - Ground()).Length(), want, 1e-2f);
        EXPECT_NEAR(Ground().x, kMiddle.x, 1e-2f);
    }
}

TEST_F(ConstructCamera, ALevelCameraIsTakenIntoTheEditorsViewOverTheGridsMiddle) {
    // Another screen may leave the camera level: it looks at no ground point at all.
    camera.SetPosition(CVector(100.0f, 0.0f, 0.0f));
    camera.SetOrientation(CVector(-1.0f, 0.0f, 0.0f), CVector(0.0f, 1.0f, 0.0f));
    helper.Reset();
    Settle();
    EXPECT_NEAR(Ground().x, kMiddle.x, 1e-2f);
    EXPECT_NEAR(Ground().z, kMiddle.z, 1e-2f);
    EXPECT_NEAR((Position() - Ground()).Length(), CConstCamHelper::kNearDistance, 1e-2f);
}

TEST_F(ConstructCamera, TheEdgeWaitsHalfASecondAndLeavingItStartsTheWaitAgain) {
    // Steps of (ms, pointer x, pointer y); whether the camera has moved after the last one.
    const struct {
        std::vector<std::array<float, 3>> steps;
        bool moved;
        int timer;
    } rows[] = {
        {{{100, 0.0f, 0.5f}, {100, 0.0f, 0.5f}, {100, 0.0f, 0.5f}, {100, 0.0f, 0.5f}, {100, 0.0f, 0.5f}},
         false,
         500},
        {{{250, 0.0f, 0.5f}, {251, 0.0f, 0.5f}}, true, 501},
        {{{400, 0.0f, 0.5f}, {100, 0.5f, 0.5f}, {400, 0.0f, 0.5f}}, false, 400},
        {{{400, 0.5f, 0.999f}, {101, 0.5f, 0.999f}}, true, 501},
        {{{600, 0.995f, 0.5f}}, true, 600},
        {{{600, 0.5f, 0.5f}}, false, 0},
        {{{600, 0.02f, 0.5f}}, false, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.steps.size());
        Place(0);
        CConstCamHelper fresh([this] { return &camera; });
        fresh.Reset();
        Settle();
        const CVector before = Position();
        for (const auto& step : row.steps)
            fresh.Scroll(static_cast<int>(step[0]), step[1], step[2], true);
        EXPECT_EQ(!(Position() == before), row.moved);
        EXPECT_EQ(fresh.GetEdgeTimer(), row.timer);
    }
    // Without edge scrolling the pointer at an edge pushes nothing.
    CConstCamHelper off([this] { return &camera; });
    off.Reset();
    Settle();
    const CVector before = Position();
    for (int i = 0; i < 10; ++i)
        off.Scroll(100, 0.0f, 0.0f, false);
    EXPECT_EQ(Position(), before);
}

TEST_F(ConstructCamera, PushesMoveSidewaysAndForwardAndTheTopViewPushesAlongItsUpVector) {
    const struct {
        int view;
        float mouseX;
        float mouseY;
        CVector along; // the direction the camera must move in (x, z)
    } rows[] = {
        {4, 0.5f, 0.0f, {1.0f, 0.0f, 0.0f}},           {4, 0.5f, 1.0f, {-1.0f, 0.0f, 0.0f}},
        {4, 0.0f, 0.5f, {0.0f, 0.0f, 1.0f}},           {4, 1.0f, 0.5f, {0.0f, 0.0f, -1.0f}},
        {0, 0.5f, 0.0f, {0.445615f, 0.0f, -0.49633f}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.view) + " " + std::to_string(row.mouseX) + "," +
                     std::to_string(row.mouseY));
        Place(row.view);
        CConstCamHelper push([this] { return &camera; });
        push.Reset();
        Settle();
        const CVector before = Position();
        for (int i = 0; i < 7; ++i)
            push.Scroll(100, row.mouseX, row.mouseY, true);
        CVector moved = Position() - before;
        EXPECT_EQ(moved.y, 0.0f);
        ASSERT_GT(moved.Length(), 0.0f);
        moved.Normalise();
        CVector along = row.along;
        along.Normalise();
        EXPECT_NEAR(moved.Dot(along), 1.0f, 1e-3f);
    }
}

TEST_F(ConstructCamera, SpeedIsLimitedByGridAndZoomAndALongStepNeverTurnsItAround) {
    const struct {
        int gridSize;
        int zoom;
        float limit;
    } rows[] = {{0, 1, 20.0f}, {0, 0, 60.0f}, {1, 1, 60.0f}, {1, 0, 180.0f}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.gridSize) + " " + std::to_string(row.zoom));
        CWorldMan::SetGridSize(row.gridSize);
        CConstCamHelper::SetZoomIndex(row.zoom);
        Place(0);
        CConstCamHelper fast([this] { return &camera; });
        fast.Reset();
        Settle();
        // A pointer far past the edge pushes as hard as any frame can.
        for (int i = 0; i < 8; ++i)
            fast.Scroll(100, -50.0f, 0.5f, true);
        EXPECT_NEAR(fast.GetVelocity().Length(), row.limit, 1e-3f);
        // A step of a second off the edge stops the camera rather than sending it back.
        fast.Scroll(1000, 0.5f, 0.5f, true);
        EXPECT_TRUE(fast.GetVelocity().IsZero());
        // An ordinary frame keeps 70% of the speed.
        for (int i = 0; i < 8; ++i)
            fast.Scroll(100, -50.0f, 0.5f, true);
        fast.Scroll(100, 0.5f, 0.5f, true);
        EXPECT_NEAR(fast.GetVelocity().Length(), row.limit * 0.7f, 1e-3f);
    }
}

TEST_F(ConstructCamera, TheClampHoldsAtAnySpeedBackAlongTheViewButInTheTopView) {
    const struct {
        int view;
        int zoom;
        float mouseX;
        float mouseY;
    } rows[] = {
        {0, 0, -50.0f, 0.5f}, {0, 1, 50.0f, 0.5f},    {2, 0, 0.5f, -50.0f},
        {3, 1, 0.5f, 50.0f},  {4, 0, -50.0f, -50.0f}, {4, 1, 50.0f, 50.0f},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.view) + " " + std::to_string(row.zoom));
        CConstCamHelper::SetZoomIndex(row.zoom);
        Place(row.view);
        CConstCamHelper run([this] { return &camera; });
        run.Reset();
        Settle();
        CVector minimum, maximum;
        Bounds(minimum, maximum);
        bool reachedEdge = false;
        for (int i = 0; i < 60; ++i) {
            run.Scroll(190, row.mouseX, row.mouseY, true);
            const CVector p = Position();
            ASSERT_TRUE(p.IsInsideXZ(std::min(minimum.x, maximum.x), std::min(minimum.z, maximum.z),
                                     std::max(minimum.x, maximum.x), std::max(minimum.z, maximum.z)))
                << p.x << "," << p.z;
            const auto at = [](float a, float b) { return std::fabs(a - b) < 1e-3f; };
            reachedEdge = reachedEdge || at(p.x, minimum.x) || at(p.x, maximum.x) || at(p.z, minimum.z) ||
                          at(p.z, maximum.z);
        }
        EXPECT_TRUE(reachedEdge);
    }
}

TEST(ConstructCameraVector, PointsOnTheRectanglesEdgesAreInside) {
    const struct {
        CVector point;
        bool inside;
    } rows[] = {
        {{0.0f, 0.0f, 0.0f}, true},     {{-1.0f, 9.0f, 5.0f}, true},   {{1.0f, -9.0f, 10.0f}, true},
        {{1.0001f, 0.0f, 0.0f}, false}, {{0.0f, 0.0f, -5.0f}, true},   {{0.0f, 0.0f, -5.001f}, false},
        {{-1.001f, 0.0f, 0.0f}, false}, {{0.0f, 0.0f, 10.01f}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.point.IsInsideXZ(-1.0f, -5.0f, 1.0f, 10.0f), row.inside)
            << row.point.x << "," << row.point.z;
}

} // namespace
