#pragma once

namespace zentrix {

/// The editor's camera as the construction world drives it: set up on entry, turned and zoomed by the
/// panel's commands, scrolled by the pointer each frame, stopped on exit. The construction camera
/// class implements it; without one the engine's camera stays where it is.
class IConstructCamera {
public:
    virtual ~IConstructCamera() = default;

    /// On entry, after the track is loaded: the current view at the current distance.
    virtual void Reset() = 0;
    /// The next preset view.
    virtual void NextView() = 0;
    /// The other distance.
    virtual void ToggleZoom() = 0;
    /// One frame of edge scrolling: the pointer as fractions of the screen's width and height.
    virtual void Scroll(int ms, float mouseX, float mouseY, bool edgeScrolling) = 0;
    /// On exit.
    virtual void Stop() = 0;
};

} // namespace zentrix
