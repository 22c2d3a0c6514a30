#include "world/ActiveWorldObject.h"

#include "foundation/assets/AWOAsset.h"
#include "foundation/math/Geometry.h"
#include "foundation/math/Rotation.h"
#include "world/BoundingVolume.h"
#include "world/CollisionRecorder.h"
#include "world/ContactNet.h"
#include "world/ContactPoint.h"
#include "world/ContactPointDesc.h"
#include "world/ForceTransferer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zentrix {

namespace {

bool IsNumber(const CVector& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

/// A value read from data as the simulation takes it: what is not a number counts as 0.
float Number(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

CVector Number(const CVector& v) {
    return IsNumber(v) ? v : CVector();
}

} // namespace

CActiveWorldObject::CActiveWorldObject(int assetId, int lifeMs)
    : CWorldObject(assetId, lifeMs, nullptr, -1) {}

CActiveWorldObject::~CActiveWorldObject() {
    CActiveWorldObject::Destroy();
}

bool CActiveWorldObject::Create() {
    CActiveWorldObject::Destroy();
    CWorldObject::Create();
    m_activeAsset = dynamic_cast<const CAWOAsset*>(GetAsset());
    if (m_activeAsset) {
        m_mass = Number(m_activeAsset->GetMass());
        m_stepHeight = Number(m_activeAsset->GetParam73());
        const CAWOAsset& a = *m_activeAsset;
        if (!std::isfinite(a.GetMass()) || !std::isfinite(a.GetParam73()) ||
            !std::isfinite(a.GetFrictionCoefficient()) || !IsNumber(a.GetParam83()) ||
            !std::isfinite(a.GetParam84()))
            LogProblem("Physical values that are not numbers count as 0");
    }
    m_savedUp = kUpVector;
    m_savedDirection = CVector(0.0f, 0.0f, 1.0f);
    m_inTrackContact = false;

    // The count comes from data: only a body of 1, 3 or 5 points can be fitted, and every other
    // operation reads at most five points. Anything else stands on one point at its position.
    const int count = m_activeAsset ? m_activeAsset->GetContactCount() : 0;
    bool numbers = true;
    for (int i = 0; m_activeAsset && i < count && i < static_cast<int>(kMaxContacts); ++i)
        numbers = numbers && IsNumber(m_activeAsset->GetContactOffset(i));
    if (count != 1 && count != 3 && count != 5) {
        LogProblem("Contact point count " + std::to_string(count) + " is not 1, 3 or 5");
        MakeSinglePoint();
    } else if (!numbers) {
        LogProblem("Contact point offsets are not numbers");
        MakeSinglePoint();
    } else if (!MakeContactPoints(static_cast<std::uint32_t>(count))) {
        LogProblem("Contact point " + std::to_string(m_contacts.size()) + " could not be made");
        MakeSinglePoint();
    }

    const auto offset = [this](std::size_t i) { return m_contacts[i]->GetLocalOffset(); };
    switch (m_contacts.size()) {
    case 1:
        m_centroid = offset(0);
        break;
    case 3:
        m_centroid = (offset(0) + offset(1) + offset(2)) / 3.0f;
        break;
    case 5:
        m_centroid = (offset(3) + offset(4) + offset(1) + offset(2)) / 4.0f;
        break;
    default:
        m_centroid.Zero();
        break;
    }
    CreateContactNet(
        m_activeAsset ? static_cast<std::uint32_t>(std::max(m_activeAsset->GetContactNetSize(), 0)) : 0);
    m_transferer = std::make_unique<CForceTransferer>();
    if (!m_transferer->Init(this, GetCollisionRecorder(), kTransferDistanceSquared))
        m_transferer.reset();
    if (CCollisionRecorder* recorder = GetCollisionRecorder())
        recorder->EnableFrequencyLog(true);
    SetCollisionKind(kCollisionObject);
    SetCreated(true);
    return true;
}

CContactPointDesc CActiveWorldObject::DescribePoint(std::uint32_t index, const CVector& offset) {
    CContactPointDesc desc;
    desc.index = index;
    desc.localOffset = offset;
    desc.ownerPosition = Position();
    desc.startsOnGround = 1;
    desc.owner = this;
    if (m_activeAsset) {
        desc.frictionCoefficient = Number(m_activeAsset->GetFrictionCoefficient());
        desc.assetValue82 = m_activeAsset->GetParam82();
        desc.assetValue81 = m_activeAsset->GetParam81();
        desc.constantForce = Number(m_activeAsset->GetParam83());
        desc.groundForceFactor = Number(m_activeAsset->GetParam84());
    }
    return desc;
}

bool CActiveWorldObject::MakeContactPoints(std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        // A point that cannot be made is not asked for again: it would fail the same way for ever.
        std::unique_ptr<CContactPoint> point =
            CreateContactPoint(DescribePoint(i, m_activeAsset->GetContactOffset(static_cast<int>(i))));
        if (!point)
            return false;
        m_contacts.push_back(std::move(point));
    }
    return true;
}

void CActiveWorldObject::MakeSinglePoint() {
    m_contacts.clear();
    if (std::unique_ptr<CContactPoint> point = CreateContactPoint(DescribePoint(0, CVector())))
        m_contacts.push_back(std::move(point));
}

std::unique_ptr<CContactPoint> CActiveWorldObject::CreateContactPoint(const CContactPointDesc& desc) {
    auto point = std::make_unique<CContactPoint>();
    point->Init(desc);
    return point;
}

void CActiveWorldObject::Destroy() {
    CWorldObject::Destroy();
    m_transferer.reset();
    m_contacts.clear();
    SetCreated(false);
    m_contactNet.reset();
}

bool CActiveWorldObject::CreateContactNet(std::uint32_t size) {
    DestroyContactNet();
    if (size == 0)
        return false;
    std::vector<const CContactPoint*> points;
    for (const auto& point : m_contacts)
        points.push_back(point.get());
    m_contactNet = std::make_unique<CContactNet>();
    if (!m_contactNet->InitFromContactPoints(size, points.data(),
                                             static_cast<std::uint32_t>(points.size()))) {
        m_contactNet.reset();
        return false;
    }
    return true;
}

void CActiveWorldObject::DestroyContactNet() {
    m_contactNet.reset();
}

void CActiveWorldObject::ForgetObject(const CWorldObject* object) {
    CWorldObject::ForgetObject(object);
    if (m_transferer)
        m_transferer->ForgetPartner(object);
}

// ---- placement ----

void CActiveWorldObject::SetPositionVector(const CVector& position) {
    for (const auto& volume : GetBoundingVolumes())
        volume->SetCentre(position);
    CWorldObject::SetPositionVector(position);
    PlaceContactPoints();
}

void CActiveWorldObject::SetPosition(float x, float y, float z) {
    CActiveWorldObject::SetPositionVector(CVector(x, y, z));
}

void CActiveWorldObject::SetOrientation(const CVector& direction, const CVector& up) {
    CWorldObject::SetOrientation(direction, up);
    PlaceContactPoints();
}

void CActiveWorldObject::Reorient(const CVector& direction, const CVector& up) {
    SetOrientation(direction, up);
    PlaceContactPoints();
}

void CActiveWorldObject::Redirect(const CVector& direction) {
    SetDirectionVector(direction);
    PlaceContactPoints();
}

void CActiveWorldObject::RotateAboutAxis(const CVector& axis, float angle) {
    CVector direction;
    CVector up;
    RotateVectorAboutAxis(Direction(), direction, axis, angle);
    RotateVectorAboutAxis(Up(), up, axis, angle);
    CWorldObject::SetOrientation(direction, up);
    PlaceContactPoints();
}

CVector CActiveWorldObject::GetWorldCentroidOffset(const CVector& direction, const CVector& up) const {
    CVector offset = m_centroid;
    offset.TransformBetweenFrames(kDefaultDirection, kUpVector, direction, up);
    return offset;
}

void CActiveWorldObject::PlaceContactPoints() {
    const CVector position = Position();
    const CVector direction = Direction();
    const CVector up = Up();
    for (const auto& point : m_contacts) {
        CVector offset = point->GetLocalOffset();
        offset.TransformBetweenFrames(kDefaultDirection, kUpVector, direction, up);
        point->PlaceAt(position + offset);
    }
}

// ---- the tick ----

void CActiveWorldObject::Update(unsigned ms) {
    m_savedPosition = Position();
    m_savedDirection = Direction();
    m_savedUp = Up();
    m_savedEnoughGrounded = m_enoughGrounded;
    for (const auto& point : m_contacts)
        point->ShiftPositionHistory();
    CWorldObject::Update(ms);
}

void CActiveWorldObject::SimulateStep(unsigned ms) {
    m_stepValid = true;
    if (CCollisionRecorder* recorder = GetCollisionRecorder())
        recorder->NewFrame();
    if (m_transferer)
        m_transferer->Update();
    for (const auto& point : m_contacts)
        point->Update(ms);
    // A body that leaves the ground tilted is thrown a little upward, the front less than the rear.
    if (m_contacts.size() == 5 && CountContactsGroundedLastStep() > 0 && CountGroundedContacts() == 0 &&
        Up().y <= kTakeOffUpright)
        for (std::size_t i = 0; i < m_contacts.size(); ++i) {
            CVector velocity = m_contacts[i]->GetVelocity();
            velocity.y = i <= 2 ? kTakeOffRear : kTakeOffFront;
            m_contacts[i]->SetVelocity(velocity);
        }
    for (std::size_t i = 0; i < m_contacts.size(); ++i)
        m_contactPositions[i] = m_contacts[i]->GetPosition();
    FitBodyToContacts();
    const CVector position = Position();
    for (const auto& volume : GetBoundingVolumes()) {
        volume->SetCentre(position);
        volume->SetOrientation(Direction(), Up());
    }
}

void CActiveWorldObject::FinishStep(unsigned /*ms*/) {
    for (const auto& point : m_contacts)
        point->ApplyPendingImpulse();
    if (!m_stepValid)
        RestoreSavedPose();
    ResolvePersistentCollisions();
}

void CActiveWorldObject::RestoreSavedPose() {
    CWorldObject::SetPositionVector(m_savedPosition);
    CWorldObject::SetOrientation(m_savedDirection, m_savedUp);
    m_enoughGrounded = m_savedEnoughGrounded;
    for (const auto& point : m_contacts)
        point->RevertPosition();
    for (const auto& volume : GetBoundingVolumes()) {
        volume->SetCentre(m_savedPosition);
        volume->SetOrientation(m_savedDirection, m_savedUp);
    }
}

// ---- the body fit ----

void CActiveWorldObject::FitBodyToContacts() {
    const auto n = static_cast<std::uint32_t>(m_contacts.size());
    if (n == 0)
        return;
    std::array<ContactSample, kMaxContacts> samples{};
    std::uint32_t grounded = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        samples[i].key = i;
        samples[i].point = m_contacts[i]->GetPosition();
        samples[i].flag = m_contacts[i]->IsOnGround() ? 1 : 0;
        grounded += samples[i].flag;
    }
    m_enoughGrounded = HasEnoughGroundContacts(grounded);
    CVector up = FitUpVector(samples.data(), grounded);
    // A plane tilted this far (or upside down) is more likely a body half over an edge than the ground:
    // the frame of the frame's start is kept and only the position follows the points.
    const bool unstable = up.y <= 0.0f || std::fabs(up.Dot(kUpVector)) <= kLeastUpright;
    if (unstable)
        up = m_savedUp;
    const CVector onPlane = samples[n - 1].point;
    for (std::uint32_t i = 0; i < n; ++i)
        samples[i].point.SetYOnPlane(onPlane, up);
    CContactPoint::SortSamples(samples.data(), n, 2);
    const CVector direction = unstable ? m_savedDirection : FitDirection(samples.data());
    CVector sum;
    for (std::uint32_t i = 0; i < n; ++i)
        sum += samples[i].point;
    const CVector position = sum / static_cast<float>(n) - GetWorldCentroidOffset(direction, up);
    CWorldObject::SetPositionVector(position);
    CWorldObject::SetOrientation(direction, up);
    PlaceContactPoints();
}

