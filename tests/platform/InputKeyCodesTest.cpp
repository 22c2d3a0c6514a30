#include "platform/input/KeyCodes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using plat::input::KeyCodeFromScancode;

// The keys of the three driving layouts, and keys that sit in different places on ISO keyboards.
TEST(InputKeyCodes, KeysTheGameBinds) {
    const struct {
        int scancode;
        int code;
    } cases[] = {
        // clang-format off
        {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_RIGHT, 205}, {SDL_SCANCODE_LEFT, 203},
        {SDL_SCANCODE_UP, 200}, {SDL_SCANCODE_DOWN, 208},
        {SDL_SCANCODE_F, 33}, {SDL_SCANCODE_W, 17}, {SDL_SCANCODE_D, 32}, {SDL_SCANCODE_S, 31},
        {SDL_SCANCODE_Q, 16}, {SDL_SCANCODE_A, 30},
        {SDL_SCANCODE_KP_PLUS, 78}, {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_KP_6, 77}, {SDL_SCANCODE_KP_4, 75},
        {SDL_SCANCODE_KP_8, 72}, {SDL_SCANCODE_KP_2, 80},
        {SDL_SCANCODE_NONUSHASH, 43}, {SDL_SCANCODE_NONUSBACKSLASH, 86}, {SDL_SCANCODE_GRAVE, 41},
        {SDL_SCANCODE_UNKNOWN, 0}, {-1, 0}, {SDL_NUM_SCANCODES, 0},
        // clang-format on
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
