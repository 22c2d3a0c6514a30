#include "events/CarCrazyEffect.h"

#include "events/ItemValues.h"
#include "foundation/math/Random.h"
#include "world/CarObject.h"

namespace zentrix {

namespace {

constexpr int kInvisibleMs = 10000;
constexpr int kFastBounceMs = 400;
constexpr int kSlowBounceMs = 1000;
constexpr float kBounceHeight = 6.0f;
/// Nearly no drive, brake or steering, and five times the grip.
constexpr CCarObject::SParamModifiers kCrazyHandling{0.01f, 0.01f, 0.0001f, 5.0f, 1.0f, 1.0f, 1.0f};

} // namespace

bool CCarCrazyEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, true);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_type = value.number;
        else if (value.slot == 1)
            m_duration = value.number;
    }
    m_car = dynamic_cast<CCarObject*>(owner);
    return m_car != nullptr;
}

void CCarCrazyEffect::Fire(std::vector<CWorldObject*> /*targets*/) {
    if (!m_car)
        return;
    switch (m_type) {
    case 0:
        if (Random::Next() % 2 == 0) {
            m_car->StartInvisible(kInvisibleMs, false);
        } else {
            m_car->StartCrazySteering(m_duration, kFastBounceMs, kBounceHeight, true);
            m_car->ApplyParamModifiers(kCrazyHandling, m_duration);
        }
        break;
    case 1:
        m_car->StartInvisible(m_duration, true);
        break;
    case 2:
        m_car->StartCrazySteering(m_duration, kSlowBounceMs, kBounceHeight, true);
        break;
    default:
        break;
    }
}

} // namespace zentrix
