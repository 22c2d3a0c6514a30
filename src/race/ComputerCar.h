#pragma once

#include "foundation/math/Vector.h"
#include "world/CarObject.h"

namespace zentrix {

/// A car as the computer driver handles it, besides what every driver sees of a car (IRacerCar): its
/// heading and speeds, the pickup it holds, the button request it raises and the handling modifiers of
/// the lap of honour.
class IComputerCar {
public:
    virtual ~IComputerCar() = default;

    /// The way the car faces.
    virtual CVector GetDirection() const = 0;
    /// The length of the mean contact-point velocity.
    virtual float GetSpeed() const = 0;
    virtual float GetTopSpeed() const = 0;
    virtual bool IsMovingForward() const = 0;
    /// Slower than the car's standstill speed.
    virtual bool IsStopped() const = 0;
    /// The held pickup's type; -1 none.
    virtual int GetPickupType() const = 0;
    /// Raises the car's action request `i` (0: the first button).
    virtual void RaiseActionRequest(int i) = 0;
    /// Scales the handling for `durationMs`; false when the car refuses.
    virtual bool ApplyParamModifiers(const CCarObject::SParamModifiers& factors, int durationMs) = 0;
};

} // namespace zentrix
