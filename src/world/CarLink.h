#pragma once

namespace zentrix {

/// What track pieces, pickups and spawn pads ask of a car in the world: who drives it and whether it
/// takes pickups. Cars (the jam truck among them) answer it; any other active object is no car to them.
class ICarLink {
public:
    virtual ~ICarLink() = default;
    /// The slot of the car's driver (sounds are played for it); -1 while no driver steers it.
    virtual int GetDriverSlot() const = 0;
    /// Whether a driver steers the car and accepts pickups, and the car itself can hold one (the jam
    /// truck never does).
    virtual bool TakesPickups() const = 0;
    /// The pickup type the car holds; -1 for none.
    virtual int GetPickupType() const = 0;
    /// The car is handed a pickup of `type`.
    virtual void GivePickup(int type) = 0;
    /// Whether the car is the jam truck.
    virtual bool IsJamTruck() const { return false; }
};

} // namespace zentrix
