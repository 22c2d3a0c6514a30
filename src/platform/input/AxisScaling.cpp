#include "platform/input/AxisScaling.h"

#include "platform/input/InputTypes.h"

#include <algorithm>
#include <cmath>

namespace plat::input {

int ScaleAxisPosition(int raw, const AxisProperties& properties) {
    double p = std::clamp(static_cast<double>(raw) / 32767.0, -1.0, 1.0);
    double deadZone = std::clamp(properties.deadZone, 0, 10000) / 10000.0;
    double saturation = std::clamp(properties.saturation, 0, 10000) / 10000.0;
    double magnitude = std::fabs(p);
    double q;
    if (magnitude <= deadZone)
        q = 0.0;
    else if (magnitude >= saturation || saturation <= deadZone)
        q = 1.0;
    else
        q = (magnitude - deadZone) / (saturation - deadZone);
    if (p < 0.0)
        q = -q;
    // q runs -1..1 from one end of the range to the other.
    double lo = properties.min;
    double hi = properties.max;
    double value = lo + (q + 1.0) * 0.5 * (hi - lo);
    return static_cast<int>(std::lround(value));
}

std::uint32_t HatAngle(std::uint8_t bits) {
    const bool up = (bits & 1) != 0;
    const bool right = (bits & 2) != 0;
    const bool down = (bits & 4) != 0;
    const bool left = (bits & 8) != 0;
    if (up && !down) {
        if (right && !left)
            return 4500;
        if (left && !right)
            return 31500;
        return 0;
    }
    if (down && !up) {
        if (right && !left)
            return 13500;
        if (left && !right)
            return 22500;
        return 18000;
    }
    if (right && !left)
        return 9000;
    if (left && !right)
        return 27000;
    return kHatCentred;
}

} // namespace plat::input
