#pragma once

#include "app/DriverControls.h"
#include "race/CarObjectRacer.h"
#include "world/CarDriverLink.h"

#include <array>
#include <cstdint>
#include <string>

namespace zentrix {

class CDriverManager;
class IDriverServices;
class IRaceRoute;
class IRacerCar;

/// The driver of one car in a race: it produces the car's controls each frame. This base keeps who the
/// driver is, its car, where the car is on the route, the cars it watches, its race position and finish,
/// and runs the watchdog that puts a car back on the track when it is stuck, off the route or too long
/// in the air. The human, computer and jam-truck drivers derive from it.
///
/// A driver and its car point at each other and neither owns the other; the driver manager owns the
/// drivers. A driver that goes leaves its car driverless and off every watch list; a car that is marked
/// dead, or given to no driver, leaves its driver carless and off every watch list.
/// The car reads its controls, slot and route node through ICarDriverLink.
class CDriver : public ICarDriverLink {
public:
    static constexpr int kMaxWatched = 8;
    /// A car closer than this to the route line counts as near it.
    static constexpr int kNearRoute = 16;
    /// Watchdog limits, in milliseconds.
    static constexpr int kAirLimitMs = 5000;
    static constexpr int kGroundedMs = 100;
    static constexpr int kStuckMs = 2000;
    static constexpr int kSameNodeMs = 3000;
    static constexpr int kOffRoadMs = 2000;
    /// Watchdog offsets from the route line: at one node, and while passing nodes.
    static constexpr int kSameNodeOffset = 6;
    static constexpr int kOffRoadOffset = 12;
    /// Stunt states during which the watchdog leaves the car alone (6 is the loop).
    static constexpr int kStuntUntouched1 = 2;
    static constexpr int kStuntUntouched2 = 6;
    /// The near node is refreshed this often, among nodes closer than the radius.
    static constexpr int kNearNodeMs = 2000;
    static constexpr float kNearNodeRadius = 15.0f;
    /// Route type of the special pieces (loops, jumps) that route following steps over.
    static constexpr int kSpecialRouteType = 5;
    /// A corner keeps the target lane this far inside the edge it turns towards.
    static constexpr int kCornerMargin = 3;
    /// The lane lock comes off this near the route (nearer while it is on).
    static constexpr int kLockNear = 16;
    static constexpr int kLockedNear = 8;
    /// Taunt events the base reports.
    enum ETaunt : int {
        kTauntWaiting = 19,
        kTauntPlayerPassed = 13,
        kTauntOtherPassed = 23,
        kTauntPlayerDropped = 15,
        kTauntOtherDropped = 25,
        kTauntPlayerReset = 21,
        kTauntOtherReset = 24,
        kTauntPlayerHonour = 31,
        kTauntOtherHonour = 33
    };

    /// A driver of `driverIndex` (0..12, -1 the jam truck) in `slot` (0..7), reaching the game through
    /// `services` (may be null: then it has no route and reports nothing).
    CDriver(int driverIndex, int slot, IDriverServices* services);
    ~CDriver() override;
    CDriver(const CDriver&) = delete;
    CDriver& operator=(const CDriver&) = delete;

    /// Drivers that exist right now.
    static int GetLiveCount();
    /// Whether a piece kind is one a car must enter straight (the one-way pieces), which route following
    /// does not advance onto while off the route and whose sections decide the lane lock.
    static bool IsFlaggedKind(int kind);

    // ---- what each kind of driver fills ----
    /// Whether the driver can drive (a human driver needs its input device).
    virtual bool IsReady() const { return m_ready; }
    /// One frame of the base: taunts, near node, route progress and the watchdog. False when the watchdog
    /// put the car back this frame.
    virtual bool Update(int ms);
    /// The controls of this frame.
    void GetControls(CDriverControls& out) const override = 0;
    /// Force feedback; nothing in the base.
    virtual void FeedbackPulse(int /*ms*/) {}
    void FeedbackPush(int /*x*/, int /*y*/, int /*z*/, int /*ms*/) override {}
    virtual void FeedbackLevel(int /*gain*/) {}
    /// The driver stops, or starts, driving.
    virtual void Deactivate() { m_active = false; }
    virtual void Activate() { m_active = true; }
    /// Whether the driver takes pickups; no in the base.
    bool AcceptsPickups() const override { return false; }
    /// The kind's own part of a restart; nothing in the base.
    virtual void Reset() {}
    /// A car leaves the race (deleted, or a jam truck removed): the kinds let go of every pointer to it
    /// they keep besides the watch list. Nothing in the base.
    virtual void CarRemoved(const IRacerCar* /*car*/) {}

