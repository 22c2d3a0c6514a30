#include "app/IOMouse.h"

#include <cstring>

namespace zentrix {

CIOMouse::CIOMouse(int slot) : CIODevice(slot) {
    m_kind = KIND_MOUSE;
    SetBindings(kDefaultBindings);
}

bool CIOMouse::Setup(std::unique_ptr<plat::input::Device> device) {
    return SetupSystemDevice(std::move(device), plat::input::StateFormat::Mouse);
}

bool CIOMouse::Poll(int) {
    std::vector<plat::input::BufferedRecord> records; // a mouse buffers nothing the game uses
    std::uint8_t state[plat::input::kMouseStateSize];
    if (!ReadDevice(records, state, sizeof state))
        return false;

    std::int32_t dx = 0;
    std::memcpy(&dx, state + plat::input::kMouseX, sizeof dx);
    const std::uint8_t* buttons = state + plat::input::kMouseButtons;

    // Moving right steers the same way as the Right arrow.
    if (dx > 0)
        m_steering = ScaleAxis(-127, m_steerMin, m_steerMax, Inverted(BIND_STEER_INVERT));
    else if (dx < 0)
        m_steering = ScaleAxis(127, m_steerMin, m_steerMax, Inverted(BIND_STEER_INVERT));
    else
        m_steering = 0;

    m_up = ScaleAxis((buttons[0] & 0x80) ? 127 : -127, m_upMin, m_upMax, Inverted(BIND_UP_INVERT));
    m_down = ScaleAxis((buttons[2] & 0x80) ? 127 : -127, m_downMin, m_downMax, Inverted(BIND_DOWN_INVERT));
    m_actionA = (buttons[1] & 0x80) ? 1 : 0;
    return true;
}

} // namespace zentrix
