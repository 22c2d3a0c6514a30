#include "race/Driver.h"

#include "foundation/base/GameStates.h"
#include "race/DriverManager.h"
#include "race/DriverServices.h"
#include "race/RaceRoute.h"
#include "race/RacerCar.h"
#include "race/RouteNodeMan.h"
#include "world/CarObject.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

float HorizontalDistance(const CVector& a, const CVector& b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dz = static_cast<double>(a.z) - b.z;
    return static_cast<float>(std::sqrt(dx * dx + dz * dz));
}

} // namespace

int CDriver::s_liveCount = 0;

CDriver::CDriver(int driverIndex, int slot, IDriverServices* services)
    : m_services(services), m_slot(slot), m_driverIndex(driverIndex) {
    ++s_liveCount;
}

CDriver::~CDriver() {
    --s_liveCount;
    SetRacerCar(nullptr);
}

int CDriver::GetLiveCount() {
    return s_liveCount;
}

bool CDriver::IsFlaggedKind(int kind) {
    // The one-way pieces (a car must enter them along their direction).
    return CRouteNodeMan::IsOneWayKind(kind);
}

void CDriver::SetCar(CCarObject* car) {
    if (car && car == m_carView.GetCarObject() && m_car == &m_carView)
        return;
    SetRacerCar(nullptr);
    m_carView.Bind(car);
    m_car = car ? &m_carView : nullptr;
}

void CDriver::SetRacerCar(IRacerCar* car) {
    if (car == m_car)
        return;
    IRacerCar* old = m_car;
    m_car = nullptr;
    if (old) {
        // Nobody watches the old car through this driver any more, and it keeps no pointer to the driver.
        if (m_manager)
            m_manager->ForgetCar(old);
        old->ForgetDriver();
    }
    if (old == &m_carView)
        m_carView.Bind(nullptr);
    m_car = car;
}

void CDriver::DropDeadCar() {
    if (CCarObject* car = GetCarObject(); car && m_car == &m_carView && car->IsDead())
        SetRacerCar(nullptr);
}

const IRaceRoute* CDriver::Route() const {
    return m_services ? m_services->GetRoute() : nullptr;
}

int CDriver::NodeCount() const {
    const IRaceRoute* route = Route();
    return route ? route->GetNodeCount() : 0;
}

int CDriver::NodeRouteType(int node) const {
    const IRaceRoute* route = Route();
    if (!route || !GetRouteNodeWrapped(node))
        return -1;
    return route->GetRouteType(route->GetNodeKind(node));
}

CVector CDriver::GetLanePosition(int node, int lane) const {
    const IRaceRoute* route = Route();
    if (!route || node < 0 || node >= route->GetNodeCount())
        return CVector();
    const CVector position = route->GetNodePosition(node);
    const CVector side = route->GetNodeSide(node);
    const float offset = static_cast<float>(lane);
    return CVector(position.x + side.x * offset, 0.0f, position.z + side.z * offset);
}

void CDriver::Report(int event) {
    if (m_services && m_car)
        m_services->ReportTaunt(m_car, event);
}

void CDriver::SetPosition(int position) {
    if (m_active && position != m_position) {
        const bool better = position < m_position;
        if (IsPlayerCharacter())
            Report(better ? kTauntPlayerPassed : kTauntPlayerDropped);
        else
            Report(better ? kTauntOtherPassed : kTauntOtherDropped);
    }
    m_position = position;
}

void CDriver::SetFinished(bool first) {
    m_winner = first;
    m_finished = true;
}

void CDriver::ReportResetTaunt() {
    if (m_active)
        Report(IsPlayerCharacter() ? kTauntPlayerReset : kTauntOtherReset);
}

bool CDriver::GetRouteNodeWrapped(int& node) const {
    const int count = NodeCount();
    // Without nodes there is no last node to wrap to.
    if (count <= 0)
        return false;
    if (node < 0)
        node = count - 1;
    else if (node >= count)
        node = 0;
    return true;
}

void CDriver::SetRouteNode(int node) {
    if (!GetRouteNodeWrapped(node))
        return;
    m_targetNode = node;
    m_previousNode = node;
    m_nextNode = node;
}

bool CDriver::UpdateRoutePosition() {
    m_routePositionValid = false;
    DropDeadCar();
    const IRaceRoute* route = Route();
    if (!m_car || !route || route->GetNodeCount() <= 0)
        return false;
    const CVector position = m_car->GetPosition();
    const int count = route->GetNodeCount();
    const bool hinted = m_nextNode >= 0 && m_nextNode < count;
    int node = -1;
    if (!route->FindNearestNode(position, node, hinted ? &m_nextNode : nullptr, false) || node < 0 ||
        node >= count)
        return false;
    m_trackedNode = node;
    m_lateralOffset = route->GetDriverLateralOffset(position, m_targetNode);
    m_routePositionValid = true;
    return true;
}

