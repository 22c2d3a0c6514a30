#pragma once

#include "app/DriverControls.h"
#include "race/Driver.h"

namespace zentrix {

/// The jam truck's driver: no device, always ready. It shuttles along the route node by node at full
/// throttle, keeping to the edge of the road on the side of its direction of travel, and turns back at
/// the ends of a broken route and before the special pieces and ramps (route types 5 and 2). It runs no
/// watchdog, but a shield, a fall or a crash puts the truck back like any car: its respawn node is always the
/// node it drives to, so it comes back on its own run, not on the start line.
class CFactoryDriver : public CDriver {
public:
    /// Which way the truck shuttles.
    enum EShuttle : int { kStopped = 0, kForward = 1, kBackward = 2 };
    /// A node's lane point closer than this is reached.
    static constexpr float kArriveDistance = 5.0f;
    /// A lane moves this much a frame towards its target.
    static constexpr int kLaneStep = 4;

    CFactoryDriver(int driverIndex, int slot, IDriverServices* services);

    /// One frame of shuttling; false without a car, once the truck was removed or when finished.
    bool Update(int ms) override;
    /// The controls the last frame set.
    void GetControls(CDriverControls& out) const override { out = m_controls; }

    int GetShuttle() const { return m_shuttle; }
    bool HasArrived() const { return m_arrived; }
    /// The point the truck is steered at.
    const CVector& GetTargetPoint() const { return m_targetPoint; }

private:
    void Drive();
    /// The brake when standing: on while the car still rolls forward.
    void HoldStill();
    /// Turns round: the next node lies two back from the one it was going to be.
    void Reverse(int& next);
    /// +1 forward, -1 backward, 0 stopped.
    int Sign() const;
    /// Whether the truck may drive on to node `node`: on the route (a broken one does not wrap) and no
    /// special piece or ramp.
    bool CanTake(int node) const;
    /// Drives to `node` (wrapped) and comes back above it when put back.
    void Take(int node);
    /// After a put-back (or a restart) set the node past the one the truck stands at: it drives on where
    /// it may, else turns back to the node it stands at.
    void Resume();
    /// The target lane at the edge of the road on the side of its direction of travel.
    void KeepToItsSide();

    CDriverControls m_controls;
    int m_shuttle = kForward;
    bool m_started = false;
    bool m_arrived = false;
    bool m_nodePassed = false;
    /// The node the truck itself last set; another means it was put back.
    int m_ownNode = -1;
    CVector m_targetPoint;
};

} // namespace zentrix
