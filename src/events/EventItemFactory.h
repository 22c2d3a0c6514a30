#pragma once

#include "events/Effect.h"
#include "events/Trigger.h"

#include <array>
#include <functional>
#include <memory>

namespace zentrix {

/// Builds a trigger or an effect from its keyword's kind: a table by kind that the trigger and effect
/// classes enter themselves in. A kind without a class builds nothing.
class CEventItemFactory {
public:
    using TTriggerMaker = std::function<std::unique_ptr<CTrigger>()>;
    using TEffectMaker = std::function<std::unique_ptr<CEffect>()>;

    static constexpr int kTriggerKinds = 8; ///< 0..7
    static constexpr int kFirstEffectKind = 10;
    static constexpr int kEffectKinds = 15; ///< 10..24

    /// The game's classes.
    static const CEventItemFactory& Game();

    /// Enters the class of a trigger kind 0..7; another kind is ignored.
    void SetTrigger(int kind, TTriggerMaker make);
    /// Enters the class of an effect kind 10..24; another kind is ignored.
    void SetEffect(int kind, TEffectMaker make);
    /// A new trigger of the kind, or null when the kind has no class.
    std::unique_ptr<CTrigger> MakeTrigger(int kind) const;
    /// A new effect of the kind, or null when the kind has no class.
    std::unique_ptr<CEffect> MakeEffect(int kind) const;

private:
    std::array<TTriggerMaker, kTriggerKinds> m_triggers;
    std::array<TEffectMaker, kEffectKinds> m_effects;
};

} // namespace zentrix
