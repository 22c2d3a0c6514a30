// What the car shows and reports on top of its driving: the timed effects that pieces, scripts and pickups
// put on it (spin, rumble, two-wheel roll, wheelie, invisibility, crazy bounce, handling changes), the
// stunt state that keeps such motions apart, the tyre-slide sound with its skid marks and smoke, the
// landings, and the taunts about its own driving. Every visible motion moves the body pivot, never the
// car's own frame, so the physics never feel it.

#include "app/DriverControls.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/assets/CarAsset.h"
#include "foundation/math/RandomNumbers.h"
#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "render/ShadowMan.h"
#include "render/SpriteSet.h"
#include "render/VornMesh.h"
#include "world/CarDriverLink.h"
#include "world/CarObject.h"
#include "world/CarPickupHelper.h"
#include "world/RaceWorldLink.h"
#include "world/TopographyFollower.h"
#include "world/TopographyWorld.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

namespace {

constexpr int kReleased = -127;
constexpr float kPi = 3.1415927f;
constexpr float kQuarterPi = 0.7853982f;
const CVector kPivotForward(0.0f, 0.0f, -1.0f);
const CVector kAxisX(1.0f, 0.0f, 0.0f);
const CVector kAxisZ(0.0f, 0.0f, 1.0f);

/// A spin above this many radians is a big one.
constexpr float kBigSpinAngle = 12.0f;
/// Below this speed a rumble shakes nothing.
constexpr float kRumbleSpeed = 0.4f;
constexpr float kRumbleTilt = 0.07f;
constexpr float kRumbleLightIntensity = 0.5f;
/// The crazy bounce fades in and out over this long.
constexpr int kCrazyFadeMs = 400;
constexpr float kCrazySpriteSize = 8.0f;
/// The roll follows the drift by this much, turning at most 0.1 a frame, lifting the body up to 1.2.
constexpr float kRollPerSlip = 0.27f;
constexpr float kRollStep = 0.1f;
constexpr float kRollLift = 1.2f;
/// The wheelie climbs 0.07 x k a frame while the throttle is held and drops 0.21 a frame without it.
constexpr float kWheelieStep = 0.07f;
constexpr float kWheelieEase = 0.0625f;
constexpr float kWheelieDrop = 0.21f;
constexpr float kWheelieLift = 2.4f;
constexpr float kHighWheelieLift = 6.0f;
/// The slide sound: below this speed nothing slides; it stops once the slide has been over this long.
constexpr float kSlideSpeed = 1.4f;
constexpr int kSlideStopMs = 60;
/// Skid marks are laid in the first second of each slide.
constexpr int kSkidMarkMs = 1000;
/// Brake smoke shows above this share of the top speed.
constexpr float kBrakeSmokeShare = 0.35f;
/// Landings: after this long in the air a landing is heard, after the second a hard one.
constexpr std::uint32_t kLandingMs = 400;
constexpr std::uint32_t kHardLandingMs = 1000;
constexpr int kLandingParticles[4] = {9054, 9043, 9055, 9034};
constexpr float kDriftTaunt = kPi * 0.1f;
constexpr float kRollingBackSpeed = -0.3f;
constexpr float kBrakingTauntSpeed = 1.0f;
constexpr float kMovingSpeed = 0.1f;
constexpr float kCrawlSpeed = 0.13f;
constexpr std::uint32_t kStandingTauntMs = 5000;
constexpr std::uint32_t kAirborneTauntMs = 100;
constexpr float kAirborneTauntHeight = 2.0f;
/// The surface factor of the slide angle where no world answers (the dictionary's default).
constexpr float kDefaultSurfaceSlide = 1.0f;
/// The pickups during which a rumble would fight the car's own motion: the boost and the grip.
constexpr int kBoostPickup = 1;
constexpr int kGripPickup = 9;

bool IsFreeState(int state) {
    return state >= CCarObject::kNoStunt && state <= CCarObject::kStuntWheelie;
}

CShadowMan* Shadows() {
    return CShadowMan::GetInstance();
}

float SurfaceSlideFactor() {
    const ITopographyWorld* world = CTopographyFollower::GetWorld();
    return world ? world->GetSurfaceParam(ITopographyWorld::kSurfaceSlideAngle) : kDefaultSurfaceSlide;
}

int Theme() {
    IWorldServices* services = CWorldMan::GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    return assets ? assets->GetWorld() : -1;
}

} // namespace

