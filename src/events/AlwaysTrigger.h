#pragma once

#include "events/Trigger.h"

namespace zentrix {

/// Holds in every test: its event fires every frame, on the owner.
class CAlwaysTrigger final : public CTrigger {
public:
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override {
        return CTrigger::Init(item, owner);
    }
    bool IsTriggered() override { return true; }
};

} // namespace zentrix
