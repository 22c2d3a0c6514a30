#include "foundation/resources/LibraryIndex.h"

#include "foundation/resources/LibraryCodec.h"
#include "foundation/resources/LittleEndian.h"

namespace zentrix {

namespace LibraryIndex {

bool Parse(std::span<const std::uint8_t> bytes, std::uint32_t part, std::vector<SLibraryEntry>& out,
           std::string& error, std::vector<std::string>& skipped) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::string where = "index record at byte " + std::to_string(pos);
        const std::size_t left = bytes.size() - pos;
        if (left < kRecordHeaderSize) {
            error = where + " is cut short";
            return false;
        }
        const std::uint8_t* p = bytes.data() + pos;
        const std::uint32_t nameLength = LittleEndian::ReadU32(p);
        if (nameLength == 0 || nameLength > left - kRecordHeaderSize) {
            error = where + " has a name length of " + std::to_string(nameLength);
            return false;
        }
        const std::uint8_t* name = p + kRecordHeaderSize;
        if (name[nameLength - 1] != 0) {
            error = where + " has a name without its end";
            return false;
        }
        SLibraryEntry entry;
        entry.stamp = static_cast<std::int32_t>(LittleEndian::ReadU32(p + 4));
        entry.method = LittleEndian::ReadU32(p + 8);
        entry.storedSize = LittleEndian::ReadU32(p + 12);
        entry.offset = LittleEndian::ReadU32(p + 16);
        pos += kRecordHeaderSize + nameLength;
        entry.name.assign(reinterpret_cast<const char*>(name));
        if (entry.method >= LibraryCodec::kMethodCount) {
            skipped.push_back(where + " (" + entry.name + ") has the unknown codec method " +
                              std::to_string(entry.method));
            continue;
        }
        entry.part = part;
        out.push_back(std::move(entry));
    }
    return true;
}

void AppendRecord(std::vector<std::uint8_t>& index, const SLibraryEntry& entry) {
    LittleEndian::AppendU32(index, static_cast<std::uint32_t>(entry.name.size() + 1));
    LittleEndian::AppendU32(index, static_cast<std::uint32_t>(entry.stamp));
    LittleEndian::AppendU32(index, entry.method);
    LittleEndian::AppendU32(index, entry.storedSize);
    LittleEndian::AppendU32(index, entry.offset);
    index.insert(index.end(), entry.name.begin(), entry.name.end());
    index.push_back(0);
}

} // namespace LibraryIndex

} // namespace zentrix
