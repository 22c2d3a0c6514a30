#include "world/CarPickupHelper.h"

#include "foundation/math/Random.h"
#include "render/ParticleSystem.h"
#include "world/BoundingBox.h"
#include "world/BoundingSphere.h"
#include "world/BoundingVolumeDesc.h"
#include "world/Force.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <vector>

namespace zentrix {

namespace {

constexpr int kRandomTypes[8] = {0, 1, 2, 3, 10, 4, 6, 9};
const CVector kVolumeDirection(-1.0f, 0.0f, 0.0f);
const CVector kDropOffset(-15.0f, 5.0f, 0.0f);

IWorldSounds* Sounds() {
    IWorldServices* services = CWorldMan::GetServices();
    return services ? services->GetSounds() : nullptr;
}

/// The car's heading with up (0, 1, 0), as the pickup's volumes and drops are turned.
CVector LevelHeading(const CCarObject& car) {
    return car.Direction();
}

/// The cars other than `car` whose volumes meet `volume`.
std::vector<CCarObject*> CarsIn(CCarObject& car, CBoundingVolume& volume) {
    std::vector<CWorldObject*> found;
    CWorldMan::GetActiveObjectsIn(&car, volume, found);
    std::vector<CCarObject*> cars;
    for (CWorldObject* object : found)
        if (auto* other = dynamic_cast<CCarObject*>(object); other && other != &car)
            cars.push_back(other);
    return cars;
}

} // namespace

CCarPickupHelper::CCarPickupHelper(CCarObject& car)
    : m_car(car), m_sphere(std::make_unique<CBoundingSphere>()), m_box(std::make_unique<CBoundingBox>()) {
    CBoundingVolumeDesc sphere;
    sphere.kind = CBoundingVolumeDesc::kSphere;
    sphere.centre = car.Position();
    sphere.sizes = {15.0f, 0.0f, 0.0f};
    sphere.offset = CVector(0.0f, 4.0f, -5.0f);
    m_sphere->Create(sphere);
    m_sphere->SetOrientation(kVolumeDirection, kUpVector);
    CBoundingVolumeDesc box;
    box.kind = CBoundingVolumeDesc::kBox;
    box.centre = car.Position();
    box.sizes = {40.0f, 20.0f, 20.0f};
    box.offset = CVector(-25.0f, 3.0f, 0.0f);
    m_box->Create(box);
    m_box->SetOrientation(kVolumeDirection, kUpVector);
}

CCarPickupHelper::~CCarPickupHelper() {
    // The beam's particles hang on the car, which goes with its helper.
    ExpireBeamParticles();
}

bool CCarPickupHelper::IsInstantType(int type) {
    return type == 2 || type == 3 || type == 4 || type == 10;
}

std::uint32_t CCarPickupHelper::GetDuration(int type) {
    if (type < 0 || type > kLastType)
        return 0;
    return type == kBeam ? kBeamDurationMs : kDurationMs;
}

int CCarPickupHelper::DropAsset(int type) {
    switch (type) {
    case 2:
        return 12200;
    case 3:
        return 12201;
    case 4:
        return 12202;
    case 10:
        return 12203;
    default:
        return -1;
    }
}

int CCarPickupHelper::StartSound(int type) {
    switch (type) {
    case kShield:
        return 51085;
    case kBoost:
        return 51092;
    case 2:
        return 51083;
    case 3:
        return 51086;
    case 4:
        return 51089;
    case kBeam:
        return 51081;
    case kGrip:
        return 51090;
    case 10:
        return 55038;
    default:
        return -1;
    }
}

bool CCarPickupHelper::Give(int type) {
    if (type < 0 || type > kLastType)
        return false;
    m_heldType = type == kRandomType ? kRandomTypes[Random::Next() % 8] : type;
    return true;
}

void CCarPickupHelper::ActivateIfHeld() {
    if (m_heldType != -1)
        Activate();
}

void CCarPickupHelper::Activate() {
    if (m_activeType != -1)
        EndActive();
    if (m_car.GetStuntState() == CCarObject::kStuntLoop || m_lockMs > 0 || m_heldType == -1)
        return;
    m_activeType = m_heldType;
    m_heldType = -1;
    m_activeMs = 0;
    Start();
    if (IsInstantType(m_activeType))
        EndActive();
}

void CCarPickupHelper::Update(unsigned ms) {
    if (m_lockMs > 0)
        m_lockMs -= static_cast<int>(ms);
    if (m_activeType == -1)
        return;
    m_activeMs += ms;
    if (m_activeMs > GetDuration(m_activeType))
        EndActive();
    else
        UpdateActive(ms);
}

void CCarPickupHelper::EndActive() {
    End();
    m_activeType = -1;
    m_activeMs = 0;
}

void CCarPickupHelper::Cancel(bool dropHeld) {
    if (m_activeType != -1)
        EndActive();
    if (dropHeld)
        m_heldType = -1;
}

void CCarPickupHelper::PlaySound(int soundId, int slot) const {
    if (IWorldSounds* sounds = Sounds(); sounds && soundId != -1)
        sounds->PlayCarSound(soundId, slot);
}

void CCarPickupHelper::DropObject(int assetId, const CVector& offset, int lifeMs) {
    CVector at = offset;
    at.TransformBetweenFrames(CVector(1.0f, 0.0f, 0.0f), kUpVector, LevelHeading(m_car), kUpVector);
    at += m_car.Position();
    CWorldMan::CreateWorldObject(assetId, at.x, at.y, at.z, lifeMs);
}

// ---- what each type does ----

void CCarPickupHelper::Start() {
    const int slot = m_car.GetDriverSlot();
    switch (m_activeType) {
    case kShield:
        PlaySound(StartSound(kShield), slot);
        m_car.SetPickupIndicatorVisible(true);
        break;
    case kBoost:
        PlaySound(StartSound(kBoost), slot);
        m_car.StartTwoWheelsType1(static_cast<int>(kDurationMs));
        m_car.ApplyParamModifiers(m_boostModifiers, static_cast<int>(kDurationMs));
        break;
    case 2:
    case 3:
    case 4:
    case 10:
        DropObject(DropAsset(m_activeType), kDropOffset, kDropLifeMs);
        PlaySound(StartSound(m_activeType), slot);
        break;
    case kBeam:
        PlaySound(StartSound(kBeam), slot);
        m_beamMs = 0;
        m_beamOn = true;
        break;
    case kGrip:
        PlaySound(StartSound(kGrip), slot);
        m_gripWheelTexture = m_car.GetWheelTextureId();
        m_car.StartTwoWheelsType0(static_cast<int>(kDurationMs));
        m_car.ApplyParamModifiers(m_gripModifiers, static_cast<int>(kDurationMs));
        m_car.ReplaceWheelTexture(m_gripWheelTexture, kGripTexture);
        m_gripMs = 0;
        m_gripFlashMs = 0;
        m_gripTextureSwapped = true;
        break;
    default:
        break;
    }
}

void CCarPickupHelper::UpdateActive(unsigned ms) {
    switch (m_activeType) {
    case kShield:
        UpdateShield();
        break;
    case kBoost:
        if (m_car.GetSpeed() < kBoostTopSpeed) {
            CVector push = m_car.Direction();
            push.SetLength(kBoostPush);
            m_car.ApplyForce(CForce(push, CForce::kExternal));
        }
        m_car.ReportTaunt(CCarObject::kTauntBoost);
        break;
    case kBeam:
        UpdateBeam(ms);
        break;
    case kGrip:
        UpdateGrip(ms);
        break;
    default:
        break;
    }
}

void CCarPickupHelper::End() {
    switch (m_activeType) {
    case kShield:
        m_car.SetPickupIndicatorVisible(false);
        break;
    case kBoost:
        m_car.EndAllEffects();
        break;
    case kBeam:
        ExpireBeamParticles();
        break;
    case kGrip:
        if (m_gripWheelTexture != -1 && m_gripTextureSwapped)
            m_car.ReplaceWheelTexture(kGripTexture, m_gripWheelTexture);
        m_gripWheelTexture = -1;
        m_gripTextureSwapped = false;
        m_car.EndAllEffects();
        break;
    default:
        break;
    }
}

void CCarPickupHelper::UpdateShield() {
    m_sphere->SetCentre(m_car.Position());
    m_sphere->SetOrientation(LevelHeading(m_car), kUpVector);
    for (CCarObject* other : CarsIn(m_car, *m_sphere))
        if (!other->IsCollisionPaused())
            other->Respawn(-1);
    m_car.SetPickupIndicatorVisible(m_car.IsNotLooping());
}

void CCarPickupHelper::ExpireBeamParticles() {
    // The system lives 1000 ms and may be gone already: only a live one is ended.
    if (m_beamParticles && CParticleSystem::IsAlive(m_beamParticles))
        m_beamParticles->Expire();
    m_beamParticles = nullptr;
}

void CCarPickupHelper::UpdateBeam(unsigned ms) {
    m_beamMs += ms;
    if (m_beamMs > kBeamPulseMs) {
        if (m_beamOn)
            ExpireBeamParticles();
        m_beamMs = 0;
        m_beamOn = !m_beamOn;
    }
    if (!m_car.IsNotLooping())
        m_beamOn = false;
    if (!m_beamOn)
        return;
    if (!m_beamParticles || !CParticleSystem::IsAlive(m_beamParticles))
        m_beamParticles =
            CParticleSystem::Create(kBeamParticles, CVector(0.0f, 3.0f, -6.0f), &m_car, 1000.0f);
    m_box->SetCentre(m_car.Position());
    m_box->SetOrientation(LevelHeading(m_car), kUpVector);
    for (CCarObject* hit : CarsIn(m_car, *m_box)) {
        PlaySound(kBeamHitSound, hit->GetDriverSlot());
        hit->CancelPickup(true);
        hit->ApplyParamModifiers(m_beamHitModifiers, kBeamHitModifiersMs);
        hit->DisableControls(kBeamDisableMs);
    }
}

void CCarPickupHelper::FlipGripTexture() {
    if (m_gripWheelTexture == -1)
        return;
    if (m_gripTextureSwapped)
        m_car.ReplaceWheelTexture(kGripTexture, m_gripWheelTexture);
    else
        m_car.ReplaceWheelTexture(m_gripWheelTexture, kGripTexture);
    m_gripTextureSwapped = !m_gripTextureSwapped;
}

void CCarPickupHelper::UpdateGrip(unsigned ms) {
    m_gripMs += ms;
    if (m_gripMs <= kGripFlashStartMs)
        return;
    m_gripFlashMs += ms;
    if (m_gripFlashMs > kGripFlashMs) {
        m_gripFlashMs = 0;
        FlipGripTexture();
    }
}

} // namespace zentrix
