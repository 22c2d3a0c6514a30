#pragma once

#include <string_view>

namespace zentrix {

/// Reads an int the way script values have always been read: leading blanks, an optional sign, then
/// decimal digits up to the first other character; text without a leading number reads 0. Values
/// beyond the 32-bit range saturate at its ends.
int ReadScriptInt(std::string_view text);

/// Reads a float the same lenient way: leading blanks, an optional sign, then the longest decimal
/// decimal number (".5", "5.", exponents), "inf", "infinity" or "nan" in any case; text without a
/// number reads 0 ("0x10" reads 0: hexadecimal is not read). Read in double precision and rounded to float,
/// independent of the process locale; magnitudes beyond the float range give an infinity, tiny ones zero.
float ReadScriptFloat(std::string_view text);

} // namespace zentrix
