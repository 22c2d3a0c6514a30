#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CWorldObject;

/// What the taunt queue asks about the cars that report taunt events.
class ITauntCars {
public:
    virtual ~ITauntCars() = default;
    /// The driver slot and driver index of the car's driver; false when `car` is no car of the world
    /// (any more) or has no driver. `car` may be a pointer kept from an earlier frame.
    virtual bool FindDriver(const CWorldObject* car, int& slot, int& driverIndex) const = 0;
    /// Where a car that FindDriver knows is.
    virtual CVector GetPosition(const CWorldObject* car) const = 0;
    /// The car of the driver in driver slot 0, whose surroundings the taunts show; null when there is
    /// no such driver or it has no car.
    virtual const CWorldObject* GetReferenceCar() const = 0;
};

} // namespace zentrix
