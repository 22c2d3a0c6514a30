#pragma once

#include "platform/settings/Store.h"
#include "platform/settings/ValueTable.h"

#include <filesystem>
#include <string>

namespace plat::settings {

/// The folder that holds the game's settings: $ZENTRIX_CONFIG_DIR when set, else "zentrix" under
/// $XDG_CONFIG_HOME (when absolute), else under ~/.config (the home from $HOME or the user's account);
/// empty when none of them names a folder.
std::filesystem::path ConfigFolder();

/// The settings file inside ConfigFolder(); empty when there is no such folder.
std::filesystem::path DefaultSettingsFile();

/// Largest settings file that is read; a bigger one is refused as damaged.
constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

/// Settings kept in a text file of "name=value" lines, read once when opened and rewritten atomically
/// at every set. A file that is refused (too large, unreadable, or with any line that cannot be read) is
/// moved aside under a new name before anything is saved, so the player's lines are never lost; when it
/// cannot be moved, nothing is saved. Of a file with unreadable lines, the lines that can be read are kept.
class FileStore final : public Store {
public:
    /// Opens the settings in `file`; a missing or unreadable file starts empty.
    explicit FileStore(std::filesystem::path file = DefaultSettingsFile());

    bool Get(std::string_view name, std::string& out) const override;
    bool Set(std::string_view name, std::string_view value) override;

    /// The file the settings live in.
    const std::filesystem::path& File() const { return m_file; }
    /// Where a refused file was moved (empty when none was).
    const std::filesystem::path& KeptAside() const { return m_keptAside; }

private:
    void Load();
    /// Moves the file aside, saying `why` it was not taken and what of it is `kept` (may be empty).
    void Refuse(const std::string& why, const std::string& kept = {});
    /// Writes every value to the file at once; false when it cannot be.
    bool Save();

    std::filesystem::path m_file;
    std::filesystem::path m_keptAside;
    bool m_readOnly = false; ///< a refused file could not be moved aside

    ValueTable m_values;
};

} // namespace plat::settings
