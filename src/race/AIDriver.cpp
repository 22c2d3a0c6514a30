#include "race/AIDriver.h"

#include "foundation/math/Random.h"
#include "race/AIRouteScan.h"
#include "race/ComputerCar.h"
#include "race/ComputerRoute.h"
#include "race/DriverManager.h"
#include "race/RaceRoute.h"
#include "race/RacerCar.h"
#include "race/Steering.h"
#include "race/WorldComputerDriverWorld.h"
#include "world/WorldGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zentrix {

namespace {

/// The race world's state while the race is over (the lap of honour).
constexpr int kRaceOverState = 1;

/// The handling of the lap of honour's driver, for as long as it lasts.
constexpr CCarObject::SParamModifiers kAfterFinishModifiers = {1.0f, 1.3f, 1.1f, 1.0f, 2.0f, 1.0f, 1000.0f};
constexpr int kAfterFinishMs = 10000000;

CVector Flat(const CVector& v) {
    return CVector(v.x, 0.0f, v.z);
}

/// The angle between two flat directions; 0 when either has no length.
float FlatAngle(const CVector& a, const CVector& b) {
    CVector u = Flat(a);
    CVector v = Flat(b);
    const float lu = u.Length();
    const float lv = v.Length();
    if (!(lu > 0.0f) || !(lv > 0.0f) || !std::isfinite(lu) || !std::isfinite(lv))
        return 0.0f;
    return std::acos(std::clamp(u.Dot(v) / (lu * lv), -1.0f, 1.0f));
}

bool SameCell(const CVector& a, const CVector& b) {
    const CVector ca = CWorldGrid::WorldToGrid(a);
    const CVector cb = CWorldGrid::WorldToGrid(b);
    return ca.x == cb.x && ca.z == cb.z;
}

} // namespace

CAIDriver::CAIDriver(int driverIndex, int slot, IDriverServices* services, IComputerDriverWorld* world)
    : CDriver(driverIndex, slot, services), m_world(world ? world : &CWorldComputerDriverWorld::Instance()) {
    SetKind(1);
    SetReady(true);
    m_cornering.Clear();
    SetRouteNode(0);
    m_buttonTimer = kButtonMinMs + Random::Next() % kButtonRandomMs;
}

CAIDriver::~CAIDriver() {
    m_cornering.Clear();
}

const char* CAIDriver::AttitudeName(int attitude) {
    switch (attitude) {
    case kAttitudeSafe:
        return "-Safe-";
    case kAttitudeUnsafe:
        return "Unsafe";
    default:
        return "Normal";
    }
}

void CAIDriver::SetParameters(const CAIData::SBlock& block) {
    m_parameters = block;
    CAIData::Clamp(m_parameters);
    m_parametersGiven = true;
    m_acceleratorLimit = m_parameters.speed * 254 / 100 - 127;
    m_acceleratorTarget = m_acceleratorLimit * m_attitude.percent / 100;
}

void CAIDriver::Reset() {
    m_mode = kAIModeNothing;
    m_crazyState = -1;
    m_crazyDuration = 0;
    m_crazyRolls = kCrazyRolls;
    m_attitude = SAttitude();
    m_routeEnded = false;
    m_buttonTimer = kButtonMinMs + Random::Next() % kButtonRandomMs;
}

void CAIDriver::CarRemoved(const IRacerCar* car) {
    if (!car)
        return;
    if (m_targetCar == car)
        m_targetCar = nullptr;
    if (m_carBehind == car)
        m_carBehind = nullptr;
}

IComputerCar* CAIDriver::OwnCar() {
    if (CCarObject* car = GetCarObject(); car && GetCar()) {
        m_carView.Bind(car);
        return &m_carView;
    }
    return dynamic_cast<IComputerCar*>(GetCar());
}

const IComputerRoute* CAIDriver::Records() const {
    return dynamic_cast<const IComputerRoute*>(Route());
}

int CAIDriver::OwnNode() const {
    return IsRoutePositionValid() ? GetTrackedNode() : GetTargetNode();
}

CRouteNode CAIDriver::NodeRecord(int node) const {
    const IComputerRoute* records = Records();
    return records && GetRouteNodeWrapped(node) ? records->GetNodeRecord(node) : CRouteNode();
}

int CAIDriver::NodeLaneWidth(int node) const {
    const IRaceRoute* route = Route();
    return route && GetRouteNodeWrapped(node) ? route->GetNodeLaneWidth(node) : 0;
}

int CAIDriver::RandomPercent() const {
    return Random::Next() % 100;
}

void CAIDriver::RefreshAccelerator() {
    m_desired.axis1 = m_acceleratorLimit * m_attitude.percent / 100;
}

