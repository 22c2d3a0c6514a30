#include "platform/text/TextLayout.h"

#include <algorithm>
#include <limits>

namespace plat::text {
namespace {

int ClampToInt(std::int64_t v) {
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// C division: rounds toward zero, as the centring of the system's text output does.
std::int64_t HalfOf(std::int64_t v) {
    return v / 2;
}

} // namespace

std::string ResolvePrefixes(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '&') {
            out += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '&') {
            out += '&';
            ++i;
        }
    }
    return out;
}

TextLayout LayOutText(std::string_view text, unsigned format, const gfx2d::Rect& rect, int lineHeight,
                      const AdvanceTable& advances) {
    TextLayout layout;
    text = text.substr(0, text.find('\0'));
    const bool singleLine = (format & kFormatSingleLine) != 0;

    // Break into lines and resolve each line's prefixes into one buffer.
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = singleLine ? text.size() : text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        LaidOutLine line;
        line.begin = layout.text.size();
        layout.text += ResolvePrefixes(text.substr(pos, end - pos));
        line.length = layout.text.size() - line.begin;
        layout.lines.push_back(line);
        pos = end;
        if (pos < text.size()) {
            const char first = text[pos++];
            if (first == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;
        }
    }

    const std::int64_t rectWidth = static_cast<std::int64_t>(rect.right) - rect.left;
    const std::int64_t rectHeight = static_cast<std::int64_t>(rect.bottom) - rect.top;
    std::int64_t top = rect.top;
    if (singleLine && (format & kFormatVCenter) != 0)
        top += HalfOf(rectHeight - lineHeight);

    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        LaidOutLine& line = layout.lines[i];
        for (std::size_t c = 0; c < line.length; ++c)
            line.width += advances[static_cast<std::uint8_t>(layout.text[line.begin + c])];
        line.x = rect.left;
        if (format & kFormatCenter)
            line.x += HalfOf(rectWidth - line.width);
        line.y = top + static_cast<std::int64_t>(i) * lineHeight;
    }

    if (!layout.lines.empty()) {
        const std::int64_t bottom = top + static_cast<std::int64_t>(layout.lines.size()) * lineHeight;
        layout.height = ClampToInt(bottom - rect.top);
    }
    return layout;
}

gfx2d::Size MeasureText(std::string_view text, unsigned format, int lineHeight,
                        const AdvanceTable& advances) {
    const TextLayout layout =
        LayOutText(text, format & ~(kFormatCenter | kFormatVCenter), {}, lineHeight, advances);
    std::int64_t widest = 0;
    for (const LaidOutLine& line : layout.lines)
        widest = std::max(widest, line.width);
    return {ClampToInt(widest), layout.height};
}

} // namespace plat::text
