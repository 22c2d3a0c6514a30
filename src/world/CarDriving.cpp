// The car's frame: its controls turned into drive, brake and steering, the turn away after a collision,
// the wheels and the body's lean, the engine sound's level and what a collision sounds like.

#include "app/DriverControls.h"
#include "foundation/assets/CarAsset.h"
#include "foundation/math/Random.h"
#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "render/SpriteSet.h"
#include "world/CarDriverLink.h"
#include "world/CarObject.h"
#include "world/CarPickupHelper.h"
#include "world/CollisionRecorder.h"
#include "world/RaceWorldLink.h"
#include "world/WheelContactPoint.h"
#include "world/WorldMan.h"
#include "world/WorldSounds.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

namespace {

constexpr int kReleased = -127;
/// Physics steps per millisecond.
constexpr float kStepsPerMs = 0.04f;
/// Below this speed drive and brake grow toward x 3 (the brake x 5 more when moving forward).
constexpr float kLowSpeed = 0.6f;
constexpr float kLowSpeedBoost = 3.0f;
constexpr float kLowSpeedBrake = 5.0f;
/// At top speed the drive is this share of its force at rest.
constexpr float kTopSpeedShare = 0.1f;
/// Coasting faster than this brakes.
constexpr float kCoastBrakeSpeed = 1.9f;
constexpr int kCoastBrake = 63;
/// Steering inputs below this count as straight.
constexpr int kSteeringDeadZone = 10;
constexpr std::uint32_t kCollisionTurnMs = 100;
constexpr std::uint32_t kLongContact = 5;
constexpr float kTurnAwaySpeed = 0.4f;
constexpr float kTurnAwayFacing = 0.25f;
/// Bumps up to this speed are light.
constexpr float kBumpSpeed = 1.75f;
constexpr float kIndicatorTurn = 0.005f;

CVector Flat(CVector v) {
    v.y = 0.0f;
    return v;
}

} // namespace

float CCarObject::GetSpeed() const {
    return GetMeanContactVelocity().Length();
}

bool CCarObject::IsStopped() const {
    return GetSpeed() < kStoppedSpeed;
}

float CCarObject::GetSignedGroundSpeed() const {
    const float speed = Flat(GetMeanContactVelocity()).Length();
    return IsMovingForward() ? speed : -speed;
}

void CCarObject::Update(unsigned ms) {
    if (IRaceWorldLink* race = CWorldMan::GetRaceWorld(); race && race->IsPaused())
        return;
    CActiveWorldObject::Update(ms);
    m_aliveMs += ms;
    if (m_respawnCountdownMs != -1) {
        m_respawnCountdownMs -= static_cast<int>(ms);
        if (m_respawnCountdownMs < 0)
            Respawn(-1);
    }
    if (m_pickupIndicatorShown && m_pickupIndicator) {
        CVector direction;
        RotateVectorAboutAxis(m_pickupIndicator->Direction(), direction, kUpVector,
                              static_cast<float>(ms) * kIndicatorTurn);
        m_pickupIndicator->SetDirectionVector(direction);
    }
    if (m_markerTimeMs > 0) {
        m_markerTimeMs -= static_cast<int>(ms);
    } else if (m_playerMarker) {
        if (GetSpriteSet())
            GetSpriteSet()->RemoveSprite(m_playerMarker);
        m_playerMarker = nullptr;
        m_markerTimeMs = -1;
    }
    if (m_disableTimeMs > 0) {
        m_disableTimeMs -= static_cast<int>(ms);
    } else {
        SetDisableIndicatorVisible(false);
        m_disableTimeMs = -1;
    }

    const CDriverControls controls = ReadControls();
    const bool button0 = controls.button1 != 0;
    const bool button1 = controls.button2 != 0;
    m_button0Pressed = button0 && !m_button0Down;
    m_button1Pressed = button1 && !m_button1Down;
    m_button0Down = button0;
    m_button1Down = button1;
    int throttle = controls.axis1;
    int brake = controls.axis2;
    if (brake != kReleased)
        throttle = kReleased;
    CDriverControls reported = controls;
    reported.axis1 = throttle;
    ReportDrivingEvents(reported, ms);
    if (GetSpeed() > kCoastBrakeSpeed && throttle == kReleased)
        brake = kCoastBrake;
    UpdateCounters(ms);
    TurnAfterCollision(ms);
    UpdateSlideSound(throttle, controls.steering, ms);
    Drive(throttle);
    Brake(brake);
    Steer(controls.steering, throttle, ms);
    AnimateWheels(ms);
    LeanBody(ms);
    PlayOneShotSound(controls);
    UpdateTyreEffects(ms);
    UpdateTimedEffects(ms);

    if (Position().y < kFallHeight)
        Respawn(-1);
    const CCollisionRecorder* recorder = GetCollisionRecorder();
    if (recorder && recorder->GetCollisionFrequency() > 0.5f && !(m_driver && m_driver->HasFinished()))
        Respawn(-1);
    if (m_button0Pressed && m_pickupHelper) {
        m_pickupHelper->ActivateIfHeld();
        if (!m_pickupHelper->HoldsPickup())
            ShowPlayerMarker(1000);
    }
    if (m_pickupHelper)
        m_pickupHelper->Update(ms);
}

