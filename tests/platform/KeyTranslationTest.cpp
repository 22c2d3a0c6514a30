#include "platform/window/KeyTranslation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using plat::window::Event;
using plat::window::EventKind;

TEST(KeyTranslation, KeysGiveTheirVirtualKeyCodes) {
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        bool numLock;
        int vk;
    };
    const Case cases[] = {
        {SDLK_a, SDL_SCANCODE_A, false, 0x41},
        {SDLK_z, SDL_SCANCODE_Z, false, 0x5A},
        {SDLK_0, SDL_SCANCODE_0, false, 0x30},
        {SDLK_9, SDL_SCANCODE_9, false, 0x39},
        {SDLK_F1, SDL_SCANCODE_F1, false, 0x70},
        {SDLK_F12, SDL_SCANCODE_F12, false, 0x7B},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, false, 0x08},
        {SDLK_TAB, SDL_SCANCODE_TAB, false, 0x09},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, false, 0x0D},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, false, 0x0D},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, false, 0x1B},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, false, 0x20},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, false, 0x21},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, false, 0x22},
        {SDLK_END, SDL_SCANCODE_END, false, 0x23},
        {SDLK_HOME, SDL_SCANCODE_HOME, false, 0x24},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, false, 0x25},
        {SDLK_UP, SDL_SCANCODE_UP, false, 0x26},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, false, 0x27},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, false, 0x28},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, false, 0x2D},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, false, 0x2E},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, false, 0x10},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, false, 0x11},
        {SDLK_PAUSE, SDL_SCANCODE_PAUSE, false, 0x13},
        {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, false, 0x14},
        {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, false, 0x90},
        {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, false, 0x91},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, true, 0x60},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, true, 0x69},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, false, 0x2D},
        {SDLK_KP_1, SDL_SCANCODE_KP_1, false, 0x23},
        {SDLK_KP_8, SDL_SCANCODE_KP_8, false, 0x26},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, false, 0x21},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, true, 0x6E},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, false, 0x2E},
        {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, false, 0x6A},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, true, 0x6B},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, false, 0x6D},
        {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, true, 0x6F},
        {SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON, false, 0xBA},
        {SDLK_EQUALS, SDL_SCANCODE_EQUALS, false, 0xBB},
        {SDLK_COMMA, SDL_SCANCODE_COMMA, false, 0xBC},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, false, 0xBD},
        {SDLK_PERIOD, SDL_SCANCODE_PERIOD, false, 0xBE},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, false, 0xBF},
        {SDLK_BACKQUOTE, SDL_SCANCODE_GRAVE, false, 0xC0},
        {SDLK_LEFTBRACKET, SDL_SCANCODE_LEFTBRACKET, false, 0xDB},
        {SDLK_BACKSLASH, SDL_SCANCODE_BACKSLASH, false, 0xDC},
        {SDLK_RIGHTBRACKET, SDL_SCANCODE_RIGHTBRACKET, false, 0xDD},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, false, 0xDE},
        // Another layout: the keycode decides where it is known, the US position otherwise.
        {SDLK_q, SDL_SCANCODE_A, false, 0x51},
        {0xE9, SDL_SCANCODE_2, false, 0x32},
        {0xF6, SDL_SCANCODE_SEMICOLON, false, 0xBA},
        {0xDF, SDL_SCANCODE_MINUS, false, 0xBD},
        // Neither known: no key.
        {SDLK_MENU, SDL_SCANCODE_MENU, false, 0},
        {0x3C, SDL_SCANCODE_NONUSBACKSLASH, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "keycode 0x" << std::hex << c.key << " numlock " << c.numLock);
        EXPECT_EQ(plat::window::VirtualKeyFromSdl(c.key, c.scancode, c.numLock), c.vk);
    }
}

std::vector<Event> KeyDown(SDL_Keycode key, SDL_Scancode scancode, std::uint16_t mod = KMOD_NONE) {
    std::vector<Event> out;
    plat::window::TranslateKeyDown(key, scancode, mod, out);
    return out;
}

TEST(KeyTranslation, ControlKeysAreFollowedByTheirCharacter) {
    const struct {
        SDL_Keycode key;
        SDL_Scancode scancode;
        int character; // -1: no character
    } cases[] = {
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, -1},
        {SDLK_a, SDL_SCANCODE_A, -1},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        std::vector<Event> events = KeyDown(c.key, c.scancode);
        ASSERT_EQ(events.size(), c.character < 0 ? 1u : 2u);
        EXPECT_EQ(events[0].kind, EventKind::Key);
        if (c.character >= 0) {
            EXPECT_EQ(events[1].kind, EventKind::Char);
            EXPECT_EQ(events[1].character, c.character);
        }
    }
}

TEST(KeyTranslation, AltAndF10AreTheSystemsAndAltF4Closes) {
    EXPECT_TRUE(KeyDown(SDLK_a, SDL_SCANCODE_A, KMOD_LALT).empty());
    EXPECT_TRUE(KeyDown(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_RALT).empty());
    EXPECT_TRUE(KeyDown(SDLK_LALT, SDL_SCANCODE_LALT).empty());
    EXPECT_TRUE(KeyDown(SDLK_F10, SDL_SCANCODE_F10).empty());
    std::vector<Event> close = KeyDown(SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT);
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(close[0].kind, EventKind::Close);
    // Shift does not change a letter's code.
    std::vector<Event> shifted = KeyDown(SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    ASSERT_EQ(shifted.size(), 1u);
    EXPECT_EQ(shifted[0].key, 0x41);
}

std::vector<int> Text(std::string_view utf8) {
    std::vector<Event> events;
    plat::window::TranslateText(utf8, events);
    std::vector<int> bytes;
    for (const Event& e : events) {
        EXPECT_EQ(e.kind, EventKind::Char);
        bytes.push_back(e.character);
    }
    return bytes;
}

TEST(KeyTranslation, TypedTextBecomesCodePage1252Bytes) {
    const struct {
        const char* utf8;
        std::vector<int> bytes;
    } cases[] = {
        {"a Z", {'a', ' ', 'Z'}},
        {"\xC3\xA9", {0xE9}},                   // e acute
        {"\xC2\xA0\xC3\xBF", {0xA0, 0xFF}},     // the Latin-1 range as itself
        {"\xE2\x82\xAC", {0x80}},               // euro sign
        {"\xC5\xB8\xE2\x84\xA2", {0x9F, 0x99}}, // Y diaeresis, trade mark
        {"\xC2\x81", {'?'}},                    // a C1 control is no character of the page
        {"\xE4\xB8\xAD", {'?'}},                // one '?' per character outside the page
        {"\xF0\x9F\x98\x80x", {'?', 'x'}},
        {"\xC3", {'?'}},                   // cut short
        {"\xC0\xAF", {'?', '?'}},          // overlong
        {"\xED\xA0\x80", {'?', '?', '?'}}, // surrogate
        {"\xFF"
         "a",
         {'?', 'a'}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Text(c.utf8), c.bytes);
    }
}

} // namespace
