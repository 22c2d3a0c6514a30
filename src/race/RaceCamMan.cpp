#include "race/RaceCamMan.h"

#include "render/CameraController.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zentrix {

namespace {

// The farthest the engine camera is placed in one tick without a move: 40 units per 25 ms.
float MaxStep(int ms) {
    return static_cast<float>(ms) * 40.0f / 25.0f;
}

float Distance(const CVector& a, const CVector& b) {
    return (b - a).Length();
}

} // namespace

CRaceCamMan::CRaceCamMan(CCameraController* camera, CarLookup cars)
    : m_engineCamera(camera), m_cars(cars ? std::move(cars) : CarLookup(&CWorldMan::GetCar)) {}

CRaceCamMan::~CRaceCamMan() = default;

CWorldObject* CRaceCamMan::GetCar(int slot) const {
    return m_cars(slot);
}

std::uint32_t CRaceCamMan::MoveFrames(int ms) {
    // 30 frames a second, counted in whole numbers so that 2300 ms is 69 frames, not 68.99.
    return ms > 0 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(ms) * 30 / 1000) : 0u;
}

void CRaceCamMan::SetCamera(int type, bool blend, int blendMs, bool /*temporary*/, int /*temporaryMs*/) {
    if (m_camera && m_camera->GetType() == type)
        return;
    m_camera.reset();
    if (type == kChase)
        m_camera = std::make_unique<CLookAheadCam>(*this);
    else if (type == kLapOfHonour)
        m_camera = std::make_unique<CLapOfHonourCam>(*this);
    m_elapsed = 0;
    if (!m_camera)
        return;
    m_camera->Reset();
    if (blend) {
        SCamState state;
        if (m_camera->Update(state, 25))
            StartTimedMove(state, blendMs);
    } else {
        m_moveDuration = -1;
    }
}

void CRaceCamMan::Update(int ms) {
    if (!m_camera)
        return;
    m_elapsed += ms;
    if (IsCameraMoving())
        return;
    SCamState state;
    if (m_camera->Update(state, ms))
        Apply(state, ms);
}

void CRaceCamMan::CaptureStartView() {
    if (!m_engineCamera)
        return;
    m_engineCamera->GetDirection(m_startDirection);
    m_engineCamera->GetUpVector(m_startUp);
}

bool CRaceCamMan::IsCameraMoving() const {
    return m_engineCamera && m_engineCamera->IsMoving();
}

void CRaceCamMan::StartTimedMove(const SCamState& state, int ms) {
    m_moveDuration = ms;
    if (m_engineCamera)
        m_engineCamera->StartMove(MoveFrames(ms), state.position, state.direction, &state.up, true);
}

void CRaceCamMan::Apply(const SCamState& state, int ms) {
    // Nothing is placed until a position has been applied once: the first tick only records it.
    if (!(m_lastPosition == CVector())) {
        if (Distance(m_lastPosition, state.position) <= MaxStep(ms)) {
            if (m_engineCamera) {
                m_engineCamera->SetPosition(state.position);
                m_engineCamera->SetOrientation(state.direction, state.up);
            }
        } else if (m_camera->GetType() == kChase) {
            // The car jumped (a respawn): catch up over a short move and start following afresh.
            StartTimedMove(state, kCatchUpMs);
            m_camera->Reset();
        }
    }
    m_lastPosition = state.position;
    m_lastDirection = state.direction;
}

void CRaceCamMan::CLookAheadCam::Reset() {
    m_car = nullptr;
    m_previous = CVector();
    m_current = CVector();
}

bool CRaceCamMan::CLookAheadCam::Update(SCamState& state, int /*ms*/) {
    CWorldObject* car = m_manager.GetCar(0);
    if (!car)
        return false;
    const CVector position = car->BodyPosition();
    // A new car (or the first update after a reset) has no earlier position but its own.
    m_previous = m_car == car ? m_current : position;
    m_car = car;
    m_current = position;
    const CVector back = m_manager.GetStartDirection() * kDistance;
    state.position = position - back;
    state.direction = position - state.position;
    state.up = m_manager.GetStartUp();
    return true;
}

bool CRaceCamMan::CLapOfHonourCam::Update(SCamState& state, int ms) {
    m_elapsed += ms;
    bool any = false;
    float minX = 0, maxX = 0, minZ = 0, maxZ = 0, y = 0;
    for (int slot = 0; slot < CWorldMan::kCarSlots; ++slot) {
        const CWorldObject* car = m_manager.GetCar(slot);
        if (!car)
            continue;
        const CVector p = car->BodyPosition();
        if (!any) {
            minX = maxX = p.x;
            minZ = maxZ = p.z;
            y = p.y;
            any = true;
        }
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minZ = std::min(minZ, p.z);
        maxZ = std::max(maxZ, p.z);
    }
    if (!any)
        return false;
    const CVector centre((minX + maxX) * 0.5f, y, (minZ + maxZ) * 0.5f);
    constexpr double kTurn = 2.0 * std::numbers::pi;
    const double t = static_cast<double>(m_elapsed);
    const double angle = t * kTurn / kOrbitMs;
    const double wobble = std::cos(t * kTurn / kWobbleMs) * kWobble;
    state.position = CVector(static_cast<float>(centre.x + std::sin(angle) * kRadius + wobble),
                             static_cast<float>(kHeight + std::cos(t * kTurn / kBobMs) * kBob),
                             static_cast<float>(centre.z + std::cos(angle) * kRadius + wobble));
    state.direction = centre - state.position;
    state.up = CVector(0.0f, 1.0f, 0.0f);
    return true;
}

} // namespace zentrix
