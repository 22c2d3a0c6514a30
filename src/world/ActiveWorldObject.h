#pragma once

#include "world/ContactOwner.h"
#include "world/ContactSample.h"
#include "world/Force.h"
#include "world/WorldObject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CAWOAsset;
class CContactNet;
class CContactPoint;
class CForceTransferer;
struct CContactPointDesc;

/// A world object that moves under physics through 1, 3 or 5 ground contact points. The body is not
/// integrated: every point moves by itself under the forces that reach it, then the body's position,
/// direction and up vector are fitted to where the points went and the points are put back at their
/// places on the body. A collision may cancel the step; the body and its points then return to the pose
/// saved at the start of the frame. Contact offsets are given in the model frame (direction (-1, 0, 0),
/// up (0, 1, 0)); with five points, 0 is the centre, 1 and 2 the rear pair, 3 and 4 the front pair, 1
/// and 3 on one side.
class CActiveWorldObject : public CWorldObject, public IContactOwner {
public:
    static constexpr std::uint32_t kMaxContacts = 5;
    /// Partners of the force transfer must be closer than the square root of this.
    static constexpr float kTransferDistanceSquared = 120.0f;
    /// An up vector whose y is at most this is too tilted to trust: the body keeps the saved frame.
    static constexpr float kLeastUpright = 0.707f;
    /// A five-point body leaving the ground tilted past this (up.y at most) gets a take-off kick.
    static constexpr float kTakeOffUpright = 0.99f;
    /// The kick's vertical speeds: the centre and rear points, and the front points.
    static constexpr float kTakeOffRear = 0.55f;
    static constexpr float kTakeOffFront = 0.45f;

    /// An active object of the asset with a life of `lifeMs` (0 or less: unlimited); no points until
    /// Create.
    CActiveWorldObject(int assetId, int lifeMs);
    ~CActiveWorldObject() override;

    /// The world object's creation, then mass, step height and the contact points from the asset, the
    /// contact net, the force transferer and the recorder's frequency log; collision kind 5. A contact
    /// count other than 1, 3 or 5 is logged and gives one point at the object's position.
    bool Create() override;
    /// The world object's, then the transferer, the points and the net go.
    void Destroy() override;
    /// Moves the volumes, the object, then its contact points.
    void SetPositionVector(const CVector& position) override;
    void SetPosition(float x, float y, float z) override;
    /// Turns the object, then puts its points at their places: a point left where the old frame had it
    /// would turn the body back at its next fit.
    void SetOrientation(const CVector& direction, const CVector& up) override;
    /// Saves the pose of the frame's start, shifts the points' position history, then the world
    /// object's tick.
    void Update(unsigned ms) override;
    /// The mean contact velocity; true.
    bool GetVelocity(CVector& out) const override;
    void ForgetObject(const CWorldObject* object) override;
    using CWorldObject::GetDirection;

    // Collisions and their responses (ActiveCollisions.cpp).
    /// Once per tick: sweeps the points over the ground from where they were to where the step took
    /// them; a wall or a step too high is reported to the piece under the object and to itself.
    void CheckTrackCollision(unsigned ms) override;
    /// Chooses the response by kind (3 none, 5 an object hit, any other cancels the step), then
    /// records the contact with the response value.
    void OnCollision(const CVector& contact, int kind, CWorldObject* other) override;
    /// A track contact that lasts from one tick to the next.
    virtual void OnCollisionContinued(const CVector& contact, int kind, CWorldObject* other);
    /// Bounces the points off the contact (mirror image plus a quarter of the contact vector).
    virtual void RespondToCollision(const CVector& contact, int kind, CWorldObject* other, float* response);
    /// Moves the object by the contact vector.
    virtual void Displace(const CVector& contact, int kind, CWorldObject* other, float* response);
    /// Sets the pending velocity of a hit between two active objects by the zone of the hit.
    virtual void RespondToObjectHit(const CVector& contact, int kind, CWorldObject* other, float* response);
    /// Slides along the wall; stops the object after four ticks; after six only ContactHook runs.
    virtual void RespondToContinuedContact(const CVector& contact, int kind, CWorldObject* other,
                                           float* response);
    /// The end of the step: a deferred contact displaces, a stuck object is lifted.
    virtual void ResolvePersistentCollisions();

