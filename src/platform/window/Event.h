#pragma once

#include <cstdint>

namespace plat::window {

/// What happened to the game's window.
enum class EventKind {
    MouseMove,  ///< pointer moved to (x, y)
    ButtonDown, ///< mouse button pressed at (x, y)
    ButtonUp,   ///< mouse button released at (x, y)
    Wheel,      ///< wheel turned by `wheelDelta` (120 per notch, positive away from the user)
    Key,        ///< key pressed (auto-repeats included), `key` is its virtual-key code
    Char,       ///< one character typed, `character` is its byte (code page 1252)
    Close,      ///< the player asked to close the window
    Activated,  ///< the window got the focus
    Quit,       ///< the game's own quit request came back out of the queue
};

/// Mouse buttons as the game numbers them.
enum MouseButton : int { kButtonLeft = 0, kButtonRight = 2 };

/// One window event, in game pixels of the 640 x 480 picture.
struct Event {
    EventKind kind = EventKind::MouseMove;
    int x = 0;
    int y = 0;
    int button = 0;
    std::int16_t wheelDelta = 0;
    int key = 0;
    std::uint8_t character = 0;
};

} // namespace plat::window
