#pragma once

#include "ui/HelpPanel.h"

namespace zentrix {

/// Stands in for the help panel that panels share until spoken help is built: it never opens, so it
/// draws nothing and takes no pointer input.
class CHelpPanelStandIn : public IHelpPanel {
public:
    void Open(CSlideOut* /*panel*/) override {}
    void Close() override {}
    bool IsOpen() const override { return false; }
    COverlay* GetOverlay() const override { return nullptr; }
    void DetachOverlay() override {}
    bool HitTest(int /*x*/, int /*y*/) const override { return false; }
    bool OnHoverEnter() override { return false; }
    void OnHoverLeave() override {}
    void OnMouseMove(int /*x*/, int /*y*/) override {}
    bool OnClick(int /*x*/, int /*y*/, int /*buttons*/) override { return false; }
    void Redraw(bool /*highlight*/) override {}
    void Update(int /*ms*/) override {}
};

} // namespace zentrix