CVector CActiveWorldObject::FitUpVector(ContactSample* samples, std::uint32_t grounded) const {
    switch (m_contacts.size()) {
    case 1:
        return kUpVector;
    case 3: {
        CVector up = UpwardTriangleNormal(samples[2].point, samples[1].point, samples[0].point);
        up.DefaultIfZero(kUpVector);
        return up;
    }
    case 5: {
        CVector corners[4] = {samples[1].point, samples[2].point, samples[3].point, samples[4].point};
        bool below = !IsPointOnOrAbovePlane(corners, 4, samples[0].point);
        if (grounded == 3 && samples[0].flag != 0)
            below = false;
        if (!m_enoughGrounded) {
            samples[1].point.y = samples[2].point.y;
            samples[3].point.y = samples[4].point.y;
        }
        // A centre point under the corners' plane does not choose the plane.
        if ((below && grounded >= 3) || grounded == 0)
            CContactPoint::SortSamples(samples + 1, 4, 1);
        else
            CContactPoint::SortSamples(samples, 5, 1);
        CVector up = UpwardTriangleNormal(samples[4].point, samples[3].point, samples[2].point);
        up.DefaultIfZero(kUpVector);
        return up;
    }
    default:
        return CVector();
    }
}

CVector CActiveWorldObject::FitDirection(const ContactSample* samples) const {
    CVector direction;
    switch (m_contacts.size()) {
    case 1:
        return Direction();
    case 3:
        direction = (samples[1].point + samples[2].point) / 2.0f - samples[0].point;
        break;
    case 5:
        direction = ((samples[4].point - samples[2].point) + (samples[3].point - samples[1].point)) / 2.0f;
        break;
    default:
        return CVector();
    }
    direction.DefaultIfZero(m_savedDirection);
    direction.Normalise();
    return direction;
}

