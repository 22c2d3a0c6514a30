#include "world/ContactPoint.h"

#include "world/ContactOwner.h"
#include "world/PhysicsStepFactor.h"
#include "world/TopographyWorld.h"

#include <algorithm>

namespace zentrix {

CContactPoint::CContactPoint() = default;

CContactPoint::~CContactPoint() = default;

void CContactPoint::Init(const CContactPointDesc& desc) {
    m_id = -1;
    m_owner = nullptr;
    m_initialised = false;

    m_id = static_cast<std::int32_t>(desc.index);
    m_onGround = m_wasOnGround = desc.startsOnGround != 0;
    m_localOffset = desc.localOffset;
    m_position = desc.ownerPosition + desc.localOffset;
    m_velocity.Zero();
    m_previousVelocity.Zero();
    m_lastForce.Zero();
    // Nothing lies at the sample point, so the first ground test always asks the terrain.
    m_groundSample.Set(kNoHeight, kNoHeight, kNoHeight);
    m_groundHeight = kNoHeight;
    m_owner = desc.owner;
    m_constantForce = desc.constantForce;
    m_groundForceFactor = desc.groundForceFactor;
    m_pending = false;
    m_initialised = true;
}

float CContactPoint::SurfaceParam(int field) {
    const ITopographyWorld* world = GetWorld();
    return world ? world->GetSurfaceParam(field) : 0.0f;
}

void CContactPoint::SetPosition(float x, float y, float z) {
    m_previousPosition = m_position;
    m_position.Set(x, y, z);
}

void CContactPoint::RevertPosition() {
    m_position = m_previousPosition;
    if (m_onGround)
        m_velocity.y = m_previousVelocity.y;
}

void CContactPoint::SetPendingVelocity(float x, float y, float z) {
    m_pendingVelocity.Set(x, y, z);
    m_pending = true;
}

void CContactPoint::ApplyPendingImpulse() {
    if (!m_pending)
        return;
    m_velocity = m_pendingVelocity;
    m_pending = false;
}

void CContactPoint::ApplyForce(const CForce& force) {
    m_force += force;
    m_lastForce = m_force;
}

void CContactPoint::Update(std::uint32_t ms) {
    if (m_onGround) {
        CVector normal = GetGroundNormal(m_position.x, m_position.z);
        m_groundNormal = normal;
        if (normal.y < 0.0f)
            normal.y = 0.0f;
        ApplyGroundForce(normal);
    }
    ApplyFriction();
    ApplyForce(CForce(m_constantForce, CForce::kExternal));
    const float dt = static_cast<float>(ms) * GetPhysicsStepFactor();
    Integrate(dt);
    ResolveGround(dt);
    m_force.Zero();
}

void CContactPoint::Integrate(float dt) {
    CVector n;
    if (m_owner && m_owner->FindContact(kObjectContact, n)) {
        // Nothing pushes into what the owner touches.
        const float d = m_force.Dot(n);
        if (d < 0.0f)
            m_force -= n * d;
        // Pressed between that object and what holds it up: the point stops.
        CVector m;
        if (m_owner->FindContactOfOther(kObjectContact, kTrackContact, m) && m.Dot(n) >= 0.0f) {
            m_force.Zero();
            m_velocity.Zero();
        }
    }
    m_previousVelocity = m_velocity;
    const CVector old = m_velocity;
    m_velocity = old + m_force * dt;
    m_position += (old + m_velocity) * (0.5f * dt);
}

bool CContactPoint::IsBelowGround(float& height) {
    if (m_groundSample.x == m_position.x && m_groundSample.z == m_position.z) {
        height = m_groundHeight;
    } else {
        height = GetGroundHeight(m_position.x, m_position.z, nullptr);
        m_groundSample = m_position;
        m_groundHeight = height;
    }
    if (m_owner)
        height -= m_owner->GetGroundSink();
    return m_position.y < height;
}

void CContactPoint::ResolveGround(float dt) {
    m_wasOnGround = m_onGround;
    float height = 0.0f;
    m_onGround = IsBelowGround(height);
    // A point just above the ground with nothing lifting it sticks to the ground.
    if (!m_onGround && m_force.y <= 0.0f && m_position.y < height + kStickHeight * dt)
        m_onGround = true;
    if (m_onGround) {
        m_position.y = height;
        m_velocity.y = 0.0f;
    } else {
        LeaveGround(height);
    }
}

void CContactPoint::LeaveGround(float height) {
    if (!m_wasOnGround)
        return;
    m_velocity.y = 0.0f;
    if (m_position.y - height > kKickHeight && m_owner) {
        const std::uint32_t count = m_owner->GetContactCount();
        const float grounded = count ? static_cast<float>(m_owner->CountGroundedContacts()) / count : 0.0f;
        m_velocity.y = kKickSpeed * grounded;
    }
}

void CContactPoint::ApplyGroundForce(CVector normal) {
    CVector f = normal;
    if (!f.IsZero()) {
        const float k = m_groundForceFactor * SurfaceParam(ITopographyWorld::kSurfaceSlopePush);
        const bool fast = m_owner && m_owner->GetMeanContactVelocity().Length() > kSlopeSpeed;
        f = fast ? CVector() : f * k;
    }
    // Only the horizontal part pushes: a slow object slides down a slope.
    f.y = 0.0f;
    if (!f.IsZero())
        ApplyForce(CForce(f, CForce::kExternal));
}

void CContactPoint::ApplyFriction() {
    const CVector horizontal(m_velocity.x, 0.0f, m_velocity.z);
    if (horizontal.Length() < kStopSpeed) {
        m_velocity.x = 0.0f;
        m_velocity.z = 0.0f;
        return;
    }
    if (!m_onGround)
        return;
    CVector f = m_velocity * -1.0f;
    f.y = 0.0f;
    if (f.IsZero())
        return;
    f.Normalise();
    f *= m_owner ? m_owner->GetFrictionCoefficient() : 0.0f;
    ApplyForce(CForce(f, CForce::kFriction));
}

void CContactPoint::SortSamples(ContactSample* samples, std::uint32_t count, int mode) {
    if (!samples || count < 2)
        return;
    if (mode == 1) {
        const auto greater = [](const ContactSample& a, const ContactSample& b) {
            const bool aSet = a.flag != 0;
            const bool bSet = b.flag != 0;
            return aSet != bSet ? aSet : a.point.y > b.point.y;
        };
        for (std::uint32_t pass = 0; pass + 1 < count; ++pass)
            for (std::uint32_t i = 0; i + 1 < count; ++i)
                if (greater(samples[i], samples[i + 1]))
                    std::swap(samples[i], samples[i + 1]);
    } else if (mode == 2) {
        std::sort(samples, samples + count,
                  [](const ContactSample& a, const ContactSample& b) { return a.key < b.key; });
    }
}

} // namespace zentrix