void CAIDriver::GetControls(CDriverControls& out) const {
    out = m_output;
    out.axis2 = kReleased;
    if (IsHeld()) {
        out = CDriverControls();
        IComputerCar* car = const_cast<CAIDriver*>(this)->OwnCar();
        out.axis2 = car && car->IsMovingForward() ? 127 : kReleased;
    }
}

bool CAIDriver::Update(int ms) {
    if (!CDriver::Update(ms)) {
        // Put back by the watchdog: back on the racing line, in the middle of the road.
        m_mode = kAIModeRacingLine;
        SetLane(0, true);
        SetTargetLane(0, true);
    }
    if (!m_loaded && GetCar() && OwnCar())
        FirstUpdate();
    Drive(ms);
    m_tauntTimer -= ms;
    if (m_tauntTimer < 0 && IsActive() && !IsPlayerCharacter()) {
        Report(kTauntIdle);
        m_tauntTimer = kTauntMs;
    }
    return true;
}

void CAIDriver::FirstUpdate() {
    IComputerCar* car = OwnCar();
    m_loaded = true;
    m_topSpeed = car->GetTopSpeed();
    CAssetMan* assets = m_world->GetAssetMan();
    if (!m_parametersGiven) {
        CAIData data(assets);
        data.LoadAIData(GetCar()->GetTypeId());
        m_parameters = data.GetBlock();
    }
    m_acceleratorLimit = m_parameters.speed * 254 / 100 - 127;
    m_acceleratorTarget = m_acceleratorLimit * m_attitude.percent / 100;
    m_cornering = CCorneringData(assets);
    m_cornering.LoadCorneringData(GetCar()->GetTypeId(), m_topSpeed);
    SetLane(GetLateralOffset(), true);
    SetTargetLane(GetLane(), true);
    if (m_world->GetRaceState() == kRaceOverState) {
        // The lap of honour: one car alone, sure-footed, on the racing line and over the stunts.
        car->ApplyParamModifiers(kAfterFinishModifiers, kAfterFinishMs);
        m_parameters = CAIData::SBlock();
        m_afterFinish = true;
    }
    SetRouteNode(1);
}

void CAIDriver::Drive(int ms) {
    IComputerCar* car = OwnCar();
    if (!car)
        return;
    if (IsHeld()) {
        m_output = CDriverControls();
        m_output.axis2 = car->IsMovingForward() ? 127 : kReleased;
        return;
    }
    Think(ms);
    UpdateAttitude();
    if (car->GetPickupType() != 9)
        UpdateSpeed();
    AvoidSplodges();
    ApproachLane();
    ClampTargetLane(true);
    m_output = CDriverControls();
    if (IsActive()) {
        CheckHeading();
        m_output = m_desired;
        m_desired.button1 = 0;
        m_desired.button2 = 0;
    }
    Steer(ms);
}

void CAIDriver::ApproachLane() {
    const int step = std::clamp(GetTargetLane() - GetLane(), -kLaneStep, kLaneStep);
    SetLane(GetLane() + step, false);
}

void CAIDriver::Steer(int ms) {
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    IComputerCar* car = OwnCar();
    const int count = route ? route->GetNodeCount() : 0;
    int node = GetTargetNode();
    // At the end of a broken route there is nowhere left to go.
    if (!records || count <= 0 || node < 0 || node >= count || m_routeEnded)
        return;
    const CRouteNode record = records->GetNodeRecord(node);
    const CVector lanePoint(record.position.x + static_cast<float>(GetLane()) * record.side.x, 0.0f,
                            record.position.z + static_cast<float>(GetLane()) * record.side.z);
    const CVector position = Flat(GetCar()->GetPosition());
    const CVector toCentre = Flat(record.position) - position;
    if (toCentre.Length() < kNodeReached) {
        SetLapNode(node);
        if (node + 1 >= count && route->IsRouteBroken()) {
            m_routeEnded = true;
            return;
        }
        SetRouteNode(node + 1);
        return;
    }
    m_output.steering = SteerTowards(car->GetDirection(), lanePoint - position, kComputerFullLockAngle);
    if (!GetCar()->IsGrounded() && std::abs(GetLateralOffset()) < kOffRouteLimit) {
        SetLane(GetLateralOffset(), false);
        SetTargetLane(GetLateralOffset(), false);
    }
    if (m_mode == kAIModeCrazy)
        HandleCrazy(ms);
}

void CAIDriver::CheckHeading() {
    const IRaceRoute* route = Route();
    int node = GetTargetNode();
    if (!route || !GetRouteNodeWrapped(node))
        return;
    const CVector toNode = route->GetNodePosition(node) - GetCar()->GetPosition();
    const bool offRoute = std::abs(GetLateralOffset()) > kOffRouteLimit;
    if ((offRoute || FlatAngle(OwnCar()->GetDirection(), toNode) > kHeadingLimit) && m_desired.axis1 > 0)
        m_desired.axis1 = 0;
}