// ---- forces ----

void CActiveWorldObject::ApplyForce(const CForce& force) {
    if (!m_stepValid)
        return;
    for (const auto& point : m_contacts)
        point->ApplyForce(force);
}

void CActiveWorldObject::ApplyForceAtContact(const CForce& force, std::uint32_t index) {
    if (index >= m_contacts.size())
        return;
    m_contacts[index]->ApplyForce(force);
    if (m_contacts.size() != 5 || index < 1 || index > 4)
        return;
    // Along the body a corner pulls the corner in front of or behind it; across the body its neighbour
    // on the other side; the centre feels both at half size.
    static constexpr std::uint32_t kForwardTo[5] = {0, 3, 4, 1, 2};
    static constexpr std::uint32_t kSideTo[5] = {0, 2, 1, 4, 3};
    CVector forward = Direction();
    CVector side = Direction().Cross(Up());
    forward.SafeNormalise();
    side.SafeNormalise();
    const float along = forward.Dot(force);
    const float across = side.Dot(force);
    m_contacts[kForwardTo[index]]->ApplyForce(CForce(forward * along, CForce::kDrive));
    m_contacts[kSideTo[index]]->ApplyForce(CForce(side * across, CForce::kDrive));
    m_contacts[0]->ApplyForce(CForce(side * (0.5f * across), CForce::kDrive));
    m_contacts[0]->ApplyForce(CForce(forward * (0.5f * along), CForce::kDrive));
}

