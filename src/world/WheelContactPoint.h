#pragma once

#include "world/ContactPoint.h"

namespace zentrix {

/// A car's wheel: a contact point that steers, feels the slope only along the car's axis, ignores
/// friction in the air, and grips sideways by the angle between its travel and the car's heading.
class CWheelContactPoint : public CContactPoint {
public:
    CWheelContactPoint() = default;
    ~CWheelContactPoint() override = default;

    /// As a contact point, with the largest steering angle (radians).
    void Init(const CContactPointDesc& desc, float maxSteering);
    /// Steering angle = input (-1 to 1) x the largest angle.
    void SetSteering(float input) { m_steering = input * m_maxSteering; }
    void SetMaxSteering(float angle) { m_maxSteering = angle; }
    float GetSteering() const { return m_steering; }
    float GetMaxSteering() const { return m_maxSteering; }

    /// On the ground every force counts; in the air friction does not.
    void ApplyForce(const CForce& force) override;
    /// The slope push weighted by how closely the slope falls along the car's axis.
    void ApplyGroundForce(CVector normal) override;
    /// Friction, then the sideways grip against sliding.
    void ApplyFriction() override;

    /// The speed from which the sideways grip no longer grows.
    static constexpr float kFullGripSpeed = 1.7f;

private:
    float m_maxSteering = 0.0f;
    float m_steering = 0.0f;
};

} // namespace zentrix
