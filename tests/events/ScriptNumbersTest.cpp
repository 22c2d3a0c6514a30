#include "events/ScriptNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zentrix;

namespace {

using zentrix::ReadScriptFloat;
using zentrix::ReadScriptInt;

TEST(ScriptNumbers, IntsReadTheLeadingNumberAndSaturate) {
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"-42", -42},
        {"+7x", 7},
        {"1.9", 1},
        {"x", 0},
        {"", 0},
        {"-", 0},
        {"+-3", 0},
        {"\v\f 12", 12},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-99999999999", -2147483647 - 1},
        {"0x10", 0},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ReadScriptInt(text), expected) << text;
}

TEST(ScriptNumbers, FloatsReadTheLeadingNumberWhateverTheLocale) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<const char*, float> cases[] = {
        {"1.5", 1.5f},    {"-2.25x", -2.25f}, {".5", 0.5f},          {"5.", 5.0f},
        {"1e3", 1000.0f}, {"1E-2", 0.01f},    {"1e", 1.0f},          {"+.5e1", 5.0f},
        {"word", 0.0f},   {"", 0.0f},         {"+-1", 0.0f},         {"1,5", 1.0f},
        {"0x10", 0.0f},   {"inf", inf},       {"-Infinity", -inf},   {"1e39", inf},
        {"-1e999", -inf}, {"1e-999", 0.0f},   {"0.000e99999", 0.0f}, {"3.4028235e38", 3.4028235e38f},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ReadScriptFloat(text), expected) << text;
    EXPECT_TRUE(std::isnan(ReadScriptFloat("nan")));
    EXPECT_TRUE(std::isnan(ReadScriptFloat("-NaN(1)")));
}

} // namespace
