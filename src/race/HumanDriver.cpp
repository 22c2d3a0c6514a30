#include "race/HumanDriver.h"

#include "app/IODevice.h"
#include "app/IOKeyboard.h"
#include "app/IOManager.h"
#include "race/DriverServices.h"
#include "race/RaceRoute.h"
#include "race/RacerCar.h"
#include "race/Steering.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

namespace {

/// Device indices the controller options name; 1..3 are the keyboard's three layouts.
constexpr int kDeviceIndices = 8;

float FlatDistance(const CVector& a, const CVector& b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dz = static_cast<double>(a.z) - b.z;
    return static_cast<float>(std::sqrt(dx * dx + dz * dz));
}

float FullDistance(const CVector& a, const CVector& b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    const double dz = static_cast<double>(a.z) - b.z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

bool IsCorner(int kind) {
    return kind == CHumanDriver::kSmallCornerKind || kind == CHumanDriver::kLargeCornerKind;
}

int StepTowards(int value, int target, int step) {
    if (value < target)
        return std::min(value + step, target);
    return std::max(value - step, target);
}

} // namespace

CHumanDriver::CHumanDriver(int driverIndex, int slot, IDriverServices* services)
    : CDriver(driverIndex, slot, services), m_controllerSlot(slot) {
    SetKind(0);
    if (CIOManager* input = Input()) {
        const int index = input->GetControllerDevice(m_controllerSlot);
        const int entry = index >= 0 && index < kDeviceIndices ? input->EntryForDeviceIndex(index) : -1;
        // A negative entry would only reset whatever device the slot held before: no device of ours.
        CIODevice* device = entry >= 0 ? input->AssignDevice(m_controllerSlot, entry) : nullptr;
        if (device) {
            static const CIODevice::Bindings* const kLayouts[] = {
                &CIOKeyboard::kLayout1, &CIOKeyboard::kLayout2, &CIOKeyboard::kLayout3};
            if (index >= 1 && index <= 3)
                device->SetBindings(*kLayouts[index - 1]);
            m_hasDevice = true;
        }
    }
    SetReady(m_hasDevice);
    m_laneSteering = !(services && services->IsFreeForm());
    SetRouteNode(0);
    SetLaneLock(true);
}

CHumanDriver::~CHumanDriver() {
    if (CIODevice* device = GetDevice())
        device->CloseInputLog();
}

CIOManager* CHumanDriver::Input() const {
    IDriverServices* services = Services();
    return services ? services->GetInputManager() : nullptr;
}

CIODevice* CHumanDriver::GetDevice() const {
    CIOManager* input = m_hasDevice ? Input() : nullptr;
    return input ? input->GetDevice(m_controllerSlot) : nullptr;
}

bool CHumanDriver::IsReady() const {
    return CDriver::IsReady() && GetDevice() != nullptr;
}

int CHumanDriver::PlayerSteering() const {
    const CIODevice* device = GetDevice();
    return device ? device->GetSteering() : 0;
}

void CHumanDriver::GetControls(CDriverControls& out) const {
    out = CDriverControls{};
    const CIODevice* device = GetDevice();
    if (!device)
        return;
    device->GetControls(out);
    if (!IsActive()) {
        const IRacerCar* car = GetCar();
        out.steering = 0;
        out.axis1 = -127;
        out.axis2 = IsHeld() && car && car->IsMovingForward() ? 127 : -127;
        return;
    }
    if (m_laneSteering)
        out.steering = m_steering;
    else if (m_endOfRouteMs > 0)
        out.steering = 0;
}

void CHumanDriver::FeedbackPulse(int duration) {
    if (CIODevice* device = GetDevice())
        device->FeedbackPulse(duration);
}

void CHumanDriver::FeedbackPush(int x, int y, int z, int gain) {
    if (CIODevice* device = GetDevice())
        device->FeedbackPush(-x, -y, -z, gain);
}

void CHumanDriver::FeedbackLevel(int gain) {
    if (CIODevice* device = GetDevice())
        device->FeedbackLevel(gain);
}

bool CHumanDriver::Update(int ms) {
    const int before = GetTargetNode();
    CDriver::Update(ms);
    if (!GetCar())
        return true;
    // The base's route progress moved the target on by one: the car went by the node, out of reach or
    // not, and the lap count must see it passed.
    if (m_started && before >= 0 && GetTargetNode() != before) {
        int next = before + 1;
        if (GetRouteNodeWrapped(next) && next == GetTargetNode())
            MarkPassed(before);
    }
    if (!m_started) {
        m_started = true;
        m_laneTime = 0;
        SetLane(GetLateralOffset(), true);
        SetTargetLane(GetLateralOffset(), true);
        SetRouteNode(1);
    }
    if (m_laneSteering)
        SteerByLanes(ms);
    else
        SteerFreely(ms);
    return true;
}

bool CHumanDriver::CheckCurrentNode() {
    const IRaceRoute* route = Route();
    const int count = NodeCount();
    if (!route || count <= 0)
        return false;
    const int node = GetTargetNode();
    if (node >= 0 && node < count)
        return true;
    if (route->IsRouteBroken())
        return false;
    SetRouteNode(0);
    return true;
}

bool CHumanDriver::AdvanceWhenReached(bool flat) {
    const IRaceRoute* route = Route();
    IRacerCar* car = GetCar();
    const int node = GetTargetNode();
    const CVector nodePosition = route->GetNodePosition(node);
    const CVector position = car->GetPosition();
    const float distance = flat ? FlatDistance(position, nodePosition) : FullDistance(position, nodePosition);
    if (!(distance < kNodeReach))
        return true;
    MarkPassed(node);
    const int count = route->GetNodeCount();
    int next = node + 1;
    if (route->IsRouteBroken() && next >= count && count > 1) {
        m_endOfRouteMs = kEndOfRouteMs;
        return false;
    }
    SetTargetNode(next, true, true);
    return true;
}

void CHumanDriver::MarkPassed(int node) {
    m_nodePassed = true;
    SetLapNode(node);
    if (node == 0)
        ++m_nodeZeroPasses;
}

void CHumanDriver::RunEndOfRouteTimer(int ms) {
    IRacerCar* car = GetCar();
    if (car->GetStuntState() != -1)
        return;
    m_endOfRouteMs -= ms;
    // Run out at 0 as well: frames that divide the time evenly would otherwise reach 0 exactly, leave
    // the timer idle without the respawn, and start it again at the last node for ever.
    if (m_endOfRouteMs > 0)
        return;
    m_endOfRouteMs = 0;
    SetResetNode(0);
    car->Respawn(-1);
}

void CHumanDriver::SteerByLanes(int ms) {
    if (!IsActive())
        return;
    IRacerCar* car = GetCar();
    BuildWatchList();
    const int input = PlayerSteering();
    m_laneTime += ms;
    if (m_laneTime > kLaneLockMs || input != 0)
        SetLaneLock(false);

    const IRaceRoute* route = Route();
    if (!route || NodeCount() <= 0) {
        m_steering = 0;
        return;
    }

    // Fast through a corner the car keeps off the lanes on the side its turn flags name.
    bool towardsPositive = false;
    bool towardsNegative = false;
    int node = GetTargetNode();
    int kind = node >= 0 && node < NodeCount() ? route->GetNodeKind(node) : -1;
    if (!IsCorner(kind) && IsRoutePositionValid()) {
        node = GetTrackedNode();
        kind = route->GetNodeKind(node);
    }
    if (IsCorner(kind))
        route->GetNodeTurnFlags(node, towardsPositive, towardsNegative);
    const bool fast = car->GetSpeed() > kCornerSpeed;
    if (fast) {
        if (towardsPositive) {
            if (GetTargetLane() > 0)
                SetTargetLane(0, false);
        } else if (towardsNegative && GetTargetLane() < 0) {
            SetTargetLane(0, false);
        }
    }

    if (input < 0) {
        if (!(fast && towardsPositive))
            SetTargetLane(-kLaneLimit, false);
        m_idleTime = 0;
    } else if (input > 0) {
        if (!(fast && towardsNegative))
            SetTargetLane(kLaneLimit, false);
        m_idleTime = 0;
    } else {
        m_idleTime += ms;
        if (m_idleTime > kIdleMs)
            SetTargetLane(0, false);
    }

    if (!CheckCurrentNode())
        return;
    SetLane(StepTowards(GetLane(), GetTargetLane(), kLaneStep), false);
    ClampTargetLane(false);

    if (m_endOfRouteMs == 0) {
        m_targetPoint = GetLanePosition(GetTargetNode(), GetLane());
        if (!AdvanceWhenReached(true))
            return;
        m_targetPoint = GetLanePosition(GetTargetNode(), GetLane());
        m_steering = 0;
        const CVector position = car->GetPosition();
        if (!car->GetVelocity().IsZero() && car->GetSpeed() > kSteerSpeed)
            m_steering = SteerTowards(car->GetHeading(), m_targetPoint - position, kHumanFullLockAngle);
        const int own = GetLateralOffset();
        if (!car->IsGrounded() && own >= -kAirborneLaneLimit && own <= kAirborneLaneLimit) {
            SetLane(own, false);
            SetTargetLane(own, false);
        }
        return;
    }
    m_steering = 0;
    RunEndOfRouteTimer(ms);
}

void CHumanDriver::SteerFreely(int ms) {
    if (!IsActive() || !CheckCurrentNode())
        return;
    if (m_endOfRouteMs == 0) {
        AdvanceWhenReached(false);
        return;
    }
    RunEndOfRouteTimer(ms);
}

} // namespace zentrix
