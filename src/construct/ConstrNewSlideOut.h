#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

class CWorldConstructMan;

/// The new-track panel (slide-out 2, game state 5, over the editor's world): a new track on the small
/// or the large grid, or back to the editor with nothing changed.
class CConstrNewSlideOut : public CSlideOut {
public:
    /// Control ids.
    static constexpr int kSmallGrid = 0;
    static constexpr int kLargeGrid = 1;
    static constexpr int kBack = 2;
    /// The message that makes the new track.
    static constexpr int kMsgNewTrack = 51;

    CConstrNewSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel);

    /// When not yet shown: the click sounds, the slide-in, the controls made active and drawn.
    bool Activate(bool immediate) override;
    /// When shown: the controls made inactive, then the slide-out.
    void Deactivate(bool immediate) override;
    void OnControl(int controlId) override;
    /// Keeps the construction world.
    void AttachWorld() override;

    CWorldConstructMan* GetWorld() const { return m_world; }

private:
    CWorldConstructMan* m_world = nullptr;
};

} // namespace zentrix
