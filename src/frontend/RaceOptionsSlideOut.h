#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

class CWorldRaceMan;

/// The pause menu over a paused race (game state 16): each of its three buttons takes the race back up,
/// leaving the race world a request to restart the race, to leave it, or none. Escape and Space resume.
class CRaceOptionsSlideOut : public CSlideOut {
public:
    /// Control ids.
    static constexpr int kRestartButton = 0;
    static constexpr int kLeaveButton = 1;
    static constexpr int kResumeButton = 2;

    CRaceOptionsSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// When not yet shown: the click sounds, the pointer shown, the slide-in with its controls.
    bool Activate(bool immediate) override;
    /// When shown: its controls off, then the slide-out.
    void Deactivate(bool immediate) override;
    /// Escape and Space resume, once the panel is fully shown.
    void OnChar(int character) override;
    /// A button: its request to the race world, then back to the race with the pointer hidden.
    void OnControl(int controlId) override;
    /// Keeps the race world.
    void AttachWorld() override;

    CWorldRaceMan* GetRaceWorld() const { return m_race; }

private:
    CWorldRaceMan* m_race = nullptr;
};

} // namespace zentrix
