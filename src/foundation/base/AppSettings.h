#pragma once

#include <set>
#include <string>
#include <string_view>

namespace plat::settings {
class Store;
}

namespace zentrix {

/// Reads and writes the values the game remembers between runs, as text or as decimal integers.
class CAppSettings {
public:
    /// Settings kept in `store`, which must outlive this object.
    explicit CAppSettings(plat::settings::Store& store) : m_store(store) {}
    virtual ~CAppSettings() = default;

    /// Stores `text` under `name`; false when it could not be saved. A value equal to the one stored is
    /// not written again (unless its last save failed).
    bool SetString(std::string_view name, std::string_view text);
    /// Reads the text of `name`; false (and `text` unchanged) when there is none.
    bool GetString(std::string_view name, std::string& text) const;
    /// Stores `value` as signed decimal text.
    bool SetInt(std::string_view name, int value);
    /// Reads the leading decimal number of the text of `name` (0 when it has none, clamped to the int
    /// range); false (and `value` unchanged) when there is no such value.
    bool GetInt(std::string_view name, int& value) const;

    /// The leading decimal number of `text` as the C library's atoi reads it, clamped to the int range.
    static int LeadingInt(std::string_view text);

private:
    plat::settings::Store& m_store;
    std::set<std::string> m_unsaved; ///< names (lower case) whose last save failed
};

} // namespace zentrix
