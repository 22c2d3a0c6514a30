#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

class CWorldRaceMan;

/// The panel after a race and its lap of honour (game state 17, over the pre-race world): race again on
/// the same set-up, or leave for the screen the game mode came from.
class CRaceEndOptionsSlideOut : public CSlideOut {
public:
    /// Control ids.
    static constexpr int kRaceAgainButton = 1;
    static constexpr int kLeaveButton = 2;

    CRaceEndOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// When not yet shown: the click sounds, the pointer shown, the slide-in with its controls.
    bool Activate(bool immediate) override;
    /// When shown: its controls off, then the slide-out.
    void Deactivate(bool immediate) override;
    void OnControl(int controlId) override;
    /// Keeps the race world.
    void AttachWorld() override;

    CWorldRaceMan* GetRaceWorld() const { return m_race; }

private:
    CWorldRaceMan* m_race = nullptr;
};

} // namespace zentrix
