#pragma once

#include "platform/window/Event.h"

#include <SDL_keyboard.h>

#include <string_view>
#include <vector>

namespace plat::window {

/// The virtual-key code of a key: from its keycode (as the current layout names it), else from the US
/// position of its scancode; 0 when neither is known. `numLock` selects the keypad's digit codes.
int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode, bool numLock);

/// The events of one key-down (auto-repeats included): the key event, then the character of a control
/// key (Backspace 8, Tab 9, Enter 13, Escape 27). Keys held with Alt, Alt itself and F10 give nothing;
/// Alt+F4 asks to close.
void TranslateKeyDown(SDL_Keycode key, SDL_Scancode scancode, std::uint16_t modifiers,
                      std::vector<Event>& out);

/// The character events of typed UTF-8 text: one byte of code page 1252 per code point, '?' for a
/// character that page lacks and for every byte of a broken sequence.
void TranslateText(std::string_view utf8, std::vector<Event>& out);

/// The code-page-1252 byte of a Unicode code point, or '?' when the page lacks it.
std::uint8_t CodePage1252FromCodePoint(char32_t codePoint);

} // namespace plat::window
