#include "events/ParticleEffect.h"

#include "events/ItemValues.h"
#include "render/ParticleSystem.h"
#include "world/WorldObject.h"

namespace zentrix {

bool CParticleEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    for (const CItemValue& value : CItemValues(item)) {
        if (value.slot == 0)
            m_kind = value.number;
        else if (value.slot == 1)
            m_offset = value.vector;
        else if (value.slot == 2)
            m_lifetime = value.number;
        else if (value.slot == 3)
            m_attached = value.number != 0;
    }
    return m_kind != 0;
}

void CParticleEffect::Fire(std::vector<CWorldObject*> targets) {
    CWorldObject* owner = GetOwner();
    const auto lifetime = static_cast<float>(m_lifetime);
    for (CWorldObject* target : targets) {
        if (target == nullptr)
            continue;
        if (m_attached)
            CParticleSystem::Create(m_kind, m_offset, owner, lifetime);
        else
            CParticleSystem::Create(m_kind, target->Position() + m_offset, nullptr, lifetime);
    }
}

} // namespace zentrix
