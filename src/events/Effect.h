#pragma once

#include "events/ScriptParser.h"

#include <vector>

namespace zentrix {

class CWorldObject;

/// The action side of an event: reads its parameters by slot in Init, acts on the targets its event
/// gathered in Fire and may go on acting over time in Update.
class CEffect {
public:
    CEffect() = default;
    virtual ~CEffect() = default;
    CEffect(const CEffect&) = delete;
    CEffect& operator=(const CEffect&) = delete;

    /// Reads the item's values; false leaves the effect out of its event. Every class starts with
    /// InitOwner.
    virtual bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) = 0;
    /// Called just before the effect is deleted.
    virtual void Stop() {}
    /// Acts on the targets the event gathered from its triggers.
    virtual void Fire(std::vector<CWorldObject*> targets) = 0;
    /// Advances an effect that acts over time.
    virtual void Update(unsigned /*ms*/) {}

protected:
    /// The base part of Init: keeps the owner and whether the effect acts on it.
    void InitOwner(CWorldObject* owner, bool applyToOwner) {
        m_owner = owner;
        m_applyToOwner = applyToOwner;
    }
    CWorldObject* GetOwner() const { return m_owner; }
    bool AppliesToOwner() const { return m_applyToOwner; }

private:
    CWorldObject* m_owner = nullptr;
    bool m_applyToOwner = false;
};

} // namespace zentrix
