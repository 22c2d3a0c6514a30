// The resource table file, and every lookup on what it indexed.
#include "foundation/resources/ResourceTableFile.h"

#include <cstddef>
#include <cstdint>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CResourceTableFile table;
    if (!table.LoadFromBytes(std::vector<std::uint8_t>(data, data + size), nullptr))
        return 0;
    // Walk the indexed records (an empty text is part of every name) and touch each name, so a record
    // pointing outside the buffer shows.
    std::string names;
    for (int id = table.FindByName("", false, 0, 65536); id >= 0;
         id = table.FindByName("", false, id + 1, 65536))
        if (auto record = table.GetRecord(static_cast<std::uint32_t>(id));
            record && table.GetRecordLength(id) != 0)
            names.assign(record->name);
    std::string field;
    for (int n = 0; n < CResourceTableFile::kDirectoryCount; ++n)
        table.GetDirectoryField(field, n);
    table.FindByName("a\\b", false, 0, 65536);
    table.FindByName(field, true, 0, 65536);
    return 0;
}
