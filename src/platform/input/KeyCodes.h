#pragma once

#include <SDL_scancode.h>

namespace plat::input {

/// The game's key code of a key position: set-1 scan codes, extended keys plus 0x80; 0 when the
/// position has no code. Keypad keys keep their own codes whatever the Num Lock state.
int KeyCodeFromScancode(int scancode);

} // namespace plat::input
