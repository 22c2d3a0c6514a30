#pragma once

namespace zentrix {

class CSlideOut;
class COverlay;

/// The help panel that every panel with spoken help shares: its button and picture go onto the active
/// panel. The panels reach it only through this interface; the application makes it (IPanelServices).
class IHelpPanel {
public:
    virtual ~IHelpPanel() = default;
    /// Puts the help button and its picture on `panel`.
    virtual void Open(CSlideOut* panel) = 0;
    /// Takes them off again.
    virtual void Close() = 0;
    /// Whether the help panel is on a panel now.
    virtual bool IsOpen() const = 0;
    /// The help panel's picture (none while closed).
    virtual COverlay* GetOverlay() const = 0;
    /// Takes the help picture out of the engine's drawing list.
    virtual void DetachOverlay() = 0;
    /// Whether panel point (x, y) lies on the help button.
    virtual bool HitTest(int x, int y) const = 0;
    /// The pointer came over the help button; false refuses the hover.
    virtual bool OnHoverEnter() = 0;
    /// The pointer left the help button.
    virtual void OnHoverLeave() = 0;
    /// The pointer moved to panel point (x, y).
    virtual void OnMouseMove(int x, int y) = 0;
    /// A click at panel point (x, y); true when the help button took it.
    virtual bool OnClick(int x, int y, int buttons) = 0;
    /// Draws the help button.
    virtual void Redraw(bool highlight) = 0;
    /// Animates the help button.
    virtual void Update(int ms) = 0;
};

} // namespace zentrix
