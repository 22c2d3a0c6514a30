#include "events/EventItemFactory.h"

#include "events/ActionButtonTrigger.h"
#include "events/AlwaysTrigger.h"
#include "events/CarBounceOffEffect.h"
#include "events/CarCrazyEffect.h"
#include "events/CarOnTwoWheelsEffect.h"
#include "events/CarParamsEffect.h"
#include "events/CarPickupEffect.h"
#include "events/CarRumbleEffect.h"
#include "events/CarSpinEffect.h"
#include "events/DestroyObjectEffect.h"
#include "events/EventCreateEffect.h"
#include "events/ForceEffect.h"
#include "events/ParticleEffect.h"
#include "events/ProximityTrigger.h"
#include "events/PulseTimedTrigger.h"
#include "events/SoundEffect.h"
#include "events/SpawnEffect.h"
#include "events/ToggleTimedTrigger.h"
#include "events/VelocityTrigger.h"

#include <cstddef>

namespace zentrix {

const CEventItemFactory& CEventItemFactory::Game() {
    // The trigger and effect classes enter here as they are built. Kind 6 (PerformanceTrigger) was
    // never built and stays without a class.
    static const CEventItemFactory game = [] {
        CEventItemFactory items;
        items.SetTrigger(0, [] { return std::make_unique<CAlwaysTrigger>(); });
        items.SetTrigger(1, [] { return std::make_unique<CPulseTimedTrigger>(); });
        items.SetTrigger(2, [] { return std::make_unique<CToggleTimedTrigger>(); });
        items.SetTrigger(3, [] { return std::make_unique<CProximityTrigger>(); });
        items.SetTrigger(5, [] { return std::make_unique<CVelocityTrigger>(); });
        items.SetTrigger(7, [] { return std::make_unique<CActionButtonTrigger>(); });
        items.SetEffect(10, [] { return std::make_unique<CForceEffect>(); });
        items.SetEffect(11, [] { return std::make_unique<CSoundEffect>(); });
        items.SetEffect(12, [] { return std::make_unique<CSpawnEffect>(); });
        items.SetEffect(15, [] { return std::make_unique<CEventCreateEffect>(); });
        items.SetEffect(16, [] { return std::make_unique<CCarParamsEffect>(); });
        items.SetEffect(17, [] { return std::make_unique<CDestroyObjectEffect>(); });
        items.SetEffect(18, [] { return std::make_unique<CParticleEffect>(); });
        items.SetEffect(19, [] { return std::make_unique<CCarSpinEffect>(); });
        items.SetEffect(20, [] { return std::make_unique<CCarRumbleEffect>(); });
        items.SetEffect(21, [] { return std::make_unique<CCarPickupEffect>(); });
        items.SetEffect(22, [] { return std::make_unique<CCarOnTwoWheelsEffect>(); });
        items.SetEffect(23, [] { return std::make_unique<CCarCrazyEffect>(); });
        items.SetEffect(24, [] { return std::make_unique<CCarBounceOffEffect>(); });
        return items;
    }();
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
