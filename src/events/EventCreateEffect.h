#pragma once

#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

/// Starts the events of script resource "FileID" on every target, with the target as their owner, from
/// its next update on, each living "Lifetime" ms (0: for good).
class CEventCreateEffect final : public CEffect {
public:
    /// False without a FileID.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

private:
    std::int32_t m_lifetime = 0;
    std::int32_t m_scriptId = -1;
};

} // namespace zentrix
