#pragma once

#include "events/ScriptParser.h"

#include <vector>

namespace zentrix {

class CWorldObject;

/// The condition side of an event: reads its parameters by slot in Init, counts time in Update,
/// answers IsTriggered when its event tests it and names the objects the effects act on.
class CTrigger {
public:
    CTrigger() = default;
    virtual ~CTrigger() = default;
    CTrigger(const CTrigger&) = delete;
    CTrigger& operator=(const CTrigger&) = delete;

    /// Reads the item's values; false leaves the trigger out of its event. Every class calls this
    /// base first, which keeps the owner and succeeds.
    virtual bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) = 0;
    /// Whether the condition holds now; may change the trigger's state.
    virtual bool IsTriggered() = 0;
    /// Advances the trigger's clocks.
    virtual void Update(unsigned /*ms*/) {}
    /// The objects the event's effects act on: the owner alone unless a class finds others.
    virtual std::vector<CWorldObject*> GetTargets() { return {m_owner}; }

protected:
    CWorldObject* GetOwner() const { return m_owner; }

private:
    CWorldObject* m_owner = nullptr;
};

} // namespace zentrix
