#include "race/FactoryDriver.h"

#include "race/RaceRoute.h"
#include "race/RacerCar.h"
#include "race/RouteNodeMan.h"
#include "race/Steering.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

namespace {

constexpr int kReleased = -127;
constexpr int kFull = 127;

float FlatDistance(const CVector& a, const CVector& b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dz = static_cast<double>(a.z) - b.z;
    return static_cast<float>(std::sqrt(dx * dx + dz * dz));
}

bool TurnsBefore(int routeType) {
    return routeType == CRouteNodeMan::kRouteTypeSpecial || routeType == CRouteNodeMan::kRouteTypeRamp;
}

} // namespace

CFactoryDriver::CFactoryDriver(int driverIndex, int slot, IDriverServices* services)
    : CDriver(driverIndex, slot, services) {
    SetKind(2);
    SetReady(true);
    Take(0);
}

void CFactoryDriver::Take(int node) {
    SetRouteNode(node);
    SetResetNode(GetTargetNode());
    m_ownNode = GetTargetNode();
}

void CFactoryDriver::Resume() {
    const IRaceRoute* route = Route();
    const int target = GetTargetNode();
    int from = target - 1;
    GetRouteNodeWrapped(from);
    // On a broken route a put-back at the last node wraps to node 0, across the whole track.
    const bool pastTheEnd = route && route->IsRouteBroken() && from > target;
    if (!pastTheEnd && CanTake(target)) {
        m_shuttle = kForward;
        Take(target);
    } else {
        m_shuttle = kBackward;
        Take(from);
    }
    KeepToItsSide();
}

void CFactoryDriver::KeepToItsSide() {
    if (const IRaceRoute* route = Route())
        SetTargetLane(route->GetNodeLaneWidth(GetTargetNode()) * Sign(), false);
}

int CFactoryDriver::Sign() const {
    return m_shuttle == kForward ? 1 : m_shuttle == kBackward ? -1 : 0;
}

void CFactoryDriver::Reverse(int& next) {
    if (m_shuttle == kForward) {
        m_shuttle = kBackward;
        next -= 2;
    } else if (m_shuttle == kBackward) {
        m_shuttle = kForward;
        next += 2;
    }
}

bool CFactoryDriver::CanTake(int node) const {
    const IRaceRoute* route = Route();
    const int count = NodeCount();
    if (!route || count <= 0)
        return false;
    if (node < 0 || node >= count) {
        if (route->IsRouteBroken())
            return false;
        GetRouteNodeWrapped(node);
    }
    return !TurnsBefore(NodeRouteType(node));
}

void CFactoryDriver::HoldStill() {
    const IRacerCar* car = GetCar();
    m_controls.button1 = 0;
    m_controls.button2 = 0;
    m_controls.axis2 = car && car->IsMovingForward() ? kFull : kReleased;
}

bool CFactoryDriver::Update(int /*ms*/) {
    DropDeadCar();
    if (IsRemoved())
        return false;
    IRacerCar* car = GetCar();
    if (!car || HasFinished())
        return false;
    if (!m_started) {
        m_started = true;
        SetLane(GetLateralOffset(), true);
        SetTargetLane(GetLateralOffset(), true);
        int node = -1;
        if (const IRaceRoute* route = Route();
            route && route->FindNearestNode(car->GetPosition(), node, nullptr, false))
            Take(node);
    }
    Drive();
    return true;
}

void CFactoryDriver::Drive() {
    if (IsHeld()) {
        HoldStill();
        return;
    }
    if (GetTargetNode() != m_ownNode)
        Resume();
    const IRaceRoute* route = Route();
    const int count = NodeCount();
    const int node = GetTargetNode();
    m_controls = CDriverControls{};
    if (!route || node < 0 || node >= count)
        return;

    if (CRouteNodeMan::IsNarrowingKind(route->GetNodeKind(node)))
        ClampTargetLane(false);
    const int lane = GetLane();
    const int target = GetTargetLane();
    SetLane(lane < target ? std::min(lane + kLaneStep, target) : std::max(lane - kLaneStep, target), false);

    m_controls.axis1 = kFull;
    m_controls.axis2 = kReleased;
    m_targetPoint = GetLanePosition(node, GetLane());
    IRacerCar* car = GetCar();
    const CVector position = car->GetPosition();
    if (FlatDistance(position, m_targetPoint) < kArriveDistance) {
        m_nodePassed = true;
        m_arrived = true;
        int next = node + Sign();
        if (m_shuttle != kForward && m_shuttle != kBackward) {
            m_controls.axis1 = kReleased;
            HoldStill();
        }
        if (route->IsRouteBroken() && (next < 0 || next >= count)) {
            Reverse(next);
            // A route of one node has nowhere to turn to.
            if (next < 0 || next >= count)
                next = node;
        }
        Take(next);
        next = GetTargetNode();
        if (TurnsBefore(NodeRouteType(next))) {
            Reverse(next);
            // Boxed in between two pieces it may not take, the truck waits at the node it reached.
            if (!CanTake(next))
                next = node;
            Take(next);
        }
        KeepToItsSide();
        return;
    }
    m_controls.steering = SteerTowards(car->GetHeading(), m_targetPoint - position, kHumanFullLockAngle);
}

} // namespace zentrix