    // ---- identity ----
    int GetSlot() const override { return m_slot; }
    /// A player steers (kind 0).
    bool IsHuman() const override { return m_kind == 0; }
    CDriver* AsDriver() override { return this; }
    int GetKind() const { return m_kind; }
    int GetDriverIndex() const { return m_driverIndex; }
    /// Driver indices 9..12 are the player characters.
    bool IsPlayerCharacter() const { return m_driverIndex >= 9 && m_driverIndex <= 12; }
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    std::uint32_t GetColour() const { return m_colour; }
    void SetColour(std::uint32_t colour) { m_colour = colour; }
    bool IsActive() const { return m_active; }

    // ---- the car ----
    /// The car as the race sees it (null: none).
    IRacerCar* GetCar() const { return m_car; }
    /// The car object this driver steers (null: none, or a car seen only as a racer).
    CCarObject* GetCarObject() const { return m_carView.GetCarObject(); }
    /// The car object this driver steers from now on (null: none); the car calls it when it is given
    /// the driver. The old car leaves every watch list.
    void SetCar(CCarObject* car) override;
    /// A car seen only through `car` (null: none); the old car leaves every watch list.
    void SetRacerCar(IRacerCar* car);
    /// The manager whose other drivers make up the watch list (set by the manager).
    void SetManager(CDriverManager* manager) { m_manager = manager; }
    CDriverManager* GetManager() const { return m_manager; }

    // ---- race position and finish ----
    int GetRacePosition() const { return m_position; }
    /// The place on the grid (1..4), stored without a taunt.
    void SetStartPosition(int position) { m_position = position; }
    /// A new race position; better or worse than before reports a taunt while the driver is active.
    void SetPosition(int position);
    /// The racer finished, first or not.
    void SetFinished(bool first);
    bool HasFinished() const override { return m_finished; }
    bool IsWinner() const { return m_winner; }
    /// The car was put back: a taunt while the driver is active.
    void ReportResetTaunt() override;
    /// The jam truck's driver: the truck was removed.
    void SetRemoved(bool removed) { m_removed = removed; }
    bool IsRemoved() const { return m_removed; }

    // ---- route ----
    /// Wraps `node` into the route (negative: the last node; past the end: 0) and makes it the target,
    /// previous and next node; nothing without route nodes.
    void SetRouteNode(int node) override;
    /// `node` wrapped as SetRouteNode does; false, leaving `node` alone, without route nodes.
    bool GetRouteNodeWrapped(int& node) const;
    /// The same, with the node's position.
    bool GetRouteNodeWrapped(int& node, CVector& position) const override;
    /// The node a respawn puts the car on: the reset node.
    int GetRouteNode() const override { return m_resetNode; }
    /// Finds the route node nearest the car and its offset from the route line; false (invalid) without a
    /// car, a route or a node.
    bool UpdateRoutePosition();
    /// Back to the start of a race: not finished, route node 1, reset node 0, lanes at the car's offset.
    void ResetDriver();
    /// Steers for `node` (wrapped first with `wrap`): it becomes the next node, and the target when it
    /// differs (the old target becoming the previous node with `keepPrevious`); the node before the target
    /// becomes the reset node when it is no special piece and the target can be reached from it. True
    /// when the target changed.
    bool SetTargetNode(int& node, bool wrap, bool keepPrevious);
    /// Whether a car can drive from node `node`'s section on to the next node's.
    bool CanReachNextNode(int node) const;
    /// Keeps the target lane (and with `force` the lane) within the target node's lane width, and 3
    /// inside the edge a corner turns towards, at the target node and at the tracked node.
    void ClampTargetLane(bool force);
    /// Locks the lanes while the car is off the route heading into a one-way piece, and unlocks them near
    /// the route or on such a piece; answers the lock (true without a route position; unchanged in a
    /// stunt).
    bool UpdateLaneLock();
    /// The kinds ask whether the route suits them; the base has no objection.
    virtual bool CheckRoute() const { return true; }
    /// How far apart two cars are along the route, the sum of the node spacings: with `onlyAhead` from
    /// `own`'s node forwards to `other`'s, else from `other`'s forwards to `own`'s; -1 when either car
    /// has no node on the route.
    int RouteDistanceTo(const IRacerCar* own, const IRacerCar* other, bool onlyAhead) const;
    /// The route node of a car: for this driver's own car its tracked node (its target node while the
    /// route position is invalid); for a car another driver of the race drives, that driver's tracked node
    /// while valid; for any other car the node nearest it. -1 when there is none.
    int RouteNodeOf(const IRacerCar* car) const;
    /// The distance along `route` from node `from` forwards to node `to` (the spacings of the nodes after
    /// `from` up to `to`; 0 for the same node); -1 for a node outside the route.
    static int ForwardRouteDistance(const IRaceRoute& route, int from, int to);
    int GetTargetNode() const { return m_targetNode; }
    int GetPreviousNode() const { return m_previousNode; }
    int GetNextNode() const { return m_nextNode; }
    bool IsRoutePositionValid() const { return m_routePositionValid; }
    int GetTrackedNode() const { return m_trackedNode; }
    int GetLateralOffset() const { return m_lateralOffset; }
    bool IsNearRoute() const { return m_nearRoute; }
    int GetNearNode() const { return m_nearNode; }
    /// The node a respawn puts the car on.
    int GetResetNode() const { return m_resetNode; }
    void SetResetNode(int node) { m_resetNode = node; }
    /// The node the driver last reached; the race results count laps with it.
    int GetLapNode() const { return m_lapNode; }
    void SetLapNode(int node) { m_lapNode = node; }
    /// Whether the driver is held at a standstill (every kind then brakes while the car rolls forward,
    /// the human driver only while inactive), and whether its speed is governed by hand (the computer
    /// driver then eases off above speed 1.6 instead of slowing for corners). Only the kinds read them:
    /// nothing in the race holds a driver or takes over its speed, so both stay false.
    bool IsHeld() const { return m_held; }
    bool IsManualOverride() const { return m_manualOverride; }
    /// A countdown the kinds use (the computer driver's attitude hold); counted to 0 while active.
    int GetCountdown() const { return m_countdown; }
    void SetCountdown(int ms) { m_countdown = ms; }

