#pragma once

#include "platform/gfx2d/Geometry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat::text {

/// Each line centred across the rectangle.
inline constexpr unsigned kFormatCenter = 0x01;
/// Centred vertically in the rectangle; only together with kFormatSingleLine.
inline constexpr unsigned kFormatVCenter = 0x04;
/// One line: CR and LF are characters like any other.
inline constexpr unsigned kFormatSingleLine = 0x20;

/// Advance width in pixels of each of the 256 code-page-1252 characters.
using AdvanceTable = std::array<int, 256>;

/// One line of laid-out text: a stretch of TextLayout::text, where it starts and how wide it is.
/// Positions are 64-bit, so a rectangle near the ends of the int range cannot overflow them.
struct LaidOutLine {
    std::size_t begin = 0;
    std::size_t length = 0;
    std::int64_t x = 0; ///< left edge of the line's box (the pen position of its first character)
    std::int64_t y = 0; ///< top edge of the line's box
    std::int64_t width = 0;
};

/// Text broken into lines and placed in a rectangle.
struct TextLayout {
    std::string text; ///< the characters to draw, "&" prefixes already resolved
    std::vector<LaidOutLine> lines;
    int height = 0; ///< the drawn height: lines x line height, or with vertical centring the distance
                    ///< from the rectangle's top to the bottom of the line
};

/// The characters a line shows: "&&" stands for "&", a single "&" is dropped.
std::string ResolvePrefixes(std::string_view line);

/// Lays text out in a rectangle: the text ends at its first NUL; without kFormatSingleLine lines break at
/// CR, LF and CR LF (a break at the very end opens no further line); lines are never wrapped and tabs
/// are not expanded; every line is lineHeight high, the first at the top (or centred with
/// kFormatSingleLine | kFormatVCenter), each at the left (or centred with kFormatCenter).
TextLayout LayOutText(std::string_view text, unsigned format, const gfx2d::Rect& rect, int lineHeight,
                      const AdvanceTable& advances);

/// The size the text takes in the format: its widest line by its lines x line height.
gfx2d::Size MeasureText(std::string_view text, unsigned format, int lineHeight, const AdvanceTable& advances);

} // namespace plat::text
