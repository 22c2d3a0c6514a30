#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

class CCamera;
class CEntity;

/// Owns the camera the scene is drawn through and moves it: directly, or by a timed move that blends
/// position, viewing direction and up from where they are to targets over a number of rendered frames,
/// optionally eased in and out. Each update also sets the near plane by the camera's height.
class CCameraController {
public:
    /// The projection value of the game's camera.
    static constexpr float kProjectionScale = 1000.0f;

    /// A camera under `sceneRoot` (a root of its own when null) at (100, 0, 0) looking along -x.
    explicit CCameraController(CEntity* sceneRoot);
    /// Deletes the camera (taking it out of the scene).
    virtual ~CCameraController();

    CCameraController(const CCameraController&) = delete;
    CCameraController& operator=(const CCameraController&) = delete;

    /// One step of the running move, then the near plane by the camera's height.
    void Update();
    /// Places the camera; a running move lands on its targets at the next update.
    void SetPosition(float x, float y, float z);
    void SetPosition(CVector position) { SetPosition(position.x, position.y, position.z); }
    /// Turns the camera; a running move lands on its targets at the next update.
    void SetOrientation(CVector direction, CVector up);
    /// Points the camera at the point; a running move lands on its targets at the next update.
    void LookAt(float x, float y, float z);
    void LookAt(CVector point) { LookAt(point.x, point.y, point.z); }
    /// Starts a move of `frames` updates to the targets; a null up becomes (dx, 1 - dy, dz) of the
    /// target direction.
    void StartMove(std::uint32_t frames, CVector targetPosition, CVector targetDirection,
                   const CVector* targetUp, bool smooth);
    /// Ends any move where the camera is now.
    void StopMove();
    bool IsMoving() const { return m_moving; }

    /// The camera's position, direction and up in its parent's space.
    void GetPosition(CVector& out) const;
    void GetDirection(CVector& out) const;
    void GetUpVector(CVector& out) const;
    /// The camera frame the scene is rendered through.
    CCamera* GetCamera() const { return m_camera; }
    /// Sets the camera's near-plane distance.
    void SetNearPlane(float distance);

    /// The eased blend factor of a move at fraction t of its frames left.
    static float Ease(float t);

private:
    // Made under the scene root, so the tree links it, but deleted here: deleting a node unlinks it.
    CCamera* m_camera;
    std::uint32_t m_remaining = 0;
    std::uint32_t m_total = 0;
    CVector m_startPosition, m_targetPosition;
    CVector m_startDirection, m_targetDirection;
    CVector m_startUp, m_targetUp;
    bool m_smooth = false;
    bool m_moving = false;
};

} // namespace zentrix
