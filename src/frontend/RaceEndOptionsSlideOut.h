#pragma once

#include "frontend/RaceMenuSlideOut.h"

namespace zentrix {

/// The panel after a race and its lap of honour (game state 17, over the pre-race world): race again on
/// the same set-up, or leave for the screen the game mode came from.
class CRaceEndOptionsSlideOut : public CRaceMenuSlideOut {
public:
    /// Control ids.
    static constexpr int kRaceAgainButton = 1;
    static constexpr int kLeaveButton = 2;

    CRaceEndOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    void OnControl(int controlId) override;
};

} // namespace zentrix