CVector CActiveWorldObject::GetMeanLastForce() const {
    CVector sum;
    for (const auto& point : m_contacts)
        sum += point->GetLastForce();
    return m_contacts.empty() ? sum : sum / static_cast<float>(m_contacts.size());
}

void CActiveWorldObject::DampAndAddForce(const CForce& force, float k) {
    for (const auto& point : m_contacts) {
        point->SetForce(point->GetForce() * k);
        point->AddForce(force);
    }
}

// ---- what the points and others read ----

std::uint32_t CActiveWorldObject::CountGroundedContacts() const {
    std::uint32_t n = 0;
    for (const auto& point : m_contacts)
        n += point->IsOnGround() ? 1 : 0;
    return n;
}

std::uint32_t CActiveWorldObject::CountContactsGroundedLastStep() const {
    std::uint32_t n = 0;
    for (const auto& point : m_contacts)
        n += point->WasOnGround() ? 1 : 0;
    return n;
}

bool CActiveWorldObject::IsGrounded() const {
    switch (m_contacts.size()) {
    case 1:
        return m_contacts[0]->IsOnGround();
    case 3:
    case 5:
        return CountGroundedContacts() >= 3;
    default:
        return false;
    }
}

bool CActiveWorldObject::HasEnoughGroundContacts(std::uint32_t n) const {
    switch (m_contacts.size()) {
    case 1:
        return n == 1;
    case 3:
        return n >= 2;
    case 5:
        return n >= 3;
    default:
        return false;
    }
}

CVector CActiveWorldObject::GetMeanContactVelocity() const {
    CVector sum;
    for (const auto& point : m_contacts)
        sum += point->GetVelocity();
    return m_contacts.empty() ? sum : sum / static_cast<float>(m_contacts.size());
}

CVector CActiveWorldObject::GetMeanPreviousVelocity() const {
    CVector sum;
    for (const auto& point : m_contacts)
        sum += point->GetPreviousVelocity();
    return m_contacts.empty() ? sum : sum / static_cast<float>(m_contacts.size());
}

void CActiveWorldObject::SetVelocity(const CVector& velocity) {
    for (const auto& point : m_contacts)
        point->SetVelocity(velocity);
}

bool CActiveWorldObject::GetVelocity(CVector& out) const {
    out = GetMeanContactVelocity();
    return true;
}

float CActiveWorldObject::GetFrictionCoefficient() const {
    return m_activeAsset ? Number(m_activeAsset->GetFrictionCoefficient()) : 0.0f;
}

bool CActiveWorldObject::IsMovingForward() const {
    return GetMeanContactVelocity().Dot(Direction()) > 0.0f;
}

bool CActiveWorldObject::FindContact(std::int32_t kind, CVector& vector) const {
    const CCollisionRecorder* recorder = GetCollisionRecorder();
    SContactEntry entry;
    std::uint32_t persistence = 0;
    if (!recorder || !recorder->FindContact(kind, entry, persistence))
        return false;
    vector = entry.vector;
    return true;
}

bool CActiveWorldObject::FindContactOfOther(std::int32_t kind, std::int32_t otherKind,
                                            CVector& vector) const {
    const CCollisionRecorder* recorder = GetCollisionRecorder();
    SContactEntry entry;
    std::uint32_t persistence = 0;
    if (!recorder || !recorder->FindContact(kind, entry, persistence) || !entry.other)
        return false;
    const CCollisionRecorder* others = entry.other->GetCollisionRecorder();
    SContactEntry theirs;
    if (!others || !others->FindContact(otherKind, theirs, persistence))
        return false;
    vector = theirs.vector;
    return true;
}

} // namespace zentrix
