#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

class CWorldRaceMan;

/// A menu of buttons over the race world (the pause menu, the race-end choice): it opens with the pointer
/// shown and its buttons' click sounds reset, and closes with its controls off.
class CRaceMenuSlideOut : public CSlideOut {
public:
    /// Buttons `firstButton`..`lastButton` have their click sounds reset on every opening.
    CRaceMenuSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel, int firstButton,
                      int lastButton);

    /// When not yet shown: the click sounds, the pointer shown, the slide-in with its controls.
    bool Activate(bool immediate) override;
    /// When shown: its controls off, then the slide-out.
    void Deactivate(bool immediate) override;
    /// Keeps the race world.
    void AttachWorld() override;

    CWorldRaceMan* GetRaceWorld() const { return m_race; }

private:
    CWorldRaceMan* m_race = nullptr;
    int m_firstButton;
    int m_lastButton;
};

} // namespace zentrix
