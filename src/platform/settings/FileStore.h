#pragma once

#include "platform/settings/Store.h"
#include "platform/settings/ValueTable.h"

#include <filesystem>

namespace plat::settings {

/// The folder that holds the game's settings: $ZENTRIX_CONFIG_DIR when set, else "zentrix" under
/// $XDG_CONFIG_HOME, else under ~/.config.
std::filesystem::path ConfigFolder();

/// The settings file inside ConfigFolder().
std::filesystem::path DefaultSettingsFile();

/// Largest settings file that is read; a bigger one is refused as damaged.
constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

/// Settings kept in a text file of "name=value" lines, read once when opened and rewritten atomically
/// at every set.
class FileStore final : public Store {
public:
    /// Opens the settings in `file`; a missing or unreadable file starts empty.
    explicit FileStore(std::filesystem::path file = DefaultSettingsFile());

    bool Get(std::string_view name, std::string& out) const override;
    bool Set(std::string_view name, std::string_view value) override;

    /// The file the settings live in.
    const std::filesystem::path& File() const { return m_file; }

private:
    void Load();

    std::filesystem::path m_file;
    ValueTable m_values;
};

} // namespace plat::settings
