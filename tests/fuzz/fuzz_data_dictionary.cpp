// Loads arbitrary bytes as a data dictionary and as a format table, then asks for what they declare.
#include "foundation/data/DataDictionary.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace zentrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exact-size copy, so a read past the end is caught.
    const std::vector<std::uint8_t> block(data, data + size);
    CDataDictionary dictionary;
    const bool records = dictionary.LoadFromMemory(block.data(), block.size());
    const bool formats = dictionary.LoadFormatsFromMemory(block.data(), block.size());
    if ((records || formats) && size < CDataDictionary::kHeaderSize)
        std::abort();
    if (dictionary.GetSlotCount() > CDataDictionary::kMaxSlots ||
        dictionary.GetFormatSlotCount() > CDataDictionary::kMaxSlots)
        std::abort();
    // The low ids and the top of the slots: walking all 65536 would slow the fuzzer down for nothing.
    const CDataDictionary::TDataID slots = dictionary.GetSlotCount();
    for (CDataDictionary::TDataID id = -1; id <= slots;
         id = (id == 1024 && slots > 1030) ? slots - 4 : id + 1) {
        const CDataDictionary::TDataIDRecord* record = dictionary.GetRecord(id);
        std::int32_t i = 0;
        float f = 0.0f;
        CVector v;
        const int answered = dictionary.GetIntDefault(id, i) + dictionary.GetFloatDefault(id, f) +
                             dictionary.GetVectorDefault(id, v);
        if (answered > 1 || (record == nullptr && answered != 0) || (record != nullptr && record->id != id))
            std::abort();
        if (record != nullptr && (record->name[CDataDictionary::kNameSize - 1] != '\0' ||
                                  record->description[CDataDictionary::kDescriptionSize - 1] != '\0'))
            std::abort();
    }
    for (std::int32_t id = 0; id < std::min(dictionary.GetFormatSlotCount(), 1024); ++id) {
        const CDataDictionary::TFormatRecord* format = dictionary.GetFormat(id);
        if (format != nullptr && (format->ids.empty() || format->ids.size() > size / 4))
            std::abort();
    }
    return 0;
}
