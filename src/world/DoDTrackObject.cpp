#include "world/DoDTrackObject.h"

#include "foundation/assets/CarAsset.h"
#include "foundation/math/Rotation.h"
#include "render/ParticleSystem.h"
#include "world/BoundingVolume.h"
#include "world/WorldSounds.h"

#include <algorithm>

namespace zentrix {

namespace {

const CVector kBoxOffset(16.0f, 0.0f, 0.0f);
constexpr float kLeastRating = 9.9f;
constexpr float kMostRating = 11.9f;

bool Contains(const std::vector<CCarObject*>& cars, const CCarObject* car) {
    return std::find(cars.begin(), cars.end(), car) != cars.end();
}

} // namespace

CDoDTrackObject::CDoDTrackObject(int typeId) : CStuntTrackObject(typeId) {}

CDoDTrackObject::~CDoDTrackObject() = default;

float CDoDTrackObject::GripFactor(float rating) {
    const float r = std::clamp(rating, kLeastRating, kMostRating);
    return 1.0f + 0.6f * -(2.0f * ((r - kLeastRating) / (kMostRating - kLeastRating) - 0.5f));
}

CCarObject::SParamModifiers CDoDTrackObject::ModifiersFor(float rating) {
    CCarObject::SParamModifiers pit;
    pit.acceleration = 0.6f;
    pit.braking = 1.0f;
    pit.steering = 0.2f;
    pit.grip = 8.0f * GripFactor(rating);
    pit.sideGrip = 9.0f;
    pit.topSpeed = 1.0f;
    pit.slideAngle = 1.0f;
    return pit;
}

bool CDoDTrackObject::Create() {
    const bool made = CTrackObject::Create();
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kBox;
    desc.sizes = {43.0f, 20.0f, 21.0f};
    m_box = MakeStuntVolume(desc, kBoxOffset);
    return made;
}

void CDoDTrackObject::Update(unsigned ms) {
    CTrackObject::Update(ms);
    if (IsRacePaused() || !m_box)
        return;
    std::vector<CCarObject*> cars;
    FindCarObjectsIn(*m_box, cars);
    PruneCars(cars);
    for (CCarObject* car : cars)
        Enter(*car);
    UpdateStuck(ms);
    UpdateInside();
}

void CDoDTrackObject::ForgetObject(const CWorldObject* object) {
    CStuntTrackObject::ForgetObject(object);
    const auto named = [object](const SPitCar& record) { return record.car == object; };
    m_inside.remove_if(named);
    m_stuck.remove_if(named);
}

bool CDoDTrackObject::AddCar(CCarObject* car, std::list<SPitCar>& list) {
    if (std::any_of(list.begin(), list.end(), [car](const SPitCar& r) { return r.car == car; }))
        return false;
    list.push_back({car, 0});
    return true;
}

void CDoDTrackObject::PruneCars(const std::vector<CCarObject*>& inBox) {
    for (auto it = m_inside.begin(); it != m_inside.end();) {
        if (Contains(inBox, it->car)) {
            ++it;
            continue;
        }
        it->car->ClearStuntState();
        it = m_inside.erase(it);
    }
    // A stuck car pushed out of the box comes up out of the mud.
    m_stuck.remove_if([&inBox](const SPitCar& record) {
        if (Contains(inBox, record.car))
            return false;
        record.car->SetGroundSink(0.0f);
        return true;
    });
}

void CDoDTrackObject::Enter(CCarObject& car) {
    const CCarAsset* asset = car.GetCarAsset();
    car.ApplyParamModifiers(ModifiersFor(asset ? asset->GetGripRatingValue() : kLeastRating), kModifierMs);
    car.SetStuntState(CCarObject::kStuntDoD);
    AddCar(&car, m_inside);
    CVector ground = car.GetMeanContactVelocity();
    ground.y = 0.0f;
    if (!(ground.Length() < kStopSpeed))
        return;
    ReportTaunt(&car, kTaunt);
    if (!AddCar(&car, m_stuck))
        return;
    const int theme = CurrentTheme();
    CParticleSystem::Create(theme == 1 ? 9045 : 9033, car.Position(), nullptr, kStuckParticleMs);
    if (IWorldSounds* sounds = Sounds())
        sounds->PlaySoundAt(theme == 3 ? 51151 : 51150, Position(), true, 0);
}

void CDoDTrackObject::UpdateStuck(unsigned ms) {
    for (auto it = m_stuck.begin(); it != m_stuck.end();) {
        CCarObject& car = *it->car;
        it->ms += ms;
        CVector velocity = car.GetMeanContactVelocity();
        velocity.x = 0.0f;
        velocity.z = 0.0f;
        car.SetVelocity(velocity);
        if (CWorldObject* pivot = car.GetBodyPivot()) {
            CVector direction;
            RotateVectorAboutAxis(pivot->Direction(), direction, CVector(1.0f, 0.0f, 0.0f), 0.007f);
            RotateVectorAboutAxis(direction, direction, CVector(0.0f, 0.0f, 1.0f), 0.01f);
            pivot->SetDirectionVector(direction);
        }
        if (it->ms > kSinkAfterMs) {
            CVector at = car.Position();
            at.y -= kSinkStep;
            car.SetPositionVector(at);
            // The mud gives way under it: the ground holds its points that much lower from now on.
            car.SetGroundSink(car.GetGroundSink() + kSinkStep);
            if (at.y < kSinkLimit) {
                RespawnCar(car);
                it = m_stuck.erase(it);
                continue;
            }
        }
        ++it;
    }
}

void CDoDTrackObject::UpdateInside() {
    for (const SPitCar& record : m_inside) {
        CWorldObject* pivot = record.car->GetBodyPivot();
        if (!pivot)
            continue;
        CVector at = pivot->Position();
        at.y -= kBodySinkStep;
        if (at.y > kBodyFloor)
            pivot->SetPositionVector(at);
    }
}

} // namespace zentrix
