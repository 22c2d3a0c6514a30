#include "foundation/string/DStr.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace zentrix {

namespace {

constexpr int kMaxDigits = 100;

// Reads a decimal int the way the game's asset texts are read: leading blanks, an optional sign,
// digits up to the first other character; 0 without digits; saturated at the int limits.
int ReadDecimalInt(const CDStr& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate the magnitude up to one past INT_MAX so INT_MIN stays reachable.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(kLimit, magnitude * 10 + (text[i] - '0'));
    if (negative)
        return static_cast<int>(-magnitude);
    return static_cast<int>(std::min<long long>(magnitude, INT_MAX));
}

} // namespace

CDStr::CDStr(int n) : std::string(std::to_string(n)) {}

CDStr::CDStr(float value, int digits) : CDStr(ToDStr(value, digits)) {}

CDStr::CDStr(double value, int digits) : CDStr(ToDStr(value, digits)) {}

CDStr operator+(const CDStr& a, const CDStr& b) {
    return a + static_cast<const std::string&>(b);
}

CDStr operator+(const CDStr& a, const std::string& b) {
    CDStr joined = a;
    joined.append(b);
    return joined;
}

CDStr operator+(const std::string& a, const CDStr& b) {
    CDStr joined(a);
    joined.append(b);
    return joined;
}

CDStr operator+(const CDStr& a, std::string&& b) {
    return a + static_cast<const std::string&>(b);
}

CDStr operator+(std::string&& a, const CDStr& b) {
    CDStr joined(std::move(a));
    joined.append(b);
    return joined;
}

CDStr operator+(const CDStr& a, const char* b) {
    CDStr joined = a;
    if (b)
        joined.append(b);
    return joined;
}

CDStr operator+(const char* a, const CDStr& b) {
    CDStr joined(a);
    joined.append(b);
    return joined;
}

CDStr operator+(const CDStr& text, int n) {
    return text + CDStr(n);
}

CDStr operator+(const CDStr& text, char c) {
    CDStr joined = text;
    joined.push_back(c);
    return joined;
}

CDStr ToDStr(int n) {
    return CDStr(n);
}

CDStr ToDStr(double value, int digits) {
    digits = std::clamp(digits, 0, kMaxDigits);
    // The largest double has 309 digits before the point.
    char buffer[320 + kMaxDigits];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, digits);
    if (error != std::errc())
        return CDStr();
    CDStr text(buffer, static_cast<std::size_t>(end - buffer));
    if (std::isfinite(value)) {
        // Digits, then the point, then the places: no leading zero before the point.
        if (text[0] == '0')
            text.erase(0, 1);
        if (digits == 0)
            text += '.';
    }
    if (value < 0)
        text.insert(0, 1, '-');
    return text;
}

std::list<CDStr> Split(const CDStr& text, char delim) {
    std::list<CDStr> pieces;
    if (text.empty())
        return pieces;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(delim, from);
        if (at == CDStr::npos) {
            pieces.push_back(text.substr(from));
            return pieces;
        }
        pieces.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

std::list<int> SplitToInts(const CDStr& text, char delim) {
    std::list<int> values;
    for (const CDStr& piece : Split(text, delim))
        values.push_back(ReadDecimalInt(piece));
    return values;
}

void RemoveChar(CDStr& text, char c) {
    text.erase(std::remove(text.begin(), text.end(), c), text.end());
}

void RemoveChars(CDStr& text, const CDStr& set) {
    for (char c : set)
        RemoveChar(text, c);
}

void StripWhitespace(CDStr& text) {
    RemoveChars(text, CDStr(" \t\n\r"));
}

} // namespace zentrix
