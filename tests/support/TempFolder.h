#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

/// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder as a file-system path.
    std::filesystem::path Path() const { return m_native; }
    /// A path inside the folder.
    std::filesystem::path operator/(const std::filesystem::path& name) const { return Path() / name; }
    /// The folder's Linux path (no trailing "/").
    const std::string& Native() const { return m_native; }
    /// The folder in the game's form ("\tmp\zentrix-XXXXXX").
    std::string Game() const;
    /// Linux path of a name inside the folder ("a/b" allowed).
    std::string Native(std::string_view relative) const { return m_native + "/" + std::string(relative); }
    /// Game form of a name inside the folder.
    std::string Game(std::string_view relative) const;

    /// Writes a file inside the folder (creating nothing on the way).
    void Write(std::string_view relative, std::string_view content) const;
    /// Creates a folder inside the folder.
    void MakeFolder(std::string_view relative) const;
    /// The content of a file inside the folder, or "<missing>".
    std::string Read(std::string_view relative) const;
    /// The names in the folder (or one of its sub-folders), sorted, "." and ".." left out.
    std::string List(std::string_view relative = "") const;

private:
    std::string m_native;
};

/// Writes `text` to `file`, replacing it.
void WriteTextFile(const std::filesystem::path& file, const std::string& text);
/// The whole content of `file` ("" when it cannot be read).
std::string ReadTextFile(const std::filesystem::path& file);

} // namespace testsupport
