#pragma once

#include "foundation/math/Vector.h"

#include <vector>

namespace zentrix {

class CAssetMan;

/// What the computer driver reads of the world it races in: the asset manager its tuning comes from,
/// whether the race is over, and the pickups and splats lying about. A pickup is known by an id that is
/// only ever compared: the world may delete the pickup at any time, so it is looked up again before each
/// use and never read through a kept pointer.
class IComputerDriverWorld {
public:
    /// A pickup as the driver sees it.
    struct SPickup {
        const void* id = nullptr;
        CVector position;
    };

    virtual ~IComputerDriverWorld() = default;

    /// Where the tuning and cornering data come from (null: nothing is loaded, the defaults stay).
    virtual CAssetMan* GetAssetMan() const = 0;
    /// The race world's state: 1 while the race is over (the lap of honour); -1 without a race world.
    virtual int GetRaceState() const = 0;
    /// Every pickup in the world.
    virtual void GetPickups(std::vector<SPickup>& out) const = 0;
    /// Whether the pickup `id` is still in the world, and where; a search, never a read through `id`.
    virtual bool FindPickup(const void* id, CVector& position) const = 0;
    /// The positions of the splats lying on the track.
    virtual void GetSplodges(std::vector<CVector>& out) const = 0;
};

} // namespace zentrix
