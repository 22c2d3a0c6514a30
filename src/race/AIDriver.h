#pragma once

#include "app/DriverControls.h"
#include "race/AIData.h"
#include "race/AIMode.h"
#include "race/CarObjectComputer.h"
#include "race/ComputerDriverWorld.h"
#include "race/CorneringData.h"
#include "race/Driver.h"
#include "race/RouteNode.h"

#include <vector>

namespace zentrix {

class CAIRouteScan;
class IComputerCar;
class IComputerRoute;

/// The computer opponent. Once a frame it turns the route, the other cars and its car's tuning into the
/// car's controls: every Reflex interval it looks for a reason to change its mode (a car in front or
/// behind, a stunt piece, a pickup, going crazy), the mode's handler sets the lane it heads for and the
/// accelerator it wants, the speed step slows it for the corners by the world's cornering speeds, and the
/// steering heads for its lane on the next route node. Its attitude follows the best-placed human: far
/// ahead it eases off, far behind it pushes.
class CAIDriver : public CDriver {
public:
    /// A route node counts as reached this near its centre.
    static constexpr float kNodeReached = 15.0f;
    /// The lane moves this far a frame towards the target lane.
    static constexpr int kLaneStep = 4;
    /// Beyond this angle from the way to its node, or this far off the route, the driver does not
    /// accelerate.
    static constexpr float kHeadingLimit = 1.5707964f;
    static constexpr int kOffRouteLimit = 16;
    /// The corner zone, in route units before the corner.
    static constexpr int kCornerZone = 40;
    /// Braking is hard above this excess over the corner speed, in percent.
    static constexpr float kHardBrakeExcess = 20.0f;
    /// With the speed governed by hand the driver lets off above this speed.
    static constexpr float kManualSpeedLimit = 1.6f;
    static constexpr int kManualAccelerator = -63;
    /// The taunt a computer driver reports this often.
    static constexpr int kTauntIdle = 26;
    static constexpr int kTauntMs = 50000;
    /// The attitude holds this long once taken.
    static constexpr int kAttitudeHoldMs = 5000;
    /// Node gaps to the best human that change the attitude.
    static constexpr int kAheadGap = 4;
    static constexpr int kBehindGap = 3;
    /// Detection ranges along the route, and across it.
    static constexpr int kCarRange = 64;
    static constexpr int kCarSideRange = 12;
    static constexpr int kStuntRange = 96;
    static constexpr int kJumpRange = 192;
    static constexpr int kPickupRange = 64;
    /// The piece kind whose stunt is judged from twice as far.
    static constexpr int kJumpKind = 13;
    /// The jump's speed and the excess over it at which the driver brakes.
    static constexpr float kJumpSpeed = 0.8f;
    static constexpr float kJumpExcess = 0.21f;
    /// How often a car behind may be blocked.
    static constexpr int kBehindRollMs = 500;
    /// Crazy mode: rolls between tries, lane step, duration.
    static constexpr int kCrazyRolls = 4;
    static constexpr int kCrazyLaneStep = 8;
    static constexpr int kCrazyMinMs = 2000;
    static constexpr int kCrazyRandomMs = 1001;
    /// Without a pickup the driver presses the button now and then while behind a car.
    static constexpr int kButtonMinMs = 10000;
    static constexpr int kButtonRandomMs = 10000;
    /// Pickup types and the distance to the target car they are used within.
    static constexpr float kNearCar = 16.0f;
    static constexpr float kFarCar = 64.0f;
    /// Released axes.
    static constexpr int kReleased = -127;

    enum EAttitude : int { kAttitudeNormal = 0, kAttitudeSafe = 1, kAttitudeUnsafe = 2 };

    /// How the driver drives against the best human.
    struct SAttitude {
        int percent = 100;         ///< of the accelerator limit
        float crazyFactor = 0.0f;  ///< on the craziness
        float pickupFactor = 1.0f; ///< on the intelligence
        float cutScale = 1.0f;     ///< on the corner cut
        int cutAddend = 0;         ///< added to the corner cut
        int attitude = kAttitudeNormal;
        bool operator==(const SAttitude&) const = default;
    };

    /// A computer driver of `driverIndex` in `slot`, reading the world through `world` (null: the game's).
    CAIDriver(int driverIndex, int slot, IDriverServices* services, IComputerDriverWorld* world = nullptr);
    ~CAIDriver() override;

    /// The base's frame, the first-update set-up, the drive step and the idle taunt.
    bool Update(int ms) override;
    /// The controls: released brake, except while held, when a car moving forward brakes fully.
    void GetControls(CDriverControls& out) const override;
    /// Pickups are used unless the driver is easing off far ahead.
    bool AcceptsPickups() const override { return m_attitude.attitude != kAttitudeUnsafe; }
    /// Back to the start: mode, crazy state, attitude and the button timer.
    void Reset() override;
    /// A car leaves the race: it is no longer the target of any mode.
    void CarRemoved(const IRacerCar* car) override;

