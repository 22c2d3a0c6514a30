#pragma once

#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

class CCarObject;

/// Hands every target car but the owner a pickup of "Type" (0..10; 7 a random one).
class CCarPickupEffect final : public CEffect {
public:
    /// False without a "Type" or for one outside 0..10: no car could hold it.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

    std::int32_t GetType() const { return m_type; }

private:
    std::int32_t m_duration = 1000;
    std::int32_t m_type = -1;
};

} // namespace zentrix
