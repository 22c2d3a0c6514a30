#include "platform/input/KeyCodes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using plat::input::KeyCodeFromScancode;

TEST(InputKeyCodes, KeysTheGameBindsAndTheirNeighbours) {
    const struct {
        int scancode;
        int code;
    } cases[] = {
        {SDL_SCANCODE_ESCAPE, 1},
        {SDL_SCANCODE_1, 2},
        {SDL_SCANCODE_0, 11},
        {SDL_SCANCODE_BACKSPACE, 14},
        {SDL_SCANCODE_TAB, 15},
        {SDL_SCANCODE_Q, 16},
        {SDL_SCANCODE_W, 17},
        {SDL_SCANCODE_P, 25},
        {SDL_SCANCODE_RETURN, 28},
        {SDL_SCANCODE_LCTRL, 29},
        {SDL_SCANCODE_A, 30},
        {SDL_SCANCODE_S, 31},
        {SDL_SCANCODE_D, 32},
        {SDL_SCANCODE_F, 33},
        {SDL_SCANCODE_L, 38},
        {SDL_SCANCODE_GRAVE, 41},
        {SDL_SCANCODE_LSHIFT, 42},
        {SDL_SCANCODE_BACKSLASH, 43},
        {SDL_SCANCODE_NONUSHASH, 43},
        {SDL_SCANCODE_Z, 44},
        {SDL_SCANCODE_M, 50},
        {SDL_SCANCODE_SLASH, 53},
        {SDL_SCANCODE_RSHIFT, 54},
        {SDL_SCANCODE_KP_MULTIPLY, 55},
        {SDL_SCANCODE_LALT, 56},
        {SDL_SCANCODE_SPACE, 57},
        {SDL_SCANCODE_CAPSLOCK, 58},
        {SDL_SCANCODE_F1, 59},
        {SDL_SCANCODE_F10, 68},
        {SDL_SCANCODE_NUMLOCKCLEAR, 69},
        {SDL_SCANCODE_SCROLLLOCK, 70},
        {SDL_SCANCODE_KP_7, 71},
        {SDL_SCANCODE_KP_8, 72},
        {SDL_SCANCODE_KP_MINUS, 74},
        {SDL_SCANCODE_KP_4, 75},
        {SDL_SCANCODE_KP_6, 77},
        {SDL_SCANCODE_KP_PLUS, 78},
        {SDL_SCANCODE_KP_2, 80},
        {SDL_SCANCODE_KP_0, 82},
        {SDL_SCANCODE_KP_PERIOD, 83},
        {SDL_SCANCODE_NONUSBACKSLASH, 86},
        {SDL_SCANCODE_F11, 87},
        {SDL_SCANCODE_F12, 88},
        {SDL_SCANCODE_KP_ENTER, 156},
        {SDL_SCANCODE_RCTRL, 157},
        {SDL_SCANCODE_KP_DIVIDE, 181},
        {SDL_SCANCODE_PRINTSCREEN, 183},
        {SDL_SCANCODE_RALT, 184},
        {SDL_SCANCODE_PAUSE, 197},
        {SDL_SCANCODE_HOME, 199},
        {SDL_SCANCODE_UP, 200},
        {SDL_SCANCODE_PAGEUP, 201},
        {SDL_SCANCODE_LEFT, 203},
        {SDL_SCANCODE_RIGHT, 205},
        {SDL_SCANCODE_END, 207},
        {SDL_SCANCODE_DOWN, 208},
        {SDL_SCANCODE_PAGEDOWN, 209},
        {SDL_SCANCODE_INSERT, 210},
        {SDL_SCANCODE_DELETE, 211},
        {SDL_SCANCODE_LGUI, 219},
        {SDL_SCANCODE_RGUI, 220},
        {SDL_SCANCODE_APPLICATION, 221},
        {SDL_SCANCODE_UNKNOWN, 0},
        {-1, 0},
        {SDL_NUM_SCANCODES, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scancode);
        EXPECT_EQ(KeyCodeFromScancode(c.scancode), c.code);
    }
}

// Two keys with one code would read as one key; only keys that are the same position on different
// keyboards may share.
TEST(InputKeyCodes, EveryCodeBelongsToOneKey) {
    const std::set<std::set<int>> sharing = {
        {SDL_SCANCODE_BACKSLASH, SDL_SCANCODE_NONUSHASH},
        {SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_SYSREQ},
        {SDL_SCANCODE_MUTE, SDL_SCANCODE_AUDIOMUTE},
    };
    std::map<int, std::set<int>> byCode;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        int code = KeyCodeFromScancode(s);
        ASSERT_GE(code, 0);
        ASSERT_LT(code, 256);
        if (code != 0)
            byCode[code].insert(s);
    }
    for (const auto& [code, scancodes] : byCode) {
        SCOPED_TRACE(code);
        if (scancodes.size() > 1)
            EXPECT_TRUE(sharing.count(scancodes)) << "code shared by several keys";
    }
    // Letters, digits, function keys, arrows and the keypad all have codes.
    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_KP_PERIOD; ++s)
        EXPECT_NE(KeyCodeFromScancode(s), 0) << "scancode " << s;
}

} // namespace
