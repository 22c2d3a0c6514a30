#include "world/LoopTrackObject.h"

#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "world/BoundingVolume.h"
#include "world/CarObject.h"
#include "world/Force.h"
#include "world/RaceWorldLink.h"
#include "world/WorldMan.h"
#include "world/WorldSounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace zentrix {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kTwoPi = 2.0f * kPi;
const CVector kEntryOffset(25.0f, 0.0f, -7.0f);
const CVector kExitOffset(-7.0f, 0.0f, 19.0f);
/// Where the exit sphere sits: 20 beyond the exit.
const CVector kExitZone(-7.0f, 0.0f, 39.0f);
/// Where a carried car waits, from the piece.
const CVector kCarriedAt(0.0f, 20.0f, 16.0f);
const CVector kStuntCamOffset(50.0f, 50.0f, -50.0f);
const CVector kSideAxis(1.0f, 0.0f, 0.0f);

CBoundingVolumeDesc Sphere() {
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kSphere;
    desc.sizes[0] = CLoopTrackObject::kSphereRadius;
    return desc;
}

} // namespace

CLoopTrackObject::CLoopTrackObject(int typeId) : CTrackObject(typeId) {}

CLoopTrackObject::~CLoopTrackObject() = default;

bool CLoopTrackObject::Create() {
    const bool made = CTrackObject::Create();
    m_entry = MakeStuntVolume(Sphere(), kEntryOffset);
    m_exit = MakeStuntVolume(Sphere(), CVector());
    return made;
}

void CLoopTrackObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (IsRacePaused())
        return;
    CheckEntry();
    MoveOut();
    PushExit();
}

void CLoopTrackObject::ForgetObject(const CWorldObject* object) {
    CTrackObject::ForgetObject(object);
    m_cars.remove_if([object](const SLoopCar& record) { return record.car == object; });
}

void CLoopTrackObject::CheckEntry() {
    if (!m_entry)
        return;
    std::vector<CCarObject*> cars;
    FindCarObjectsIn(*m_entry, cars);
    for (CCarObject* car : cars) {
        if (std::any_of(m_cars.begin(), m_cars.end(), [car](const SLoopCar& r) { return r.car == car; }))
            continue;
        car->SetCollisionPause(static_cast<std::uint32_t>(2.0f * kTurnMs));
        car->SetStuntState(CCarObject::kStuntLoop);
        if (m_cars.empty())
            if (IWorldSounds* sounds = Sounds())
                sounds->PlaySoundAt(kEnterSound, Position(), false, car->GetDriverSlot());
        m_cars.push_back({car, 0.0f});
        const float turn = static_cast<float>(std::max(GetRotation(), 0)) * kPi * 0.5f;
        if (IRaceWorldLink* race = CWorldMan::GetRaceWorld())
            race->RequestStuntCam(Position() + RotateAboutYAxis(kStuntCamOffset, turn), car, kStuntCamMs);
        ReportTaunt(car, kTaunt);
        break;
    }
}

void CLoopTrackObject::CheckTrackCollision(unsigned ms) {
    for (SLoopCar& record : m_cars)
        Carry(record, ms);
}

void CLoopTrackObject::Carry(SLoopCar& record, unsigned ms) {
    CCarObject& car = *record.car;
    const float a = record.angle;
    car.Reorient(RotateAboutYAxis(Direction(), kPi), kUpVector);
    const float turn = static_cast<float>(std::max(GetRotation(), 0)) * kPi * 0.5f;
    car.SetPositionVector(Position() + RotateAboutYAxis(kCarriedAt, turn));
    car.SetVelocity(CVector());
    const CVector pivotAt(-7.0f + kDrift * a / kTwoPi, kLoopRadius - kLoopRadius * std::cos(a) - 20.0f,
                          -kLoopRadius * std::sin(a));
    car.ResetBodyPivot();
    if (CWorldObject* pivot = car.GetBodyPivot()) {
        pivot->SetPositionVector(pivotAt);
        CVector direction;
        CVector up;
        RotateVectorAboutAxis(pivot->Direction(), direction, kSideAxis, a);
        RotateVectorAboutAxis(kUpVector, up, kSideAxis, a);
        pivot->SetOrientation(direction, up);
    }
    const CVector trail = RotateAboutYAxis(pivotAt - CVector(4.0f, 20.0f, 16.0f), kPi);
    CParticleSystem::Create(kTrailParticles, trail, this, -1.0f);
    record.angle = a + static_cast<float>(ms) / kTurnMs * (1.0f - 0.7f * std::sin(a / 2.0f)) * kTwoPi;
}

void CLoopTrackObject::MoveOut() {
    for (auto it = m_cars.begin(); it != m_cars.end();) {
        if (!(it->angle > kTwoPi)) {
            ++it;
            continue;
        }
        if (CCarObject* car = it->car) {
            car->ClearStuntState();
            car->SetPositionVector(Position() + RotateAboutYAxis(kExitOffset, GetTurnAngle()));
            CVector velocity = car->Direction();
            velocity.SetLength(kExitSpeed);
            car->SetVelocity(velocity);
        }
        it = m_cars.erase(it);
    }
}

void CLoopTrackObject::PushExit() {
    if (!m_exit)
        return;
    m_exit->SetCentre(Position() + RotateAboutYAxis(kExitZone, GetTurnAngle()));
    m_exit->SetOrientation(Direction(), kUpVector);
    std::vector<CWorldObject*> met;
    CWorldMan::GetActiveObjectsIn(this, *m_exit, met);
    const CVector from = Position() + m_exit->GetWorldOffset();
    for (CWorldObject* object : met) {
        auto* car = dynamic_cast<CCarObject*>(object);
        if (!car || !(car->GetMeanContactVelocity().Length() < kStallSpeed))
            continue;
        CVector push = car->Position() - from;
        if (push.IsZero())
            continue;
        push.SetLength(kExitPush);
        car->ApplyForce(CForce(push, CForce::kExternal));
    }
}

} // namespace zentrix
