#pragma once

#include "events/Effect.h"

namespace zentrix {

/// Ends the owner ("ApplyToSelf" 1, the value when left out: the world removes it at its next tick), or
/// puts every target car but the owner back on the route.
class CDestroyObjectEffect final : public CEffect {
public:
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

private:
    bool m_applyToSelf = true;
};

} // namespace zentrix
