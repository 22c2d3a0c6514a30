#include "world/SplodgeWO.h"

#include "world/BoundingSphere.h"
#include "world/BoundingVolumeDesc.h"
#include "world/CarObject.h"
#include "world/EventControllerLink.h"
#include "world/WorldMan.h"

#include <vector>

namespace zentrix {

namespace {

void RunScript(CCarObject& car, int scriptId) {
    if (IEventControllerLink* events = car.GetEventController())
        events->AddEvents(scriptId, CSplodgeWO::kScriptTimeoutMs);
}

} // namespace

CSplodgeWO::CSplodgeWO(int assetId, int lifeMs) : CWorldObject(assetId, lifeMs, nullptr, -1) {
    CBoundingVolumeDesc desc;
    desc.kind = CBoundingVolumeDesc::kSphere;
    desc.centre = Position();
    desc.sizes[0] = kRadius;
    m_volume = std::make_unique<CBoundingSphere>();
    if (!m_volume->Create(desc))
        m_volume.reset();
}

CSplodgeWO::~CSplodgeWO() = default;

void CSplodgeWO::SetPositionVector(const CVector& position) {
    const float y = GetGroundHeight(position.x, position.z, nullptr);
    CWorldObject::SetPositionVector(CVector(position.x, y, position.z));
    SetOrientation(Direction(), kUpVector);
}

void CSplodgeWO::SetOrientation(const CVector& direction, const CVector&) {
    CWorldObject::SetOrientation(direction, GetGroundNormal(Position().x, Position().z));
}

void CSplodgeWO::Update(unsigned ms) {
    CWorldObject::Update(ms);
    if (m_counter <= 0) {
        SetPositionVector(Position());
        m_counter = kRegroundUpdates - 1;
    } else {
        --m_counter;
    }
    CheckContacts();
}

void CSplodgeWO::CheckContacts() {
    if (!m_volume)
        return;
    m_volume->SetCentre(Position());
    std::vector<CWorldObject*> met;
    CWorldMan::GetActiveObjectsIn(this, *m_volume, met);
    for (CWorldObject* object : met) {
        auto* car = dynamic_cast<CCarObject*>(object);
        if (!car || !car->IsGrounded() || car->IsJamTruck())
            continue;
        if (car->IsCollisionPaused())
            return;
        car->CancelPickup(false);
        ActOn(*car);
    }
}

void CSplodgeWO::ActOn(CCarObject& car) const {
    switch (GetTypeId()) {
    case kSpin:
        if (!car.IsSpinning()) {
            RunScript(car, kSpinScript);
            car.LockPickups(1500);
        }
        break;
    case kSlow: {
        CVector velocity = car.GetMeanContactVelocity();
        if (velocity.Length() > kSlowSpeed) {
            velocity.SetLength(kSlowSpeed);
            car.SetVelocity(velocity);
            car.LockPickups(200);
        }
        break;
    }
    case kCrazy:
        if (!car.IsCrazySteering() && !car.IsInvisible()) {
            RunScript(car, kCrazyScript);
            car.LockPickups(2000);
        }
        break;
    case kBounce:
        if (car.Position().y < Position().y + kBounceReach) {
            RunScript(car, kBounceScript);
            car.LockPickups(800);
        }
        break;
    default:
        break;
    }
}

} // namespace zentrix
