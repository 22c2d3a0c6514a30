#include "platform/settings/ValueTable.h"

#include <optional>

namespace plat::settings {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view UpToNul(std::string_view text) {
    std::size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// Line breaks, the separator and the escape character itself are escaped, so a value never splits a line.
void Escape(std::string_view text, std::string& out) {
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '=':
            out += "\\=";
            break;
        default:
            out += c;
            break;
        }
    }
}

// Undoes Escape; nothing when the text holds an unknown or unfinished escape.
std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case '=':
            out += '=';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

// The position of the first '=' that is not escaped, or npos.
std::size_t FindSeparator(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string_view::npos;
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

const std::string* ValueTable::Find(std::string_view name) const {
    name = UpToNul(name);
    for (const auto& [key, value] : m_entries) {
        if (SameName(key, name))
            return &value;
    }
    return nullptr;
}

void ValueTable::Put(std::string_view name, std::string_view value) {
    name = UpToNul(name);
    value = UpToNul(value);
    for (auto& [key, stored] : m_entries) {
        if (SameName(key, name)) {
            stored.assign(value);
            return;
        }
    }
    m_entries.emplace_back(std::string(name), std::string(value));
}

std::string ValueTable::Format() const {
    std::string text;
    for (const auto& [key, value] : m_entries) {
        Escape(key, text);
        text += '=';
        Escape(value, text);
        text += '\n';
    }
    return text;
}

ValueTable ValueTable::Parse(std::string_view text, int* badLines) {
    ValueTable table;
    int bad = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        std::size_t sep = FindSeparator(line);
        std::optional<std::string> name;
        std::optional<std::string> value;
        if (sep != std::string_view::npos) {
            name = Unescape(line.substr(0, sep));
            value = Unescape(line.substr(sep + 1));
        }
        // A line that cannot be read, or that holds a NUL, reads as missing rather than as a wrong value.
        if (!name || !value || name->empty() || name->find('\0') != std::string::npos ||
            value->find('\0') != std::string::npos) {
            ++bad;
            continue;
        }
        table.Put(*name, *value);
    }
    if (badLines)
        *badLines = bad;
    return table;
}

} // namespace plat::settings
