#include "events/CarSpinEffect.h"

#include "events/ItemValues.h"
#include "foundation/math/RandomNumbers.h"
#include "world/CarObject.h"

namespace zentrix {

namespace {

enum ESlot : std::int32_t { kAxis = 0, kTime = 1, kAngle = 2 };
constexpr float kPi = 3.1415927f;
constexpr std::int32_t kRandomAxis = 3;

} // namespace

bool CCarSpinEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, true);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == kAxis) {
            std::int32_t axis = value.number;
            if (axis == kRandomAxis)
                axis = RandomIntInRange(0, 2);
            if (axis == 0)
                m_axis = CVector(1.0f, 0.0f, 0.0f);
            else if (axis == 1)
                m_axis = CVector(0.0f, 1.0f, 0.0f);
            else if (axis == 2)
                m_axis = CVector(0.0f, 0.0f, 1.0f);
        } else if (value.slot == kTime) {
            m_duration = value.number;
        } else if (value.slot == kAngle) {
            m_angle = 2.0f * kPi * static_cast<float>(static_cast<std::uint32_t>(value.number)) / 360.0f;
        }
    }
    m_car = dynamic_cast<CCarObject*>(owner);
    return m_car != nullptr;
}

void CCarSpinEffect::Fire(std::vector<CWorldObject*> /*targets*/) {
    if (m_car && m_duration > 0)
        m_car->Spin(m_angle, m_duration, m_axis, true);
}

} // namespace zentrix
