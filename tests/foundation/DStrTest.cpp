#include "foundation/string/DStr.h"

#include <gtest/gtest.h>

#include <climits>
#include <list>
#include <stdexcept>
#include <type_traits>
#include <vector>

using namespace zentrix;

namespace {

TEST(DStr, Split) {
    struct Case {
        const char* text;
        std::list<CDStr> pieces;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a", {"a"}},
        {"a|b", {"a", "b"}},
        {"|a", {"", "a"}},
        {"a|", {"a", ""}},
        {"a||b", {"a", "", "b"}},
        {"|", {"", ""}},
        {"one two|three", {"one two", "three"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Split(c.text, '|'), c.pieces);
    }
}

TEST(DStr, SplitToIntsReadsLeadingDigitsAndSaturates) {
    struct Case {
        const char* text;
        std::list<int> values;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"x", {0}},
        {" 12x", {12}},
        {"\t\r\n 7", {7}},
        {"1,-2,+3,", {1, -2, 3, 0}},
        {"- 4,--5,4 2", {0, 0, 4}},
        {"2147483647,2147483648,99999999999999999999999", {INT_MAX, INT_MAX, INT_MAX}},
        {"-2147483648,-2147483649,-99999999999999999999999", {INT_MIN, INT_MIN, INT_MIN}},
        {"00000000000000000000012", {12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitToInts(c.text, ','), c.values);
    }
}

TEST(DStr, RemovingCharacters) {
    struct Case {
        const char* text;
        const char* set;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"aabaa", "a", "b"}, {"aaaa", "a", ""}, {"abcabc", "cb", "aa"}, {"", "x", ""}, {"keep", "", "keep"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CDStr text = c.text;
        RemoveChars(text, c.set);
        EXPECT_EQ(text, c.expected);
    }
    CDStr single = "x--y-";
    RemoveChar(single, '-');
    EXPECT_EQ(single, "xy");
    CDStr spaced = " a\tb\r\nc \v";
    StripWhitespace(spaced);
    EXPECT_EQ(spaced, "abc\v");
}

TEST(DStr, NumberTexts) {
    EXPECT_EQ(ToDStr(-12), "-12");
    EXPECT_EQ(ToDStr(0), "0");
    EXPECT_EQ(ToDStr(INT_MIN), "-2147483648");
    EXPECT_EQ("lap " + ToDStr(3), "lap 3");

    struct Case {
        double value;
        int digits;
        const char* text;
    };
    const std::vector<Case> cases = {
        {0.5f, 2, ".50"},  {1234.5, 2, "1234.50"},
        {0.001, 2, ".00"}, {-0.001, 2, "-.00"},
        {-0.25, 1, "-.2"}, {-1.25, 1, "-1.2"},
        {0.05, 1, ".1"},   {12.0, 0, "12."},
        {0.4, 0, "."},     {2.5, 0, "2."},
        {3.5, 0, "4."},    {0.0, 3, ".000"},
        {7.0, -3, "7."},   {1e20, 1, "100000000000000000000.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " with " << c.digits);
        EXPECT_EQ(ToDStr(c.value, c.digits), c.text);
    }
    EXPECT_EQ(ToDStr(1.0, 1000).size(), 102u);
}

// The standard string's += appends an int as one character; the game's string refuses it.
template <typename T>
concept AppendsAnInt = requires(T text, int n) {
    text += n;
};

TEST(DStr, NumbersAppendAsDecimalText) {
    const CDStr lap = "lap ";
    std::string lapNumber = lap + 12;
    EXPECT_EQ(lapNumber, "lap 12");
    EXPECT_EQ(lap + -7 + " of " + 10, "lap -7 of 10");
    EXPECT_EQ(CDStr(INT_MIN), "-2147483648");
    EXPECT_EQ(CDStr(0), "0");
    EXPECT_EQ(CDStr(0.5f, 2), ".50");
    EXPECT_EQ(CDStr(-1.25, 1), "-1.2");
    // A character stays a character; a number never becomes one.
    EXPECT_EQ(lap + 'x', "lap x");
    const std::string plain = "p";
    EXPECT_EQ(plain + lap + std::string("q") + lap, "plap qlap ");
    EXPECT_EQ(CDStr(static_cast<const char*>(nullptr)), "");
    static_assert(!AppendsAnInt<CDStr> && AppendsAnInt<std::string>);
    static_assert(!std::is_convertible_v<int, CDStr>);
}

TEST(DStr, StandardErrorsAreLogicErrors) {
    const CDStr text = "abc";
    EXPECT_EQ(text.find('x'), CDStr::npos);
    EXPECT_EQ(static_cast<int>(text.find('x')), -1);
    EXPECT_EQ(text.substr(1, 100), "bc");
    // Invalid string position.
    EXPECT_THROW((void)text.substr(4), std::out_of_range);
    EXPECT_THROW(CDStr(text).insert(5, "x"), std::out_of_range);
    EXPECT_THROW(CDStr(text).erase(4), std::out_of_range);
    // String too long.
    EXPECT_THROW(CDStr(text).append(text.max_size(), 'x'), std::length_error);
    try {
        (void)text.substr(9);
        FAIL();
    } catch (const std::logic_error&) {
    }
}

} // namespace
