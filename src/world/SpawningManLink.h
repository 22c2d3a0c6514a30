#pragma once

#include "foundation/base/ManagerInterface.h"

namespace zentrix {

class CWorldObject;

/// The spawning manager of the shared world as the registry and the grid drive it: it remembers the
/// spawn pads placed on the grid and re-creates their pickups (or the jam truck) while a race runs. The
/// program gives `CSpawningMan`; without a maker the shared world has none.
class ISpawningManLink : public CManagerInterface {
public:
    /// Marks the manager enabled (when the shared world is made) or disabled (before it is deleted).
    virtual void Enable() = 0;
    virtual void Disable() = 0;
    /// A piece was placed on the grid.
    virtual void AddObject(CWorldObject* object) = 0;
    /// A piece left the grid, or any object left the world; the manager forgets what it kept of it.
    virtual void RemoveObject(CWorldObject* object) = 0;
    /// Forgets every pad and marks every pickup of the world dead.
    virtual void RemoveAllPickups() = 0;
    /// Advances the pads' periods and re-creates what is due.
    virtual void Update(unsigned ms) = 0;
};

} // namespace zentrix
