#include "world/BarrelStuntObject.h"

#include "foundation/assets/AssetMan.h"
#include "foundation/math/Random.h"
#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "world/BoundingVolume.h"
#include "world/CarObject.h"
#include "world/Force.h"
#include "world/RaceWorldLink.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <algorithm>
#include <numbers>
#include <vector>

namespace zentrix {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
const CVector kStuntOffset(16.0f, 10.0f, 0.0f);
const CVector kResetOffset(32.0f, -12.0f, 0.0f);
const CVector kStuntCamOffset(0.0f, 2.0f, 48.0f);

CBoundingVolumeDesc Volume(std::uint32_t kind, float x, float y = 0.0f, float z = 0.0f) {
    CBoundingVolumeDesc desc;
    desc.kind = kind;
    desc.sizes = {x, y, z};
    return desc;
}

} // namespace

CBarrelStuntObject::CBarrelStuntObject(int typeId) : CTrackObject(typeId) {}

CBarrelStuntObject::~CBarrelStuntObject() = default;

CVector CBarrelStuntObject::AxisOf(int value) {
    switch (value) {
    case 0:
        return {1.0f, 0.0f, 0.0f};
    case 1:
        return {0.0f, 1.0f, 0.0f};
    case 2:
        return {0.0f, 0.0f, 1.0f};
    default:
        return {-1.0f, 0.0f, 0.0f};
    }
}

bool CBarrelStuntObject::Create() {
    const bool made = CTrackObject::Create();
    IWorldServices* services = CWorldMan::GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    float radius = 0.0f;
    int axis = -1;
    int sense = 0;
    if (assets) {
        assets->GetFloat(GetTypeId(), kFieldStuntRadius, radius);
        assets->GetInt(GetTypeId(), kFieldSpinTime, m_spinTime);
        assets->GetInt(GetTypeId(), kFieldSpinAxis, axis);
        assets->GetInt(GetTypeId(), kFieldSpinSense, sense);
    }
    m_brake = MakeStuntVolume(Volume(CBoundingVolumeDesc::kSphere, kBrakeRadius), CVector());
    m_stunt = MakeStuntVolume(Volume(CBoundingVolumeDesc::kSphere, radius), kStuntOffset);
    m_reset = MakeStuntVolume(Volume(CBoundingVolumeDesc::kBox, 16.0f, 10.0f, 16.0f), kResetOffset);
    m_spinAxis = AxisOf(axis);
    m_spinAngle = sense == 0 ? 2.0f * kPi : -2.0f * kPi;
    // The car refuses a spin of no time (its spin step would divide by it); the rest of the stunt stays.
    if (!(m_spinTime > 0))
        LogProblem("a barrel without a spin time spins no car");
    if (!m_stunt)
        LogProblem("a barrel without a stunt radius spins no car");
    return made;
}

void CBarrelStuntObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (IsRacePaused())
        return;
    std::vector<CCarObject*> cars;
    if (m_reset) {
        FindCarObjectsIn(*m_reset, cars);
        for (CCarObject* car : cars)
            car->Respawn(-1);
    }
    if (m_brake) {
        FindCarObjectsIn(*m_brake, cars);
        for (CCarObject* car : cars) {
            CVector back = RotateAboutYAxis(car->Direction(), kPi);
            back.SetLength(kBrakeForce);
            car->ApplyForce(CForce(back, CForce::kExternal));
        }
    }
    if (m_stunt) {
        FindCarObjectsIn(*m_stunt, cars);
        for (CCarObject* car : cars) {
            CVector ground = car->GetMeanContactVelocity();
            ground.y = 0.0f;
            if (!car->IsGrounded() && ground.Length() > kMinimumSpeed)
                Stunt(*car);
        }
    }
}

void CBarrelStuntObject::Stunt(CCarObject& car) {
    // Without a spin time the car refuses the spin alone.
    car.Spin(m_spinAngle, m_spinTime, m_spinAxis, false);
    CVector velocity = car.GetMeanContactVelocity();
    velocity.y = kLift;
    car.SetVelocity(velocity);
    ReportTaunt(&car, kTaunt);
    car.EmitTwinParticles(kTwinParticles, kTwinParticlesMs);
    const float turn = static_cast<float>(std::max(GetRotation(), 0)) * kPi * 0.5f;
    if (IRaceWorldLink* race = CWorldMan::GetRaceWorld())
        race->RequestStuntCam(Position() + RotateAboutYAxis(kStuntCamOffset, turn), &car,
                              static_cast<unsigned>(std::max(m_spinTime, 0)) + kStuntCamExtraMs);
    ThemeEffect(car);
}

void CBarrelStuntObject::ThemeEffect(CCarObject& car) {
    IWorldSounds* sounds = Sounds();
    const int slot = car.GetDriverSlot();
    switch (CurrentTheme()) {
    case 0:
        CParticleSystem::Create(9067, CVector(0.0f, -7.5f, 32.0f), this, -1.0f);
        CParticleSystem::Create(9066, CVector(0.0f, -7.5f, 32.0f), this, -1.0f);
        if (sounds)
            sounds->PlaySoundAt(51171, Position(), false, slot);
        break;
    case 1:
        if (GetCurrentAnimation() == 0) {
            SelectAnimation(1 + Random::Next() % 2);
            SetAnimPlaying(true);
        }
        if (sounds)
            sounds->PlayCarSound(51174, slot);
        break;
    case 2:
        CParticleSystem::Create(9068, CVector(0.0f, -7.0f, 32.0f), this, -1.0f);
        if (sounds)
            sounds->PlaySoundAt(51172, Position(), false, slot);
        break;
    case 3:
        if (GetCurrentAnimation() == 0) {
            SelectAnimation(1);
            SetAnimPlaying(true);
            CParticleSystem::Create(9064, CVector(0.0f, 7.5f, 25.0f), this, -1.0f);
            CParticleSystem::Create(9065, CVector(0.0f, 7.5f, 25.0f), this, -1.0f);
        }
        if (sounds)
            sounds->PlaySoundAt(51173, Position(), false, slot);
        break;
    default:
        break;
    }
}

} // namespace zentrix
