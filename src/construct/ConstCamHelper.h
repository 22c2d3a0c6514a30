#pragma once

#include "construct/ConstructCamera.h"
#include "foundation/math/Vector.h"

#include <functional>

namespace zentrix {

class CCameraController;

/// The track editor's camera: it looks at the grid from one of five preset views (four oblique ones a
/// quarter turn apart and one straight down) at a near or a far distance, scrolls while the pointer rests
/// at a screen edge, and keeps the camera over the grid. It moves the engine's camera controller and
/// draws nothing. The view and the distance are kept for the whole run, so the editor comes back as it
/// was left.
class CConstCamHelper : public IConstructCamera {
public:
    /// Where the camera controller is found when the camera moves (null: nothing moves).
    using ControllerSource = std::function<CCameraController*()>;

    static constexpr int kViewCount = 5;
    /// The view straight down.
    static constexpr int kTopView = 4;
    /// The distances of the near (0) and the far (1) zoom.
    static constexpr float kNearDistance = 180.0f;
    static constexpr float kFarDistance = 675.0f;
    /// Frames a view or zoom change takes.
    static constexpr unsigned kMoveFrames = 25;
    /// Milliseconds the pointer must rest at an edge before the view scrolls.
    static constexpr int kEdgeWait = 500;
    /// The pointer is at an edge within this fraction of the screen.
    static constexpr float kEdgeBand = 0.01f;
    /// The speed limit per frame before the grid and zoom factors.
    static constexpr float kBaseSpeed = 20.0f;
    /// The share of the velocity lost per millisecond.
    static constexpr float kDrag = 0.003f;

    explicit CConstCamHelper(ControllerSource controller);

    /// The current view at the current distance, from the ground point the camera looks at now.
    void Reset() override;
    /// The next view (0 -> 4 -> 3 -> 2 -> 1 -> 0) over the same ground point at the same distance.
    void NextView() override;
    /// The other distance over the same ground point.
    void ToggleZoom() override;
    /// One frame of edge scrolling (nothing while a view or zoom change runs).
    void Scroll(int ms, float mouseX, float mouseY, bool edgeScrolling) override;
    void Stop() override {}

    /// The position kept over the grid: x and z within the grid's corners, moved back along the view
    /// (but in the top view) so that the point looked at stays over the grid.
    CVector ClampToGrid(CVector position, CVector direction) const;

    /// The direction and up vector of a preset view (view 0 outside 0..4).
    static CVector GetViewDirection(int view);
    static CVector GetViewUp(int view);
    static float GetZoomDistance() { return s_zoom == 0 ? kNearDistance : kFarDistance; }
    static int GetViewIndex() { return s_view; }
    static int GetZoomIndex() { return s_zoom; }
    /// Sets the run's view and zoom (clamped), as the editor would find them.
    static void SetViewIndex(int view);
    static void SetZoomIndex(int zoom);

    int GetEdgeTimer() const { return m_edgeTimer; }
    CVector GetPosition() const { return m_position; }
    CVector GetVelocity() const { return m_velocity; }

private:
    /// The zoom step: the camera moved along its view to the zoom distance from its ground point.
    void MoveToZoomDistance();
    /// The camera's direction when it looks down at the ground, else the current preset's; and the point
    /// of the ground it looks at (the grid's middle when it looks at none).
    void GetGroundView(CCameraController& camera, CVector& direction, CVector& up, CVector& ground) const;

    static inline int s_view = 0;
    static inline int s_zoom = 1;

    ControllerSource m_controller;
    int m_edgeTimer = 0;
    CVector m_position;
    CVector m_velocity;
};

} // namespace zentrix
