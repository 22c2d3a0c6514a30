#include "foundation/resources/ResourceTableFile.h"

#include "foundation/base/Messages.h"
#include "foundation/resources/AsciiCase.h"
#include "foundation/resources/LittleEndian.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <cstring>

namespace zentrix {

namespace {

constexpr std::size_t kCountOffset = 12;
constexpr std::size_t kDirectoryOffset = 16;
constexpr std::size_t kNameLimit = CResourceTableFile::kDirectoryFieldSize;

void SetError(std::string* errorText, const std::string& text) {
    if (errorText != nullptr)
        *errorText = text;
}

} // namespace

CResourceTableFile::CResourceTableFile() : m_index(kIdCount, 0) {}

CResourceTableFile::~CResourceTableFile() = default;

bool CResourceTableFile::Load(const std::string& path, std::string* errorText) {
    auto read = plat::fs::ReadWholeFile(path);
    switch (read.error) {
    case plat::fs::Error::kNone:
        return LoadFromBytes(std::move(read.bytes), errorText);
    case plat::fs::Error::kNotFound:
        SetError(errorText, "file not found:" + path);
        return false;
    case plat::fs::Error::kPathNotFound:
        SetError(errorText, "path not found:" + path);
        return false;
    case plat::fs::Error::kTooLarge:
        SetError(errorText, "resource table file size too big (>4 gig !!!)");
        return false;
    default:
        SetError(errorText, "couldn't open resource table file");
        return false;
    }
}

bool CResourceTableFile::LoadFromBytes(std::vector<std::uint8_t> bytes, std::string* errorText) {
    if (bytes.empty()) {
        SetError(errorText, "couldn't get resource table file size");
        return false;
    }
    // A file too short for the header cannot carry a table of this version either.
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) {
        SetError(errorText, "invalid file signature (file created with previous version?)");
        return false;
    }
    if (bytes.size() > 0xFFFFFFFFu) {
        SetError(errorText, "resource table file size too big (>4 gig !!!)");
        return false;
    }
    Adopt(std::move(bytes));
    return true;
}

void CResourceTableFile::Adopt(std::vector<std::uint8_t> bytes) {
    // The old table stays intact until the new one is complete.
    std::vector<std::uint32_t> index(kIdCount, 0);
    std::vector<std::uint32_t> present;
    const std::int32_t count = static_cast<std::int32_t>(LittleEndian::ReadU32(bytes.data() + kCountOffset));
    std::size_t pos = kHeaderSize;
    for (std::int32_t i = 0; i < count; ++i) {
        if (bytes.size() - pos < kRecordOverhead) {
            DebugOutput(("resource table: the body ends before record " + std::to_string(i) + " of " +
                         std::to_string(count) + "\n")
                            .c_str());
            break;
        }
        std::uint8_t* record = bytes.data() + pos;
        const std::uint32_t id = LittleEndian::ReadU32(record);
        if (id >= kIdCount) {
            // Marks where indexing stopped; the records after it stay unindexed.
            LittleEndian::WriteU32(record, 0);
            break;
        }
        const auto* name = record + 8;
        const auto* nul = static_cast<const std::uint8_t*>(std::memchr(name, 0, bytes.size() - pos - 8));
        const std::size_t length = nul == nullptr ? 0 : static_cast<std::size_t>(nul - name);
        if (nul == nullptr || bytes.size() - pos < kRecordOverhead + length) {
            DebugOutput(
                ("resource table: record " + std::to_string(i) + " runs past the end of the file\n").c_str());
            break;
        }
        index[id] = static_cast<std::uint32_t>(pos);
        present.push_back(id);
        pos += kRecordOverhead + length;
    }
    m_buffer = std::move(bytes);
    m_index = std::move(index);
    std::sort(present.begin(), present.end());
    present.erase(std::unique(present.begin(), present.end()), present.end());
    m_present = std::move(present);
}

void CResourceTableFile::IndexRecord(std::uint32_t id, std::size_t offset) {
    m_index[id] = static_cast<std::uint32_t>(offset);
    auto at = std::lower_bound(m_present.begin(), m_present.end(), id);
    if (at == m_present.end() || *at != id)
        m_present.insert(at, id);
}

std::optional<CResourceTableFile::SRecord> CResourceTableFile::GetRecord(std::uint32_t id) const {
    if (id >= kIdCount || m_index[id] == 0)
        return std::nullopt;
    const std::uint8_t* record = m_buffer.data() + m_index[id];
    return SRecord{LittleEndian::ReadU32(record), LittleEndian::ReadU32(record + 4),
                   std::string_view(reinterpret_cast<const char*>(record + 8))};
}

std::uint32_t CResourceTableFile::GetRecordLength(std::uint32_t id) const {
    auto record = GetRecord(id);
    return record ? static_cast<std::uint32_t>(kRecordOverhead + record->name.size()) : 0;
}

std::int32_t CResourceTableFile::GetNumRecords() const {
    return HasTable() ? static_cast<std::int32_t>(LittleEndian::ReadU32(m_buffer.data() + kCountOffset)) : 0;
}

bool CResourceTableFile::GetDirectoryField(std::string& out, int n) const {
    out.clear();
    if (n < 0 || n >= kDirectoryCount || !HasTable())
        return false;
    const char* field =
        reinterpret_cast<const char*>(m_buffer.data() + kDirectoryOffset + n * kDirectoryFieldSize);
    // A field without its NUL gives its first 259 characters.
    out.assign(field, strnlen(field, kDirectoryFieldSize - 1));
    return true;
}

bool CResourceTableFile::SetDirectoryField(int n, std::string_view path) {
    if (n < 0 || n >= kDirectoryCount || !HasTable() || path.size() >= kDirectoryFieldSize ||
        path.find('\0') != std::string_view::npos)
        return false;
    std::uint8_t* field = m_buffer.data() + kDirectoryOffset + n * kDirectoryFieldSize;
    std::memset(field, 0, kDirectoryFieldSize);
    std::memcpy(field, path.data(), path.size());
    return true;
}

int CResourceTableFile::FindByName(std::string_view name, bool wholeName, int firstId, int endId) const {
    if (name.size() >= kNameLimit)
        return -1;
    const auto first = std::lower_bound(m_present.begin(), m_present.end(),
                                        static_cast<std::uint32_t>(std::max(firstId, 0)));
    for (auto id = first; id != m_present.end() && static_cast<std::int64_t>(*id) < endId; ++id) {
        const std::string_view recordName = GetRecord(*id)->name;
        if (recordName.size() >= kNameLimit)
            continue;
        if (wholeName ? AsciiCase::Equal(recordName, name) : AsciiCase::Contains(recordName, name))
            return static_cast<int>(*id);
    }
    return -1;
}

} // namespace zentrix
