#include "foundation/math/RandomNumbers.h"

#include "foundation/math/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

using namespace zentrix;

namespace {

// Seeds the generator so that its next raw value is `raw`: the state after the step is raw << 16,
// solved backwards through the multiplier's inverse modulo 2^32.
void SeedForNextRaw(int raw) {
    std::uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    Random::Seed(((static_cast<std::uint32_t>(raw) << 16) - 2531011u) * inverse);
}

TEST(RandomNumbers, EdgesOfTheRawRange) {
    struct Case {
        int raw;
        float unit;
        int intZeroToThree;
        int bit;
        int intFullRange;
    };
    const std::vector<Case> cases = {
        {0, 0.0f, 0, 0, INT_MIN},
        {1, 1.0f / 32767, 0, 0, INT_MIN + 131072},
        {32766, 32766.0f / 32767, 2, 0, 2147352576},
        {32767, 1.0f, 3, 1, INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "raw " << c.raw);
        SeedForNextRaw(c.raw);
        EXPECT_EQ(RandomUnit(), c.unit);
        SeedForNextRaw(c.raw);
        EXPECT_EQ(RandomIntInRange(0, 3), c.intZeroToThree);
        SeedForNextRaw(c.raw);
        EXPECT_EQ(RandomBit(), c.bit);
        SeedForNextRaw(c.raw);
        EXPECT_EQ(RandomIntInRange(INT_MIN, INT_MAX), c.intFullRange);
    }
}

TEST(RandomNumbers, DrawsStayWithinTheirRanges) {
    struct Case {
        float min, max;
    };
    Random::Seed(99);
    for (const Case& c : {Case{0, 1}, Case{-5, 5}, Case{10, 2}, Case{3, 3}, Case{-1e6f, 1e6f}}) {
        SCOPED_TRACE(testing::Message() << c.min << " to " << c.max);
        for (int i = 0; i < 2000; ++i) {
            const float f = RandomFloatInRange(c.min, c.max);
            ASSERT_GE(f, std::min(c.min, c.max));
            ASSERT_LE(f, std::max(c.min, c.max));
            const int n = RandomIntInRange(static_cast<int>(c.min), static_cast<int>(c.max));
            ASSERT_GE(n, static_cast<int>(std::min(c.min, c.max)));
            ASSERT_LE(n, static_cast<int>(std::max(c.min, c.max)));
        }
    }
}

TEST(RandomNumbers, EveryHelperAdvancesTheOneGenerator) {
    SeedRandom();
    EXPECT_EQ(RandomUnit(), 7584.0f / 32767);
    EXPECT_EQ(rand15(), 19164);
    EXPECT_EQ(RandomUnit(), 25795.0f / 32767);
    srand15(12345);
    EXPECT_EQ(rand15(), 7584);
}

} // namespace