// ---- stunt state ----

bool CCarObject::SetStuntState(int state) {
    if (!IsFreeState(m_stuntState))
        return false;
    m_stuntState = state;
    return true;
}

void CCarObject::ClearStuntState() {
    m_stuntState = kNoStunt;
    ResetBodyPivot();
}

// ---- starting and ending effects ----

bool CCarObject::IsEffectActive(int i) const {
    return i >= 0 && i < kEffects && m_effectActive[static_cast<std::size_t>(i)];
}

int CCarObject::GetEffectElapsedMs(int i) const {
    return i >= 0 && i < kEffects ? m_effectElapsedMs[static_cast<std::size_t>(i)] : 0;
}

int CCarObject::GetEffectDurationMs(int i) const {
    return i >= 0 && i < kEffects ? m_effectDurationMs[static_cast<std::size_t>(i)] : 0;
}

void CCarObject::StartEffect(int i, int durationMs) {
    const auto slot = static_cast<std::size_t>(i);
    m_effectActive[slot] = true;
    m_effectElapsedMs[slot] = 0;
    m_effectDurationMs[slot] = durationMs;
}

void CCarObject::ReportTaunt(int event) {
    if (IRaceWorldLink* race = CWorldMan::GetRaceWorld())
        race->ReportTauntEvent(this, event);
}

bool CCarObject::Spin(float angle, int durationMs, const CVector& axis, bool ease) {
    // Each frame turns by its share of the duration: a duration of 0 has no shares, and a zero axis or an
    // angle that is not a number would leave the body's frame undefined.
    if (durationMs <= 0 || !std::isfinite(angle) || axis.IsZero() || !std::isfinite(axis.Length()))
        return false;
    if (IsEffectActive(kEffectSpin) || IsEffectActive(kEffectCrazy) || IsEffectActive(kEffectRumble) ||
        !SetStuntState(kStuntSpin))
        return false;
    m_spinAngle = angle;
    m_spinAxis = axis;
    m_spinEase = ease;
    StartEffect(kEffectSpin, durationMs);
    ReportTaunt(angle > kBigSpinAngle ? kTauntBigSpin : kTauntSpin);
    return true;
}

bool CCarObject::Rumble(float intensity, int durationMs) {
    if (IsEffectActive(kEffectSpin) || IsEffectActive(kEffectCrazy) || IsEffectActive(kEffectRumble))
        return false;
    const int running = m_pickupHelper ? m_pickupHelper->GetActiveType() : -1;
    if (running == kBoostPickup || running == kGripPickup || !SetStuntState(kStuntRumble))
        return false;
    // The state is taken before the speed is looked at: a slow car keeps the (free) rumble state.
    if (GetSpeed() < kRumbleSpeed)
        return false;
    m_rumbleIntensity = intensity;
    StartEffect(kEffectRumble, durationMs);
    return true;
}

bool CCarObject::StartTwoWheelsType0(int durationMs) {
    if (!SetStuntState(kStuntRoll))
        return false;
    StartEffect(kEffectRoll, durationMs);
    return true;
}

bool CCarObject::StartTwoWheelsType1(int durationMs) {
    if (!SetStuntState(kStuntWheelie))
        return false;
    StartEffect(kEffectWheelie, durationMs);
    return true;
}

void CCarObject::SetBodyVisible(bool body, bool wheels) {
    if (m_body && m_body->GetMesh())
        m_body->GetMesh()->SetVisible(body);
    for (CWorldObject* mount : m_wheelMount)
        if (mount && mount->GetMesh())
            mount->GetMesh()->SetVisible(wheels);
}