    // ---- lanes ----
    int GetLane() const { return m_lane; }
    int GetTargetLane() const { return m_targetLane; }
    /// While locked, the lanes change only when forced; unlocking zeroes them.
    void SetLaneLock(bool locked);
    bool IsLaneLocked() const { return m_laneLock; }
    void SetLane(int lane, bool force);
    void SetTargetLane(int lane, bool force);

    // ---- watched cars ----
    /// Fills an empty watch list with the cars of every other driver; true when the list is not empty.
    bool BuildWatchList();
    /// Adds `car` once (not past eight); false when it was there or the list is full.
    bool AddWatched(IRacerCar* car);
    /// Takes `car` off the list.
    void RemoveWatched(IRacerCar* car);
    int GetWatchedCount() const { return m_watchedCount; }
    IRacerCar* GetWatched(int i) const;
    /// The watched cars as world objects, for the respawn to keep clear of.
    int GetWatchedTruckCount() const override { return m_watchedCount; }
    CWorldObject* GetWatchedTruck(int i) const override;

    // ---- watchdog ----
    /// Why the watchdog last put the car back ("" none yet).
    const char* GetResetReason() const { return m_resetReason; }
    int GetAirTime() const { return m_airTime; }
    int GetSameNodeTime() const { return m_sameNodeTime; }
    int GetOffRouteTime() const { return m_offRouteTime; }

protected:
    IDriverServices* Services() const { return m_services; }
    const IRaceRoute* Route() const;
    int NodeCount() const;
    /// The route type of node `node` (wrapped); -1 without a route.
    int NodeRouteType(int node) const;
    void Report(int event);
    /// The kinds set these.
    void SetKind(int kind) { m_kind = kind; }
    void SetReady(bool ready) { m_ready = ready; }
    /// A car marked dead is on its way out of the world: the driver lets it go first.
    void DropDeadCar();
    /// Where the driver's lane crosses node `node`: the node's position moved `lane` units along its side
    /// vector, at height 0. The origin without a route or for a node outside it.
    CVector GetLanePosition(int node, int lane) const;

private:
    void UpdateNearNode(int ms);
    void FollowRoute();
    /// The watchdog; false when it put the car back.
    bool Watch(int ms);
    /// Puts the car back when it is stuck at a node it can drive on from; true when it did.
    bool PutBackWhenStuck();
    void PutBack(const char* reason);

    static int s_liveCount;

    IDriverServices* m_services;
    CDriverManager* m_manager = nullptr;
    bool m_ready = false;
    int m_slot;
    int m_kind = -1;
    int m_driverIndex;
    IRacerCar* m_car = nullptr;
    CCarObjectRacer m_carView{this}; ///< what m_car points at while the car is a car object
    std::string m_name;
    std::uint32_t m_colour = 0x808080;
    bool m_active = false;
    int m_watchdogNode = -1;
    int m_sameNodeTime = 0;
    int m_offRouteTime = 0;
    int m_airTime = 0;
    int m_groundTime = 0;
    int m_lane = 0;
    int m_targetLane = 0;
    int m_targetNode = -1;
    int m_previousNode = -1;
    int m_nextNode = -1;
    std::array<IRacerCar*, kMaxWatched> m_watched{};
    int m_watchedCount = 0;
    bool m_laneLock = false;
    bool m_finished = false;
    bool m_winner = false;
    bool m_removed = false;
    bool m_routePositionValid = false;
    int m_trackedNode = -1;
    int m_lateralOffset = 0;
    bool m_nearRoute = true;
    int m_advanceCount = 0;
    int m_resetNode = 0;
    int m_lapNode = 0;
    int m_countdown = 0;
    int m_position = 0;
    const char* m_resetReason = "";
    int m_nearNode = -1;
    int m_nearNodeTimer = kNearNodeMs;
    bool m_held = false;
    bool m_manualOverride = false;
};

} // namespace zentrix
