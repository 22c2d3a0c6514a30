#pragma once

namespace zentrix {

/// Physics steps per elapsed millisecond: 0.04 (velocities and forces are per step of 25 ms), or 0.05
/// when a timer drives the world, which no switch turns on.
float GetPhysicsStepFactor();

} // namespace zentrix