bool CCarObject::StartInvisible(int durationMs, bool hideWheels) {
    if (IsEffectActive(kEffectCrazy))
        return false;
    StartEffect(kEffectInvisible, durationMs);
    SetBodyVisible(false, !hideWheels);
    if (CShadowMan* shadows = Shadows(); shadows && shadows->RemoveShadowFor(this))
        m_shadowHidden = true;
    return true;
}

bool CCarObject::StartCrazySteering(int durationMs, int periodMs, float height, bool showSprite) {
    // The bounce runs through its period as elapsed / period: a period of 0 has no phase.
    if (periodMs <= 0 || !std::isfinite(height))
        return false;
    if (IsEffectActive(kEffectSpin) || IsEffectActive(kEffectCrazy) || IsEffectActive(kEffectRumble) ||
        IsEffectActive(kEffectInvisible) || HoldsPickup() || !SetStuntState(kStuntCrazy))
        return false;
    m_crazyPeriodMs = periodMs;
    m_crazyHeight = height;
    StartEffect(kEffectCrazy, durationMs);
    if (showSprite && GetSpriteSet())
        m_crazySprite = GetSpriteSet()->AddSprite(kCrazySpriteSize, kCrazySpriteTexture,
                                                  CVector(0.0f, 8.0f, 0.0f), 1.0f, 1.0f, 1.0f);
    return true;
}

bool CCarObject::ApplyParamModifiers(const SParamModifiers& factors, int durationMs) {
    if (!m_carAsset || IsEffectActive(kEffectModifiers) || IsEffectActive(kEffectInvisible))
        return false;
    const float f[7] = {factors.acceleration, factors.braking,  factors.steering,  factors.grip,
                        factors.sideGrip,     factors.topSpeed, factors.slideAngle};
    // A factor of 0 could never be undone, and one that is not a number would spread through every force.
    for (const float x : f)
        if (x == 0.0f || !std::isfinite(x))
            return false;
    CCarAsset& a = *m_carAsset;
    m_unmodified = {a.GetAcceleration(), a.GetBraking(),  a.GetSteeringRate(), a.GetParam80(),
                    a.GetSideGrip(),     a.GetTopSpeed(), a.GetSlideAngle()};
    m_modifiers = factors;
    StartEffect(kEffectModifiers, durationMs);
    a.ScaleParameters(f[0], f[1], f[2], f[3], f[4], f[5], f[6]);
    return true;
}

void CCarObject::RestoreHandling() {
    if (!m_carAsset)
        return;
    // The values kept at the start go back as they were, which dividing by the factors would not do.
    CCarAsset& a = *m_carAsset;
    a.SetHandlingValue(CCarAsset::kAcceleration, m_unmodified[0]);
    a.SetHandlingValue(CCarAsset::kBraking, m_unmodified[1]);
    a.SetHandlingValue(CCarAsset::kSteering381, m_unmodified[2]);
    a.SetParam80(m_unmodified[3]);
    a.SetHandlingValue(CCarAsset::kSideGrip382, m_unmodified[4]);
    a.SetHandlingValue(CCarAsset::kTopSpeed, m_unmodified[5]);
    a.SetHandlingValue(CCarAsset::kGrip380, m_unmodified[6]);
}

void CCarObject::EndEffect(int i) {
    if (!IsEffectActive(i))
        return;
    const auto slot = static_cast<std::size_t>(i);
    m_effectActive[slot] = false;
    m_effectElapsedMs[slot] = 0;
    m_effectDurationMs[slot] = 0;
    switch (i) {
    case kEffectSpin:
        ClearStuntState();
        break;
    case kEffectRumble:
        if (m_bodyPivot)
            m_bodyPivot->SetPositionVector(CVector());
        ClearStuntState();
        break;
    case kEffectRoll:
        ClearStuntState();
        m_tiltRoll = 0.0f;
        break;
    case kEffectWheelie:
        ClearStuntState();
        m_tiltPitch = 0.0f;
        break;
    case kEffectInvisible:
        SetBodyVisible(true, true);
        if (CShadowMan* shadows = Shadows(); shadows && m_shadowHidden)
            shadows->CreateShadowFor(this);
        m_shadowHidden = false;
        break;
    case kEffectCrazy:
        if (m_crazySprite && GetSpriteSet())
            GetSpriteSet()->RemoveSprite(m_crazySprite);
        m_crazySprite = nullptr;
        ClearStuntState();
        break;
    case kEffectModifiers:
        RestoreHandling();
        m_modifiers = SParamModifiers{};
        break;
    default:
        break;
    }
}