void CDriver::ResetDriver() {
    m_finished = false;
    m_winner = false;
    SetRouteNode(1);
    m_resetNode = 0;
    UpdateRoutePosition();
    SetLane(m_lateralOffset, true);
    SetTargetLane(m_lane, true);
    Reset();
}

bool CDriver::SetTargetNode(int& node, bool wrap, bool keepPrevious) {
    if (wrap && !GetRouteNodeWrapped(node))
        return false;
    m_nextNode = node;
    bool changed = false;
    if (node != m_targetNode) {
        if (keepPrevious)
            m_previousNode = m_targetNode;
        m_targetNode = node;
        changed = true;
    }
    const IRaceRoute* route = Route();
    int before = m_targetNode - 1;
    if (route && m_targetNode >= 0 && m_targetNode < NodeCount() && GetRouteNodeWrapped(before) &&
        NodeRouteType(before) != kSpecialRouteType) {
        int from = -1;
        int to = -1;
        if (route->GetSectionOfNode(before, from) && route->GetSectionOfNode(m_targetNode, to) &&
            route->CanReachSection(from, to))
            m_resetNode = before;
    }
    return changed;
}

int CDriver::ForwardRouteDistance(const IRaceRoute& route, int from, int to) {
    const int count = route.GetNodeCount();
    if (from < 0 || to < 0 || from >= count || to >= count)
        return -1;
    int distance = 0;
    for (int node = from; node != to;) {
        node = node + 1 < count ? node + 1 : 0;
        distance += route.GetNodeSpacing(node);
    }
    return distance;
}

int CDriver::RouteNodeOf(const IRacerCar* car) const {
    const IRaceRoute* route = Route();
    if (!car || !route)
        return -1;
    if (car == m_car)
        return m_routePositionValid ? m_trackedNode : m_targetNode;
    if (m_manager)
        for (int slot = 0; slot < CDriverManager::kSlots; ++slot)
            if (const CDriver* driver = m_manager->GetDriver(slot); driver && driver->GetCar() == car)
                return driver->IsRoutePositionValid() ? driver->GetTrackedNode() : -1;
    // A car no driver of the race steers: placed on the route by its position.
    int node = -1;
    if (route->FindNearestNode(car->GetPosition(), node, nullptr, false) && node >= 0 &&
        node < route->GetNodeCount())
        return node;
    return -1;
}

int CDriver::RouteDistanceTo(const IRacerCar* own, const IRacerCar* other, bool onlyAhead) const {
    const IRaceRoute* route = Route();
    const int ownNode = RouteNodeOf(own);
    const int otherNode = RouteNodeOf(other);
    if (!route || ownNode < 0 || otherNode < 0)
        return -1;
    return onlyAhead ? ForwardRouteDistance(*route, ownNode, otherNode)
                     : ForwardRouteDistance(*route, otherNode, ownNode);
}

bool CDriver::CanReachNextNode(int node) const {
    const IRaceRoute* route = Route();
    int next = node + 1;
    int from = -1;
    int to = -1;
    return route && GetRouteNodeWrapped(next) && route->GetSectionOfNode(node, from) &&
           route->GetSectionOfNode(next, to) && route->CanReachSection(from, to);
}

void CDriver::ClampTargetLane(bool force) {
    const IRaceRoute* route = Route();
    if (!route || m_targetNode < 0 || m_targetNode >= NodeCount())
        return;
    auto keepInside = [&](int node) {
        bool towardsPositive = false;
        bool towardsNegative = false;
        route->GetNodeTurnFlags(node, towardsPositive, towardsNegative);
        const int inside = std::max(0, route->GetNodeLaneWidth(node) - kCornerMargin);
        if (towardsPositive)
            m_targetLane = std::min(m_targetLane, inside);
        if (towardsNegative)
            m_targetLane = std::max(m_targetLane, -inside);
    };
    const int width = route->GetNodeLaneWidth(m_targetNode);
    m_targetLane = std::clamp(m_targetLane, -width, width);
    if (force)
        m_lane = std::clamp(m_lane, -width, width);
    keepInside(m_targetNode);
    if (m_routePositionValid && m_trackedNode >= 0 && m_trackedNode < NodeCount())
        keepInside(m_trackedNode);
}

