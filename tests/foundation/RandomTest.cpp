#include "foundation/math/Random.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zentrix;

namespace {

struct Sequence {
    std::uint32_t seed;
    std::vector<int> expected;
};

class RandomSequence : public testing::TestWithParam<Sequence> {};

TEST_P(RandomSequence, MatchesTheClassicGenerator) {
    const auto& [seed, expected] = GetParam();
    Random::Seed(seed);
    for (int want : expected)
        EXPECT_EQ(Random::Next(), want);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSequence,
                         testing::Values(Sequence{1, {41, 18467, 6334}},
                                         Sequence{12345, {7584, 19164, 25795}}),
                         [](const testing::TestParamInfo<Sequence>& info) {
                             return "Seed" + std::to_string(info.param.seed);
                         });

TEST(Random, ValuesStayWithinFifteenBits) {
    Random::Seed(0xDEADBEEF);
    for (int i = 0; i < 100000; ++i) {
        int v = Random::Next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, Random::kMax);
    }
}

} // namespace
