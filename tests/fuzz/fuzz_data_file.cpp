// Loads arbitrary bytes as a data file against a small dictionary and reads every element it claims.
#include "foundation/data/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace zentrix;

namespace {

// Ids 0 (format), 1 and 5 texts, 2 int, 3 float, 4 vector; format 1 lists them all, format 2 only 0 and 2.
const CDataDictionary& Dictionary() {
    static CDataDictionary dictionary;
    static bool made = false;
    if (!made) {
        made = true;
        for (CDataDictionary::TDataID id = 0; id <= 5; ++id) {
            CDataDictionary::TDataIDRecord record;
            record.id = id;
            if (id == 0 || id == 2)
                record.SetIntDefault(id == 0 ? 1 : -1);
            else if (id == 3)
                record.SetFloatDefault(0.5f);
            else if (id == 4)
                record.SetVectorDefault({1.0f, 1.0f, 1.0f});
            else
                record.SetText();
            dictionary.AddRecord(record);
        }
        CDataDictionary::TFormatRecord format;
        format.ids = {0, 1, 2, 3, 4, 5};
        dictionary.SetFormat(1, format);
        format.ids = {0, 2};
        dictionary.SetFormat(2, format);
    }
    return dictionary;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (bool inPlace : {true, false}) {
        CDataFile file(Dictionary());
        const bool loaded = file.LoadFromMemory(std::vector<std::uint8_t>(data, data + size), inPlace);
        if (loaded && size < CDataFile::kHeaderSize)
            std::abort();
        for (CDataDictionary::TDataID id = -1; id <= 6; ++id) {
            const int count = file.GetCount(id);
            if (count < 0 || static_cast<std::size_t>(count) > size)
                std::abort();
            for (int index = -1; index <= count; ++index) {
                std::int32_t i = 0;
                float f = 0.0f;
                CVector v;
                file.GetInt(id, i, index);
                file.GetFloat(id, f, index);
                file.GetVector(id, v, index);
            }
            char text[CDataFile::kMaxTextBytes];
            if (file.GetText(id, text, sizeof text) && std::memchr(text, 0, sizeof text) == nullptr)
                std::abort();
        }
        // What was read writes out and reads back.
        CDataFile copy(Dictionary());
        if (loaded && !copy.LoadFromMemory(file.WriteToMemory("fuzz"), true))
            std::abort();
    }
    return 0;
}
