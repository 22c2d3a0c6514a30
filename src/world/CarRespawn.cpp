// Putting a car back on the track: on its driver's route node, lifted above the ground, facing along the
// route, at rest, and passing through other cars for a while.

#include "render/ParticleSystem.h"
#include "world/CarDriverLink.h"
#include "world/CarObject.h"
#include "world/CarPickupHelper.h"
#include "world/CollisionRecorder.h"
#include "world/ContactPoint.h"
#include "world/WorldLinks.h"
#include "world/WorldMan.h"
#include "world/WorldSounds.h"
#include "world/WorldTopographyLink.h"

#include <cmath>

namespace zentrix {

namespace {

/// How high above the ground a respawned car appears.
constexpr float kRespawnLift = 25.0f;
/// How far beside the node a car is put when a jam truck stands on the node's tile.
constexpr float kTruckStepAside = 8.0f;
constexpr std::uint32_t kRespawnCollisionPause = 3000;

/// The grid cell a position lies in, its height ignored.
CVector CellOf(const CVector& position) {
    return CVector(std::floor((position.x + 116.0f) / 32.0f), 0.0f,
                   std::floor((position.z + 116.0f) / 32.0f));
}

float GroundHeight(float x, float z) {
    IWorldTopographyLink* ground = CWorldMan::GetRaceTopography();
    return ground ? ground->GetHeight(x, z) : 0.0f;
}

bool IsRouteBroken() {
    const SWorldLinks& links = CWorldMan::GetLinks();
    return links.isRouteBroken ? links.isRouteBroken() : true;
}

} // namespace

void CCarObject::Respawn(int delayMs) {
    if (m_aliveMs < kRespawnGuardMs)
        return;
    if (m_pickupHelper)
        m_pickupHelper->ClearLock();
    if (delayMs != -1) {
        m_respawnCountdownMs = delayMs;
        return;
    }
    m_respawnCountdownMs = -1;
    CParticleSystem::Create(kVanishParticles, Position() + CVector(0.0f, 5.0f, 0.0f), nullptr, -1.0f);
    m_engineLevel = 0.0f;
    CancelPickup(true);
    m_rollAngle = 0.0f;
    m_pitchAngle = 0.0f;
    m_groundSink = 0.0f;
    if (m_driver && m_driver->IsHuman())
        ShowPlayerMarker(1000);

    // Without a driver or without route nodes (a track with no start piece has none) the car comes back
    // where it is, heading kept.
    int node = m_driver ? m_driver->GetRouteNode() : 0;
    CVector p;
    const bool onRoute = m_driver && m_driver->GetRouteNodeWrapped(node, p);
    if (!onRoute)
        p = CVector(Position().x, 0.0f, Position().z);

    if (onRoute && !IsRouteBroken()) {
        const CVector cell = CellOf(p);
        for (int i = 0; i < m_driver->GetWatchedTruckCount(); ++i) {
            const CWorldObject* truck = m_driver->GetWatchedTruck(i);
            if (!truck || !(CellOf(truck->Position()) == cell))
                continue;
            // The side of the node away from the truck.
            const CVector base(p.x, 0.0f, p.z);
            const CVector candidates[4] = {
                base + CVector(kTruckStepAside, 0.0f, 0.0f), base + CVector(-kTruckStepAside, 0.0f, 0.0f),
                base + CVector(0.0f, 0.0f, kTruckStepAside), base + CVector(0.0f, 0.0f, -kTruckStepAside)};
            float best = 0.0f;
            for (const CVector& candidate : candidates) {
                const float distance = (candidate - truck->Position()).Length();
                if (distance > best) {
                    best = distance;
                    p = candidate;
                }
            }
            break;
        }
    }
    p.y = GroundHeight(p.x, p.z) + kRespawnLift + p.y;
    SetPositionVector(p);

    int finalNode = node;
    if (onRoute) {
        int a = node;
        int b = node + 1;
        const SWorldLinks& links = CWorldMan::GetLinks();
        const int nearest = links.findNearestNodeOnTile ? links.findNearestNodeOnTile(p, node + 1) : -1;
        if (nearest != -1) {
            a = nearest;
            b = nearest + 1;
        }
        CVector from;
        CVector to;
        m_driver->GetRouteNodeWrapped(a, from);
        m_driver->GetRouteNodeWrapped(b, to);
        finalNode = b;
        CVector h = to - from;
        if (!h.IsZero()) {
            h.Normalise();
            Reorient(h, kUpVector);
        } else {
            // Coinciding nodes: the heading kept level, unless the car points straight up or down.
            CVector level = Direction();
            level.y = 0.0f;
            if (!level.IsZero())
                Reorient(level.GetNormalised(), kUpVector);
        }
    } else {
        CVector level = Direction();
        level.y = 0.0f;
        if (!level.IsZero())
            Reorient(level.GetNormalised(), kUpVector);
    }
    ResetBodyPivot();
    SetVelocity(CVector());
    SetCollisionPause(kRespawnCollisionPause);
    ValidateStep();
    m_aliveMs = 0;
    if (CCollisionRecorder* recorder = GetCollisionRecorder())
        recorder->ClearFrequencyLog();
    for (std::uint32_t i = 0; i < GetContactCount(); ++i) {
        CContactPoint* point = GetContact(i);
        const CVector at = point->GetPosition();
        point->SetPosition(at.x, at.y, at.z);
    }
    if (onRoute)
        m_driver->SetRouteNode(finalNode);
    CParticleSystem::Create(kRespawnParticles, p, nullptr, -1.0f);
    if (IWorldSounds* sounds = Sounds())
        sounds->PlayCarSound(kRespawnSound, GetDriverSlot());
    if (m_driver)
        m_driver->ReportResetTaunt();
}

} // namespace zentrix
