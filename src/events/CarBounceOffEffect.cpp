#include "events/CarBounceOffEffect.h"

#include "events/ItemValues.h"
#include "world/CarObject.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"

#include <algorithm>

namespace zentrix {

namespace {

constexpr int kBounceSound = 55038;
constexpr float kPi = 3.1415927f;
/// Above these shares of its top speed a bounced car spins head over heels, or round.
constexpr float kSomersaultShare = 0.8f;
constexpr float kTurnShare = 0.4f;
constexpr float kKeptHorizontal = 0.25f;

/// The car's speed as a share of its top speed; 0 for a car without one.
float ShareOfTopSpeed(const CCarObject& car, const CVector& velocity) {
    const float top = car.GetTopSpeed();
    return top > 0.0f ? velocity.Length() / top : 0.0f;
}

} // namespace

bool CCarBounceOffEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item))
        if (value.slot == 0)
            m_verticalFactor = value.scalar;
    return dynamic_cast<CCarObject*>(owner) != nullptr;
}

void CCarBounceOffEffect::Fire(std::vector<CWorldObject*> targets) {
    if (targets.empty())
        return;
    auto* car = dynamic_cast<CCarObject*>(targets.front());
    if (!car)
        return;
    CVector v = car->GetMeanContactVelocity();
    // Only a car running level is thrown up.
    if (v.y != 0.0f)
        return;
    const float ratio = ShareOfTopSpeed(*car, v);
    v.y = ratio * m_verticalFactor;
    car->SetVelocity(v);
    const int duration = static_cast<int>(500.0f * ratio + 500.0f);
    if (ratio > kSomersaultShare)
        car->Spin(2.0f * kPi, duration, CVector(1.0f, 0.0f, 0.0f), true);
    else if (ratio > kTurnShare)
        car->Spin(2.0f * kPi, duration, CVector(0.0f, 1.0f, 0.0f), true);
    m_bounced.push_back({targets.front(), car});
    IWorldServices* services = CWorldMan::GetServices();
    if (IWorldSounds* sounds = services ? services->GetSounds() : nullptr)
        sounds->PlaySoundAt(kBounceSound, car->Position(), false, car->GetDriverSlot());
}

void CCarBounceOffEffect::Update(unsigned /*ms*/) {
    for (const SBounced& bounced : m_bounced) {
        // A car taken out of the world since the firing (a jam truck that ended) is gone.
        if (!CWorldMan::IsInWorld(bounced.object))
            continue;
        CVector v = bounced.car->GetMeanContactVelocity();
        v.y = ShareOfTopSpeed(*bounced.car, v) * m_verticalFactor;
        v.x *= kKeptHorizontal;
        v.z *= kKeptHorizontal;
        bounced.car->SetVelocity(v);
    }
    m_bounced.clear();
}

} // namespace zentrix
