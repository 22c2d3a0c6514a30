#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

class CCarObject;
class CDriver;
class CWorldObject;
struct CDriverControls;

/// What a car asks of the driver that steers it. The drivers live in the race layer above the world:
/// the driver class fills this, and the car holds its driver only through it.
class ICarDriverLink {
public:
    virtual ~ICarDriverLink() = default;

    /// The driver itself, as the race layer knows it.
    virtual CDriver* AsDriver() = 0;
    /// The car this driver steers from now on (the car tells its driver when it is assigned).
    virtual void SetCar(CCarObject* car) = 0;
    /// The controls of this frame.
    virtual void GetControls(CDriverControls& out) const = 0;
    /// The driver slot 0..7; slots 0..3 are the racers with car sounds and markers.
    virtual int GetSlot() const = 0;
    /// Whether a player steers (the car shows such a driver's marker).
    virtual bool IsHuman() const = 0;
    /// Whether the driver has completed the race.
    virtual bool HasFinished() const = 0;
    /// Whether the driver takes pickups.
    virtual bool AcceptsPickups() const = 0;
    /// The route node a respawn puts the car on (the driver's current node, or the node it was reset to).
    virtual int GetRouteNode() const = 0;
    /// Sets the current, previous and next route node from `index` (wrapped first).
    virtual void SetRouteNode(int index) = 0;
    /// Wraps `index` into the route (negative: the last node; past the end: 0) and gives the node's
    /// position; false, changing nothing, when the route has no nodes.
    virtual bool GetRouteNodeWrapped(int& index, CVector& position) const = 0;
    /// The jam trucks the driver keeps an eye on, in order.
    virtual int GetWatchedTruckCount() const = 0;
    virtual CWorldObject* GetWatchedTruck(int i) const = 0;
    /// The car was put back on the route.
    virtual void ReportResetTaunt() = 0;
    /// A force-feedback push of `ms` milliseconds.
    virtual void FeedbackPush(int x, int y, int z, int ms) = 0;
};

} // namespace zentrix