void CAIDriver::UpdateAttitude() {
    if (!BuildWatchList())
        return;
    const CDriver* best = nullptr;
    if (CDriverManager* manager = GetManager())
        for (int slot = 0; slot < CDriverManager::kSlots; ++slot) {
            const CDriver* other = manager->GetDriver(slot);
            if (other && other != this && other->IsHuman() &&
                (!best || other->GetRacePosition() < best->GetRacePosition()))
                best = other;
        }
    SAttitude attitude;
    // A race without a human (the lap of honour's lone car, a race of computers) keeps the default.
    if (best) {
        const int gap = std::abs(
            OwnNode() - (best->IsRoutePositionValid() ? best->GetTrackedNode() : best->GetTargetNode()));
        const bool ahead = GetRacePosition() < best->GetRacePosition();
        if (ahead && gap >= kAheadGap)
            attitude = {70, 1.0f, 0.5f, 1.7f, 0, kAttitudeUnsafe};
        else if (!ahead && GetRacePosition() > best->GetRacePosition() && gap >= kBehindGap)
            attitude = {120, 0.0f, 1.5f, 0.4f, 15, kAttitudeSafe};
    }
    m_attitude = attitude;
    if (m_attitude.attitude != kAttitudeNormal)
        SetCountdown(kAttitudeHoldMs);
}

void CAIDriver::UpdateSpeed() {
    IComputerCar* car = OwnCar();
    m_desired.axis2 = kReleased;
    m_status = "";
    if (!GetCar()->IsGrounded())
        return;
    const float speed = car->GetSpeed();
    if (IsManualOverride()) {
        if (speed > kManualSpeedLimit) {
            m_desired.axis2 = kReleased;
            m_desired.axis1 = kManualAccelerator;
        }
        return;
    }
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    m_cornerClass = -1;
    m_cornerDistance = -1;
    if (!route || !records)
        return;
    const CAIRouteScan scan(*route, *records);
    CAIRouteScan::SFound corner;
    // No corner on the whole lap: nothing to slow down for.
    if (!scan.FindNextCorner(OwnNode(), corner))
        return;
    m_cornerDistance = corner.distance;
    if (corner.distance < kCornerZone) {
        if (!m_cutDrawn) {
            m_cornerCut = Random::Next() % (m_parameters.cutsCorners + 1);
            if (GetCountdown() > 0)
                m_cornerCut = static_cast<int>(static_cast<float>(m_cornerCut) * m_attitude.cutScale) +
                              m_attitude.cutAddend;
            m_cutDrawn = true;
        }
        m_inCornerZone = true;
    } else {
        m_cornerCut = 0;
        m_cutDrawn = false;
        m_inCornerZone = false;
    }
    m_cornerClass = scan.CornerClass(corner.node, GetCar()->GetPosition());
    if (m_cornerClass < 0)
        return;
    const float limit = m_cornering.GetCornerSpeedLimit(
        m_cornerClass, static_cast<float>(m_parameters.braking + m_cornerCut));
    // A corner without a speed of its own sets no limit (the excess divides by it).
    if (!(limit > 0.0f) || !std::isfinite(limit))
        return;
    if (speed > limit && corner.distance < kCornerZone) {
        const float excess = (speed - limit) / limit * 100.0f;
        if (excess > kHardBrakeExcess) {
            m_status = "Braking";
            m_desired.axis2 = 127;
        } else {
            m_status = "Slowing";
            m_desired.axis2 = kReleased;
        }
        m_desired.axis1 = kReleased;
    }
}

void CAIDriver::AvoidSplodges() {
    const IRaceRoute* route = Route();
    const IComputerRoute* records = Records();
    int node = GetTargetNode();
    if (!route || !records || !GetRouteNodeWrapped(node))
        return;
    m_world->GetSplodges(m_splodges);
    if (m_splodges.empty())
        return;
    const CAIRouteScan scan(*route, *records);
    const int width = route->GetNodeLaneWidth(node);
    for (int ahead = 0; ahead < 3; ++ahead) {
        const CVector at = route->GetNodePosition(scan.Step(node, ahead));
        for (const CVector& splodge : m_splodges) {
            if (!SameCell(at, splodge))
                continue;
            const int s = records->GetLateralOffset(splodge);
            int lane = 0;
            if (s < 0)
                lane = std::max(width, s + 20);
            else if (s > 0)
                lane = std::min(-width, s - 20);
            else
                lane = GetLateralOffset() <= 0 ? std::min(-width, -20) : std::max(width, 20);
            SetTargetLane(lane, false);
            return;
        }
    }
}

} // namespace zentrix
