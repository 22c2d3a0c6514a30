#pragma once

#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// What a contact point reads of the active object it belongs to: its other points, its motion, its
/// friction and the contacts its collision recorder kept from the tick before.
class IContactOwner {
public:
    virtual ~IContactOwner() = default;
    /// The owner's contact points (1, 3 or 5).
    virtual std::uint32_t GetContactCount() const = 0;
    /// The owner's contact points whose on-ground flag is set now.
    virtual std::uint32_t CountGroundedContacts() const = 0;
    /// The mean velocity of the owner's contact points.
    virtual CVector GetMeanContactVelocity() const = 0;
    /// The size of the friction force on a grounded point.
    virtual float GetFrictionCoefficient() const = 0;
    /// Whether the mean contact velocity points along the owner's direction (dot product above 0).
    virtual bool IsMovingForward() const = 0;
    /// The owner's direction.
    virtual CVector GetDirection() const = 0;
    /// The car's grip factor for its wheels' sideways grip.
    virtual float GetWheelGripFactor() const = 0;
    /// The vector of the first contact of `kind` that the owner's recorder kept from the tick before;
    /// false when there is none.
    virtual bool FindContact(std::int32_t kind, CVector& vector) const = 0;
    /// The other object of that contact of `kind`: the vector of the first contact of `otherKind` that
    /// its own recorder kept; false when the contact names no object or that object has none.
    virtual bool FindContactOfOther(std::int32_t kind, std::int32_t otherKind, CVector& vector) const = 0;
    /// How far the owner has sunk into the ground (a pit's mud letting a stuck car down): its points rest
    /// that far below the terrain. 0 for everything else.
    virtual float GetGroundSink() const { return 0.0f; }
};

} // namespace zentrix
