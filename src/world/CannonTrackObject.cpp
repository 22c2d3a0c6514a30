#include "world/CannonTrackObject.h"

#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "world/BoundingVolume.h"
#include "world/CarObject.h"
#include "world/WorldSounds.h"

#include <algorithm>
#include <vector>

namespace zentrix {

namespace {

const CVector kIntakeOffset(4.0f, 0.0f, 0.0f);
const CVector kMuzzleOffset(0.0f, 30.0f, 25.0f);
constexpr float kHalfPi = 1.5707964f;

} // namespace

CCannonTrackObject::CCannonTrackObject(int typeId) : CStuntTrackObject(typeId) {}

CCannonTrackObject::~CCannonTrackObject() = default;

bool CCannonTrackObject::Create() {
    const bool made = CTrackObject::Create();
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kBox;
    desc.sizes = {20.0f, 15.0f, 14.0f};
    m_intake = MakeStuntVolume(desc, kIntakeOffset);
    return made;
}

void CCannonTrackObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (IsRacePaused() || !m_intake)
        return;
    std::vector<CCarObject*> cars;
    FindCarObjectsIn(*m_intake, cars);
    for (CCarObject* car : cars)
        AddCar(car);
    UpdateCars(ms);
    m_cars.remove_if([](const SLoadedCar& record) { return record.elapsedMs > kReleaseMs; });
}

void CCannonTrackObject::ForgetObject(const CWorldObject* object) {
    CStuntTrackObject::ForgetObject(object);
    m_cars.remove_if([object](const SLoadedCar& record) { return record.car == object; });
}

void CCannonTrackObject::AddCar(CCarObject* car) {
    if (car && std::none_of(m_cars.begin(), m_cars.end(),
                            [car](const SLoadedCar& record) { return record.car == car; }))
        m_cars.push_back({car, 0, true});
}

void CCannonTrackObject::UpdateCars(unsigned ms) {
    for (SLoadedCar& record : m_cars) {
        record.elapsedMs += ms;
        if (!record.loaded)
            continue;
        record.car->SetCollisionPause(kHeldPauseMs);
        record.car->SetVelocity(CVector());
        if (record.elapsedMs > kHoldMs) {
            Fire(*record.car);
            record.loaded = false;
        }
    }
}

void CCannonTrackObject::Fire(CCarObject& car) {
    CVector velocity = RotateAboutYAxis(Direction(), 2.0f * kHalfPi);
    velocity.SetLength(kMuzzleSpeed);
    velocity.y = kMuzzleLift;
    car.SetVelocity(velocity);
    const float turn = static_cast<float>(std::max(GetRotation(), 0)) * kHalfPi;
    car.SetPositionVector(Position() + RotateAboutYAxis(kMuzzleOffset, turn));
    CParticleSystem::Create(kSmokeParticles, kMuzzleOffset, this, -1.0f);
    const int theme = CurrentTheme();
    if (theme == 1 || theme == 3) {
        SelectAnimation(kFireAnimation);
        SetAnimPlaying(true);
    }
    if (IWorldSounds* sounds = Sounds())
        sounds->PlaySoundAt(kFireSound, Position(), false, car.GetDriverSlot());
}

} // namespace zentrix
