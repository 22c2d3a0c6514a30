// The computer driver's decisions: Think, the detections that propose a mode, the button step and the
// mode handlers.

#include "race/AIDriver.h"

#include "foundation/math/Random.h"
#include "race/AIRouteScan.h"
#include "race/ComputerCar.h"
#include "race/ComputerRoute.h"
#include "race/DriverManager.h"
#include "race/RaceRoute.h"
#include "race/RacerCar.h"
#include "world/WorldGrid.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

/// Piece kinds on which a driver never goes crazy.
bool CalmKind(int kind) {
    return kind == 2 || (kind >= 12 && kind <= 19);
}

bool SameCell(const CVector& a, const CVector& b) {
    const CVector ca = CWorldGrid::WorldToGrid(a);
    const CVector cb = CWorldGrid::WorldToGrid(b);
    return ca.x == cb.x && ca.z == cb.z;
}

float Distance(const CVector& a, const CVector& b) {
    return (a - b).Length();
}

} // namespace

void CAIDriver::Think(int ms) {
    if (m_afterFinish) {
        m_mode = kAIModeRacingLine;
        if (DetectStunt())
            HandleStunt();
        else
            HandleRacingLine();
        return;
    }
    // The first decision leaves the mode before any (which has no handler) for the racing line.
    if (m_mode == kAIModeNothing)
        m_mode = kAIModeRacingLine;
    if (!BuildWatchList()) {
        m_mode = kAIModeRacingLine;
        HandleRacingLine();
        return;
    }
    const bool finished = IsModeFinished();
    int candidate = -1;
    // Held below overflow: a Reflex beyond it (weeks) is never reached either way.
    m_decisionMs = ms > 0 && m_decisionMs < INT_MAX - ms ? m_decisionMs + ms : std::max(m_decisionMs, 0);
    if (static_cast<unsigned>(m_decisionMs) >= m_parameters.reflex) {
        m_decisionMs = 0;
        candidate = Detect(ms);
    }
    if (candidate >= 0 && AIModePriority(candidate) > AIModePriority(m_mode))
        m_mode = candidate;
    else if (finished && candidate < 0)
        m_mode = kAIModeRacingLine;
    PressButtons(ms);
    Handle(ms);
}

bool CAIDriver::IsModeFinished() {
    switch (m_mode) {
    case kAIModeCarInFront:
    case kAIModeCarInFrontOvertaking:
        return FindCarInFront(true) == nullptr;
    case kAIModeCarBehind:
    case kAIModeCarBehindBlockIt:
        return FindCarBehind() == nullptr;
    case kAIModeOncomingStuntTrack:
        return !DetectStunt();
    case kAIModeOncomingPickup:
    case kAIModeOncomingPickupGoForIt:
        return !DetectPickup();
    case kAIModeCrazy:
        return m_crazyState == -1;
    default:
        return true;
    }
}

int CAIDriver::Detect(int ms) {
    if (DetectCrazy())
        return kAIModeCrazy;
    if (DetectStunt())
        return kAIModeOncomingStuntTrack;
    if (DetectCarInFront())
        return kAIModeCarInFront;
    if (DetectPickup())
        return kAIModeOncomingPickup;
    if (!DetectCarBehind())
        return kAIModeRacingLine;
    if (RollCarBehind(ms))
        return kAIModeCarBehind;
    return kAIModeRacingLine;
}

bool CAIDriver::DetectCrazy() {
    const IRaceRoute* route = Route();
    if (route) {
        int own = OwnNode();
        int target = GetTargetNode();
        if ((GetRouteNodeWrapped(own) && CalmKind(route->GetNodeKind(own))) ||
            (GetRouteNodeWrapped(target) && CalmKind(route->GetNodeKind(target))))
            return false;
    }
    if (m_crazyState == -1) {
        if (--m_crazyRolls < 1) {
            m_crazyRolls = kCrazyRolls;
            const float chance = static_cast<float>(m_parameters.craziness) * m_attitude.crazyFactor;
            if (static_cast<float>(RandomPercent()) < chance) {
                m_crazyState = 0;
                m_crazyLaneStep = kCrazyLaneStep;
                m_crazyDuration = kCrazyMinMs + Random::Next() % kCrazyRandomMs;
            }
        }
    }
    return m_crazyState == 0;
}

bool CAIDriver::DetectStunt() {
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    m_stuntNode = -1;
    if (!route || !records || std::abs(GetLateralOffset()) > kOffRouteLimit)
        return false;
    const CAIRouteScan scan(*route, *records);
    CAIRouteScan::SFound stunt;
    if (!scan.FindStuntAhead(GetTargetNode(), stunt))
        return false;
    m_stuntNode = stunt.node;
    m_stuntDistance = stunt.distance;
    m_stuntKind = stunt.kind;
    return stunt.distance < (stunt.kind == kJumpKind ? kJumpRange : kStuntRange);
}

