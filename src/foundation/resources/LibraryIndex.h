#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zentrix {

/// One file of a resource library: where its bytes lie and how they are coded.
struct SLibraryEntry {
    std::string name;         ///< path relative to the library's base folder, "\"-separated
    std::int32_t stamp = 0;   ///< source file's modification time, seconds since 1970
    std::uint32_t method = 0; ///< codec method
    std::uint32_t storedSize = 0;
    std::uint32_t part = 0;   ///< part number; 0 is a loose file
    std::uint32_t offset = 0; ///< offset of the stored bytes in the data part
};

/// The index part of a library: records of name length (with its NUL), stamp, method, stored size and
/// offset (u32 each, little-endian), then the name. No header; records run to the end of the file.
namespace LibraryIndex {

constexpr std::size_t kRecordHeaderSize = 20;

/// Reads every record of an index part into out, each tagged with the part number. A record of an
/// unknown method is skipped (its length is known) and named in skipped; reading goes on. Reading stops
/// at the first record that is cut short, has a name length of 0 or beyond the file, or a name without
/// its NUL: the records before it stay in out, error says why, and the result is false.
bool Parse(std::span<const std::uint8_t> bytes, std::uint32_t part, std::vector<SLibraryEntry>& out,
           std::string& error, std::vector<std::string>& skipped);

/// Appends the record of entry (its part is not stored) to an index image.
void AppendRecord(std::vector<std::uint8_t>& index, const SLibraryEntry& entry);

} // namespace LibraryIndex

} // namespace zentrix
