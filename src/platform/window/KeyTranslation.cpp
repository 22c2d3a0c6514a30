#include "platform/window/KeyTranslation.h"

namespace plat::window {

namespace {

int VirtualKeyFromKeycode(SDL_Keycode key, bool numLock) {
    if (key >= SDLK_a && key <= SDLK_z)
        return 0x41 + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return 0x30 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return 0x70 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        // Without Num Lock the keypad digits are the navigation keys printed beside them.
        static constexpr int kNavigation[9] = {0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21};
        return numLock ? 0x61 + (key - SDLK_KP_1) : kNavigation[key - SDLK_KP_1];
    }
    switch (key) {
    case SDLK_BACKSPACE:
        return 0x08;
    case SDLK_TAB:
        return 0x09;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 0x0D;
    case SDLK_ESCAPE:
        return 0x1B;
    case SDLK_SPACE:
        return 0x20;
    case SDLK_PAGEUP:
        return 0x21;
    case SDLK_PAGEDOWN:
        return 0x22;
    case SDLK_END:
        return 0x23;
    case SDLK_HOME:
        return 0x24;
    case SDLK_LEFT:
        return 0x25;
    case SDLK_UP:
        return 0x26;
    case SDLK_RIGHT:
        return 0x27;
    case SDLK_DOWN:
        return 0x28;
    case SDLK_INSERT:
        return 0x2D;
    case SDLK_DELETE:
        return 0x2E;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return 0x11;
    case SDLK_PAUSE:
        return 0x13;
    case SDLK_CAPSLOCK:
        return 0x14;
    case SDLK_NUMLOCKCLEAR:
        return 0x90;
    case SDLK_SCROLLLOCK:
        return 0x91;
    case SDLK_KP_0:
        return numLock ? 0x60 : 0x2D;
    case SDLK_KP_PERIOD:
        return numLock ? 0x6E : 0x2E;
    case SDLK_KP_MULTIPLY:
        return 0x6A;
    case SDLK_KP_PLUS:
        return 0x6B;
    case SDLK_KP_MINUS:
        return 0x6D;
    case SDLK_KP_DIVIDE:
        return 0x6F;
    case SDLK_SEMICOLON:
        return 0xBA;
    case SDLK_EQUALS:
        return 0xBB;
    case SDLK_COMMA:
        return 0xBC;
    case SDLK_MINUS:
        return 0xBD;
    case SDLK_PERIOD:
        return 0xBE;
    case SDLK_SLASH:
        return 0xBF;
    case SDLK_BACKQUOTE:
        return 0xC0;
    case SDLK_LEFTBRACKET:
        return 0xDB;
    case SDLK_BACKSLASH:
        return 0xDC;
    case SDLK_RIGHTBRACKET:
        return 0xDD;
    case SDLK_QUOTE:
        return 0xDE;
    default:
        return 0;
    }
}

// The code of the key found at this position on a US keyboard.
int VirtualKeyFromScancode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 0x41 + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return 0x31 + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
    case SDL_SCANCODE_0:
        return 0x30;
    case SDL_SCANCODE_SEMICOLON:
        return 0xBA;
    case SDL_SCANCODE_EQUALS:
        return 0xBB;
    case SDL_SCANCODE_COMMA:
        return 0xBC;
    case SDL_SCANCODE_MINUS:
        return 0xBD;
    case SDL_SCANCODE_PERIOD:
        return 0xBE;
    case SDL_SCANCODE_SLASH:
        return 0xBF;
    case SDL_SCANCODE_GRAVE:
        return 0xC0;
    case SDL_SCANCODE_LEFTBRACKET:
        return 0xDB;
    case SDL_SCANCODE_BACKSLASH:
        return 0xDC;
    case SDL_SCANCODE_RIGHTBRACKET:
        return 0xDD;
    case SDL_SCANCODE_APOSTROPHE:
        return 0xDE;
    default:
        return 0;
    }
}

void PushCharacter(std::uint8_t c, std::vector<Event>& out) {
    Event e;
    e.kind = EventKind::Char;
    e.character = c;
    out.push_back(e);
}

} // namespace

int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode, bool numLock) {
    int vk = VirtualKeyFromKeycode(key, numLock);
    return vk != 0 ? vk : VirtualKeyFromScancode(scancode);
}

void TranslateKeyDown(SDL_Keycode key, SDL_Scancode scancode, std::uint16_t modifiers,
                      std::vector<Event>& out) {
    bool alt = (modifiers & KMOD_ALT) != 0;
    if (alt || key == SDLK_LALT || key == SDLK_RALT || key == SDLK_F10) {
        // These are the system's keys, not the game's; only Alt+F4 means something (close).
        if (alt && key == SDLK_F4) {
            Event close;
            close.kind = EventKind::Close;
            out.push_back(close);
        }
        return;
    }
    int vk = VirtualKeyFromSdl(key, scancode, (modifiers & KMOD_NUM) != 0);
    if (vk == 0)
        return;
    Event e;
    e.kind = EventKind::Key;
    e.key = vk;
    out.push_back(e);
    // Text input carries no control characters; the game's text fields expect them as characters.
    switch (key) {
    case SDLK_BACKSPACE:
        PushCharacter(8, out);
        break;
    case SDLK_TAB:
        PushCharacter(9, out);
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        PushCharacter(13, out);
        break;
    case SDLK_ESCAPE:
        PushCharacter(27, out);
        break;
    default:
        break;
    }
}

std::uint8_t CodePage1252FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<std::uint8_t>(cp);
    // The characters code page 1252 places at 0x80-0x9F.
    static constexpr struct {
        char32_t codePoint;
        std::uint8_t byte;
    } kHighPage[] = {
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85}, {0x2020, 0x86},
        {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A}, {0x2039, 0x8B}, {0x0152, 0x8C},
        {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95},
        {0x2013, 0x96}, {0x2014, 0x97}, {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B},
        {0x0153, 0x9C}, {0x017E, 0x9E}, {0x0178, 0x9F},
    };
    for (const auto& entry : kHighPage) {
        if (entry.codePoint == cp)
            return entry.byte;
    }
    return '?';
}

void TranslateText(std::string_view utf8, std::vector<Event>& out) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<std::uint8_t>(utf8[i]);
        int length = lead < 0x80             ? 1
                     : (lead & 0xE0) == 0xC0 ? 2
                     : (lead & 0xF0) == 0xE0 ? 3
                     : (lead & 0xF8) == 0xF0 ? 4
                                             : 0;
        char32_t cp = length == 1   ? lead
                      : length == 2 ? (lead & 0x1F)
                      : length == 3 ? (lead & 0x0F)
                                    : (lead & 0x07);
        bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            auto next = static_cast<std::uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are broken text, not characters.
        static constexpr char32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            PushCharacter('?', out);
            ++i;
            continue;
        }
        PushCharacter(CodePage1252FromCodePoint(cp), out);
        i += static_cast<std::size_t>(length);
    }
}

} // namespace plat::window
