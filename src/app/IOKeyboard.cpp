#include "app/IOKeyboard.h"

CIOKeyboard::CIOKeyboard(int slot) : CIODevice(slot) {
    m_nKind = KIND_KEYBOARD;
    SetBindings(kLayout1);
}

bool CIOKeyboard::Setup(std::unique_ptr<plat::input::Device> device) {
    return SetupSystemDevice(std::move(device), plat::input::StateFormat::Keyboard);
}

bool CIOKeyboard::IsDown(const std::uint8_t* keys, int field) const {
    const int code = m_Bindings[static_cast<std::size_t>(field)];
    if (code < 0 || code >= static_cast<int>(plat::input::kKeyboardStateSize))
        return false;
    return (keys[code] & 0x80) != 0;
}

bool CIOKeyboard::Poll(int) {
    std::vector<plat::input::ButtonRecord> records; // a keyboard buffers nothing the game uses
    std::uint8_t keys[plat::input::kKeyboardStateSize];
    if (!ReadDevice(records, keys, sizeof keys))
        return false;

    const bool right = IsDown(keys, BIND_STEER);
    const bool left = IsDown(keys, BIND_STEER_OTHER);
    if (right == left)
        m_nSteering = 0;
    else if (right)
        m_nSteering = ScaleAxis(-127, m_nSteerMin, m_nSteerMax, Inverted(BIND_STEER_INVERT));
    else
        m_nSteering = ScaleAxis(127, m_nSteerMin, m_nSteerMax, Inverted(BIND_STEER_INVERT));

    m_nUp = ScaleAxis(IsDown(keys, BIND_UP) ? 127 : -127, m_nUpMin, m_nUpMax, Inverted(BIND_UP_INVERT));
    m_nDown =
        ScaleAxis(IsDown(keys, BIND_DOWN) ? 127 : -127, m_nDownMin, m_nDownMax, Inverted(BIND_DOWN_INVERT));

    m_nActionA = IsDown(keys, BIND_ACTION_A) ? 1 : 0;
    m_nActionB = IsDown(keys, BIND_ACTION_B) ? 1 : 0;
    return true;
}