bool CDriver::UpdateLaneLock() {
    const IRaceRoute* route = Route();
    if (m_car && m_car->GetStuntState() != -1)
        return m_laneLock;
    if (!route || !m_routePositionValid)
        return true;
    const int near = m_laneLock ? kLockedNear : kLockNear;
    if (std::abs(m_lateralOffset) <= near) {
        SetLaneLock(false);
        return m_laneLock;
    }
    int trackedSection = -1;
    int targetSection = -1;
    const bool trackedFlagged = route->GetSectionOfNode(m_trackedNode, trackedSection) &&
                                IsFlaggedKind(route->GetSectionKind(trackedSection));
    const bool targetFlagged = m_targetNode >= 0 && route->GetSectionOfNode(m_targetNode, targetSection) &&
                               IsFlaggedKind(route->GetSectionKind(targetSection));
    if (trackedFlagged) {
        SetLaneLock(false);
        return true;
    }
    if (!targetFlagged) {
        SetLaneLock(false);
        return m_laneLock;
    }
    SetLaneLock(true);
    // Heading off the road into a one-way piece: back to where the car is.
    if (trackedSection != targetSection && m_targetNode >= 0) {
        int node = m_trackedNode;
        SetTargetNode(node, false, true);
    }
    return m_laneLock;
}

void CDriver::SetLaneLock(bool locked) {
    if (m_laneLock && !locked) {
        m_lane = 0;
        m_targetLane = 0;
    }
    m_laneLock = locked;
}

void CDriver::SetLane(int lane, bool force) {
    if (!m_laneLock || force)
        m_lane = lane;
}

void CDriver::SetTargetLane(int lane, bool force) {
    if (!m_laneLock || force)
        m_targetLane = lane;
}

bool CDriver::BuildWatchList() {
    if (m_watchedCount == 0 && m_manager) {
        for (int slot = 0; slot < CDriverManager::kSlots; ++slot) {
            const CDriver* other = m_manager->GetDriver(slot);
            if (other && other != this && other->GetCar())
                AddWatched(other->GetCar());
        }
    }
    return m_watchedCount > 0;
}

bool CDriver::AddWatched(IRacerCar* car) {
    if (!car || m_watchedCount >= kMaxWatched)
        return false;
    for (int i = 0; i < m_watchedCount; ++i)
        if (m_watched[static_cast<std::size_t>(i)] == car)
            return false;
    m_watched[static_cast<std::size_t>(m_watchedCount++)] = car;
    return true;
}

void CDriver::RemoveWatched(IRacerCar* car) {
    int kept = 0;
    for (int i = 0; i < m_watchedCount; ++i) {
        IRacerCar* watched = m_watched[static_cast<std::size_t>(i)];
        if (watched != car)
            m_watched[static_cast<std::size_t>(kept++)] = watched;
    }
    for (int i = kept; i < m_watchedCount; ++i)
        m_watched[static_cast<std::size_t>(i)] = nullptr;
    m_watchedCount = kept;
}

CWorldObject* CDriver::GetWatchedTruck(int i) const {
    const IRacerCar* car = GetWatched(i);
    return car ? car->GetWorldObject() : nullptr;
}

bool CDriver::GetRouteNodeWrapped(int& node, CVector& position) const {
    int wrapped = node;
    const IRaceRoute* route = Route();
    if (!route || !GetRouteNodeWrapped(wrapped))
        return false;
    node = wrapped;
    position = route->GetNodePosition(node);
    return true;
}

IRacerCar* CDriver::GetWatched(int i) const {
    return i >= 0 && i < m_watchedCount ? m_watched[static_cast<std::size_t>(i)] : nullptr;
}

bool CDriver::Update(int ms) {
    DropDeadCar();
    // A driver whose car could not be made, or was removed, has nothing to watch or follow.
    if (!m_car)
        return true;
    if (!m_active && !m_finished)
        Report(kTauntWaiting);
    if (m_services && m_services->GetGameState() == GAMESTATE_LAP_OF_HONOUR)
        Report(IsPlayerCharacter() ? kTauntPlayerHonour : kTauntOtherHonour);
    UpdateNearNode(ms);
    if (!m_active || m_finished)
        return true;
    if (m_countdown > 0)
        m_countdown = m_countdown > ms ? m_countdown - ms : 0;
    FollowRoute();
    return Watch(ms);
}

void CDriver::UpdateNearNode(int ms) {
    m_nearNodeTimer -= ms;
    if (m_nearNodeTimer > 0)
        return;
    m_nearNodeTimer = kNearNodeMs;
    const IRaceRoute* route = Route();
    if (!route)
        return;
    const CVector position = m_car->GetPosition();
    float best = kNearNodeRadius;
    bool found = false;
    for (int node = 0; node < route->GetNodeCount(); ++node) {
        const float distance = HorizontalDistance(position, route->GetNodePosition(node));
        // Ties go to the later node.
        if (distance < kNearNodeRadius && (!found || distance <= best)) {
            best = distance;
            m_nearNode = node;
            found = true;
        }
    }
}

