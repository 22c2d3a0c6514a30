#include "events/SpawnEffect.h"

#include "events/HeadingFrame.h"
#include "events/ItemValues.h"
#include "foundation/math/RandomNumbers.h"
#include "world/ActiveWorldObject.h"
#include "world/WorldMan.h"
#include "world/WorldTopographyLink.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zentrix {

namespace {

enum ESlot : std::int32_t {
    kObjects = 0,
    kPosition = 1,
    kVelocity = 2,
    kRandomPosX = 3,
    kRandomVelX = 6,
    kLifeTime = 9,
    kLifeTimeVar = 10,
    kTimeDelay = 11,
    kRandomOrientation = 12,
    kOrientation = 13,
    kTimeDelayVar = 14,
    kOnTrackOnly = 15
};

std::uint32_t Unsigned(std::int32_t n) {
    return n < 0 ? 0u : static_cast<std::uint32_t>(n);
}

float& Axis(CVector& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

std::int32_t ClampToInt(double value) {
    return static_cast<std::int32_t>(
        std::clamp(value, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                   static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

} // namespace

bool CSpawnEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item)) {
        const std::int32_t slot = value.slot;
        if (slot == kObjects)
            m_objects = value.list;
        else if (slot == kPosition)
            m_position = value.vector;
        else if (slot == kVelocity)
            m_velocity = value.vector;
        else if (slot >= kRandomPosX && slot < kRandomPosX + 3)
            m_randomPosition[slot - kRandomPosX] = value.number != 0;
        else if (slot >= kRandomVelX && slot < kRandomVelX + 3)
            m_randomVelocity[slot - kRandomVelX] = value.number != 0;
        else if (slot == kLifeTime)
            m_lifeTime = value.number;
        else if (slot == kLifeTimeVar)
            m_lifeTimeVariation = Unsigned(value.number);
        else if (slot == kTimeDelay)
            m_timeDelay = Unsigned(value.number);
        else if (slot == kRandomOrientation)
            m_randomOrientation = value.number != 0;
        else if (slot == kOrientation) {
            // A zero heading cannot be normalised: the object keeps looking up.
            if (value.vector.Length() > 0.0f)
                m_orientation = value.vector.GetNormalised();
            else
                CItemValues::Report("SpawnEffect: Orientation {0;0;0} has no direction; (0, 1, 0) kept");
        } else if (slot == kTimeDelayVar)
            m_timeDelayVariation = Unsigned(value.number);
        else if (slot == kOnTrackOnly)
            m_onTrackOnly = Unsigned(value.number);
    }
    return true;
}

void CSpawnEffect::Update(unsigned ms) {
    m_countdown = ClampToInt(static_cast<double>(m_countdown) - ms);
}

CVector CSpawnEffect::ComputeSpawnPosition() const {
    const CWorldObject* owner = GetOwner();
    if (owner == nullptr)
        return CVector();
    const CVector origin = owner->Position();
    CVector p = origin + ToHeadingFrame(m_position, owner->Direction());
    CVector around = origin;
    CVector reach = m_position;
    for (int axis = 0; axis < 3; ++axis)
        if (m_randomPosition[axis])
            Axis(p, axis) = Axis(around, axis) + RandomFloatInRange(-1.0f, 1.0f) * Axis(reach, axis);
    return p;
}

void CSpawnEffect::Fire(std::vector<CWorldObject*> /*targets*/) {
    if (m_countdown > 0 || GetOwner() == nullptr || !CWorldMan::IsSharedWorldSet())
        return;
    m_countdown =
        ClampToInt(std::trunc(static_cast<double>(m_timeDelay) +
                              m_timeDelayVariation * static_cast<double>(RandomFloatInRange(0.0f, 1.0f))));
    for (std::int32_t id : m_objects) {
        CVector p = ComputeSpawnPosition();
        CVector velocity = m_velocity;
        for (int axis = 0; axis < 3; ++axis)
            if (m_randomVelocity[axis])
                Axis(velocity, axis) *= RandomFloatInRange(-1.0f, 1.0f);
        CVector orientation = m_orientation;
        if (m_randomOrientation) {
            const float x = RandomFloatInRange(-1.0f, 1.0f);
            const float z = RandomFloatInRange(-1.0f, 1.0f);
            orientation = CVector(x, 0.0f, z);
            orientation.SafeNormalise();
            if (orientation.Length() == 0.0f)
                orientation = m_orientation;
        }
        const std::int32_t life =
            std::max(0, m_lifeTime) +
            static_cast<std::int32_t>(RandomUnit() * static_cast<float>(m_lifeTimeVariation));
        CWorldObject* object = CWorldMan::CreateWorldObject(id, p.x, p.y, p.z, life);
        if (object == nullptr)
            continue;
        auto* active = dynamic_cast<CActiveWorldObject*>(object);
        // Only the race worlds have ground to stand on; elsewhere an object keeps its height.
        const int world = CWorldMan::GetCurrentWorldId();
        if (active && (world == CWorldMan::kRace || world == CWorldMan::kLapOfHonour))
            if (const IWorldTopographyLink* ground = CWorldMan::GetRaceTopography())
                p.y = std::max(p.y, ground->GetHeight(p.x, p.z));
        object->SetPositionVector(p);
        object->SetDirectionVector(orientation);
        object->SetAnimPlaying(true);
        if (active)
            active->SetVelocity(velocity);
    }
}

} // namespace zentrix
