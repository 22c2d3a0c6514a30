#pragma once

#include "foundation/math/Vector.h"
#include "world/ContactPointDesc.h"
#include "world/ContactSample.h"
#include "world/Force.h"
#include "world/TopographyFollower.h"

#include <cstdint>

namespace zentrix {

class IContactOwner;

/// One point of unit mass on which an active object rests. Every simulation step it gathers forces
/// (slope push, friction, its constant force, forces handed in by the owner and by pieces), integrates
/// velocity and position over the step, and is then held on, or released from, the ground under it.
/// Velocities are per physics step unit (see GetPhysicsStepFactor).
class CContactPoint : public CTopographyFollower {
public:
    /// The cached ground height and sample point before the first query.
    static constexpr float kNoHeight = -1000000.0f;
    /// Below this horizontal speed a point stops.
    static constexpr float kStopSpeed = 0.05f;
    /// Above this mean speed of its owner a point feels no slope.
    static constexpr float kSlopeSpeed = 1.0f;
    /// How far above the ground (per step unit) a point still snaps onto it.
    static constexpr float kStickHeight = 1.0f;
    /// A point leaving the ground more than this above it gets an upward kick.
    static constexpr float kKickHeight = 1.0f;
    /// The vertical speed of that kick with every point of the owner on the ground.
    static constexpr float kKickSpeed = 0.55f;
    /// Recorded contact kinds the integration asks for: an active object or piece touched, and a track
    /// contact of the object touched.
    static constexpr std::int32_t kObjectContact = 5;
    static constexpr std::int32_t kTrackContact = 1;

    CContactPoint();
    ~CContactPoint() override;

    /// Starts the point at the owner's position plus its offset, on the ground as the descriptor says,
    /// at rest, with a ground height that the first query will ask the terrain for.
    void Init(const CContactPointDesc& desc);

    /// Adds a force to this step's sum; the last force becomes the sum.
    virtual void ApplyForce(const CForce& force);
    /// One step of ms milliseconds: ground push, friction, constant force, integration, ground.
    virtual void Update(std::uint32_t ms);
    /// Takes a velocity that a collision response set for this step.
    virtual void ApplyPendingImpulse();
    /// The slope push of the ground under a grounded point.
    virtual void ApplyGroundForce(CVector normal);
    /// Stops a slow point; friction of constant size against the horizontal motion on the ground.
    virtual void ApplyFriction();

    /// Adds a force to the sum, leaving the last force as it was.
    void AddForce(const CForce& force) { m_force += force; }
    void SetForce(CVector force) { m_force = force; }
    CVector GetForce() const { return m_force; }
    CVector GetLastForce() const { return m_lastForce; }
    void ClearLastForce() { m_lastForce.Zero(); }

    /// Moves the point (previous position = the current one).
    void SetPosition(float x, float y, float z);
    /// Puts the point where its owner's body holds it; the previous position and the velocity stay.
    void PlaceAt(const CVector& position) { m_position = position; }
    /// Previous position = position; once per frame.
    void ShiftPositionHistory() { m_previousPosition = m_position; }
    /// Back to the previous position; a grounded point takes back its vertical speed.
    void RevertPosition();
    /// A velocity that takes effect at ApplyPendingImpulse.
    void SetPendingVelocity(float x, float y, float z);

    std::int32_t GetId() const { return m_id; }
    bool IsInitialised() const { return m_initialised; }
    CVector GetPosition() const { return m_position; }
    CVector GetPreviousPosition() const { return m_previousPosition; }
    CVector GetVelocity() const { return m_velocity; }
    void SetVelocity(CVector velocity) { m_velocity = velocity; }
    CVector GetPreviousVelocity() const { return m_previousVelocity; }
    CVector GetLocalOffset() const { return m_localOffset; }
    /// The ground normal of the last grounded step.
    CVector GetLastGroundNormal() const { return m_groundNormal; }
    bool IsOnGround() const { return m_onGround; }
    bool WasOnGround() const { return m_wasOnGround; }

    /// Orders samples: mode 1 those off the ground first, then by ascending height (a bubble sort, so
    /// equal samples keep their order); mode 2 by ascending key; other modes leave them.
    static void SortSamples(ContactSample* samples, std::uint32_t count, int mode);

protected:
    /// Velocity and position over dt step units, after taking out what pushes into a touched object.
    void Integrate(float dt);
    /// Holds the point on the ground or lets it leave it.
    void ResolveGround(float dt);
    /// Whether the point is below the ground, whose height it gives; a point that has not moved on the
    /// X/Z plane since the last query takes the cached height.
    bool IsBelowGround(float& height);
    /// The first airborne step after a grounded one.
    void LeaveGround(float height);
    /// The surface value `field` of the world (0 without one).
    static float SurfaceParam(int field);

    std::int32_t m_id = -1;
    CVector m_position;
    CVector m_previousPosition;
    CVector m_velocity;
    CVector m_previousVelocity;
    float m_groundHeight = kNoHeight;
    CVector m_groundSample{kNoHeight, kNoHeight, kNoHeight};
    IContactOwner* m_owner = nullptr;
    bool m_onGround = false;
    bool m_wasOnGround = false;
    CVector m_groundNormal = kUpVector;
    CVector m_localOffset;
    bool m_initialised = false;
    CVector m_force;
    CVector m_lastForce;
    CVector m_constantForce;
    float m_groundForceFactor = 0.0f;
    CVector m_pendingVelocity;
    bool m_pending = false;
};

} // namespace zentrix
