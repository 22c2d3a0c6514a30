#pragma once

#include <list>
#include <string>
#include <string_view>
#include <utility>

namespace zentrix {

/// The game's string: the standard string with the number conversions of its own. CDStr(n) is n in
/// decimal and text + n appends the decimal text, as the game's code has always written them; a CDStr
/// passes wherever a std::string is taken, and a std::string converts to one. Everything the standard
/// string offers stays (find giving npos, i.e. -1, when absent; substr with a count past the end;
/// comparisons), and so do its errors: std::out_of_range for a position past the end and
/// std::length_error for a string too long.
///
/// text += n does not compile: the standard string would append the character n, not its digits.
class CDStr : public std::string {
public:
    CDStr() = default;
    /// A copy of the text; a null text gives the empty string.
    CDStr(const char* text) : std::string(text ? text : "") {}
    CDStr(const char* text, size_type count) : std::string(text, count) {}
    CDStr(std::string text) : std::string(std::move(text)) {}
    explicit CDStr(std::string_view text) : std::string(text) {}
    /// n in decimal, with a leading "-" when negative.
    explicit CDStr(int n);
    /// value rounded to `digits` decimal places, as ToDStr writes it.
    CDStr(float value, int digits);
    CDStr(double value, int digits);

    using std::string::operator+=;
    CDStr& operator+=(int) = delete;
};

/// The texts one after the other (a null text counts as empty).
CDStr operator+(const CDStr& a, const CDStr& b);
CDStr operator+(const CDStr& a, const std::string& b);
CDStr operator+(const std::string& a, const CDStr& b);
CDStr operator+(const CDStr& a, std::string&& b);
CDStr operator+(std::string&& a, const CDStr& b);
CDStr operator+(const CDStr& a, const char* b);
CDStr operator+(const char* a, const CDStr& b);
/// The text followed by n in decimal.
CDStr operator+(const CDStr& text, int n);
/// The text followed by the character c.
CDStr operator+(const CDStr& text, char c);

/// n in decimal, with a leading "-" when negative.
CDStr ToDStr(int n);

/// value rounded to `digits` decimal places, written without a leading zero before the point and
/// with "-" in front when negative: ToDStr(0.5f, 2) is ".50", ToDStr(-1.25, 1) is "-1.2" (halves go
/// to even), ToDStr(12.0, 0) is "12.". digits is taken within 0..100.
CDStr ToDStr(double value, int digits);

/// The pieces of text between the delimiters: "" gives no piece, "a" one, "a|" gives "a" and "",
/// "a||b" gives "a", "" and "b".
std::list<CDStr> Split(const CDStr& text, char delim);

/// Split, each piece read as a decimal integer: leading blanks skipped, an optional sign, digits up to
/// the first other character, 0 when there are none; values beyond the int range saturate.
std::list<int> SplitToInts(const CDStr& text, char delim);

/// Erases every occurrence of c.
void RemoveChar(CDStr& text, char c);

/// Erases every occurrence of each character of set.
void RemoveChars(CDStr& text, const CDStr& set);

/// Erases every blank, tab, line feed and carriage return.
void StripWhitespace(CDStr& text);

} // namespace zentrix
