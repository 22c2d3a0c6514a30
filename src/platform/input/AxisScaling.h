#pragma once

#include <cstdint>

namespace plat::input {

/// How one joystick axis reports: its range, and the dead zone and saturation in ten-thousandths of
/// the distance from the centre to an end.
struct AxisProperties {
    int min = 0;
    int max = 65535;
    int deadZone = 0;
    int saturation = 10000;
};

/// The value an axis reports for a raw position of -32768..32767: 0 within the dead zone, an end at or
/// beyond the saturation, linear between, rounded to the nearest step.
int ScaleAxisPosition(int raw, const AxisProperties& properties);

/// A hat's direction bits (1 up, 2 right, 4 down, 8 left) as hundredths of a degree clockwise from up;
/// centred (or two opposite directions) gives 0xFFFFFFFF.
std::uint32_t HatAngle(std::uint8_t bits);

} // namespace plat::input
