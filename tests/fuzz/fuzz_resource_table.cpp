// The resource table file, and every lookup on what it indexed.
#include "foundation/resources/ResourceTableFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CResourceTableFile table;
    if (!table.LoadFromBytes(std::vector<std::uint8_t>(data, data + size), nullptr))
        return 0;
    // Touch every indexed name so a record pointing outside the buffer shows.
    std::string names;
    for (std::uint32_t id = 0; id < CResourceTableFile::kIdCount; ++id)
        if (auto record = table.GetRecord(id); record && table.GetRecordLength(id) != 0)
            names.assign(record->name);
    std::string field;
    for (int n = 0; n < CResourceTableFile::kDirectoryCount; ++n)
        table.GetDirectoryField(field, n);
    table.FindByName("a\\b", false, 0, 65536);
    table.FindByName(field, true, 0, 65536);
    return 0;
}
