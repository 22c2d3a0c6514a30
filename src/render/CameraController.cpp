#include "render/CameraController.h"

#include "engine/Camera.h"

#include <cmath>
#include <numbers>

namespace zentrix {

CCameraController::CCameraController(CEntity* sceneRoot)
    : m_camera(new CCamera(sceneRoot, kProjectionScale)) {
    m_camera->SetNearPlane(64.0f);
    m_camera->SetPosition(100.0f, 0.0f, 0.0f);
    m_camera->SetOrientationRelative(nullptr, -1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    StopMove();
}

CCameraController::~CCameraController() {
    delete m_camera;
}

float CCameraController::Ease(float t) {
    return static_cast<float>((std::sin((2.0 * t - 1.0) * std::numbers::pi / 2.0) + 1.0) * 0.5);
}

void CCameraController::Update() {
    if (m_moving) {
        // A move of no frames has nothing to blend: it lands on its targets at once.
        float t = m_total == 0 ? 0.0f : static_cast<float>(m_remaining) / static_cast<float>(m_total);
        if (m_smooth)
            t = Ease(t);
        const float s = 1.0f - t;
        const CVector position = m_startPosition * t + m_targetPosition * s;
        CVector direction = m_startDirection * t + m_targetDirection * s;
        CVector up = m_startUp * t + m_targetUp * s;
        const float at[3] = {position.x, position.y, position.z};
        m_camera->SetPositionVector(at);
        // Blending between opposite vectors passes through zero; the camera keeps its last orientation
        // for that step rather than losing it.
        if (!direction.IsZero() && !up.IsZero()) {
            direction.Normalise();
            up.Normalise();
            m_camera->SetOrientation(direction.x, direction.y, direction.z, up.x, up.y, up.z);
        }
        if (m_remaining == 0)
            m_moving = false;
        else
            --m_remaining;
    }
    float position[3];
    m_camera->GetPosition(position);
    m_camera->SetNearPlane(position[1] <= 200.0f ? 2.0f : position[1] - 200.0f);
}

void CCameraController::SetPosition(float x, float y, float z) {
    m_camera->SetPosition(x, y, z);
    m_remaining = 0;
}

void CCameraController::SetOrientation(CVector direction, CVector up) {
    m_camera->SetOrientation(direction.x, direction.y, direction.z, up.x, up.y, up.z);
    m_remaining = 0;
}

void CCameraController::LookAt(float x, float y, float z) {
    CVector p;
    GetPosition(p);
    CVector d(x - p.x, y - p.y, z - p.z);
    CVector up(d.x, 1.0f - d.y, d.z);
    d.SafeNormalise();
    up.SafeNormalise();
    m_camera->SetOrientation(d.x, d.y, d.z, up.x, up.y, up.z);
    m_remaining = 0;
}

void CCameraController::StartMove(std::uint32_t frames, CVector targetPosition, CVector targetDirection,
                                  const CVector* targetUp, bool smooth) {
    StopMove();
    m_moving = true;
    m_smooth = smooth;
    m_remaining = m_total = frames;
    m_targetPosition = targetPosition;
    m_targetDirection = targetDirection;
    m_targetUp =
        targetUp ? *targetUp : CVector(targetDirection.x, 1.0f - targetDirection.y, targetDirection.z);
}

void CCameraController::StopMove() {
    m_moving = false;
    m_remaining = m_total = 0;
    GetPosition(m_startPosition);
    GetDirection(m_startDirection);
    GetUpVector(m_startUp);
    m_targetPosition = m_startPosition;
    m_targetDirection = m_startDirection;
    m_targetUp = m_startUp;
}

void CCameraController::GetPosition(CVector& out) const {
    float p[3];
    m_camera->GetPosition(p);
    out.Set(p[0], p[1], p[2]);
}

void CCameraController::GetDirection(CVector& out) const {
    float d[3];
    m_camera->GetDirection(d);
    out.Set(d[0], d[1], d[2]);
}

void CCameraController::GetUpVector(CVector& out) const {
    float d[3], u[3];
    m_camera->GetOrientation(d, u);
    out.Set(u[0], u[1], u[2]);
}

void CCameraController::SetNearPlane(float distance) {
    if (m_camera)
        m_camera->SetNearPlane(distance);
}

} // namespace zentrix
