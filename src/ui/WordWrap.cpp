#include "ui/WordWrap.h"

namespace zentrix {

namespace {

/// Walks the words of a text as both passes of the wrap see them.
class WordReader {
public:
    explicit WordReader(std::string_view text) : m_text(text.substr(0, text.find('\0'))) { SkipSpaces(); }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    bool AtLineBreak() const { return !AtEnd() && m_text[m_pos] == kLineBreak; }
    /// The word at the reading position: the characters up to a space, a carriage return or the end.
    std::string_view Word() const {
        std::size_t end = m_pos;
        while (end < m_text.size() && m_text[end] != ' ' && m_text[end] != kLineBreak)
            ++end;
        return m_text.substr(m_pos, end - m_pos);
    }
    /// Steps over `length` characters and the spaces after them.
    void Advance(std::size_t length) {
        m_pos += length;
        SkipSpaces();
    }

private:
    void SkipSpaces() {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool TooLong(std::size_t length, int width) {
    return width < 0 || length > static_cast<std::size_t>(width);
}

} // namespace

std::size_t WrappedSize(std::string_view text, int width) {
    std::size_t total = 0;
    for (WordReader reader(text); !reader.AtEnd();) {
        if (reader.AtLineBreak()) {
            // A carriage return is a word of no characters; a width below 0 refuses even that.
            if (TooLong(0, width))
                break;
            total += 1;
            reader.Advance(1);
            continue;
        }
        std::string_view word = reader.Word();
        if (TooLong(word.size(), width))
            break;
        total += word.size() + 1;
        reader.Advance(word.size());
    }
    return total;
}

std::optional<std::string> WrapText(std::string_view text, int width) {
    const std::size_t size = WrappedSize(text, width);
    if (size == 0)
        return std::nullopt;

    // The copy pass writes exactly what the size pass counted: each word and the space after it, a
    // carriage return for a break. The last byte, the space after the last word, is the end.
    std::string out;
    out.reserve(size);
    std::size_t lineLength = 0;
    for (WordReader reader(text); !reader.AtEnd();) {
        if (reader.AtLineBreak()) {
            if (TooLong(0, width))
                break;
            out.push_back(kLineBreak);
            lineLength = 0;
            reader.Advance(1);
            continue;
        }
        std::string_view word = reader.Word();
        if (TooLong(word.size(), width))
            break;
        if (lineLength > 0 && word.size() + lineLength > static_cast<std::size_t>(width)) {
            out.back() = kLineBreak; // the space after the previous word
            lineLength = 0;
        }
        out.append(word);
        out.push_back(' ');
        lineLength += word.size() + 1;
        reader.Advance(word.size());
    }
    out.pop_back();
    return out;
}

} // namespace zentrix
