#pragma once

#include "ui/SlideOut.h"

namespace zentrix {

/// Stands in for a screen's own panel class until its screen is built: the panel slides and its
/// buttons press, but no command does anything and it works with no world.
class CPanelStandIn : public CSlideOut {
public:
    CPanelStandIn(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
        : CSlideOut(resourceId, manager, usesHelpPanel) {}
    void OnControl(int) override {}
    void AttachWorld() override {}
};

} // namespace zentrix
