#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// The resource table: maps every resource id (1-65535) to a file path relative to one of four directories
/// named in its header. The file is held whole in one buffer; an index of 65536 slots finds a record by id.
///
/// Layout (little-endian): "JovRTB 1.0" and its NUL, a pad byte, the record count (i32), four 260-byte
/// directory fields, then the records: id (u32), checked-out user (u32), name with its NUL, three pad bytes
/// (12 + name length bytes in all).
class CResourceTableFile {
public:
    static constexpr std::size_t kHeaderSize = 1056;
    static constexpr std::size_t kDirectoryFieldSize = 260;
    static constexpr int kDirectoryCount = 4;
    static constexpr std::uint32_t kIdCount = 65536;
    static constexpr std::size_t kRecordOverhead = 12;
    static constexpr std::uint32_t kNobody = 0xFFFFFFFFu;
    static constexpr char kSignature[] = "JovRTB 1.0";

    /// A record as it lies in the buffer; the name stays valid until the table is loaded again or changed.
    struct SRecord {
        std::uint32_t id;
        std::uint32_t checkedOutTo;
        std::string_view name;
    };

    CResourceTableFile();
    virtual ~CResourceTableFile();
    CResourceTableFile(const CResourceTableFile&) = delete;
    CResourceTableFile& operator=(const CResourceTableFile&) = delete;

    /// Reads the table file at path (game form). On failure the reason goes to errorText (when given) and
    /// the table keeps what it held.
    bool Load(const std::string& path, std::string* errorText);
    /// Takes a whole file image as Load would read it; on failure the table keeps what it held.
    bool LoadFromBytes(std::vector<std::uint8_t> bytes, std::string* errorText);

    /// The record of id, or nullopt for an id without one (any id above 65535 included).
    std::optional<SRecord> GetRecord(std::uint32_t id) const;
    /// 12 + the length of the record's name; 0 for an id without a record.
    std::uint32_t GetRecordLength(std::uint32_t id) const;
    /// The count field of the header (0 for an empty table object).
    std::int32_t GetNumRecords() const;
    /// Directory n (0-3) into out and true; an empty text and false for any other n or without a table.
    bool GetDirectoryField(std::string& out, int n) const;
    /// Stores path as directory n (0-3); false for another n, a path of 260 characters or more, or no table.
    bool SetDirectoryField(int n, std::string_view path);
    /// The first id in [firstId, endId) whose name equals name (wholeName) or contains it, ignoring case;
    /// -1 when none does. Names of 260 characters or more never match.
    int FindByName(std::string_view name, bool wholeName, int firstId, int endId) const;

    /// Header and body size; 0 for an empty table object.
    std::size_t GetFileLength() const { return m_buffer.size(); }
    /// The file image exactly as it would be written.
    std::span<const std::uint8_t> GetBytes() const { return m_buffer; }
    /// True once a table was loaded or created.
    bool HasTable() const { return !m_buffer.empty(); }

protected:
    /// Replaces buffer and index by an image whose header was checked; indexes its records.
    void Adopt(std::vector<std::uint8_t> bytes);
    /// Indexes the record at offset (already checked to lie in the buffer).
    void IndexRecord(std::uint32_t id, std::size_t offset);

    std::vector<std::uint8_t> m_buffer;
    /// Offset of each id's record in the buffer; 0 = no record (records start after the header).
    std::vector<std::uint32_t> m_index;
    /// The ids that have a record, ascending, so name searches skip the empty slots.
    std::vector<std::uint32_t> m_present;
};

} // namespace zentrix
