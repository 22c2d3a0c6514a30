#pragma once

#include "events/Trigger.h"
#include "foundation/math/Vector.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CBoundingVolume;

/// Holds while active objects other than the owner meet a volume that moves with the owner: a sphere
/// ("ProxType" 0) or a box turned with the owner's heading (any other ProxType, or none). With "Self" 1
/// (the value when left out) the effects act on the owner; with 0 on the objects found, less those of
/// the "Excluding" type ids.
class CProximityTrigger final : public CTrigger {
public:
    CProximityTrigger();
    ~CProximityTrigger() override;

    /// Builds the volume at the owner: a sphere of "Radius" (false when it cannot be made), or a box
    /// of "XSize" across the owner's heading, "YSize" up and "ZSize" along it, moved by "Centre".
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    /// Moves the volume to the owner and finds the active objects in it; true when there are any.
    bool IsTriggered() override;
    /// The owner with Self 1; otherwise the objects found, without the excluded types (maybe none).
    std::vector<CWorldObject*> GetTargets() override;

    CBoundingVolume* GetVolume() const { return m_volume.get(); }

private:
    std::unique_ptr<CBoundingVolume> m_volume;
    std::vector<CWorldObject*> m_found;
    CVector m_centre;
    bool m_self = true;
    std::vector<std::int32_t> m_excluded;
};

} // namespace zentrix
