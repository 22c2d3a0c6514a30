#pragma once

#include "foundation/resources/LibraryIndex.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zentrix {

/// One resource library: numbered parts, each an index ("<base>0001.RFH") and a data file ("<base>0001.RFD"),
/// plus the loose files in the folder named by the base path, which replace packed entries when they are
/// strictly newer.
class CResourceLibrary {
public:
    /// The highest part number read; slot 0 of the part tables is the loose file being read.
    static constexpr std::uint32_t kMaxParts = 199;

    CResourceLibrary();
    ~CResourceLibrary();
    CResourceLibrary(const CResourceLibrary&) = delete;
    CResourceLibrary& operator=(const CResourceLibrary&) = delete;

    /// Drops any previous content, takes path (one trailing "\" removed) as base path, reads every index
    /// part, adds the loose files and opens the data parts. Always true; a data part that cannot be opened
    /// leaves the library not open (IsOpen) with the parts before it usable.
    bool Open(const std::string& path, bool writable, bool preloaded);
    /// The content of the first entry (in name order) whose name equals name ignoring case; nullopt when
    /// there is none, its part is not open, its bytes lie outside the part, or they do not decode.
    std::optional<std::vector<std::uint8_t>> Extract(std::string_view name);
    /// Frees the preloaded parts, closes every part and clears the open flag.
    void CloseDataParts();

    /// True when every data part opened.
    bool IsOpen() const { return m_open; }
    /// One more than the last index part found.
    std::uint32_t GetNextPart() const { return m_nextPart; }
    /// The entry Extract would use for name, or null.
    const SLibraryEntry* FindEntry(std::string_view name) const;
    /// Number of distinct entry names.
    std::size_t GetEntryCount() const { return m_entries.size(); }
    /// The base path as kept (without its trailing "\").
    const std::string& GetBasePath() const { return m_basePath; }
    /// What was wrong with the library's files at Open, each naming the file (as the system writes its
    /// path) and saying why: a missing or damaged index, a data part that cannot be read or that is shorter
    /// than its index says. Empty for a sound library.
    const std::vector<std::string>& GetProblems() const { return m_problems; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

    std::string PartPath(std::uint32_t part, const char* extension) const;
    void ReadIndexParts();
    /// Notes a problem when the index of `part` names bytes beyond `size`, the length of its data part.
    void CheckPartLength(std::uint32_t part, std::uint64_t size);
    void AddLooseFiles(const std::string& relative);
    bool OpenDataParts();
    /// Keeps the entry of a name with the greater stamp; equal stamps keep the one inserted first.
    void Insert(SLibraryEntry entry);
    /// Reads the stored bytes of an entry; nullopt on any failure.
    std::optional<std::vector<std::uint8_t>> ReadStored(const SLibraryEntry& entry);
    /// Writes `text` about damage to an entry to standard error, the first time for that entry.
    void TellDamage(const std::string& entryName, const std::string& text) const;

    bool m_preloaded = false;
    bool m_open = false;
    bool m_writable = false;
    std::string m_basePath;
    std::uint32_t m_nextPart = 1;
    std::array<FileHandle, kMaxParts + 1> m_handles;
    std::array<std::vector<std::uint8_t>, kMaxParts + 1> m_preload;
    std::array<std::uint64_t, kMaxParts + 1> m_partSizes{};
    /// Where the bytes of each index part's last entry end: its data part must be at least that long.
    std::array<std::uint64_t, kMaxParts + 1> m_indexEnds{};
    /// Sorted by the bytes of the names, as the library's list is.
    std::map<std::string, SLibraryEntry> m_entries;
    /// Lower-case name -> the first entry in name order with that name.
    std::unordered_map<std::string, const SLibraryEntry*> m_byLowerName;
    std::vector<std::string> m_problems;
    mutable std::set<std::string> m_toldDamaged;
};

} // namespace zentrix
