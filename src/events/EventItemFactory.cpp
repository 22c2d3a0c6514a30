#include "events/EventItemFactory.h"

#include <cstddef>

namespace zentrix {

const CEventItemFactory& CEventItemFactory::Game() {
    // The trigger and effect classes enter here as they are built. Kind 6 (PerformanceTrigger) was
    // never built and stays without a class.
    static const CEventItemFactory game;
    return game;
}

void CEventItemFactory::SetTrigger(int kind, TTriggerMaker make) {
    if (kind >= 0 && kind < kTriggerKinds)
        m_triggers[static_cast<std::size_t>(kind)] = std::move(make);
}

void CEventItemFactory::SetEffect(int kind, TEffectMaker make) {
    if (kind >= kFirstEffectKind && kind < kFirstEffectKind + kEffectKinds)
        m_effects[static_cast<std::size_t>(kind - kFirstEffectKind)] = std::move(make);
}

std::unique_ptr<CTrigger> CEventItemFactory::MakeTrigger(int kind) const {
    if (kind < 0 || kind >= kTriggerKinds || !m_triggers[static_cast<std::size_t>(kind)])
        return nullptr;
    return m_triggers[static_cast<std::size_t>(kind)]();
}

std::unique_ptr<CEffect> CEventItemFactory::MakeEffect(int kind) const {
    const int index = kind - kFirstEffectKind;
    if (index < 0 || index >= kEffectKinds || !m_effects[static_cast<std::size_t>(index)])
        return nullptr;
    return m_effects[static_cast<std::size_t>(index)]();
}

} // namespace zentrix
