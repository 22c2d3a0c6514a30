#include "engine/Camera.h"

CCamera::CCamera(CEntity* owner, float projectionScale) : CFrame(owner), m_projectionScale(projectionScale) {}
