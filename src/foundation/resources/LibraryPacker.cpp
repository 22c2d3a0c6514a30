#include "foundation/resources/LibraryPacker.h"

#include "foundation/resources/LibraryCodec.h"
#include "platform/fs/FileSystem.h"

#include <cinttypes>

namespace zentrix {

CLibraryPacker::CLibraryPacker(std::string basePath, std::uint32_t part)
    : m_basePath(std::move(basePath)), m_part(part) {
    if (!m_basePath.empty() && m_basePath.back() == '\\')
        m_basePath.pop_back();
}

std::string CLibraryPacker::PartPath(const char* extension) const {
    char number[16];
    std::snprintf(number, sizeof number, "%04" PRIu32 ".", m_part);
    return m_basePath + number + extension;
}

bool CLibraryPacker::Add(const std::string& name, std::span<const std::uint8_t> content, std::int32_t stamp,
                         std::uint32_t method, int zlibLevel) {
    if (method >= LibraryCodec::kMethodCount || name.empty() || name.find('\0') != std::string::npos ||
        content.size() > LibraryCodec::kMaxUncompressedSize)
        return false;
    const auto stored = LibraryCodec::EncodeEntry(method, content, zlibLevel);
    if (m_data.size() + stored.size() > 0xFFFFFFFFu)
        return false;
    SLibraryEntry entry;
    entry.name = name;
    entry.stamp = stamp;
    entry.method = method;
    entry.storedSize = static_cast<std::uint32_t>(stored.size());
    entry.offset = static_cast<std::uint32_t>(m_data.size());
    LibraryIndex::AppendRecord(m_index, entry);
    m_data.insert(m_data.end(), stored.begin(), stored.end());
    return true;
}

bool CLibraryPacker::AddFolder(const std::string& folder, std::uint32_t method,
                               std::optional<std::int32_t> stamp, std::string& error) {
    if (!plat::fs::IsFolder(folder)) {
        error = folder + ": no such folder";
        return false;
    }
    return AddFolderLevel(folder, "", method, stamp, error);
}

bool CLibraryPacker::AddFolderLevel(const std::string& folder, const std::string& relative,
                                    std::uint32_t method, std::optional<std::int32_t> stamp,
                                    std::string& error) {
    const std::string here = relative.empty() ? folder : folder + "\\" + relative;
    const std::string prefix = relative.empty() ? "" : relative + "\\";
    for (const auto& item : plat::fs::ListFolder(here, "*.*").entries) {
        if (item.isFolder) {
            if (!AddFolderLevel(folder, prefix + item.name, method, stamp, error))
                return false;
            continue;
        }
        auto read = plat::fs::ReadWholeFile(here + "\\" + item.name);
        if (read.error != plat::fs::Error::kNone) {
            error = here + "\\" + item.name + ": cannot be read";
            return false;
        }
        if (!Add(prefix + item.name, read.bytes, stamp.value_or(item.modified), method)) {
            error = here + "\\" + item.name + ": cannot be packed";
            return false;
        }
    }
    return true;
}

bool CLibraryPacker::Write(std::string& error) const {
    for (const auto& [extension, bytes] : {std::pair{"RFD", &m_data}, std::pair{"RFH", &m_index}}) {
        if (plat::fs::ReplaceFile(PartPath(extension), *bytes) != plat::fs::Error::kNone) {
            error = PartPath(extension) + ": cannot be written";
            return false;
        }
    }
    return true;
}

} // namespace zentrix
