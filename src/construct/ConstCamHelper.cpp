#include "construct/ConstCamHelper.h"

#include "foundation/math/Rotation.h"
#include "render/CameraController.h"
#include "world/WorldMan.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zentrix {

namespace {

/// View 0; the oblique views 1 to 3 are it turned about the vertical.
const CVector kView0Direction(0.445615f, -0.738966f, -0.49633f);
const CVector kView0Up(0.488826f, 0.673669f, -0.554273f);
constexpr float kViewTurns[] = {0.0f, 1.5707964f, 3.1415927f, 4.712389f};
/// A camera whose direction falls less steeply than this looks at no ground point worth keeping.
constexpr float kLeastDrop = -0.01f;

bool IsFinite(const CVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

CConstCamHelper::CConstCamHelper(ControllerSource controller) : m_controller(std::move(controller)) {}

CVector CConstCamHelper::GetViewDirection(int view) {
    if (view == kTopView)
        return CVector(0.0f, -1.0f, 0.0f);
    const int turn = view > 0 && view < kTopView ? view : 0;
    return RotateAboutYAxis(kView0Direction, kViewTurns[turn]);
}

CVector CConstCamHelper::GetViewUp(int view) {
    if (view == kTopView)
        return CVector(1.0f, 0.0f, 0.0f);
    const int turn = view > 0 && view < kTopView ? view : 0;
    return RotateAboutYAxis(kView0Up, kViewTurns[turn]);
}

void CConstCamHelper::SetViewIndex(int view) {
    s_view = std::clamp(view, 0, kViewCount - 1);
}

void CConstCamHelper::SetZoomIndex(int zoom) {
    s_zoom = std::clamp(zoom, 0, 1);
}

void CConstCamHelper::GetGroundView(CCameraController& camera, CVector& direction, CVector& up,
                                    CVector& ground) const {
    CVector position;
    camera.GetPosition(position);
    camera.GetDirection(direction);
    camera.GetUpVector(up);
    // A camera left level (or upwards) by another screen meets the ground nowhere: the editor then takes
    // its own view over the grid's middle rather than a point at infinity.
    if (!IsFinite(position) || !IsFinite(direction) || !IsFinite(up) || !(direction.y < kLeastDrop)) {
        direction = GetViewDirection(s_view);
        up = GetViewUp(s_view);
        CVector minimum, maximum;
        CWorldMan::GetGridBounds(minimum, maximum);
        ground = (minimum + maximum) * 0.5f;
        ground.y = 0.0f;
        return;
    }
    ground = direction.ProjectToHeight(position, 0.0f);
}

void CConstCamHelper::MoveToZoomDistance() {
    CCameraController* camera = m_controller ? m_controller() : nullptr;
    if (!camera)
        return;
    CVector direction, up, ground;
    GetGroundView(*camera, direction, up, ground);
    const CVector target = ground - direction.GetNormalised() * GetZoomDistance();
    camera->StartMove(kMoveFrames, target, direction, &up, true);
    m_position = target;
}

void CConstCamHelper::Reset() {
    MoveToZoomDistance();
    m_edgeTimer = 0;
}

void CConstCamHelper::ToggleZoom() {
    s_zoom = s_zoom == 0 ? 1 : 0;
    MoveToZoomDistance();
}

void CConstCamHelper::NextView() {
    s_view = (s_view + kViewCount - 1) % kViewCount;
    CCameraController* camera = m_controller ? m_controller() : nullptr;
    if (!camera)
        return;
    CVector oldDirection, oldUp, ground, position;
    GetGroundView(*camera, oldDirection, oldUp, ground);
    camera->GetPosition(position);
    float distance = (ground - position).Length();
    if (!std::isfinite(distance) || oldDirection.y >= kLeastDrop)
        distance = GetZoomDistance();
    const CVector up = GetViewUp(s_view);
    const CVector direction = GetViewDirection(s_view).GetNormalised();
    const CVector target = ClampToGrid(ground - direction * distance, direction);
    m_position = target;
    camera->StartMove(kMoveFrames, target, direction, &up, true);
    m_velocity = CVector();
}

void CConstCamHelper::Scroll(int ms, float mouseX, float mouseY, bool edgeScrolling) {
    CCameraController* camera = m_controller ? m_controller() : nullptr;
    if (!camera || camera->IsMoving())
        return;
    ms = std::max(ms, 0);
    float pushX = 0.0f;
    float pushZ = 0.0f;
    if (edgeScrolling) {
        if (mouseX < kEdgeBand)
            pushX = kEdgeBand - mouseX;
        else if (1.0f - mouseX < kEdgeBand)
            pushX = -(kEdgeBand - (1.0f - mouseX));
        if (mouseY < kEdgeBand)
            pushZ = kEdgeBand - mouseY;
        else if (1.0f - mouseY < kEdgeBand)
            pushZ = -(kEdgeBand - (1.0f - mouseY));
    }
    CVector acceleration;
    if (pushX != 0.0f || pushZ != 0.0f) {
        m_edgeTimer = ms > INT_MAX - m_edgeTimer ? INT_MAX : m_edgeTimer + ms;
        if (m_edgeTimer > kEdgeWait) {
            CVector direction, up;
            camera->GetDirection(direction);
            camera->GetUpVector(up);
            CVector side = direction.Cross(up);
            side.SafeNormalise();
            const CVector forward = s_view == kTopView ? up : direction;
            const float scale = static_cast<float>(ms) * GetZoomDistance() / kFarDistance;
            acceleration = side * (pushX * scale) + forward * (pushZ * scale);
        }
    } else {
        m_edgeTimer = 0;
    }
    // The drag never takes more than the whole velocity, however long the step.
    const float kept = std::max(0.0f, 1.0f - static_cast<float>(ms) * kDrag);
    m_velocity = m_velocity * kept + acceleration;
    m_velocity.y = 0.0f;

    float factor = CWorldMan::GetGridSizeIndex() != 0 ? 3.0f : 1.0f;
    if (s_zoom == 0)
        factor *= 3.0f;
    const float limit = factor * kBaseSpeed;
    const float speed = m_velocity.Length();
    if (speed > limit)
        m_velocity = m_velocity * (limit / speed);

    CVector direction;
    camera->GetDirection(direction);
    m_position = ClampToGrid(m_position + m_velocity, direction);
    camera->SetPosition(m_position);
}

CVector CConstCamHelper::ClampToGrid(CVector position, CVector direction) const {
    CVector minimum, maximum;
    CWorldMan::GetGridBounds(minimum, maximum);
    if (s_view != kTopView) {
        direction.SafeNormalise();
        const CVector back = direction * GetZoomDistance();
        minimum = minimum - back;
        maximum = maximum - back;
    }
    position.x = std::clamp(position.x, std::min(minimum.x, maximum.x), std::max(minimum.x, maximum.x));
    position.z = std::clamp(position.z, std::min(minimum.z, maximum.z), std::max(minimum.z, maximum.z));
    return position;
}

} // namespace zentrix