void CCarObject::EndAllEffects() {
    for (int i = 0; i < kEffects; ++i)
        EndEffect(i);
}

// ---- the effects' frames ----

void CCarObject::UpdateTimedEffects(unsigned ms) {
    const int step = static_cast<int>(ms);
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    if (m_effectActive[at(kEffectSpin)]) {
        const float duration = static_cast<float>(m_effectDurationMs[at(kEffectSpin)]);
        float turn = static_cast<float>(ms) / duration * m_spinAngle;
        if (m_spinEase)
            turn *= 2.0f * (1.0f - static_cast<float>(m_effectElapsedMs[at(kEffectSpin)]) / duration);
        if (m_bodyPivot)
            m_bodyPivot->Rotate(m_spinAxis, turn);
        m_effectElapsedMs[at(kEffectSpin)] += step;
    }
    if (m_effectActive[at(kEffectRumble)]) {
        UpdateRumble();
        ReportTaunt(m_rumbleIntensity <= kRumbleLightIntensity ? kTauntRumbleLight : kTauntRumbleHard);
        m_effectElapsedMs[at(kEffectRumble)] += step;
    }
    if (m_effectActive[at(kEffectCrazy)]) {
        UpdateCrazyBounce();
        m_effectElapsedMs[at(kEffectCrazy)] += step;
    }
    if (m_effectActive[at(kEffectModifiers)])
        m_effectElapsedMs[at(kEffectModifiers)] += step;
    if (m_effectActive[at(kEffectInvisible)]) {
        m_effectElapsedMs[at(kEffectInvisible)] += step;
        ReportTaunt(kTauntInvisible);
    }
    if (m_effectActive[at(kEffectRoll)]) {
        m_effectElapsedMs[at(kEffectRoll)] += step;
        UpdateRoll();
    }
    if (m_effectActive[at(kEffectWheelie)])
        UpdateWheelie(ms);
    for (int i = 0; i < kEffects; ++i)
        if (m_effectElapsedMs[at(i)] > m_effectDurationMs[at(i)])
            EndEffect(i);
}

void CCarObject::UpdateRumble() {
    if (!m_bodyPivot)
        return;
    m_bodyPivot->SetPositionVector(CVector(0.0f, RandomFloatInRange(0.0f, m_rumbleIntensity), 0.0f));
    CVector direction;
    RotateVectorAboutAxis(m_bodyPivot->Direction(), direction, kAxisX,
                          RandomFloatInRange(-kRumbleTilt, kRumbleTilt));
    m_bodyPivot->SetDirectionVector(direction);
    RotateVectorAboutAxis(m_bodyPivot->Direction(), direction, kAxisZ,
                          RandomFloatInRange(-kRumbleTilt, kRumbleTilt));
    m_bodyPivot->SetDirectionVector(direction);
}

void CCarObject::UpdateCrazyBounce() {
    if (!m_bodyPivot)
        return;
    const int elapsed = m_effectElapsedMs[static_cast<std::size_t>(kEffectCrazy)];
    const int duration = m_effectDurationMs[static_cast<std::size_t>(kEffectCrazy)];
    const float a = static_cast<float>(elapsed) * 2.0f * kPi / static_cast<float>(m_crazyPeriodMs);
    m_bodyPivot->SetPositionVector(CVector(0.0f, std::sin(a) + m_crazyHeight, 0.0f));
    const auto scaleHeight = [this](float k) {
        CVector p = m_bodyPivot->Position();
        p.y *= k;
        m_bodyPivot->SetPositionVector(p);
    };
    if (elapsed < kCrazyFadeMs)
        scaleHeight(static_cast<float>(elapsed) / kCrazyFadeMs);
    // Past its end (the frame before it is ended) nothing remains to fade.
    const auto remaining = static_cast<std::uint32_t>(duration - elapsed);
    if (remaining < static_cast<std::uint32_t>(kCrazyFadeMs))
        scaleHeight(static_cast<float>(remaining) / kCrazyFadeMs);
}