void CCarObject::UpdateCounters(unsigned ms) {
    ++m_frameCount;
    m_stoppedMs = IsStopped() ? m_stoppedMs + ms : 0;
    if (m_startLockMs != -1) {
        m_startLockMs += static_cast<int>(ms);
        if (m_startLockMs >= kStartLockMs)
            m_startLockMs = -1;
    }
    CDriverControls controls;
    if (m_driver)
        m_driver->GetControls(controls);
    int s = controls.steering;
    if (std::abs(s) < kSteeringDeadZone)
        s = 0;
    if ((m_steeringHold > 0.0f && s < 0) || (m_steeringHold < 0.0f && s > 0))
        m_steeringHold = 0.0f;
    if (s == 0)
        m_steeringHold = 0.0f;
    else
        m_steeringHold += static_cast<float>(s) * (kStepsPerMs * static_cast<float>(ms)) / 127.0f;
}

void CCarObject::PushRearWheels(const CVector& force) {
    ApplyForceAtContact(CForce(force, CForce::kDrive), kRearLeft);
    ApplyForceAtContact(CForce(force, CForce::kDrive), kRearRight);
}

void CCarObject::Drive(int throttle) {
    if (m_startLockMs != -1 || !IsGrounded() || (IsStopped() && m_stoppedMs < kThrottleRestMs) ||
        throttle == kReleased)
        return;
    const float top = GetTopSpeed();
    const float v = GetSpeed();
    // A car without a top speed has nothing to drive toward (and would divide by it).
    if (!(top > 0.0f) || v > top)
        return;
    CVector d = Direction();
    d.SafeNormalise();
    float f = GetAcceleration() * static_cast<float>(throttle + 127) / 254.0f;
    if (v < kLowSpeed) {
        const float k = 1.0f - (kLowSpeed - v) / kLowSpeed;
        f += f * k * (kLowSpeedBoost - 1.0f);
    }
    f *= kTopSpeedShare + (1.0f - kTopSpeedShare) * (1.0f - v / top);
    PushRearWheels(d * f);
}

void CCarObject::Brake(int brake) {
    if (m_startLockMs != -1 || !IsGrounded() || brake == kReleased ||
        (IsStopped() && m_stoppedMs < kBrakeRestMs))
        return;
    CVector d = Direction() * -1.0f;
    d.SafeNormalise();
    const float v = GetSpeed();
    float b = GetBraking();
    if (v < kLowSpeed)
        b *= 1.0f + 2.0f * v / kLowSpeed;
    if (IsMovingForward()) {
        if (v < kLowSpeed)
            b *= kLowSpeedBrake;
        PushRearWheels(d * b);
        return;
    }
    // Reversing: the full acceleration backwards, up to 0.6 of the top speed.
    if (v > kLowSpeed * GetTopSpeed())
        return;
    PushRearWheels(d * GetAcceleration());
}

void CCarObject::Steer(int steering, int /*throttle*/, unsigned ms) {
    if (m_startLockMs != -1 || m_collisionTurnMs != 0)
        return;
    const float turn = steering == 0 ? 0.0f : -static_cast<float>(steering) / 127.0f;
    const float rate = m_carAsset ? m_carAsset->GetSteeringRate() : 0.0f;
    RotateAboutAxis(kUpVector, rate * turn * kStepsPerMs * static_cast<float>(ms));
    for (const std::uint32_t i : {kFrontLeft, kFrontRight})
        if (auto* wheel = dynamic_cast<CWheelContactPoint*>(GetContact(i)))
            wheel->SetSteering(turn);

    const CVector h = Direction();
    CContactPoint* front = GetContact(kFrontLeft);
    if (!front)
        return;
    const CVector u = front->GetVelocity();
    if (u.IsZero())
        return;
    const float angle = std::acos(u.Dot(h) / (u.Length() * h.Length()));
    if (std::isnan(angle))
        return;
    if (!IsMovingForward() || !(angle > 0.0f) || m_sliding || !IsGrounded())
        return;
    // With grip the points' travel turns to the new heading, each keeping its speed and its own climb.
    CVector work = h;
    for (const std::uint32_t i : {kFrontLeft, kFrontRight, kRearLeft, kRearRight}) {
        CContactPoint* point = GetContact(i);
        if (!point)
            continue;
        const CVector velocity = point->GetVelocity();
        const float length = velocity.Length();
        if (length == 0.0f)
            continue;
        work.SetLength(length);
        work.y = velocity.y;
        point->SetVelocity(work);
    }
}

