#pragma once

#include "events/Effect.h"
#include "foundation/math/Vector.h"

#include <cstdint>

namespace zentrix {

/// Starts a particle system of kind "FileID" per target: bound to the owner at "Offset" in its frame
/// ("Attached" 1, the value when left out), or loose at the target's position plus the offset. A
/// "Lifetime" of 0 or less takes the kind's own.
class CParticleEffect final : public CEffect {
public:
    /// False without a particle kind.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

private:
    std::int32_t m_kind = 0;
    CVector m_offset;
    std::int32_t m_lifetime = -1;
    bool m_attached = true;
};

} // namespace zentrix
