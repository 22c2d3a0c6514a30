#pragma once

#include <list>
#include <string>

namespace zentrix {

/// The game's string class. The game allocates from the ordinary heap, so its string is the standard
/// string with the standard allocator: texts handed out as std::string and as CDStr are the same object.
/// Everything the standard string offers is the game's own (find giving npos, i.e. -1, when absent;
/// substr with a count past the end; +, comparisons), and so are its errors: std::out_of_range for a
/// position past the end and std::length_error for a string too long.
///
/// The game's own operations are the free functions below. The number constructors of the game's
/// string are ToDStr: write ToDStr(-12), ToDStr(0.5f, 2) and text + ToDStr(n). Beware that CDStr(n)
/// and CDStr(f, digits) compile as standard-string constructors and do not format numbers.
using CDStr = std::string;

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
