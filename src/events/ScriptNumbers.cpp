#include "events/ScriptNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zentrix {

namespace {

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Skips the leading blanks and reads an optional sign; i is left at the first character after them.
bool ReadSign(std::string_view text, std::size_t& i) {
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    return negative;
}

// The decimal order of magnitude of a number that from_chars found out of range: positive for one
// too large, negative for one too small. Only its sign matters, and out-of-range numbers lie hundreds
// of orders away from zero, so a rough count is enough.
long long DecimalOrder(std::string_view number) {
    std::size_t i = 0;
    long long order = 0;
    bool seen = false;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
        seen = seen || number[i] != '0';
        order += seen ? 1 : 0;
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && IsDigit(number[i]); ++i) {
            if (!seen)
                --order;
            seen = seen || number[i] != '0';
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            ++i;
        long long exponent = 0;
        for (; i < number.size() && IsDigit(number[i]); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1000000LL);
        order += negative ? -exponent : exponent;
    }
    return order;
}

// A double rounded to float; beyond the largest float (by at least half a unit in its last place,
// where rounding would carry into the exponent) it becomes an infinity of its sign.
float ToFloat(double value) {
    constexpr double kOverflow = 0x1.ffffffp127;
    if (std::fabs(value) >= kOverflow)
        return std::signbit(value) ? -std::numeric_limits<float>::infinity()
                                   : std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace

int ReadScriptInt(std::string_view text) {
    std::size_t i = 0;
    const bool negative = ReadSign(text, i);
    constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(std::min<std::int64_t>(magnitude, std::numeric_limits<int>::max()));
}

float ReadScriptFloat(std::string_view text) {
    std::size_t i = 0;
    const bool negative = ReadSign(text, i);
    const std::string_view rest = text.substr(i);
    // A second sign is no number ("+-1" reads 0); from_chars would take it.
    if (rest.empty() || rest.front() == '-' || rest.front() == '+')
        return 0.0f;
    double value = 0.0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error == std::errc::result_out_of_range)
        value = DecimalOrder(rest.substr(0, static_cast<std::size_t>(end - rest.data()))) > 0
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    else if (error != std::errc())
        value = 0.0;
    return ToFloat(negative ? -value : value);
}

} // namespace zentrix
