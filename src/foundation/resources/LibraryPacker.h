#pragma once

#include "foundation/resources/LibraryIndex.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zentrix {

/// Writes one part of a resource library: entries are appended to the data part in the order they are
/// added and recorded in the index part. The tools build the game's libraries with it; the game only reads.
class CLibraryPacker {
public:
    /// A packer for part `part` (1-199) of the library at basePath (game form; one trailing "\" ignored).
    CLibraryPacker(std::string basePath, std::uint32_t part);

    /// Appends content under name ("\"-separated, relative to the base folder) with the given stamp,
    /// coded with method (zlib at zlibLevel). False for an unknown method, an empty name or one holding a
    /// NUL, content over the largest entry size, or a part grown past 4 GB.
    bool Add(const std::string& name, std::span<const std::uint8_t> content, std::int32_t stamp,
             std::uint32_t method, int zlibLevel = 9);
    /// Adds every file under folder (game form), recursively in name order, named by its path relative to
    /// folder; stamped with its modification time, or with stamp when given. False with a reason in error
    /// when the folder cannot be listed or a file cannot be read or added.
    bool AddFolder(const std::string& folder, std::uint32_t method, std::optional<std::int32_t> stamp,
                   std::string& error);
    /// Writes the index and data parts, each replaced atomically; false with a reason in error.
    bool Write(std::string& error) const;

    /// The index part as it will be written.
    const std::vector<std::uint8_t>& GetIndex() const { return m_index; }
    /// The data part as it will be written.
    const std::vector<std::uint8_t>& GetData() const { return m_data; }
    /// The path of the index ("RFH") or data ("RFD") part.
    std::string PartPath(const char* extension) const;

private:
    bool AddFolderLevel(const std::string& folder, const std::string& relative, std::uint32_t method,
                        std::optional<std::int32_t> stamp, std::string& error);

    std::string m_basePath;
    std::uint32_t m_part;
    std::vector<std::uint8_t> m_index;
    std::vector<std::uint8_t> m_data;
};

} // namespace zentrix
