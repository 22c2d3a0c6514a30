#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// The user list beside a resource table (".usr"): computer names, each ending in a NUL, back to back. A
/// user's id is the position of its name.
class CJovUserList {
public:
    /// A list for the file at path.
    explicit CJovUserList(std::string path);

    /// Reads the file; a missing file is an empty list. False (with a debugger message) when it exists but
    /// cannot be read.
    bool Load();
    /// Writes the list back by atomic replace; false (with a debugger message) on failure.
    bool Save() const;
    /// The position of name (compared case-sensitively), or -1.
    int Find(std::string_view name) const;
    /// Appends name and returns its position.
    int Add(std::string_view name);
    /// The names in order; a last name without its NUL still counts.
    std::vector<std::string_view> Names() const;

    /// The file's path.
    const std::string& GetPath() const { return m_path; }
    /// The list as it lies in the file.
    const std::vector<std::uint8_t>& GetContent() const { return m_content; }

private:
    std::string m_path;
    std::vector<std::uint8_t> m_content;
};

} // namespace zentrix