CAIDriver::SCarSeen CAIDriver::See(const IRacerCar* car) const {
    SCarSeen seen;
    if (!car)
        return seen;
    if (const CDriverManager* manager = GetManager())
        for (int slot = 0; slot < CDriverManager::kSlots; ++slot)
            if (const CDriver* driver = manager->GetDriver(slot); driver && driver->GetCar() == car) {
                seen.onRoute = driver->IsRoutePositionValid();
                seen.node = driver->GetTrackedNode();
                seen.offset = driver->GetLateralOffset();
                return seen;
            }
    // A car no driver of the race steers: placed on the route by its position.
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    if (route && records && route->FindNearestNode(car->GetPosition(), seen.node, nullptr, false)) {
        seen.onRoute = seen.node >= 0 && seen.node < route->GetNodeCount();
        seen.offset = records->GetLateralOffset(car->GetPosition());
    }
    return seen;
}

bool CAIDriver::IsStopped(const IRacerCar* car) const {
    if (!car)
        return false;
    if (const auto* object = dynamic_cast<const CCarObject*>(car->GetWorldObject()))
        return object->IsStopped();
    const auto* computer = dynamic_cast<const IComputerCar*>(car);
    return computer && computer->IsStopped();
}

IRacerCar* CAIDriver::FindNearestCar(bool ahead, bool sameNode) const {
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    const int own = OwnNode();
    if (!route || !records || own < 0)
        return nullptr;
    IRacerCar* nearest = nullptr;
    int nearestDistance = INT_MAX;
    int nearestOffset = 0;
    for (int i = 0; i < GetWatchedCount(); ++i) {
        IRacerCar* car = GetWatched(i);
        const SCarSeen seen = See(car);
        if (!seen.onRoute || (seen.node == own && !sameNode))
            continue;
        const int distance = RouteDistanceTo(GetCar(), car, ahead);
        if (distance >= 0 && distance < nearestDistance) {
            nearest = car;
            nearestDistance = distance;
            nearestOffset = seen.offset;
        }
    }
    if (!nearest || nearestDistance >= kCarRange || std::abs(nearestOffset) > kCarSideRange)
        return nullptr;
    return nearest;
}

IRacerCar* CAIDriver::FindCarInFront(bool sameNode) const {
    return FindNearestCar(true, sameNode);
}

IRacerCar* CAIDriver::FindCarBehind() const {
    return FindNearestCar(false, false);
}

bool CAIDriver::DetectCarInFront() {
    m_targetCar = FindCarInFront(false);
    if (!m_targetCar) {
        m_desired.axis2 = kReleased;
        return false;
    }
    // Half way between the accelerator it would take and none.
    m_desired.axis1 = (m_acceleratorLimit * m_attitude.percent / 100 + kReleased) / 2;
    return true;
}

bool CAIDriver::DetectCarBehind() {
    m_carBehind = FindCarBehind();
    if (!m_carBehind)
        return false;
    RefreshAccelerator();
    return true;
}

bool CAIDriver::DetectPickup() {
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    const int own = OwnNode();
    m_targetPickup = nullptr;
    if (!route || !records || own < 0)
        return false;
    const CAIRouteScan scan(*route, *records);
    m_world->GetPickups(m_pickups);
    int best = INT_MAX;
    for (const IComputerDriverWorld::SPickup& pickup : m_pickups)
        for (int node = 0; node < route->GetNodeCount(); ++node) {
            if (!SameCell(route->GetNodePosition(node), pickup.position))
                continue;
            const int distance = scan.ForwardDistance(own, node);
            if (distance >= 0 && distance < best) {
                best = distance;
                m_targetPickup = pickup.id;
            }
        }
    if (best >= kPickupRange) {
        m_targetPickup = nullptr;
        return false;
    }
    const float chance = static_cast<float>(m_parameters.intelligence) * m_attitude.pickupFactor;
    return static_cast<float>(RandomPercent()) < chance;
}

bool CAIDriver::RollCarBehind(int ms) {
    m_behindMs += ms;
    if (m_behindMs < kBehindRollMs)
        return false;
    m_behindMs = 0;
    if (RandomPercent() < m_parameters.blocking) {
        m_mode = kAIModeCarBehindBlockIt;
        return true;
    }
    return false;
}

void CAIDriver::Press() {
    m_desired.button1 = 1;
    if (IComputerCar* car = OwnCar())
        car->RaiseActionRequest(0);
}

