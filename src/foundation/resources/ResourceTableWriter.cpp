#include "foundation/resources/ResourceTableWriter.h"

#include "foundation/resources/LittleEndian.h"
#include "platform/fs/FileSystem.h"

#include <cstring>

namespace zentrix {

namespace {
constexpr std::size_t kCountOffset = 12;
}

bool CResourceTableWriter::Create(const std::array<std::string, kDirectoryCount>& directories) {
    std::vector<std::uint8_t> header(kHeaderSize, 0);
    std::memcpy(header.data(), kSignature, sizeof kSignature);
    Adopt(std::move(header));
    for (int n = 0; n < kDirectoryCount; ++n) {
        if (!SetDirectoryField(n, directories[n])) {
            m_buffer.clear();
            return false;
        }
    }
    return true;
}

bool CResourceTableWriter::AddRecord(std::uint32_t id, std::string_view name, std::uint32_t checkedOutTo) {
    if (!HasTable() || id == 0 || id >= kIdCount || name.find('\0') != std::string_view::npos)
        return false;
    const std::size_t offset = m_buffer.size();
    m_buffer.resize(offset + kRecordOverhead + name.size(), 0);
    LittleEndian::WriteU32(m_buffer.data() + offset, id);
    LittleEndian::WriteU32(m_buffer.data() + offset + 4, checkedOutTo);
    std::memcpy(m_buffer.data() + offset + 8, name.data(), name.size());
    IndexRecord(id, offset);
    const std::uint32_t count = LittleEndian::ReadU32(m_buffer.data() + kCountOffset);
    LittleEndian::WriteU32(m_buffer.data() + kCountOffset, count + 1);
    return true;
}

bool CResourceTableWriter::Write(const std::string& path, std::uint32_t userId, std::string* errorText) {
    m_userId = userId;
    std::string error;
    if (!HasTable())
        error = "no resource table to write";
    else
        switch (plat::fs::ReplaceFile(path, m_buffer)) {
        case plat::fs::Error::kNone:
            return true;
        case plat::fs::Error::kNotFound:
        case plat::fs::Error::kPathNotFound:
            error = "CreateFile failure";
            break;
        default:
            error = "WriteFile failure";
            break;
        }
    if (errorText != nullptr)
        *errorText = error;
    return false;
}

} // namespace zentrix
