#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zentrix {

/// The carriage return that separates the lines of wrapped text.
inline constexpr char kLineBreak = '\r';

/// The buffer size the wrapped text takes (its characters and the closing NUL): every word up to the
/// first longer than `width` counts its length plus one, a carriage return one. The text ends at its
/// first NUL; 0 when no word fits (empty text, only spaces, a first word too long).
std::size_t WrappedSize(std::string_view text, int width);

/// Breaks text into lines of at most `width` characters between words: runs of spaces become one,
/// leading spaces go, a carriage return always starts a line, a line too long is broken at the space
/// before the word that overflows it, and a word longer than `width` ends the text there. Lines are
/// separated by carriage returns. Nothing when WrappedSize is 0.
std::optional<std::string> WrapText(std::string_view text, int width);

} // namespace zentrix