void CAIDriver::PressButtons(int ms) {
    IComputerCar* car = OwnCar();
    if (!car)
        return;
    const int type = car->GetPickupType();
    const bool behindACar = m_mode == kAIModeCarInFront || m_mode == kAIModeCarInFrontOvertaking;
    if (type == -1) {
        if (m_buttonTimer > INT_MIN / 2)
            m_buttonTimer -= ms;
        if (m_buttonTimer < 0 && behindACar) {
            m_buttonTimer = kButtonMinMs + Random::Next() % kButtonRandomMs;
            Press();
        }
        return;
    }
    if (!AcceptsPickups())
        return;
    const CVector position = GetCar()->GetPosition();
    // Without a target car the pickups aimed at one wait.
    const float toTarget = m_targetCar ? Distance(position, m_targetCar->GetPosition()) : -1.0f;
    bool press = false;
    switch (type) {
    case 0:
        press = m_targetCar && toTarget <= kNearCar;
        break;
    case 1: {
        const IComputerRoute* records = Records();
        // No corner ahead on the whole lap: the straight goes on for ever.
        press = records && (m_cornerDistance < 0 || m_cornerDistance > records->GetStretchMean());
        break;
    }
    case 2:
    case 3:
    case 4:
    case 9:
    case 10:
        press = IsRoutePositionValid() && NodeRecord(GetTrackedNode()).cornerMark != 0;
        break;
    case 5:
        press = m_targetCar && toTarget <= kFarCar;
        break;
    case 6:
        press = behindACar;
        break;
    default:
        break;
    }
    if (press)
        Press();
}

void CAIDriver::Handle(int ms) {
    switch (m_mode) {
    case kAIModeRacingLine:
    case kAIModeCrazy:
        HandleRacingLine();
        break;
    case kAIModeCarInFront:
        HandleCarInFront();
        break;
    case kAIModeCarInFrontOvertaking:
        HandleOvertaking();
        break;
    case kAIModeCarBehind:
        RollCarBehind(ms);
        break;
    case kAIModeCarBehindBlockIt:
        HandleBlocking();
        break;
    case kAIModeOncomingStuntTrack:
        HandleStunt();
        break;
    case kAIModeOncomingPickup:
        HandlePickup();
        break;
    case kAIModeOncomingPickupGoForIt:
        HandleGoForPickup();
        break;
    default:
        break;
    }
}

void CAIDriver::HandleRacingLine() {
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    const int node = GetTargetNode();
    if (!route || !records || node < 0 || node >= route->GetNodeCount() || node == m_lastHandledNode) {
        RefreshAccelerator();
        m_desired.axis2 = kReleased;
        return;
    }
    const CAIRouteScan scan(*route, *records);
    // A racing line held loosely spreads over the road; never below none.
    const int spread = std::max(0, 16 - m_parameters.racingLine * 16 / 100);
    const int width = route->GetNodeLaneWidth(node);
    const CRouteNode here = records->GetNodeRecord(node);
    const CRouteNode before = records->GetNodeRecord(scan.Step(node, -1));
    if (before.cornerMark != 0 && here.cornerMark == 0) {
        RefreshAccelerator();
        const int side = scan.LookAhead(node);
        const int inner = side == 1 ? -width : side == 2 ? width : 0;
        const int offset = GetLateralOffset();
        if (std::abs(inner - offset) <= spread) {
            SetLane(offset, false);
            SetTargetLane(offset, false);
        } else {
            const int lane = inner + Random::Next() % (spread / 2 + 1) - spread;
            SetLane(lane, false);
            SetTargetLane(lane, false);
        }
    } else if (here.cornerMark != 0) {
        m_desired.axis1 = m_acceleratorTarget;
        if (here.turnB != 0)
            SetTargetLane(width - Random::Next() % (spread + 1) - 3, false);
        else if (here.turnA != 0)
            SetTargetLane(-width + Random::Next() % (spread + 1) + 3, false);
        else
            SetTargetLane(0, false);
    } else {
        RefreshAccelerator();
    }
    m_lastHandledNode = node;
}

bool CAIDriver::HandleCarInFront() {
    IComputerCar* car = OwnCar();
    // Holding the pickup that hits the car in front: stay behind it until it is near.
    if (car && car->GetPickupType() == 0)
        return false;
    if (RandomPercent() < m_parameters.overtaking)
        m_mode = kAIModeCarInFrontOvertaking;
    if (m_targetCar && IsStopped(m_targetCar))
        m_mode = kAIModeCarInFrontOvertaking;
    return true;
}

