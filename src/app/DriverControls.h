#pragma once

#include <cstdint>

namespace zentrix {

/// The controls a driver hands to its car each frame.
struct CDriverControls {
    std::uint8_t button1 = 0;  ///< first action button, nonzero when pressed
    std::uint8_t button2 = 0;  ///< second action button, nonzero when pressed
    std::int32_t steering = 0; ///< -127..127, 0 straight
    std::int32_t axis1 = -127; ///< throttle, -127 released .. 127 full
    std::int32_t axis2 = -127; ///< brake, -127 released
};

} // namespace zentrix
