#include "events/ProximityTrigger.h"

#include "events/ItemValues.h"
#include "world/BoundingBox.h"
#include "world/BoundingSphere.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"

#include <algorithm>

namespace zentrix {

namespace {

enum ESlot : std::int32_t {
    kProxType = 0,
    kRadius = 1,
    kXSize = 2,
    kYSize = 3,
    kZSize = 4,
    kCentre = 5,
    kSelf = 6,
    kExcluding = 7
};

constexpr std::int32_t kSphere = 0;

} // namespace

CProximityTrigger::CProximityTrigger() = default;

CProximityTrigger::~CProximityTrigger() {
    if (m_volume)
        m_volume->Reset();
}

bool CProximityTrigger::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    CTrigger::Init(item, owner);
    if (owner == nullptr)
        return false;
    const CItemValues values(item);
    std::int32_t type = -1;
    for (const CItemValue& value : values)
        if (value.slot == kProxType)
            type = value.number;

    CBoundingVolumeDesc desc;
    desc.centre = owner->Position();
    if (type == kSphere) {
        desc.kind = CBoundingVolumeDesc::kSphere;
        for (const CItemValue& value : values) {
            if (value.slot == kRadius)
                desc.sizes[0] = value.scalar;
            else if (value.slot == kCentre)
                m_centre = value.vector;
            else if (value.slot == kSelf)
                m_self = value.number != 0;
            else if (value.slot == kExcluding)
                m_excluded = value.list;
        }
        m_volume = std::make_unique<CBoundingSphere>();
        return m_volume->Create(desc);
    }
    // The box's first size lies along the model frame's direction: the owner's heading.
    desc.kind = CBoundingVolumeDesc::kBox;
    for (const CItemValue& value : values) {
        if (value.slot == kXSize)
            desc.sizes[2] = value.scalar;
        else if (value.slot == kYSize)
            desc.sizes[1] = value.scalar;
        else if (value.slot == kZSize)
            desc.sizes[0] = value.scalar;
        else if (value.slot == kCentre)
            m_centre = value.vector;
        else if (value.slot == kSelf)
            m_self = value.number != 0;
    }
    m_volume = std::make_unique<CBoundingBox>();
    // A box of a size left out is refused and then meets nothing: the trigger stays, never holding.
    if (!m_volume->Create(desc))
        CItemValues::Report("ProximityTrigger: a box needs XSize, YSize and ZSize above 0; it never holds");
    m_volume->SetOrientation(kDefaultDirection, kUpVector);
    m_volume->SetOffset(m_centre.x, m_centre.y, m_centre.z);
    return true;
}

bool CProximityTrigger::IsTriggered() {
    m_found.clear();
    CWorldObject* owner = GetOwner();
    if (owner == nullptr || !m_volume)
        return false;
    m_volume->SetCentre(owner->Position());
    m_volume->SetOrientation(owner->Direction(), kUpVector);
    CWorldMan::GetActiveObjectsIn(owner, *m_volume, m_found);
    return !m_found.empty();
}

std::vector<CWorldObject*> CProximityTrigger::GetTargets() {
    if (m_self)
        return CTrigger::GetTargets();
    for (std::int32_t excluded : m_excluded)
        m_found.erase(
            std::remove_if(m_found.begin(), m_found.end(),
                           [excluded](const CWorldObject* o) { return o && o->GetTypeId() == excluded; }),
            m_found.end());
    return m_found;
}

} // namespace zentrix
