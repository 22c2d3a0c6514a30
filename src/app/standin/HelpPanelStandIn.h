#pragma once

class CSlideOut;
class COverlay;

/// Stands in for the help panel that panels share until spoken help is built: it never opens, so it
/// draws nothing and takes no pointer input.
class CHelpPanelStandIn {
public:
    virtual ~CHelpPanelStandIn() = default;
    /// Would put the help button and its picture on `panel`.
    virtual void Open(CSlideOut* /*panel*/) {}
    /// Would take them off again.
    virtual void Close() {}
    /// Whether the help panel is on a panel now.
    virtual bool IsOpen() const { return false; }
    /// The help panel's picture (none while closed).
    virtual COverlay* GetOverlay() const { return nullptr; }
    /// Takes the help picture out of the engine's drawing list.
    virtual void DetachOverlay() {}
    /// Whether panel point (x, y) lies on the help button.
    virtual bool HitTest(int /*x*/, int /*y*/) const { return false; }
    /// The pointer came over the help button; false refuses the hover.
    virtual bool OnHoverEnter() { return false; }
    /// The pointer left the help button.
    virtual void OnHoverLeave() {}
    /// The pointer moved to panel point (x, y).
    virtual void OnMouseMove(int /*x*/, int /*y*/) {}
    /// A click at panel point (x, y); true when the help button took it.
    virtual bool OnClick(int /*x*/, int /*y*/, int /*buttons*/) { return false; }
    /// Draws the help button.
    virtual void Redraw(bool /*highlight*/) {}
    /// Animates the help button.
    virtual void Update(int /*ms*/) {}
};
