#include "platform/settings/FileStore.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/GamePath.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace plat::settings {

namespace {

/// The user's home folder: $HOME, else the account's entry; empty when neither names one.
std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

} // namespace

std::filesystem::path ConfigFolder() {
    if (const char* dir = std::getenv("ZENTRIX_CONFIG_DIR"); dir && *dir)
        return dir;
    // A relative XDG folder is not one (the XDG rules say to ignore it).
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return std::filesystem::path(xdg) / "zentrix";
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".config" / "zentrix";
}

std::filesystem::path DefaultSettingsFile() {
    const std::filesystem::path folder = ConfigFolder();
    return folder.empty() ? folder : folder / "settings.txt";
}

FileStore::FileStore(std::filesystem::path file) : m_file(std::move(file)) {
    Load();
}

void FileStore::Load() {
    std::error_code ec;
    if (m_file.empty() || !std::filesystem::exists(m_file, ec))
        return;
    auto size = std::filesystem::file_size(m_file, ec);
    if (ec || size > kMaxSettingsFileBytes) {
        Refuse(ec ? "it is not a file that can be read"
                  : "it is larger than any settings file (" + std::to_string(size) + " bytes)");
        return;
    }
    std::ifstream in(m_file, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        Refuse("it cannot be read");
        return;
    }
    int bad = 0;
    m_values = ValueTable::Parse(text, &bad);
    if (bad == 0)
        return;
    // The next save would drop the lines that cannot be read: the file is kept whole beside the new one,
    // which starts with the lines that could.
    const std::size_t readable = m_values.Entries().size();
    Refuse(std::to_string(bad) + " of its lines cannot be read",
           readable == 0 ? std::string()
                         : "keeping the " + std::to_string(readable) + " setting(s) that could be read");
    if (!m_readOnly && !m_values.Entries().empty())
        Save();
}

void FileStore::Refuse(const std::string& why, const std::string& kept) {
    // The player's file is never written over: it is moved aside whole, and the game starts anew.
    const plat::fs::MovedAside aside = plat::fs::MoveAside(plat::fs::ToGameForm(m_file.string()), ".refused");
    if (aside.error == plat::fs::Error::kNone) {
        m_keptAside = aside.native;
        std::fprintf(
            stderr,
            "settings: %s was not read: %s; it is kept as %s, and the game starts with new settings%s%s\n",
            m_file.c_str(), why.c_str(), aside.native.c_str(), kept.empty() ? "" : ", ", kept.c_str());
        return;
    }
    m_readOnly = true;
    std::fprintf(stderr,
                 "settings: %s was not read: %s; it cannot be moved aside (%s), so no setting is "
                 "saved this run\n",
                 m_file.c_str(), why.c_str(), aside.why.c_str());
}

bool FileStore::Get(std::string_view name, std::string& out) const {
    const std::string* value = m_values.Find(name);
    if (!value)
        return false;
    out = *value;
    return true;
}

bool FileStore::Set(std::string_view name, std::string_view value) {
    if (name.empty() || name.front() == '\0')
        return false;
    // The value is kept even when it cannot be saved, so whatever reads it back this run still sees it.
    m_values.Put(name, value);
    return Save();
}

bool FileStore::Save() {
    if (m_file.empty() || m_readOnly)
        return false;
    std::error_code ec;
    if (m_file.has_parent_path())
        std::filesystem::create_directories(m_file.parent_path(), ec);
    if (ec) {
        std::fprintf(stderr, "settings: cannot create %s: %s\n", m_file.parent_path().c_str(),
                     ec.message().c_str());
        return false;
    }
    const std::string text = m_values.Format();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (plat::fs::ReplaceFile(plat::fs::ToGameForm(m_file.string()), {bytes, text.size()}) !=
        plat::fs::Error::kNone) {
        std::fprintf(stderr, "settings: cannot save %s\n", m_file.c_str());
        return false;
    }
    return true;
}

} // namespace plat::settings
