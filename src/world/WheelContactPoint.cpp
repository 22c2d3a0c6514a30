#include "world/WheelContactPoint.h"

#include "foundation/math/Rotation.h"
#include "world/ContactOwner.h"
#include "world/TopographyWorld.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zentrix {

namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;

/// acos of a dot product; NaN (a zero or vertical vector, rounding past 1) counts as 0.
float AngleOf(float dot) {
    const float angle = std::acos(dot);
    return std::isnan(angle) ? 0.0f : angle;
}

} // namespace

void CWheelContactPoint::Init(const CContactPointDesc& desc, float maxSteering) {
    CContactPoint::Init(desc);
    m_maxSteering = maxSteering;
}

void CWheelContactPoint::ApplyForce(const CForce& force) {
    if (m_onGround || force.GetKind() != CForce::kFriction)
        m_force += force;
    m_lastForce = m_force;
}

void CWheelContactPoint::ApplyGroundForce(CVector normal) {
    CVector f(normal.x, 0.0f, normal.z);
    if (f.IsZero())
        return;
    const CVector downhill = f.GetNormalised();
    f *= SurfaceParam(ITopographyWorld::kSurfaceSlopePush) * m_groundForceFactor;
    // Weight 1 when the slope falls along the car's axis, 0 across it.
    CVector heading = m_owner ? m_owner->GetDirection() : kDefaultDirection;
    heading.y = 0.0f;
    heading.Normalise();
    float angle = AngleOf(downhill.Dot(heading));
    if (angle > kHalfPi)
        angle = std::numbers::pi_v<float> - angle;
    const float weight = std::fabs((kHalfPi - angle) / kHalfPi);
    if (m_owner && m_owner->GetMeanContactVelocity().Length() > kSlopeSpeed)
        f.Zero();
    else
        f *= weight;
    if (!f.IsZero())
        ApplyForce(CForce(f, CForce::kExternal));
}

void CWheelContactPoint::ApplyFriction() {
    CContactPoint::ApplyFriction();
    CVector travel(m_velocity.x, 0.0f, m_velocity.z);
    if (travel.IsZero() || !m_owner)
        return;
    CVector heading = m_owner->GetDirection();
    heading.y = 0.0f;
    heading.SafeNormalise();
    // Reversing, the wheel's reference is the car's tail.
    CVector reference = heading;
    if (!m_owner->IsMovingForward())
        RotateVectorAboutAxis(heading, reference, kUpVector, std::numbers::pi_v<float>);
    travel.Normalise();
    float angle = AngleOf(travel.Dot(reference));
    // The grip pushes to the side away from the slide.
    const CVector turn = reference.Cross(travel);
    CVector side;
    RotateVectorAboutAxis(reference, side, kUpVector, turn.y > 0.0f ? -kHalfPi : kHalfPi);
    angle = std::fabs(angle);
    if (angle > kHalfPi)
        angle -= kHalfPi;
    side *= angle / kHalfPi;
    side *= SurfaceParam(ITopographyWorld::kSurfaceSideGrip);
    side *= std::min(m_velocity.Length() / kFullGripSpeed, 1.0f);
    side *= m_owner->GetWheelGripFactor();
    side *= SurfaceParam(ITopographyWorld::kSurfaceSideGripScale);
    if (m_onGround)
        ApplyForce(CForce(side, CForce::kFriction));
}

} // namespace zentrix
