#include "app/IOKeyboard.h"

namespace zentrix {

CIOKeyboard::CIOKeyboard(int slot) : CIODevice(slot) {
    m_kind = KIND_KEYBOARD;
    SetBindings(kLayout1);
}

bool CIOKeyboard::Setup(std::unique_ptr<plat::input::Device> device) {
    return SetupSystemDevice(std::move(device), plat::input::StateFormat::Keyboard);
}

bool CIOKeyboard::IsDown(const std::uint8_t* keys, int field) const {
    const int code = m_bindings[static_cast<std::size_t>(field)];
    if (code < 0 || code >= static_cast<int>(plat::input::kKeyboardStateSize))
        return false;
    return (keys[code] & 0x80) != 0;
}

bool CIOKeyboard::Poll(int) {
    std::vector<plat::input::BufferedRecord> records; // a keyboard buffers nothing the game uses
    std::uint8_t keys[plat::input::kKeyboardStateSize];
    if (!ReadDevice(records, keys, sizeof keys))
        return false;

    const bool right = IsDown(keys, BIND_STEER);
    const bool left = IsDown(keys, BIND_STEER_OTHER);
    if (right == left)
        m_steering = 0;
    else if (right)
        m_steering = ScaleAxis(-127, m_steerMin, m_steerMax, Inverted(BIND_STEER_INVERT));
    else
        m_steering = ScaleAxis(127, m_steerMin, m_steerMax, Inverted(BIND_STEER_INVERT));

    m_up = ScaleAxis(IsDown(keys, BIND_UP) ? 127 : -127, m_upMin, m_upMax, Inverted(BIND_UP_INVERT));
    m_down =
        ScaleAxis(IsDown(keys, BIND_DOWN) ? 127 : -127, m_downMin, m_downMax, Inverted(BIND_DOWN_INVERT));

    m_actionA = IsDown(keys, BIND_ACTION_A) ? 1 : 0;
    m_actionB = IsDown(keys, BIND_ACTION_B) ? 1 : 0;
    return true;
}

} // namespace zentrix
