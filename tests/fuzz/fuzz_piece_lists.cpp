// Reads arbitrary bytes as the piece-list record and fills the piece lists from it: every list stays within
// the record's stored elements and holds only ids the entry table can take.
#include "foundation/assets/PieceLists.h"
#include "foundation/data/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace zentrix;

namespace {

// Ids 0 (format, default 30), 178-180 (group starts, default 0) and 185 (world 4's list, default -1).
const CDataDictionary& Dictionary() {
    static CDataDictionary dictionary;
    static bool made = false;
    if (!made) {
        made = true;
        CDataDictionary::TFormatRecord format;
        for (CDataDictionary::TDataID id : {0, 178, 179, 180, 185}) {
            CDataDictionary::TDataIDRecord record;
            record.id = id;
            record.SetIntDefault(id == 0 ? 30 : id == 185 ? -1 : 0);
            dictionary.AddRecord(record);
            format.ids.push_back(id);
        }
        dictionary.SetFormat(30, format);
    }
    return dictionary;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CDataFile file(Dictionary());
    file.LoadFromMemory(std::vector<std::uint8_t>(data, data + size), true);
    const int stored = file.GetCount(185);
    CPieceLists lists;
    lists.Fill([&](int dataId, int element, int& out) { return file.GetInt(dataId, out, element); }, stored);
    for (int group = 0; group < CPieceLists::kGroupCount; ++group) {
        if (lists.GetLength(4, group) > stored)
            std::abort();
        for (int i = 0; i < lists.GetLength(4, group); ++i) {
            const int id = lists.GetEntry(i, 4, group);
            if (id < 1 || id > CPieceLists::kMaxId || lists.GetPieceIndex(id) < 0)
                std::abort();
            for (int world = 0; world < CPieceLists::kWorldCount; ++world)
                lists.GetEquivalentId(id, world);
        }
    }
    return 0;
}
