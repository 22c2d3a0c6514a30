#pragma once

#include "frontend/RaceMenuSlideOut.h"

namespace zentrix {

/// The pause menu over a paused race (game state 16): each of its three buttons takes the race back up,
/// leaving the race world a request to restart the race, to leave it, or none. Escape and Space resume.
class CRaceOptionsSlideOut : public CRaceMenuSlideOut {
public:
    /// Control ids.
    static constexpr int kRestartButton = 0;
    static constexpr int kLeaveButton = 1;
    static constexpr int kResumeButton = 2;

    CRaceOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// Escape and Space resume, once the panel is fully shown.
    void OnChar(int character) override;
    /// A button: its request to the race world, then back to the race with the pointer hidden.
    void OnControl(int controlId) override;
};

} // namespace zentrix