bool CAIDriver::HandleOvertaking() {
    if (!m_targetCar)
        return false;
    const SCarSeen target = See(m_targetCar);
    const int own = OwnNode();
    const int width = NodeLaneWidth(GetTargetNode());
    const int l = GetLateralOffset();
    const int c = target.offset;
    const int minusSide = std::max(c - 10, -width);
    const int plusSide = std::min(c + 10, width);
    int lane = 0;
    if (target.node == own)
        lane = l < c ? minusSide : plusSide;
    else if (c < 0)
        lane = plusSide;
    else if (c > 0)
        lane = minusSide;
    else
        lane = l <= 0 ? minusSide : plusSide;
    SetTargetLane(lane, false);
    RefreshAccelerator();
    return true;
}

void CAIDriver::HandleBlocking() {
    if (m_carBehind)
        SetTargetLane(See(m_carBehind).offset, false);
    RefreshAccelerator();
}

void CAIDriver::HandleStunt() {
    RefreshAccelerator();
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    if (!route || !records || m_stuntNode < 0 || m_stuntNode >= route->GetNodeCount())
        return;
    if (m_stuntDistance >= (m_stuntKind == kJumpKind ? kJumpRange : kStuntRange))
        return;
    const int width = NodeLaneWidth(GetTargetNode());
    int sectionIndex = -1;
    SRouteSection section;
    if (route->GetSectionOfNode(m_stuntNode, sectionIndex))
        section = records->GetSectionRecord(sectionIndex);
    switch (m_stuntKind) {
    case 2:
    case 22:
    case 23: {
        // Keep to the side the piece is laid towards.
        const int d = section.direction;
        const int r = m_stuntKind == 23 ? (section.rotation + 2) % 4 : section.rotation;
        static constexpr int kSide[4][4] = {{1, 0, -1, 0}, {0, 1, 0, -1}, {-1, 0, 1, 0}, {0, -1, 0, 1}};
        if (d >= 0 && d < 4 && r >= 0 && r < 4 && kSide[d][r] != 0)
            SetTargetLane(kSide[d][r] * width, false);
        break;
    }
    case 10:
    case 12:
    case 15:
        SetTargetLane(GetLane(), false);
        break;
    case kJumpKind: {
        const int sections = records->GetSectionCount();
        if (sections > 0 && sectionIndex >= 0 &&
            !records->CanClimbTo(sectionIndex, (sectionIndex + 1) % sections)) {
            // Over a gap the far side cannot be climbed to: take the jump at its speed.
            const float speed = OwnCar()->GetSpeed();
            if (speed < kJumpSpeed) {
                m_desired.axis1 = 127;
                m_desired.axis2 = kReleased;
            } else if (speed == kJumpSpeed) {
                m_desired.axis1 = 0;
                m_desired.axis2 = kReleased;
            } else if (speed < kJumpSpeed * (1.0f + kJumpExcess)) {
                m_desired.axis1 = kReleased;
                m_desired.axis2 = kReleased;
            } else {
                m_desired.axis1 = kReleased;
                m_desired.axis2 = 127;
            }
        }
        SetTargetLane(GetLane(), false);
        break;
    }
    case 14:
        m_desired.axis1 = m_acceleratorTarget / 2;
        SetLane(0, false);
        SetTargetLane(0, false);
        break;
    case 16:
    case 18:
        SetLane(0, false);
        SetTargetLane(0, false);
        break;
    case 17:
        m_desired.axis1 = 127;
        m_desired.axis2 = kReleased;
        break;
    default:
        break;
    }
}

void CAIDriver::HandlePickup() {
    IComputerCar* car = OwnCar();
    if (!m_targetPickup || !car)
        return;
    const float chance = static_cast<float>(m_parameters.intelligence) * m_attitude.pickupFactor;
    if (car->GetPickupType() == -1 && static_cast<float>(RandomPercent()) < chance)
        m_mode = kAIModeOncomingPickupGoForIt;
}

bool CAIDriver::HandleGoForPickup() {
    CVector position;
    const IComputerRoute* records = Records();
    // Looked up before anything is read of it: the pickup may have been taken and deleted.
    if (!m_world->FindPickup(m_targetPickup, position) || !records) {
        m_targetPickup = nullptr;
        return true;
    }
    SetTargetLane(records->GetLateralOffset(position), false);
    return true;
}

void CAIDriver::HandleCrazy(int ms) {
    m_crazyDuration -= ms;
    if (m_crazyDuration < 0) {
        m_crazyState = -1;
        m_crazyDuration = 0;
    }
    if (m_crazyState != 0)
        return;
    const int width = NodeLaneWidth(GetTargetNode());
    m_crazyLaneStep = std::clamp(m_crazyLaneStep, -width, width);
    const int offset = GetLateralOffset();
    if (offset >= -width && offset <= width) {
        if (offset >= 8)
            m_crazyLaneStep = -9;
        else if (offset <= -8)
            m_crazyLaneStep = 9;
        SetTargetLane(2 * m_crazyLaneStep, false);
    }
}

} // namespace zentrix
