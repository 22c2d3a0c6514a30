#pragma once

#include "race/Driver.h"

namespace zentrix {

class CIODevice;
class CIOManager;

/// The driver a player controls through one input device of the input manager: a keyboard layout, a
/// joystick or the mouse, chosen by the controller slot (the driver's own slot). By default the player
/// picks a lane across the road (-8..+8) with left and right and the driver steers the car along it;
/// with "/FREEFORM" the device's steering reaches the car unchanged. In both modes the driver moves on
/// to the next route node when the car comes within 15 units of it.
///
/// The device belongs to the input manager; the driver looks it up there each time, so a device that
/// goes with a restarted input manager leaves the driver with released controls, never a stale one.
class CHumanDriver : public CDriver {
public:
    /// The lanes a player picks: the centre and this far either side.
    static constexpr int kLaneLimit = 8;
    /// A lane moves this much a frame towards its target.
    static constexpr int kLaneStep = 4;
    /// The start lane holds this long without steering input.
    static constexpr int kLaneLockMs = 10000;
    /// Without steering input for longer than this the car returns to the centre lane.
    static constexpr int kIdleMs = 500;
    /// Faster than this a corner keeps the car off its outer lanes.
    static constexpr float kCornerSpeed = 1.6f;
    /// A node closer than this is reached.
    static constexpr float kNodeReach = 15.0f;
    /// Slower than this the car is not steered.
    static constexpr float kSteerSpeed = 0.05f;
    /// On a broken route the car goes back to the start this long after the last node.
    static constexpr int kEndOfRouteMs = 1600;
    /// In the air the lanes go back to the car's own offset while it lies within this.
    static constexpr int kAirborneLaneLimit = 15;
    /// Route piece kinds of the corners.
    static constexpr int kSmallCornerKind = 3;
    static constexpr int kLargeCornerKind = 8;

    /// A player's driver in `slot` (the controller slot too), reaching the game through `services`: it
    /// takes the device chosen for that controller; without one it is not ready and hands over released
    /// controls.
    CHumanDriver(int driverIndex, int slot, IDriverServices* services);
    ~CHumanDriver() override;

    /// Only with a device.
    bool IsReady() const override;
    /// The base's frame, then lane or free steering; always true.
    bool Update(int ms) override;
    /// The device's controls, with the driver's own steering in lane steering; before the start the
    /// steering is centred and the throttle released (the brake held only when the driver is held while
    /// the car rolls forward). Released without a device.
    void GetControls(CDriverControls& out) const override;
    /// Force feedback, handed to the device (the push in the opposite direction); `duration` is in the
    /// device's unit.
    void FeedbackPulse(int duration) override;
    void FeedbackPush(int x, int y, int z, int gain) override;
    void FeedbackLevel(int gain) override;
    /// A player takes pickups.
    bool AcceptsPickups() const override { return true; }

    /// The device the driver reads (null: none).
    CIODevice* GetDevice() const;
    /// Lane steering (true) or free steering.
    bool IsLaneSteering() const { return m_laneSteering; }
    /// The lane-steering time since the first update with a car.
    int GetLaneTime() const { return m_laneTime; }
    /// The time since the last steering input.
    int GetIdleTime() const { return m_idleTime; }
    /// The end-of-route timer (0: idle).
    int GetEndOfRouteTimer() const { return m_endOfRouteMs; }
    /// How often the car passed node 0 (reached it, or went on past it).
    int GetNodeZeroPasses() const { return m_nodeZeroPasses; }
    /// The point the car is steered at (lane steering).
    const CVector& GetTargetPoint() const { return m_targetPoint; }

private:
    CIOManager* Input() const;
    /// The player's steering as the device read it; 0 without a device.
    int PlayerSteering() const;
    void SteerByLanes(int ms);
    void SteerFreely(int ms);
    /// The current node checked against the route: false when nothing more is to happen this frame.
    bool CheckCurrentNode();
    /// Moves on when the car is within reach of the current node (`flat`: measured in the ground plane);
    /// false when the end of a broken route started the timer instead.
    bool AdvanceWhenReached(bool flat);
    /// The car went by `node`: the last node passed, which the lap count reads.
    void MarkPassed(int node);
    /// Counts the end-of-route timer down while the car does no stunt and puts the car back at the
    /// start when it runs out.
    void RunEndOfRouteTimer(int ms);

    int m_controllerSlot;
    bool m_hasDevice = false;
    bool m_laneSteering = true;
    bool m_started = false;
    int m_laneTime = 0;
    int m_idleTime = 0;
    int m_endOfRouteMs = 0;
    int m_nodeZeroPasses = 0;
    bool m_nodePassed = false;
    int m_steering = 0;
    CVector m_targetPoint;
};

} // namespace zentrix
