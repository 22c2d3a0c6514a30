#pragma once

#include <cstdint>
#include <string>

namespace plat::text {

/// The Unicode code point of a code-page-1252 byte. The five bytes the page leaves undefined keep
/// their own value (a control character, which the font shows as it likes).
char32_t CodePointFromCodePage1252(std::uint8_t byte);

/// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t codePoint, std::string& out);

} // namespace plat::text
