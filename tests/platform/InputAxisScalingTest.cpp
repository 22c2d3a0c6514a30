#include "platform/input/AxisScaling.h"

#include "platform/input/InputTypes.h"

#include <gtest/gtest.h>

namespace {

using plat::input::AxisProperties;
using plat::input::HatAngle;
using plat::input::ScaleAxisPosition;

TEST(InputAxisScaling, RangeDeadZoneAndSaturation) {
    const AxisProperties game{-127, 127, 1500, 9900};
    const AxisProperties plain{}; // 0..65535, no dead zone, full saturation
    const struct {
        int raw;
        AxisProperties properties;
        int expected;
    } cases[] = {
        {0, game, 0},
        {4915, game, 0}, // 0.15: the edge of the dead zone
        {4916, game, 0}, // just outside rounds to 0
        {-4916, game, 0},
        {16384, game, 53}, // 0.5 -> 127 x 0.35 / 0.84 = 52.9
        {-16384, game, -53},
        {32440, game, 127}, // 0.99: saturated
        {32767, game, 127},
        {-32768, game, -127}, // beyond the end clamps
        {-32440, game, -127},
        {0, plain, 32768}, // centre of an unset range rounds up
        {32767, plain, 65535},
        {-32768, plain, 0},
        {0, {0, 100, 0, 10000}, 50},
        {16384, {-127, 0, 0, 10000}, -32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.raw << " in " << c.properties.min << ".." << c.properties.max);
        EXPECT_EQ(ScaleAxisPosition(c.raw, c.properties), c.expected);
    }
}

TEST(InputAxisScaling, HatDirections) {
    const struct {
        std::uint8_t bits;
        std::uint32_t angle;
    } cases[] = {
        {0, plat::input::kHatCentred},
        {1, 0},
        {3, 4500},
        {2, 9000},
        {6, 13500},
        {4, 18000},
        {12, 22500},
        {8, 27000},
        {9, 31500},
        {5, plat::input::kHatCentred},
        {10, plat::input::kHatCentred},
        {7, 9000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.bits));
        EXPECT_EQ(HatAngle(c.bits), c.angle);
    }
}

} // namespace
