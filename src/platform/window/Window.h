#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/window/Event.h"

namespace plat::window {

/// The game's window as its message pump and window procedure see it.
class Window {
public:
    virtual ~Window() = default;
    /// Whether an event is waiting; never blocks.
    virtual bool HasEvent() = 0;
    /// Takes the next waiting event; false when none is waiting. Never blocks.
    virtual bool NextEvent(Event& event) = 0;
    /// Queues the game's quit request; it comes out as a Quit event after the events already waiting.
    virtual void PostQuit() = 0;
    /// The pointer position now, in game pixels.
    virtual gfx2d::Point CursorPosition() const = 0;
    /// Whether mouse button `button` (kButtonLeft or kButtonRight) is held down now.
    virtual bool IsButtonDown(int button) const = 0;
    /// Whether the window is minimised.
    virtual bool IsMinimised() const = 0;
    /// Shows the window maximised again.
    virtual void ShowMaximised() = 0;
};

} // namespace plat::window
