#pragma once

#include <filesystem>

namespace testsupport {

/// A fresh, empty folder for one test, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder.
    const std::filesystem::path& Path() const { return path_; }
    /// A path inside the folder.
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

/// Writes `text` to `file`, replacing it.
void WriteTextFile(const std::filesystem::path& file, const std::string& text);
/// The whole content of `file` ("" when it cannot be read).
std::string ReadTextFile(const std::filesystem::path& file);

} // namespace testsupport
