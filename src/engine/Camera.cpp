#include "engine/Camera.h"

namespace zentrix {

CCamera::CCamera(CEntity* owner, float projectionScale) : CFrame(owner), m_projectionScale(projectionScale) {}

} // namespace zentrix