    /// The horizontal unit vector away from the track contact found this step; false for none.
    bool FindTrackContact(unsigned ms, CVector& out);
    /// Moves copies of the points in passes of one physics step, testing the ground after each.
    bool SweepContacts(unsigned ms, CVector& out);
    /// Whether a point meets ground higher than the body may climb; climbable ground lifts the point.
    bool TestStepHeights(CVector* points, const CVector& centre, CVector& out);
    /// The direction back from the blocked points (a flag per point).
    CVector GetWallVector(const bool* blocked) const;
    /// Every point leaves in the direction d, at a speed from its own (0.3 at least, 0.3 airborne).
    void RedirectContactVelocities(const CVector& direction);
    /// The velocity after an object hit in the zone (0 head on, 1 across, 2 from behind).
    void GetObjectHitVelocity(int zone, CWorldObject* other, const CVector& normal, CVector& out);
    /// The mean of the points minus the offset.
    CVector FitPositionToPoints(const CVector* points, const CVector& offset) const;
    /// Whether a track contact has lasted since an earlier tick.
    bool IsInTrackContact() const { return m_inTrackContact; }

    // The physics passes of a tick.
    /// Moves the contact points under their forces and fits the body to them.
    virtual void SimulateStep(unsigned ms);
    /// Applies the velocities collision responses set, and restores the saved pose when a collision
    /// cancelled the step.
    virtual void FinishStep(unsigned ms);
    /// Turns the object and puts its points at their places.
    virtual void Reorient(const CVector& direction, const CVector& up);
    virtual void Redirect(const CVector& direction);
    /// A new contact point made from the descriptor (cars make wheels).
    virtual std::unique_ptr<CContactPoint> CreateContactPoint(const CContactPointDesc& desc);

    // IContactOwner
    std::uint32_t GetContactCount() const override { return static_cast<std::uint32_t>(m_contacts.size()); }
    std::uint32_t CountGroundedContacts() const override;
    CVector GetMeanContactVelocity() const override;
    /// The asset's friction coefficient; cars have their own.
    float GetFrictionCoefficient() const override;
    bool IsMovingForward() const override;
    CVector GetDirection() const override { return Direction(); }
    float GetWheelGripFactor() const override { return 1.0f; }
    bool FindContact(std::int32_t kind, CVector& vector) const override;
    bool FindContactOfOther(std::int32_t kind, std::int32_t otherKind, CVector& vector) const override;

    /// The mean of the points' velocities before their last integration.
    CVector GetMeanPreviousVelocity() const;
    /// Every point's velocity.
    void SetVelocity(const CVector& velocity);
    /// How far the object moved since the frame's start.
    CVector GetStepDisplacement() const { return Position() - m_savedPosition; }
    CVector GetSavedPosition() const { return m_savedPosition; }
    CVector GetSavedDirection() const { return m_savedDirection; }
    CVector GetSavedUp() const { return m_savedUp; }
    /// Asset value 70 x 0.01; -1.0 before creation.
    float GetMass() const { return m_mass; }
    /// How high a point may climb in one sweep step (asset value 73).
    float GetStepHeight() const { return m_stepHeight; }
    /// The points whose on-ground flag was set before their last update.
    std::uint32_t CountContactsGroundedLastStep() const;
    /// One point on the ground; of three or five, at least three.
    bool IsGrounded() const;
    /// Whether n grounded points carry the body: 1 of 1, 2 of 3, 3 of 5.
    bool HasEnoughGroundContacts(std::uint32_t n) const;
    /// Whether enough points were grounded at the last body fit.
    bool HasEnoughGround() const { return m_enoughGrounded; }

