#include "foundation/base/AppSettings.h"

#include "platform/settings/Store.h"

#include <cctype>
#include <climits>

namespace zentrix {

bool CAppSettings::SetString(std::string_view name, std::string_view text) {
    // Every save rewrites the settings file, so a value that is already stored (and saved) is not
    // written again.
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string stored;
    if (!m_unsaved.contains(key) && m_store.Get(name, stored) && stored == text)
        return true;
    if (m_store.Set(name, text)) {
        m_unsaved.erase(key);
        return true;
    }
    m_unsaved.insert(key);
    return false;
}

bool CAppSettings::GetString(std::string_view name, std::string& text) const {
    return m_store.Get(name, text);
}

bool CAppSettings::SetInt(std::string_view name, int value) {
    return SetString(name, std::to_string(value));
}

bool CAppSettings::GetInt(std::string_view name, int& value) const {
    std::string text;
    if (!GetString(name, text))
        return false;
    value = LeadingInt(text);
    return true;
}

int CAppSettings::LeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate with a bound, so a long run of digits saturates instead of overflowing.
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

} // namespace zentrix