void CCarObject::UpdateRoll() {
    ResetBodyPivot();
    float target = std::clamp(GetSlipAccumulator() * kRollPerSlip, -kQuarterPi, kQuarterPi);
    target = std::clamp(target, m_tiltRoll - kRollStep, m_tiltRoll + kRollStep);
    if (m_bodyPivot) {
        m_bodyPivot->Rotate(kPivotForward, target);
        m_bodyPivot->SetPositionVector(CVector(0.0f, std::fabs(target / kQuarterPi * kRollLift), 0.0f));
    }
    m_tiltRoll = target;
}

void CCarObject::UpdateWheelie(unsigned ms) {
    CDriverControls controls;
    if (m_driver)
        m_driver->GetControls(controls);
    if (controls.axis1 == kReleased)
        m_tiltPitch = std::max(m_tiltPitch - kWheelieDrop, 0.0f);
    m_effectElapsedMs[static_cast<std::size_t>(kEffectWheelie)] += static_cast<int>(ms);
    ResetBodyPivot();
    const float gap = kQuarterPi - m_tiltPitch;
    float pitch = kQuarterPi;
    if (gap > kWheelieStep)
        pitch = m_tiltPitch + kWheelieStep * kWheelieEase;
    else if (gap < -kWheelieStep)
        pitch = m_tiltPitch - kWheelieEase * m_tiltPitch;
    pitch = std::clamp(pitch, -kQuarterPi, kQuarterPi);
    const float lift = GetTypeId() == kHighWheelieCar ? kHighWheelieLift : kWheelieLift;
    if (m_bodyPivot) {
        m_bodyPivot->Rotate(kAxisX, pitch);
        m_bodyPivot->SetPositionVector(CVector(0.0f, std::fabs(pitch / kQuarterPi * lift), 0.0f));
    }
    m_tiltPitch = pitch;
}

// ---- the tyres' sound and marks ----

float CCarObject::GetSlideThreshold() const {
    const float top = GetTopSpeed();
    // A car without a top speed counts as at rest, the slowest and hardest to slide.
    const float share = top > 0.0f ? GetSpeed() / top : 0.0f;
    return (1.0f + 12.0f * (1.0f - share)) * GetSlideAngle() * SurfaceSlideFactor();
}

void CCarObject::UpdateSlideSound(int /*throttle*/, int /*steering*/, unsigned ms) {
    const float v = GetSpeed();
    const float threshold = GetSlideThreshold();
    if (m_sliding && !m_slideActive) {
        m_slideStopMs += static_cast<int>(ms);
        if (m_slideStopMs > kSlideStopMs)
            StopLoopSound();
    }
    if (v > kSlideSpeed) {
        if (std::fabs(m_steeringHold) > threshold) {
            if (!m_sliding)
                StartLoopSound();
        } else if (m_sliding) {
            m_slideActive = false;
            m_slideStopMs = 0;
        }
        return;
    }
    m_slideActive = false;
    StopLoopSound();
    m_steeringHold = 0.0f;
}

void CCarObject::StartLoopSound() {
    if (IWorldSounds* sounds = Sounds())
        sounds->StartCarLoop(GetDriverSlot(), kSlideLoopSound);
    m_sliding = true;
    m_slideActive = true;
    m_slideMarkMs = 0;
}

void CCarObject::StopLoopSound() {
    if (IWorldSounds* sounds = Sounds())
        sounds->StopCarLoop(GetDriverSlot());
    m_sliding = false;
}

