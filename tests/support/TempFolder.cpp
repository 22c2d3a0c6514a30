#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace testsupport {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zentrix-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_native = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Let the owner remove read-only entries too.
    for (auto it = std::filesystem::recursive_directory_iterator(m_native, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        if (!it->is_symlink())
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_native, ignored);
}

std::string TempFolder::Game() const {
    std::string out = m_native;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

std::string TempFolder::Game(std::string_view relative) const {
    std::string out = Game() + "\\" + std::string(relative);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

void TempFolder::Write(std::string_view relative, std::string_view content) const {
    std::ofstream out(Native(relative), std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write test file");
}

void TempFolder::MakeFolder(std::string_view relative) const {
    std::filesystem::create_directories(Native(relative));
}

std::string TempFolder::Read(std::string_view relative) const {
    std::ifstream in(Native(relative), std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TempFolder::List(std::string_view relative) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Native(relative)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string out;
    for (const auto& n : names)
        out += (out.empty() ? "" : " ") + n;
    return out;
}

void WriteTextFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string ReadTextFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace testsupport
