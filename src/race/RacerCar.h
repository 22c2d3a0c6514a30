#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

class CWorldObject;

/// A racer's car as the drivers and the race results see it: where it is, whether it flies or does a
/// stunt, putting it back on the route, and what the winner record copies of it.
class IRacerCar {
public:
    virtual ~IRacerCar() = default;

    /// The car's world position.
    virtual CVector GetPosition() const = 0;
    /// Whether any wheel touches the ground.
    virtual bool IsGrounded() const = 0;
    /// The stunt the car is in: -1 none, 2 and 6 stunts the watchdog leaves alone (6 the loop).
    virtual int GetStuntState() const = 0;
    /// Puts the car back on the route: at once for -1, else after `delayMs`.
    virtual void Respawn(int delayMs) = 0;
    /// The car's type (asset) id, 60000..60015.
    virtual int GetTypeId() const = 0;
    /// The livery chosen at set-up (-1 none).
    virtual int GetLiveryChoice() const = 0;
    /// The tyre type 0..2 (-1 none).
    virtual int GetTyreType() const = 0;
    /// The car's driver is being deleted: the car keeps no pointer to it.
    virtual void ForgetDriver() = 0;
    /// The car as a world object (null: none).
    virtual CWorldObject* GetWorldObject() const = 0;

    // What a driver steers by.
    /// The way the car's nose points.
    virtual CVector GetHeading() const = 0;
    /// The car's velocity (the mean of its contact points').
    virtual CVector GetVelocity() const = 0;
    /// The length of that velocity.
    virtual float GetSpeed() const = 0;
    /// Whether the car moves the way its nose points.
    virtual bool IsMovingForward() const = 0;
};

} // namespace zentrix