void CCarObject::UpdateTyreEffects(unsigned ms) {
    CDriverControls controls;
    if (m_driver)
        m_driver->GetControls(controls);
    const bool grounded = IsGrounded();
    const float assetTop = m_carAsset ? m_carAsset->GetTopSpeed() : 0.0f;
    if (controls.axis2 != kReleased && GetSpeed() > kBrakeSmokeShare * assetTop && IsMovingForward() &&
        !m_sliding && grounded) {
        CParticleSystem::Create(kCrashParticles, Position(), nullptr, -1.0f);
        if (IWorldSounds* sounds = Sounds())
            sounds->PlayCarSound(kBrakeSound, GetDriverSlot());
    }
    if (m_sliding && m_slideMarkMs < kSkidMarkMs && grounded) {
        m_slideMarkMs += static_cast<int>(ms);
        if (CShadowMan* shadows = Shadows())
            shadows->AddSkidMark(this);
        // Smoke on two frames in three.
        if (m_frameCount % 3 != 0)
            CParticleSystem::Create(kCrashParticles, Position(), nullptr, -1.0f);
    }
    if (IsEffectActive(kEffectWheelie) && controls.axis1 != kReleased) {
        for (const float side : {kPi / 2.0f, -kPi / 2.0f}) {
            CVector s;
            RotateVectorAboutAxis(Direction(), s, kUpVector, side);
            CParticleSystem::Create(kSparkParticles, BodyPosition() + s * 2.0f, nullptr, -1.0f);
        }
        if (grounded)
            if (CShadowMan* shadows = Shadows())
                shadows->AddSkidMark(this);
    }
}

void CCarObject::EmitTwinParticles(int kind, int ms) {
    CParticleSystem::Create(kind, CVector(1.5f, 0.0f, 0.0f), this, static_cast<float>(ms));
    CParticleSystem::Create(kind, CVector(-1.5f, 0.0f, 0.0f), this, static_cast<float>(ms));
}

// ---- taunts and landings ----

void CCarObject::ReportDrivingEvents(const CDriverControls& controls, unsigned ms) {
    m_throttleHeldMs = controls.axis1 != kReleased ? m_throttleHeldMs + ms : 0;
    m_brakeHeldMs = controls.axis2 != kReleased ? m_brakeHeldMs + ms : 0;
    if (!IsGrounded()) {
        m_airborneMs += ms;
    } else {
        const bool hard = m_airborneMs > kHardLandingMs;
        if (hard || m_airborneMs > kLandingMs) {
            ReportTaunt(kTauntLanding);
            if (IWorldSounds* sounds = Sounds())
                sounds->PlayCarSound(hard ? kHardLandingSound : kLandingSound, GetDriverSlot());
            const int theme = Theme();
            if (theme >= 0 && theme < 4)
                CParticleSystem::Create(kLandingParticles[theme], Position(), nullptr, -1.0f);
        }
        m_airborneMs = 0;
    }
    const float slip = GetSlipAccumulator();
    const float ground = GetSignedGroundSpeed();
    if (slip > kDriftTaunt)
        ReportTaunt(kTauntSlipPositive);
    else if (slip < -kDriftTaunt)
        ReportTaunt(kTauntSlipNegative);
    else if (ground < kRollingBackSpeed && controls.axis1 == kReleased)
        ReportTaunt(kTauntRollingBack);
    if (m_brakeHeldMs > 0 && ground > kBrakingTauntSpeed)
        ReportTaunt(kTauntBraking);
    const float speed = GetSpeed();
    ReportTaunt(speed > kMovingSpeed ? kTauntMoving : kTauntSlow);
    if (m_airborneMs > kAirborneTauntMs && Position().y > kAirborneTauntHeight)
        ReportTaunt(kTauntAirborne);
    if (m_stoppedMs > kStandingTauntMs || speed < kCrawlSpeed)
        ReportTaunt(kTauntStopped);
}

// ---- what the workshop and the pieces read ----

float CCarObject::GetSlideAngle() const {
    return m_carAsset ? m_carAsset->GetSlideAngle() : 0.0f;
}

float CCarObject::GetGripRating() const {
    return m_carAsset ? m_carAsset->GetDisplayLevel380() : 0.0f;
}

float CCarObject::GetSpeedRating() const {
    return m_carAsset ? m_carAsset->GetDisplayLevel379() : 0.0f;
}

} // namespace zentrix
