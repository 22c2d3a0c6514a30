#pragma once

namespace zentrix {

/// What the race world asks of the race panel (slide-out 3): the start display before the countdown, the
/// start lights once the camera has settled, and taking the light and the results board away at the end.
/// The race panel answers it; while no panel answers, the race world skips these steps.
class IRacePanelLink {
public:
    virtual ~IRacePanelLink() = default;
    /// Prepares the display a race starts with.
    virtual void StartRace() = 0;
    /// Runs the start lights; the panel calls CWorldRaceMan::StartRacing when they are done.
    virtual void StartLights() = 0;
    /// Takes the start light and the results board off the screen.
    virtual void RemoveLightAndBoard() = 0;
};

} // namespace zentrix
