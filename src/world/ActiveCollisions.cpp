// The collision behaviour of active objects: the track check, the responses by kind, continued contact
// and the lift of a stuck object.

#include "world/ActiveWorldObject.h"

#include "foundation/math/Geometry.h"
#include "foundation/math/VectorHelpers.h"
#include "world/BoundingVolume.h"
#include "world/CollisionRecorder.h"
#include "world/ContactNet.h"
#include "world/ContactPoint.h"
#include "world/PhysicsStepFactor.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"

#include <array>
#include <cmath>

namespace zentrix {

namespace {

/// The horizontal part of v, tiny components dropped, as a unit vector (zero stays zero).
CVector FlatDirection(CVector v) {
    v.y = 0.0f;
    SnapToZero(v);
    v.SafeNormalise();
    return v;
}

/// The response value: how far the new direction turns from the old, 0 (unchanged) to 1 (reversed).
float TurnValue(const CVector& before, const CVector& after) {
    return (1.0f - before.Dot(after)) / 2.0f;
}

void SetResponse(float* response, float value) {
    if (response)
        *response = value;
}

/// The extra height a point may climb at speed: a fast body rides over small lips.
float SpeedMargin(float speed) {
    if (speed > 0.375f)
        return 0.465f;
    if (speed > 0.35f)
        return 0.395f;
    if (speed > 0.325f)
        return 0.385f;
    if (speed > 0.2f)
        return 0.3f;
    return 0.0f;
}

/// The track piece on the grid cell under the position; null off the grid or without a grid.
CWorldObject* PieceUnder(const CVector& position) {
    CWorldGrid* grid = CWorldMan::GetWorldGrid();
    if (!grid)
        return nullptr;
    const CVector cell = CWorldGrid::WorldToGrid(position);
    if (!(cell.x >= 0.0f) || !(cell.z >= 0.0f))
        return nullptr;
    return grid->GetPieceAt(static_cast<std::uint32_t>(cell.x), static_cast<std::uint32_t>(cell.z));
}

} // namespace

void CActiveWorldObject::CheckTrackCollision(unsigned ms) {
    for (const auto& point : m_contacts)
        point->ClearLastForce();
    CVector v;
    if (!FindTrackContact(ms, v)) {
        m_inTrackContact = false;
        return;
    }
    CWorldObject* piece = PieceUnder(Position());
    if (piece)
        piece->OnCollision(v * -1.0f, kCollisionObject, this);
    if (!m_inTrackContact) {
        OnCollision(v, kCollisionTrack, piece);
        m_inTrackContact = true;
    } else {
        OnCollisionContinued(v, kCollisionTrack, piece);
    }
    for (const auto& volume : GetBoundingVolumes()) {
        volume->SetCentre(m_savedPosition);
        volume->SetOrientation(m_savedDirection, m_savedUp);
    }
}

bool CActiveWorldObject::FindTrackContact(unsigned ms, CVector& out) {
    CVector vA;
    const bool a = SweepContacts(ms, vA);
    bool b = false;
    CVector vB;
    if (m_contactNet) {
        if (!a) {
            float highest = -1e30f;
            for (const auto& point : m_contacts)
                highest = std::fmax(highest, point->GetPosition().y);
            m_contactNet->SetOrientation(Direction(), Up());
            m_contactNet->SetPosition(CVector(Position().x, highest + 0.85f, Position().z));
        } else {
            m_contactNet->SetOrientation(m_savedDirection, m_savedUp);
            m_contactNet->SetPosition(CVector(Position().x, m_savedPosition.y, Position().z));
        }
        b = m_contactNet->GetGroundEdgeNormal(vB, 1.0f);
        if (a && !b)
            b = m_contactNet->GetGroundEdgeNormal(vB, 3.0f);
        vB.y = 0.0f;
        SnapToZero(vB);
    }
    if (!a && !b) {
        out.Zero();
        return false;
    }
    CVector v;
    if (b && !vB.IsZero())
        v = (!a || m_savedUp.y >= 1.0f) ? vB : vA;
    else if (a)
        v = vA;
    // Nothing says which way the wall lies: back toward where the frame began.
    if (v.IsZero())
        v = m_savedPosition - CVector(Position().x, m_savedPosition.y, Position().z);
    v.y = 0.0f;
    SnapToZero(v);
    v.SafeNormalise();
    out = v;
    return true;
}

bool CActiveWorldObject::SweepContacts(unsigned ms, CVector& out) {
    const float s = GetPhysicsStepFactor() * static_cast<float>(ms);
    const auto n = static_cast<std::uint32_t>(m_contacts.size());
    if (n == 0 || !(s > 0.0f))
        return false;
    const CVector offset = GetWorldCentroidOffset(m_savedDirection, m_savedUp);
    std::array<CVector, kMaxContacts> p{};
    std::array<CVector, kMaxContacts> d{};
    for (std::uint32_t i = 0; i < n; ++i) {
        p[i] = m_contacts[i]->GetPreviousPosition();
        d[i] = (m_contactPositions[i] - p[i]) / s;
        d[i].y = 0.0f;
    }
    const auto whole = static_cast<std::uint32_t>(s);
    const std::uint32_t passes = whole + (s > static_cast<float>(whole) ? 1 : 0);
    for (std::uint32_t k = 0; k < passes; ++k) {
        const float f = k + 1 < passes ? 1.0f : s - static_cast<float>(k);
        for (std::uint32_t i = 0; i < n; ++i)
            p[i] += d[i] * f;
        if (TestStepHeights(p.data(), FitPositionToPoints(p.data(), offset), out))
            return true;
    }
    return false;
}

bool CActiveWorldObject::TestStepHeights(CVector* points, const CVector& centre, CVector& out) {
    const float limit = centre.y + m_stepHeight + SpeedMargin(GetMeanContactVelocity().Length());
    std::array<bool, kMaxContacts> blocked{};
    bool hit = false;
    for (std::size_t i = 0; i < m_contacts.size(); ++i) {
        const float h = m_contacts[i]->GetGroundHeight(points[i].x, points[i].z, nullptr) - GetGroundSink();
        if (h <= points[i].y || h <= limit) {
            if (points[i].y < h)
                points[i].y = h;
        } else {
            blocked[i] = true;
            hit = true;
        }
    }
    if (hit)
        out = GetWallVector(blocked.data());
    return hit;
}

CVector CActiveWorldObject::GetWallVector(const bool* blocked) const {
    CVector v;
    const std::size_t n = m_contacts.size();
    if (n == 1) {
        v = (Position() - m_savedPosition) * -1.0f;
        if (v.IsZero())
            v = Direction() * -1.0f;
    } else if (n == 3 || n == 5) {
        std::array<float, kMaxContacts> slope{};
        float maxSlope = -1.0f;
        for (std::size_t i = 0; i < n; ++i) {
            slope[i] = -1.0f;
            if (i != 0 && blocked[i]) {
                const CVector h = m_contacts[i]->GetPosition() - m_contacts[i]->GetPreviousPosition();
                const float run = std::sqrt(h.x * h.x + h.z * h.z);
                slope[i] = run > 0.0f ? h.y / run : 1000000.0f;
            }
            maxSlope = std::fmax(maxSlope, slope[i]);
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (slope[i] > 0.0f && slope[i] > maxSlope * 0.6f) {
                CVector offset = m_contacts[i]->GetLocalOffset();
                offset.TransformBetweenFrames(kDefaultDirection, kUpVector, m_savedDirection, m_savedUp);
                v -= offset;
            }
        }
    }
    v.SafeNormalise();
    return v;
}

CVector CActiveWorldObject::FitPositionToPoints(const CVector* points, const CVector& offset) const {
    CVector sum;
    for (std::size_t i = 0; i < m_contacts.size(); ++i)
        sum += points[i];
    return m_contacts.empty() ? sum - offset : sum / static_cast<float>(m_contacts.size()) - offset;
}

void CActiveWorldObject::OnCollision(const CVector& contact, int kind, CWorldObject* other) {
    float response = 0.0f;
    if (kind == kCollisionObject) {
        RespondToObjectHit(contact, kind, other, &response);
    } else if (kind != kCollisionDeferred) {
        m_stepValid = false;
        RespondToCollision(contact, kind, other, &response);
    }
    if (!contact.IsZero())
        RecordCollision(contact.GetNormalised(), response, kind, other);
}

void CActiveWorldObject::OnCollisionContinued(const CVector& contact, int kind, CWorldObject* other) {
    float response = 0.0f;
    if (kind == kCollisionTrack) {
        m_stepValid = false;
        RespondToContinuedContact(contact, kind, other, &response);
    }
    if (CCollisionRecorder* recorder = GetCollisionRecorder(); recorder && !contact.IsZero())
        recorder->Record(contact.GetNormalised(), response, kind, other);
}

void CActiveWorldObject::RespondToCollision(const CVector& contact, int /*kind*/, CWorldObject* /*other*/,
                                            float* response) {
    CVector n = contact;
    n.y = 0.0f;
    n.SafeNormalise();
    if (n.IsZero())
        return;
    const CVector dir = FlatDirection(GetMeanContactVelocity());
    CVector d = dir;
    if (!dir.IsZero()) {
        d = TangentialComponentScaled(dir, n, 1.0f);
        SnapToZero(d);
        d.SafeNormalise();
    }
    d = d + contact * 0.25f;
    d.SafeNormalise();
    RedirectContactVelocities(d);
    SetResponse(response, TurnValue(dir, d));
}

void CActiveWorldObject::Displace(const CVector& contact, int /*kind*/, CWorldObject* /*other*/,
                                  float* /*response*/) {
    CActiveWorldObject::SetPositionVector(Position() + contact);
}

void CActiveWorldObject::RespondToContinuedContact(const CVector& contact, int kind, CWorldObject* other,
                                                   float* response) {
    CVector n;
    std::uint32_t c = 0;
    SContactEntry entry;
    const CCollisionRecorder* recorder = GetCollisionRecorder();
    if (recorder && recorder->FindContact(kCollisionTrack, entry, c)) {
        n = entry.vector;
        n.SafeNormalise();
    } else {
        c = 0;
        n = contact;
        n.y = 0.0f;
        n.SafeNormalise();
    }
    if (c > 5) {
        ContactHook(contact, kind, other);
        return;
    }
    if (c >= 4) {
        SetVelocity(CVector());
        return;
    }
    const CVector dir = FlatDirection(GetMeanContactVelocity());
    CVector d;
    if (!dir.IsZero()) {
        d = TangentialComponentScaled(dir, n, 0.0f) + n * 0.5f;
        SnapToZero(d);
        d.SafeNormalise();
    }
    SetResponse(response, TurnValue(dir, d));
    RedirectContactVelocities(d);
}

void CActiveWorldObject::RedirectContactVelocities(const CVector& direction) {
    if (CCollisionRecorder* recorder = GetCollisionRecorder())
        recorder->SetResponseDirection(direction);
    const bool airborne = CountContactsGroundedLastStep() == 0;
    for (const auto& point : m_contacts) {
        CVector h = point->GetVelocity();
        h.y = 0.0f;
        const float speed = h.Length();
        if (!h.IsZero()) {
            h = direction;
            if (airborne) {
                h.SetLength(0.3f);
            } else {
                h = h * (speed * 0.75f);
                if (!h.IsZero() && h.Length() < 0.3f)
                    h.SetLength(0.3f);
            }
        }
        point->SetVelocity(h);
    }
}

void CActiveWorldObject::RespondToObjectHit(const CVector& contact, int /*kind*/, CWorldObject* other,
                                            float* response) {
    CVector n = contact;
    n.y = 0.0f;
    n.SafeNormalise();
    if (n.IsZero())
        return;
    const CVector pv = GetMeanPreviousVelocity();
    const CVector ph(pv.x, 0.0f, pv.z);
    CVector m = GetStepDisplacement();
    m.y = 0.0f;
    m.SafeNormalise();
    // When the centres and the step disagree about which side the other lies, the step decides: the
    // other lies where the step went, so the normal points back against the step. (Taken along the
    // step instead, two bodies meeting head on would both count as hit from behind and pass through
    // each other.)
    const float a = ph.Dot(n);
    const float b = ph.Dot(m);
    if ((a > 0.0f && b < 0.0f) || (a < 0.0f && b > 0.0f))
        n = m * -1.0f;
    const CVector phDir = ph.IsZero() ? ph : ph.GetNormalised();
    const float c = phDir.Dot(n);
    const int zone = c > 0.707f ? 2 : (c <= -0.707f ? 0 : 1);
    CVector w;
    GetObjectHitVelocity(zone, other, n, w);
    const float length = w.Length();
    if (w.IsZero() || length < 0.25f) {
        w = n;
        w.SetLength(0.25f);
    } else if (length > 1.5f) {
        w.SetLength(1.5f);
    }
    w.y = pv.y;
    for (const auto& point : m_contacts)
        point->SetPendingVelocity(w.x, w.y, w.z);
    SetResponse(response, TurnValue(phDir, FlatDirection(w)));
}

void CActiveWorldObject::GetObjectHitVelocity(int zone, CWorldObject* other, const CVector& normal,
                                              CVector& out) {
    CVector mine = GetMeanPreviousVelocity();
    mine.y = 0.0f;
    const CVector myDir = mine.IsZero() ? mine : mine.GetNormalised();
    const float myMass = GetMass();
    float theirSpeed = 0.0f;
    float theirMass = myMass;
    if (const auto* active = dynamic_cast<const CActiveWorldObject*>(other)) {
        CVector theirs = active->GetMeanPreviousVelocity();
        theirs.y = 0.0f;
        theirSpeed = theirs.Length();
        theirMass = active->GetMass();
    }
    switch (zone) {
    case 0:
        m_stepValid = false;
        out = mine - myDir * 0.8f;
        break;
    case 1: {
        m_stepValid = false;
        out = mine + normal * mine.Dot(normal);
        const float length = out.Length();
        out += normal * (length >= 0.25f ? length : 0.25f);
        break;
    }
    default: {
        out = mine + myDir * 0.1f;
        const CVector t = myDir * ((theirMass - myMass) * 0.5f);
        if (myDir.Dot(t) > 0.0f)
            out += t;
        if (out.Length() < theirSpeed)
            out.SetLength(theirSpeed * 0.85f);
        break;
    }
    }
}

void CActiveWorldObject::ResolvePersistentCollisions() {
    CCollisionRecorder* recorder = GetCollisionRecorder();
    if (!recorder)
        return;
    SContactEntry entry;
    if (recorder->FindCurrentContact(kCollisionDeferred, entry)) {
        float response = entry.response;
        Displace(entry.vector, entry.kind, entry.other, &response);
    }
    std::uint32_t c = 0;
    if (!recorder->FindContact(kCollisionTrack, entry, c))
        c = 0;
    // A body held at a wall for several ticks is lifted free, more the longer it has been held; after
    // nine ticks it is left alone.
    if (c > 3 && c < 10)
        CActiveWorldObject::SetPositionVector(Position() +
                                              CVector(0.0f, static_cast<float>(c - 3) * 0.75f, 0.0f));
}

} // namespace zentrix
