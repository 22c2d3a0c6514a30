#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plat::settings {

/// Named text values in the order they were first stored; names match without letter case.
class ValueTable {
public:
    /// The value of `name`, or null when there is none.
    const std::string* Find(std::string_view name) const;
    /// Stores `value` under `name`; the value is cut at its first NUL.
    void Put(std::string_view name, std::string_view value);
    /// Every name and value, in the order they were first stored.
    const std::vector<std::pair<std::string, std::string>>& Entries() const { return m_entries; }

    /// The table as the text of a settings file: one escaped "name=value" line per entry.
    std::string Format() const;
    /// Reads the text of a settings file; unreadable lines are skipped and counted in `badLines`.
    static ValueTable Parse(std::string_view text, int* badLines = nullptr);

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

/// Whether two names are equal when letter case is ignored.
bool SameName(std::string_view a, std::string_view b);

} // namespace plat::settings
