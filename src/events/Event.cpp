#include "events/Event.h"

#include <limits>

namespace zentrix {

namespace {

// Kinds with no keyword that still count as known.
constexpr int kSpareTriggerKind = 4;
constexpr int kUnbuiltTriggerKind = 6;
constexpr int kSpareEffectKinds[] = {13, 14};

} // namespace

CEvent::~CEvent() {
    Clear();
}

void CEvent::Init(const CScriptParser::CEventDesc& description, CWorldObject* owner, int timeoutMs,
                  unsigned checkInterval) {
    m_owner = owner;
    m_checkInterval = checkInterval;
    m_timeout = timeoutMs;
    for (const CScriptParser::CItemDesc& item : description.triggers)
        CreateTrigger(item);
    for (const CScriptParser::CItemDesc& item : description.effects)
        CreateEffect(item);
}

bool CEvent::CreateTrigger(const CScriptParser::CItemDesc& item) {
    if (item.kind == kSpareTriggerKind)
        return true;
    if (item.kind == kUnbuiltTriggerKind)
        return false;
    std::unique_ptr<CTrigger> trigger = m_items.MakeTrigger(item.kind);
    if (!trigger)
        return false;
    if (trigger->Init(item, m_owner))
        m_triggers.push_back(std::move(trigger));
    return true;
}

bool CEvent::CreateEffect(const CScriptParser::CItemDesc& item) {
    for (int spare : kSpareEffectKinds)
        if (item.kind == spare)
            return true;
    std::unique_ptr<CEffect> effect = m_items.MakeEffect(item.kind);
    if (!effect)
        return false;
    if (effect->Init(item, m_owner))
        m_effects.push_back(std::move(effect));
    return true;
}

void CEvent::Update(unsigned ms) {
    if (m_timeout > 0) {
        // Saturating, so a long frame cannot wrap the age back below the timeout.
        m_elapsed = ms > std::numeric_limits<std::uint32_t>::max() - m_elapsed
                        ? std::numeric_limits<std::uint32_t>::max()
                        : m_elapsed + ms;
        if (m_elapsed > static_cast<std::uint32_t>(m_timeout))
            m_expired = true;
    }
    for (const auto& trigger : m_triggers)
        trigger->Update(ms);
    for (const auto& effect : m_effects)
        effect->Update(ms);
    if (++m_frameCount >= m_checkInterval) {
        m_frameCount = 0;
        if (AllTriggered())
            Fire();
    }
}

bool CEvent::AllTriggered() {
    if (m_triggers.empty())
        return false;
    for (const auto& trigger : m_triggers)
        if (!trigger->IsTriggered())
            return false;
    return true;
}

void CEvent::Fire() {
    std::vector<CWorldObject*> targets;
    for (const auto& trigger : m_triggers) {
        const std::vector<CWorldObject*> found = trigger->GetTargets();
        targets.insert(targets.end(), found.begin(), found.end());
    }
    for (const auto& effect : m_effects)
        effect->Fire(targets);
}

void CEvent::Clear() {
    m_triggers.clear();
    for (auto& effect : m_effects) {
        effect->Stop();
        effect.reset();
    }
    m_effects.clear();
}

} // namespace zentrix
