#include "platform/settings/FileStore.h"

#include "platform/fs/FileSystem.h"
#include "platform/fs/GamePath.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace plat::settings {

std::filesystem::path ConfigFolder() {
    if (const char* dir = std::getenv("ZENTRIX_CONFIG_DIR"); dir && *dir)
        return dir;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "zentrix";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config" / "zentrix";
    return std::filesystem::path(".config") / "zentrix";
}

std::filesystem::path DefaultSettingsFile() {
    return ConfigFolder() / "settings.txt";
}

FileStore::FileStore(std::filesystem::path file) : m_file(std::move(file)) {
    Load();
}

void FileStore::Load() {
    std::error_code ec;
    if (!std::filesystem::exists(m_file, ec))
        return;
    auto size = std::filesystem::file_size(m_file, ec);
    if (ec || size > kMaxSettingsFileBytes) {
        std::fprintf(stderr, "settings: %s is not a readable settings file; starting without it\n",
                     m_file.c_str());
        return;
    }
    std::ifstream in(m_file, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
        std::fprintf(stderr, "settings: cannot read %s; starting without it\n", m_file.c_str());
        return;
    }
    int bad = 0;
    m_values = ValueTable::Parse(text, &bad);
    if (bad > 0)
        std::fprintf(stderr, "settings: %d unreadable line(s) in %s ignored\n", bad, m_file.c_str());
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
