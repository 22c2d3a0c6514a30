#include "foundation/resources/ResourceLibrary.h"

#include "foundation/base/Messages.h"
#include "foundation/resources/AsciiCase.h"
#include "foundation/resources/LibraryCodec.h"
#include "platform/fs/FileSystem.h"

#include <cinttypes>

namespace zentrix {

CResourceLibrary::CResourceLibrary() = default;

CResourceLibrary::~CResourceLibrary() {
    CloseDataParts();
}

std::string CResourceLibrary::PartPath(std::uint32_t part, const char* extension) const {
    char number[16];
    std::snprintf(number, sizeof number, "%04" PRIu32 ".", part);
    return m_basePath + number + extension;
}

bool CResourceLibrary::Open(const std::string& path, bool writable, bool preloaded) {
    CloseDataParts();
    m_entries.clear();
    m_byLowerName.clear();
    m_basePath = path;
    if (!m_basePath.empty() && m_basePath.back() == '\\')
        m_basePath.pop_back();
    m_writable = writable;
    m_preloaded = preloaded;
    ReadIndexParts();
    AddLooseFiles("");
    for (const auto& [name, entry] : m_entries)
        m_byLowerName.emplace(AsciiCase::Lowered(name), &entry);
    OpenDataParts();
    return true;
}

void CResourceLibrary::ReadIndexParts() {
    m_nextPart = 1;
    for (std::uint32_t part = 1; part <= kMaxParts; ++part) {
        auto read = plat::fs::ReadWholeFile(PartPath(part, "RFH"));
        if (read.error != plat::fs::Error::kNone)
            break;
        std::vector<SLibraryEntry> entries;
        std::string error;
        std::vector<std::string> skipped;
        const bool whole = LibraryIndex::Parse(read.bytes, part, entries, error, skipped);
        for (const std::string& record : skipped)
            DebugOutput((PartPath(part, "RFH") + ": " + record + "; the record is skipped\n").c_str());
        if (!whole)
            DebugOutput(
                (PartPath(part, "RFH") + ": " + error + "; the rest of the part is ignored\n").c_str());
        for (auto& entry : entries)
            Insert(std::move(entry));
        m_nextPart = part + 1;
    }
}

void CResourceLibrary::AddLooseFiles(const std::string& relative) {
    const std::string folder = relative.empty() ? m_basePath : m_basePath + "\\" + relative;
    const auto listing = plat::fs::ListFolder(folder, "*.*");
    const std::string prefix = relative.empty() ? "" : relative + "\\";
    for (const auto& item : listing.entries) {
        // A file too large for an index record cannot be an entry.
        if (item.isFolder || item.size > 0xFFFFFFFFu)
            continue;
        SLibraryEntry entry;
        entry.name = prefix + item.name;
        entry.stamp = item.modified;
        entry.storedSize = static_cast<std::uint32_t>(item.size);
        Insert(std::move(entry));
    }
    for (const auto& item : listing.entries)
        if (item.isFolder)
            AddLooseFiles(prefix + item.name);
}

void CResourceLibrary::Insert(SLibraryEntry entry) {
    auto [it, inserted] = m_entries.try_emplace(entry.name, entry);
    if (!inserted && entry.stamp > it->second.stamp)
        it->second = std::move(entry);
}

bool CResourceLibrary::OpenDataParts() {
    m_open = false;
    for (std::uint32_t part = 1; part < m_nextPart; ++part) {
        const std::string path = PartPath(part, "RFD");
        if (m_preloaded) {
            auto read = plat::fs::ReadWholeFile(path);
            if (read.error != plat::fs::Error::kNone)
                return false;
            m_partSizes[part] = read.bytes.size();
            m_preload[part] = std::move(read.bytes);
            continue;
        }
        FileHandle file(plat::fs::OpenStream(path, "rb"));
        const auto size = plat::fs::FileSize(path);
        if (!file || size.error != plat::fs::Error::kNone)
            return false;
        m_partSizes[part] = size.size;
        m_handles[part] = std::move(file);
    }
    m_open = true;
    return true;
}

void CResourceLibrary::CloseDataParts() {
    for (auto& buffer : m_preload)
        std::vector<std::uint8_t>().swap(buffer);
    for (auto& handle : m_handles)
        handle.reset();
    m_partSizes.fill(0);
    m_open = false;
}

const SLibraryEntry* CResourceLibrary::FindEntry(std::string_view name) const {
    auto it = m_byLowerName.find(AsciiCase::Lowered(name));
    return it == m_byLowerName.end() ? nullptr : it->second;
}

std::optional<std::vector<std::uint8_t>> CResourceLibrary::ReadStored(const SLibraryEntry& entry) {
    const std::uint32_t part = entry.part;
    if (part == 0) {
        m_handles[0].reset(plat::fs::OpenStream(m_basePath + "\\" + entry.name, "rb"));
        if (!m_handles[0])
            return std::nullopt;
        m_partSizes[0] = entry.storedSize;
    } else if (!m_handles[part] && m_preload[part].empty()) {
        DebugOutput("Error - trying to extract data when the library is not open\n");
        return std::nullopt;
    }
    if (entry.offset > m_partSizes[part] || entry.storedSize > m_partSizes[part] - entry.offset) {
        DebugOutput((entry.name + ": stored bytes lie beyond the end of part " + std::to_string(part) + "\n")
                        .c_str());
        return std::nullopt;
    }
    if (!m_preload[part].empty()) {
        const auto* begin = m_preload[part].data() + entry.offset;
        return std::vector<std::uint8_t>(begin, begin + entry.storedSize);
    }
    std::vector<std::uint8_t> stored(entry.storedSize);
    std::FILE* file = m_handles[part].get();
    if (std::fseek(file, static_cast<long>(entry.offset), SEEK_SET) != 0 ||
        std::fread(stored.data(), 1, stored.size(), file) != stored.size()) {
        DebugOutput((entry.name + ": the stored bytes could not be read\n").c_str());
        return std::nullopt;
    }
    return stored;
}

std::optional<std::vector<std::uint8_t>> CResourceLibrary::Extract(std::string_view name) {
    const SLibraryEntry* entry = FindEntry(name);
    if (entry == nullptr)
        return std::nullopt;
    auto stored = ReadStored(*entry);
    if (!stored || entry->method == LibraryCodec::kStored)
        return stored;
    std::string error;
    auto decoded = LibraryCodec::DecodeEntry(entry->method, *stored, error);
    if (!decoded)
        DebugOutput((entry->name + ": " + error + "\n").c_str());
    return decoded;
}

} // namespace zentrix