    // ---- what the driver is doing ----
    int GetMode() const { return m_mode; }
    const SAttitude& GetAttitude() const { return m_attitude; }
    static const char* AttitudeName(int attitude);
    /// "Braking", "Slowing" or "" this frame.
    const char* GetStatus() const { return m_status; }
    const CAIData::SBlock& GetParameters() const { return m_parameters; }
    /// Tuning given directly (the first update loads the car's own unless it has run).
    void SetParameters(const CAIData::SBlock& block);
    int GetAcceleratorLimit() const { return m_acceleratorLimit; }
    int GetAcceleratorTarget() const { return m_acceleratorTarget; }
    const CDriverControls& GetDesired() const { return m_desired; }
    const CDriverControls& GetOutput() const { return m_output; }
    IRacerCar* GetTargetCar() const { return m_targetCar; }
    IRacerCar* GetCarBehind() const { return m_carBehind; }
    bool HasTargetPickup() const { return m_targetPickup != nullptr; }
    int GetCrazyState() const { return m_crazyState; }
    int GetCrazyDuration() const { return m_crazyDuration; }
    int GetCornerCut() const { return m_cornerCut; }
    /// The class and distance of the next corner as the speed step last found it (-1: none).
    int GetCornerClass() const { return m_cornerClass; }
    int GetCornerDistance() const { return m_cornerDistance; }
    bool IsDrivingAfterFinish() const { return m_afterFinish; }
    bool HasLoaded() const { return m_loaded; }
    const CCorneringData& GetCornering() const { return m_cornering; }
    float GetKnownTopSpeed() const { return m_topSpeed; }
    int GetTauntTimer() const { return m_tauntTimer; }
    int GetButtonTimer() const { return m_buttonTimer; }

private:
    /// Another car as the detections see it.
    struct SCarSeen {
        bool onRoute = false;
        int node = -1;
        int offset = 0;
    };

    // The frame (AIDriver.cpp).
    void FirstUpdate();
    void Drive(int ms);
    void Steer(int ms);
    void ApproachLane();
    void UpdateAttitude();
    void UpdateSpeed();
    void CheckHeading();
    void AvoidSplodges();
    void RefreshAccelerator();

    // Decisions (AIDriverModes.cpp).
    void Think(int ms);
    bool IsModeFinished();
    int Detect(int ms);
    bool DetectCrazy();
    bool DetectStunt();
    /// The nearest watched car ahead within range and beside the lane limit; with `sameNode` a car on
    /// this driver's node counts (distance 0).
    IRacerCar* FindCarInFront(bool sameNode) const;
    IRacerCar* FindCarBehind() const;
    /// The nearest watched car on the route within range ahead of (or behind) this car's node; cars on
    /// the same node count only with `sameNode`.
    IRacerCar* FindNearestCar(bool ahead, bool sameNode) const;
    bool DetectCarInFront();
    bool DetectCarBehind();
    bool DetectPickup();
    bool RollCarBehind(int ms);
    void PressButtons(int ms);
    void Press();
    void Handle(int ms);
    void HandleRacingLine();
    bool HandleCarInFront();
    bool HandleOvertaking();
    void HandleBlocking();
    void HandleStunt();
    void HandlePickup();
    bool HandleGoForPickup();
    void HandleCrazy(int ms);

    // Reads.
    IComputerCar* OwnCar();
    const IComputerRoute* Records() const;
    /// The node this driver's car is at (the tracked node; the target without a route position).
    int OwnNode() const;
    SCarSeen See(const IRacerCar* car) const;
    bool IsStopped(const IRacerCar* car) const;
    int NodeLaneWidth(int node) const;
    CRouteNode NodeRecord(int node) const;
    int RandomPercent() const;

    IComputerDriverWorld* m_world;
    CCarObjectComputer m_carView;
    CAIData::SBlock m_parameters;
    CCorneringData m_cornering{nullptr};

    int m_mode = kAIModeNothing;
    IRacerCar* m_targetCar = nullptr;
    IRacerCar* m_carBehind = nullptr;
    const void* m_targetPickup = nullptr; ///< compared only; looked up in the world before each use
    int m_decisionMs = 0;
    int m_behindMs = 0;
    int m_buttonTimer = 0;
    int m_crazyState = -1;
    int m_crazyDuration = 0;
    int m_crazyLaneStep = 0;
    int m_crazyRolls = kCrazyRolls;

    CDriverControls m_output;
    CDriverControls m_desired;
    int m_acceleratorLimit = 127;
    int m_acceleratorTarget = 127;
    int m_tauntTimer = kTauntMs;

    int m_cornerCut = 0;
    bool m_inCornerZone = false;
    bool m_cutDrawn = false;
    int m_cornerClass = -1;
    int m_cornerDistance = -1;

    SAttitude m_attitude;
    float m_topSpeed = 3.0f;
    const char* m_status = "";
    bool m_loaded = false;
    bool m_parametersGiven = false;
    bool m_afterFinish = false;
    bool m_routeEnded = false;
    int m_lastHandledNode = -1;
    /// The stunt piece found ahead by the last detection.
    int m_stuntNode = -1;
    int m_stuntDistance = 0;
    int m_stuntKind = -1;
    std::vector<IComputerDriverWorld::SPickup> m_pickups;
    std::vector<CVector> m_splodges;
};

} // namespace zentrix
