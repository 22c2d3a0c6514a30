#include "events/ForceEffect.h"

#include "events/HeadingFrame.h"
#include "events/ItemValues.h"
#include "world/ActiveWorldObject.h"
#include "world/Force.h"

#include <cmath>

namespace zentrix {

namespace {

enum ESlot : std::int32_t { kForceType = 0, kForceDir = 1, kForceMag = 2, kForceFreq = 3 };

constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 6.283185308;

} // namespace

bool CForceEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == kForceType)
            m_type = value.number;
        else if (value.slot == kForceDir)
            m_direction = value.vector;
        else if (value.slot == kForceMag)
            m_magnitude = value.scalar;
        else if (value.slot == kForceFreq)
            m_period = 1000.0f / value.scalar; // a frequency of 0 gives an endless period
    }
    return true;
}

void CForceEffect::Update(unsigned ms) {
    // A period left at 0 would make the step infinite and every later sine NaN.
    if (!std::isfinite(m_period) || !(m_period > 0.0f))
        return;
    double phase = m_phase + 2.0 * static_cast<double>(ms) * kPi / m_period;
    if (phase > kTwoPi)
        phase -= kTwoPi;
    // A frame longer than a cycle would otherwise let the phase grow without end; the sine is the same.
    if (phase > kTwoPi)
        phase = std::fmod(phase, kTwoPi);
    m_phase = static_cast<float>(phase);
}

void CForceEffect::Fire(std::vector<CWorldObject*> targets) {
    CWorldObject* owner = GetOwner();
    if (owner == nullptr)
        return;
    for (CWorldObject* object : targets) {
        auto* target = dynamic_cast<CActiveWorldObject*>(object);
        if (target == nullptr)
            continue;
        const bool isOwner = object == owner;
        const CVector d = ToHeadingFrame(m_direction, owner->Direction());
        CVector force;
        switch (m_type) {
        case kPush:
            if (isOwner)
                continue;
            force = d * m_magnitude;
            break;
        case kOscillate:
            force = d * (m_magnitude * std::sin(m_phase));
            break;
        case kRadial:
            force = target->Position() - owner->Position();
            // A target right at the owner has no direction away from it.
            if (isOwner || (force.x == 0.0f && force.y == 0.0f && force.z == 0.0f))
                continue;
            force.SetLength(m_magnitude);
            break;
        case kThrust:
            if (!isOwner)
                continue;
            force = owner->Direction();
            force.SetLength(m_magnitude);
            break;
        default:
            continue;
        }
        target->ApplyForce(CForce(force, CForce::kExternal));
    }
}

} // namespace zentrix