void CCarObject::TurnAfterCollision(unsigned ms) {
    m_collisionTurnMs = m_collisionTurnMs > ms ? m_collisionTurnMs - ms : 0;
    const CCollisionRecorder* recorder = GetCollisionRecorder();
    if (!recorder)
        return;
    if (recorder->CountPreviousContacts(kCollisionTrack) != 0 ||
        recorder->CountPreviousContacts(kCollisionObject) != 0)
        m_collisionTurnMs = kCollisionTurnMs;
    std::uint32_t persistence = 0;
    if (recorder->GetMaxPersistence(kCollisionTrack, persistence) ||
        recorder->GetMaxPersistence(kCollisionObject, persistence)) {
        // A contact held this long is a wall the car leans on: it steers freely again.
        if (persistence > kLongContact) {
            m_collisionTurnMs = 0;
            return;
        }
    }
    if (m_collisionTurnMs == 0)
        return;
    CVector h = Flat(Direction());
    h.SafeNormalise();
    CVector n;
    if (!recorder->GetResponseDirection(n))
        n = GetMeanContactVelocity();
    n.SafeNormalise();
    if (GetSpeed() < kTurnAwaySpeed || n.IsZero() || !(h.Dot(n) > kTurnAwayFacing))
        return;
    const int steps = static_cast<int>(std::ceil(kStepsPerMs * static_cast<float>(ms)));
    for (int i = 0; i < steps; ++i) {
        n *= 0.15f;
        h = h * 0.85f + n;
        h.SafeNormalise();
    }
    h.y = Direction().y;
    h.SafeNormalise();
    Reorient(h, Up());
}

float CCarObject::GetRollMeasure() const {
    if (m_collisionTurnMs > 0)
        return 0.0f;
    CVector m = Flat(GetSavedDirection());
    CVector h = Flat(Direction());
    if (m.IsZero() || h.IsZero())
        return 0.0f;
    m.Normalise();
    h.Normalise();
    // Rounding can take the product of two unit vectors just past 1.
    float q = std::acos(std::clamp(m.Dot(h), -1.0f, 1.0f));
    if (std::isnan(q))
        return 0.0f;
    if (m.Cross(h).y < 0.0f)
        q = -q;
    return q;
}

float CCarObject::GetPitchMeasure() const {
    const float p = GetSpeed() - GetMeanPreviousVelocity().Length();
    return IsMovingForward() ? p : -p;
}

void CCarObject::AnimateWheels(unsigned /*ms*/) {
    if (IsInTrackContact() || !m_carAsset)
        return;
    const float r = GetSignedGroundSpeed();
    const bool braking = ReadControls().axis2 != kReleased;
    if (r != 0.0f && (!braking || !IsMovingForward())) {
        for (std::size_t i = 0; i < 4; ++i)
            if (m_wheel[i])
                m_wheel[i]->Rotate(i < 2 ? CVector(1.0f, 0.0f, 0.0f) : CVector(-1.0f, 0.0f, 0.0f), r);
    }
    if (GetSpeed() > 0.05f) {
        const CWheelContactPoint* front = dynamic_cast<const CWheelContactPoint*>(GetContact(kFrontLeft));
        float angle = front ? front->GetSteering() * 1.8f : 0.0f;
        if (!IsMovingForward())
            angle = -angle;
        for (std::size_t i = 0; i < 2; ++i)
            if (m_wheelMount[i]) {
                m_wheelMount[i]->SetOrientation(CVector(0.0f, 0.0f, 1.0f), kUpVector);
                m_wheelMount[i]->Rotate(kUpVector, angle);
            }
    }
    // A wheel off the ground hangs a little lower, not below its travel.
    const float base = m_carAsset->GetWheelPosition3().y - m_wheelDropLimit;
    static constexpr std::uint32_t kPoints[4] = {kRearLeft, kRearRight, kFrontLeft, kFrontRight};
    static constexpr std::size_t kMounts[4] = {2, 3, 0, 1};
    for (std::size_t i = 0; i < 4; ++i) {
        const CContactPoint* point = GetContact(kPoints[i]);
        CWorldObject* mount = m_wheelMount[kMounts[i]];
        if (!point || !mount || point->IsOnGround())
            continue;
        CVector at = mount->Position();
        at.y = std::max(at.y - 0.2f, base);
        mount->SetPositionVector(at);
    }
}