    /// Every point gets the force, unless a collision has cancelled the step.
    void ApplyForce(const CForce& force);
    /// Point `index` gets the force; on a five-point body a corner's force is also shared out along and
    /// across the body to the opposite corners and, at half size, to the centre. An index at or beyond
    /// the count does nothing.
    void ApplyForceAtContact(const CForce& force, std::uint32_t index);
    /// Turns direction and up about the axis and puts the points at their places.
    void RotateAboutAxis(const CVector& axis, float angle);
    /// A contact net of size x size over the points' footprint in place of any other; false (no net)
    /// for size 0 or a net that cannot be laid.
    bool CreateContactNet(std::uint32_t size);
    void DestroyContactNet();
    /// Every point at the object's position plus its offset turned into the object's frame; previous
    /// positions and velocities stay.
    void PlaceContactPoints();
    /// The mean of the points' last forces.
    CVector GetMeanLastForce() const;
    /// Every point's gathered force scaled by k, then `force` added (the last forces stay).
    void DampAndAddForce(const CForce& force, float k);
    /// A collision response cancels the step: the pose is restored at its end and forces are ignored
    /// until the next step.
    void CancelStep() { m_stepValid = false; }
    bool IsStepValid() const { return m_stepValid; }
    /// The step counts again (an object put somewhere new).
    void ValidateStep() { m_stepValid = true; }

    CContactPoint* GetContact(std::uint32_t i) const {
        return i < m_contacts.size() ? m_contacts[i].get() : nullptr;
    }
    /// Where point i was after the last step (before the body fit put it back on the body).
    CVector GetContactPosition(std::uint32_t i) const {
        return i < kMaxContacts ? m_contactPositions[i] : CVector();
    }
    /// The mean of the points' local offsets (the centre point of five does not count).
    CVector GetCentroid() const { return m_centroid; }
    /// The centroid turned from the model frame into (direction, up).
    CVector GetWorldCentroidOffset(const CVector& direction, const CVector& up) const;
    CContactNet* GetContactNet() const { return m_contactNet.get(); }
    CForceTransferer* GetForceTransferer() const { return m_transferer.get(); }
    const CAWOAsset* GetActiveAsset() const { return m_activeAsset; }

protected:
    /// Body position, direction and up from where the points went.
    void FitBodyToContacts();
    /// The up vector of the points' plane; may reorder the samples. Zero for a count the body cannot
    /// have.
    CVector FitUpVector(ContactSample* samples, std::uint32_t grounded) const;
    /// The forward direction from the samples in key order.
    CVector FitDirection(const ContactSample* samples) const;
    /// Back to the pose saved at the frame's start, the points to their previous positions.
    void RestoreSavedPose();

private:
    /// Makes the points of the asset; false when a point cannot be made.
    bool MakeContactPoints(std::uint32_t count);
    /// One point at the object's position (a body whose asset gives no usable count).
    void MakeSinglePoint();
    CContactPointDesc DescribePoint(std::uint32_t index, const CVector& offset);

    const CAWOAsset* m_activeAsset = nullptr;
    float m_mass = -1.0f;
    float m_stepHeight = 0.0f;
    bool m_enoughGrounded = false;
    std::vector<std::unique_ptr<CContactPoint>> m_contacts;
    CVector m_centroid;
    std::array<CVector, kMaxContacts> m_contactPositions{};
    std::unique_ptr<CContactNet> m_contactNet;
    std::unique_ptr<CForceTransferer> m_transferer;
    CVector m_savedPosition;
    CVector m_savedDirection{0.0f, 0.0f, 1.0f};
    CVector m_savedUp = kUpVector;
    bool m_savedEnoughGrounded = false;
    bool m_stepValid = true;
    bool m_inTrackContact = false;
};

} // namespace zentrix
