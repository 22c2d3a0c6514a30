#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

class CWorldMan;

/// The second main screen's panel (game state 1, over the second main screen world): start the race on
/// the demo track, or go back to the main screen.
class CMainScreen2SlideOut : public CSlideOut {
public:
    /// Control ids.
    static constexpr int kBackButton = 3;
    static constexpr int kRaceButton = 4;

    CMainScreen2SlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// When not yet shown: the click sounds and the slide-in with its controls.
    bool Activate(bool immediate) override;
    void OnControl(int controlId) override;
    /// Keeps the second main screen world.
    void AttachWorld() override;

    CWorldMan* GetWorld() const { return m_world; }

private:
    CWorldMan* m_world = nullptr;
};

} // namespace zentrix
