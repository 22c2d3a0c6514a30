#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace zentrix {

/// Letter case as the game's names compare: ASCII letters only, whatever the locale.
namespace AsciiCase {

/// c in lower case when it is an ASCII capital.
constexpr char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// text in lower case.
inline std::string Lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

/// True when a and b are equal ignoring case.
inline bool Equal(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

/// True when needle occurs in haystack ignoring case.
inline bool Contains(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char x, char y) { return Lower(x) == Lower(y); }) != haystack.end();
}

/// True when text begins with prefix ignoring case.
inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && Equal(text.substr(0, prefix.size()), prefix);
}

} // namespace AsciiCase

} // namespace zentrix