void CDriver::FollowRoute() {
    const IRaceRoute* route = Route();
    const int count = NodeCount();
    if (!route || count <= 0)
        return;
    // Progress: a tracked node one step ahead of the target becomes the target.
    if (m_targetNode >= 0 && !route->IsRouteBroken() && m_routePositionValid &&
        route->GetRouteSteps(m_trackedNode, m_targetNode) == 1) {
        int tracked = m_trackedNode;
        int target = m_targetNode;
        if (std::abs(tracked - target) > count / 2) {
            if (tracked < target)
                tracked += count;
            else
                target += count;
        }
        if (tracked > target)
            SetRouteNode(m_trackedNode);
    }
    // Off the route, the target moves on by one node, once, unless that node is a special or one-way
    // piece.
    const bool near = std::abs(m_lateralOffset) < kNearRoute;
    if (near && !m_nearRoute)
        m_advanceCount = 0;
    m_nearRoute = near;
    if (!near && m_targetNode >= 0 && m_advanceCount == 0) {
        int next = m_targetNode + 1;
        GetRouteNodeWrapped(next);
        if (route->GetRouteType(route->GetNodeKind(next)) != kSpecialRouteType &&
            !IsFlaggedKind(route->GetNodeKind(next))) {
            SetRouteNode(next);
            m_advanceCount = 1;
        }
    }
}

void CDriver::PutBack(const char* reason) {
    m_resetReason = reason;
    m_car->Respawn(-1);
}

bool CDriver::Watch(int ms) {
    const int stunt = m_car->GetStuntState();
    if (stunt == kStuntUntouched1 || stunt == kStuntUntouched2)
        return true;

    if (!m_car->IsGrounded()) {
        m_airTime += ms;
        m_groundTime = 0;
        if (m_airTime > kAirLimitMs) {
            PutBack("InAirTooLong");
            m_airTime = 0;
            m_sameNodeTime = 0;
            m_offRouteTime = 0;
            m_groundTime = 0;
            return false;
        }
    } else {
        m_groundTime += ms;
        if (m_groundTime > kGroundedMs)
            m_airTime = 0;
    }

    const int offset = std::abs(m_lateralOffset);
    if (m_trackedNode == m_watchdogNode) {
        m_sameNodeTime += ms;
        if (m_sameNodeTime > kStuckMs && PutBackWhenStuck()) {
            m_resetReason = "CarStuckOnTrack";
            m_sameNodeTime = 0;
            m_offRouteTime = 0;
            return false;
        }
        if (offset >= kSameNodeOffset) {
            m_offRouteTime += ms;
            if (m_offRouteTime > kSameNodeMs) {
                PutBack("CarAtSameNode");
                m_sameNodeTime = 0;
                m_offRouteTime = 0;
                return false;
            }
        }
        return true;
    }
    m_watchdogNode = m_trackedNode;
    m_sameNodeTime = 0;
    m_airTime = 0;
    if (offset > kOffRoadOffset) {
        m_offRouteTime += ms;
        if (m_offRouteTime > kOffRoadMs) {
            PutBack("CarOffRoad");
            m_offRouteTime = 0;
            return false;
        }
    } else {
        m_offRouteTime = 0;
    }
    return true;
}

bool CDriver::PutBackWhenStuck() {
    const IRaceRoute* route = Route();
    const int count = NodeCount();
    if (!route || count <= 0 || !m_routePositionValid)
        return false;
    int following = m_trackedNode + 1;
    GetRouteNodeWrapped(following);
    int here = -1;
    int there = -1;
    if (!route->GetSectionOfNode(m_trackedNode, here) || !route->GetSectionOfNode(following, there))
        return false;
    // Within one piece, or towards a piece the car cannot climb to, a respawn would not help.
    if (here == there || !route->CanReachSection(here, there))
        return false;
    int target = following;
    if (NodeRouteType(following) == kSpecialRouteType) {
        // Back over the special piece to the last ordinary node before it (at most once round the ring).
        target = m_trackedNode;
        for (int steps = 0; steps < count && NodeRouteType(target) == kSpecialRouteType; ++steps) {
            --target;
            GetRouteNodeWrapped(target);
        }
    }
    int targetSection = -1;
    if (route->GetSectionOfNode(target, targetSection) && route->CanReachSection(here, targetSection))
        m_resetNode = target;
    m_car->Respawn(-1);
    return true;
}

} // namespace zentrix
