#pragma once

namespace zentrix {

class CEventMan;

/// Stands in for the world registry until the world simulation is built: the fourteen worlds exist as
/// ids only, with nothing to frame, no race to pause and no construction track to resume.
class CWorldRegistryStandIn {
public:
    /// Number of world ids (0 .. kWorldCount - 1).
    static constexpr int kWorldCount = 15;

    /// Creates the worlds; true.
    bool CreateWorlds();
    /// Removes the worlds; safe to call again.
    void DestroyWorlds();
    /// Makes `worldId` current, clearing `events` (may be null) first; true when it already is current,
    /// false when the worlds do not exist or the id is unknown.
    bool SetCurrentWorld(int worldId, CEventMan* events);
    /// The current world's id, -1 when there is none.
    int GetCurrentWorldId() const { return m_current; }

private:
    bool m_created = false;
    int m_current = -1;
};

} // namespace zentrix