void CCarObject::LeanBody(unsigned ms) {
    if (!m_carAsset)
        return;
    const float steps = kStepsPerMs * static_cast<float>(ms);
    const float q = GetRollMeasure();
    if (IsGrounded()) {
        const CVector positions[4] = {m_carAsset->GetWheelPosition1(), m_carAsset->GetWheelPosition2(),
                                      m_carAsset->GetWheelPosition3(), m_carAsset->GetWheelPosition4()};
        for (std::size_t i = 0; i < 4; ++i)
            if (m_wheelMount[i])
                m_wheelMount[i]->SetPositionVector(positions[i]);
        // The wheels on the outside of the turn sink into their springs, the inside ones rise.
        const float o = q * m_leanOffsetScale;
        const auto raise = [this](std::size_t mount, float dy) {
            if (CWorldObject* m = m_wheelMount[mount]) {
                CVector at = m->Position();
                at.y += dy;
                m->SetPositionVector(at);
            }
        };
        if (q >= 0.0f) {
            raise(3, o);
            raise(1, o / 2.0f);
        } else {
            raise(2, -o);
            raise(0, -o / 2.0f);
        }
    }
    if (!m_body)
        return;
    m_body->SetOrientation(CVector(0.0f, 0.0f, -1.0f), kUpVector);
    const float roll = std::clamp(q * m_rollScale, m_rollAngle - 0.02f * steps, m_rollAngle + 0.02f * steps);
    m_body->Rotate(CVector(0.0f, 0.0f, -1.0f), roll);
    m_rollAngle = roll;
    const float pitch = std::clamp(GetPitchMeasure() * m_pitchScale, m_pitchAngle - m_pitchRate * steps,
                                   m_pitchAngle + m_pitchRate * steps);
    m_body->Rotate(CVector(1.0f, 0.0f, 0.0f), pitch);
    m_pitchAngle = pitch;
}

void CCarObject::SimulateStep(unsigned ms) {
    CActiveWorldObject::SimulateStep(ms);
    const float q = GetRollMeasure();
    if (q == 0.0f)
        m_slipAccumulator = 0.0f;
    if ((q <= 0.1f && m_slipAccumulator <= 0.1f) || (q >= -0.1f && m_slipAccumulator >= -0.1f))
        m_slipAccumulator += q;
    else
        m_slipAccumulator = 0.0f;
}

void CCarObject::FinishStep(unsigned ms) {
    CActiveWorldObject::FinishStep(ms);
    const float level = GetEngineLevel(ReadControls().axis1);
    if (IWorldSounds* sounds = Sounds())
        sounds->SetCarPosition(GetDriverSlot(), Position(), level);
}

float CCarObject::GetEngineLevel(int throttle) {
    const float top = GetTopSpeed();
    float e = top > 0.0f ? std::fabs(GetSpeed() / top) : 0.0f;
    if (!IsGrounded() && throttle > kReleased)
        e = m_engineLevel + 0.01f;
    if (throttle > kReleased)
        e += 0.3f;
    e = std::clamp(e, m_engineLevel - 0.02f, m_engineLevel + 0.02f);
    m_engineLevel = e;
    const float cap = (m_carAsset ? m_carAsset->GetParam405() : 0.0f) + 0.3f;
    return std::max(std::min(e + 1.0f, cap), 0.0f);
}

void CCarObject::RecordCollision(const CVector& direction, float magnitude, int kind, CWorldObject* other) {
    CActiveWorldObject::RecordCollision(direction, magnitude, kind, other);
    if (m_driver && !direction.IsZero() && kind != kCollisionDeferred)
        m_driver->FeedbackPush(static_cast<int>(direction.x * 100.0f), static_cast<int>(direction.y * 100.0f),
                               static_cast<int>(direction.z * 100.0f), 10000);
    IWorldSounds* sounds = Sounds();
    if (GetSpeed() <= kBumpSpeed) {
        const int bump = kFirstBumpSound + Random::Next() % 5;
        if (sounds)
            sounds->PlayCarSound(bump, GetDriverSlot());
        return;
    }
    if (IRaceWorldLink* race = CWorldMan::GetRaceWorld())
        race->ReportTauntEvent(this, kCrashTaunt);
    CParticleSystem::Create(kCrashParticles, Position(), nullptr, -1.0f);
    CParticleSystem::Create(kCrashParticles, Position(), nullptr, -1.0f);
    const int crash = kFirstCrashSound + Random::Next() % 3;
    if (sounds)
        sounds->PlayCarSound(crash, GetDriverSlot());
}

float CCarObject::GetFrictionCoefficient() const {
    if (!m_carAsset)
        return CActiveWorldObject::GetFrictionCoefficient();
    const float friction = m_carAsset->GetParam80();
    return IsMovingForward() ? friction : friction * 4.0f;
}

std::unique_ptr<CContactPoint> CCarObject::CreateContactPoint(const CContactPointDesc& desc) {
    auto wheel = std::make_unique<CWheelContactPoint>();
    wheel->Init(desc, kMaxSteeringAngle);
    return wheel;
}

} // namespace zentrix
