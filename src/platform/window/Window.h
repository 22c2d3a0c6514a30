#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/window/Event.h"

#include <memory>

namespace plat::gfx2d {
class Presenter;
}
namespace plat::input {
class InputSystem;
}

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

    /// Makes the presenter that shows pictures of `pictureSize` in this window; null when the display
    /// cannot be set up. A window that is not on a display has pictures shown nowhere.
    virtual std::unique_ptr<gfx2d::Presenter> CreatePresenter(gfx2d::Size pictureSize);
    /// Makes the input system whose foreground devices follow this window's focus; null when it cannot
    /// be started. A window that is not on a display reads the system's devices without one.
    virtual std::unique_ptr<input::InputSystem> CreateInputSystem();
};

/// The presenter suited to `window`; one that shows nothing when there is no window.
std::unique_ptr<gfx2d::Presenter> CreatePresenterFor(Window* window, gfx2d::Size pictureSize);
/// The input system suited to `window`; the system's devices without a window when there is none.
std::unique_ptr<input::InputSystem> CreateInputSystemFor(Window* window);

} // namespace plat::window
