#include "foundation/resources/ResourceLibrary.h"

#include "foundation/base/Messages.h"
#include "foundation/resources/AsciiCase.h"
#include "foundation/resources/LibraryCodec.h"
#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <cinttypes>

namespace zentrix {

namespace {

/// A game path as the system writes it, for messages.
std::string Native(std::string_view path) {
    const std::string native = plat::fs::Resolve(path).native;
    return native.empty() ? std::string(path) : native;
}

} // namespace

void CResourceLibrary::TellDamage(const std::string& entryName, const std::string& text) const {
    // Damage found while the game runs goes to standard error, once for each entry: a damaged file is never
    // passed over silently, nor repeated at every request.
    if (!m_toldDamaged.insert(entryName).second)
        return;
    std::string line = text;
    std::replace(line.begin(), line.end(), '\\', '/'); // entry names are written the game's way
    std::fprintf(stderr, "resource library: %s\n", line.c_str());
}

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
    m_problems.clear();
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
        if (read.error != plat::fs::Error::kNone) {
            // The parts end at the first one missing. A library may also be a folder of loose files alone,
            // but one with neither has nothing at all.
            const bool missing =
                read.error == plat::fs::Error::kNotFound || read.error == plat::fs::Error::kPathNotFound;
            if (!missing)
                m_problems.push_back(Native(PartPath(part, "RFH")) + ": the index cannot be read");
            else if (part == 1 && !plat::fs::IsFolder(m_basePath))
                m_problems.push_back(Native(PartPath(part, "RFH")) + ": the library's index is missing");
            break;
        }
        std::vector<SLibraryEntry> entries;
        std::string error;
        std::vector<std::string> skipped;
        const bool whole = LibraryIndex::Parse(read.bytes, part, entries, error, skipped);
        for (const std::string& record : skipped)
            DebugOutput(
                (Native(PartPath(part, "RFH")) + ": " + record + "; the record is skipped\n").c_str());
        if (!whole)
            m_problems.push_back(Native(PartPath(part, "RFH")) + ": " + error +
                                 "; the rest of the index is ignored");
        // Every record counts, also one a newer copy replaces: an index that names bytes its data part
        // does not hold is damaged either way.
        m_indexEnds[part] = 0;
        for (auto& entry : entries) {
            m_indexEnds[part] = std::max(m_indexEnds[part], std::uint64_t{entry.offset} + entry.storedSize);
            Insert(std::move(entry));
        }
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

void CResourceLibrary::CheckPartLength(std::uint32_t part, std::uint64_t size) {
    if (m_indexEnds[part] > size)
        m_problems.push_back(Native(PartPath(part, "RFD")) + ": the library's data is cut short (" +
                             std::to_string(size) + " of " + std::to_string(m_indexEnds[part]) + " bytes)");
}

bool CResourceLibrary::OpenDataParts() {
    m_open = false;
    for (std::uint32_t part = 1; part < m_nextPart; ++part) {
        const std::string path = PartPath(part, "RFD");
        if (m_preloaded) {
            auto read = plat::fs::ReadWholeFile(path);
            if (read.error != plat::fs::Error::kNone) {
                m_problems.push_back(Native(path) + ": the library's data cannot be read");
                return false;
            }
            m_partSizes[part] = read.bytes.size();
            m_preload[part] = std::move(read.bytes);
            CheckPartLength(part, m_partSizes[part]);
            continue;
        }
        FileHandle file(plat::fs::OpenStream(path, "rb"));
        const auto size = plat::fs::FileSize(path);
        if (!file || size.error != plat::fs::Error::kNone) {
            m_problems.push_back(Native(path) + ": the library's data cannot be read");
            return false;
        }
        m_partSizes[part] = size.size;
        m_handles[part] = std::move(file);
        CheckPartLength(part, size.size);
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
        TellDamage(entry.name, entry.name + " of " + Native(m_basePath) + ": its data part is not open");
        return std::nullopt;
    }
    if (entry.offset > m_partSizes[part] || entry.storedSize > m_partSizes[part] - entry.offset) {
        TellDamage(entry.name,
                   Native(PartPath(part, "RFD")) + ": " + entry.name + " lies beyond the end of the file");
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
        TellDamage(entry.name, Native(PartPath(part, "RFD")) + ": " + entry.name + " cannot be read");
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
        TellDamage(entry->name,
                   Native(entry->part == 0 ? m_basePath + "\\" + entry->name : PartPath(entry->part, "RFD")) +
                       ": " + entry->name + " is damaged: " + error);
    return decoded;
}

} // namespace zentrix
