#pragma once

#include "engine/Frame.h"

namespace zentrix {

/// The frame a viewport looks at the scene from, with its projection values.
class CCamera : public CFrame {
public:
    static constexpr float kDefaultNearPlane = 8.0f;
    static constexpr float kDefaultFarPlane = 4096.0f;

    /// A camera under the owner (null: a root) with the given projection scale (the focal value).
    CCamera(CEntity* owner, float projectionScale);

    /// The focal value: how many pixels one unit at distance one covers.
    float GetProjectionScale() const { return m_projectionScale; }
    /// The field-of-view angle in degrees; 0 lets the projection follow the focal value.
    float GetFieldOfView() const { return m_fieldOfView; }
    /// Distance of the near plane.
    float GetNearPlane() const { return m_nearPlane; }
    void SetNearPlane(float distance) { m_nearPlane = distance; }
    /// The roll about the viewing axis in degrees.
    float GetRoll() const { return m_roll; }
    /// Distance of the far plane; it limits the projection only.
    float GetFarPlane() const { return m_farPlane; }

private:
    float m_projectionScale;
    float m_fieldOfView = 0.0f;
    float m_nearPlane = kDefaultNearPlane;
    float m_roll = 0.0f;
    float m_farPlane = kDefaultFarPlane;
};

} // namespace zentrix
