#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

/// Stands in for the start-up and exit picture panel until the front-end screens are built. It keeps
/// their timing: the start-up picture gives way to the main screen after 3000 ms, and the exit
/// pictures, three of 15000 ms each, end the game.
class CPicturePanelStandIn : public CSlideOut {
public:
    /// Slide-out index of the pictures.
    static constexpr int kIndex = 18;

    CPicturePanelStandIn(int resourceId, CSlideOutMan* manager) : CSlideOut(resourceId, manager, false) {}

    /// Starts the pictures' clock.
    bool Activate(bool immediate) override;
    /// Stops it.
    void Deactivate(bool immediate) override;
    /// Times the pictures while the panel is fully shown.
    void Update(int ms) override;
    void OnControl(int) override {}
    void AttachWorld() override {}

private:
    void EndPictures(int nextState);

    bool m_running = false;
    int m_elapsed = 0;
    int m_picture = -1;
};

} // namespace zentrix
