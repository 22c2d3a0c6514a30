#include "foundation/data/DataDictionary.h"
#include "foundation/data/DataBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Block = std::vector<std::uint8_t>;
using Record = CDataDictionary::TDataIDRecord;

Block Header(std::uint32_t kind, std::uint32_t version, std::int32_t slots) {
    Block block;
    DataBytes::Append32(block, kind);
    DataBytes::Append32(block, version);
    DataBytes::Append32(block, static_cast<std::uint32_t>(slots));
    return block;
}

// A 328-byte dictionary record with an integer default.
void AppendRecord(Block& block, std::int32_t id, std::uint32_t type, std::int32_t defaultValue,
                  const std::string& name = "name") {
    const std::size_t start = block.size();
    block.resize(start + CDataDictionary::kRecordSize, 0);
    DataBytes::WriteU32(&block[start], static_cast<std::uint32_t>(id));
    DataBytes::WriteU32(&block[start + 4], type);
    DataBytes::WriteU32(&block[start + 8], 4);
    std::memcpy(&block[start + 12], name.data(), std::min<std::size_t>(name.size(), 21));
    DataBytes::WriteU32(&block[start + 289], static_cast<std::uint32_t>(defaultValue));
}

// A format-table record; body and last are written as given, then the name and ids.
void AppendFormat(Block& block, std::int32_t id, std::uint32_t type, std::int32_t body, std::int32_t last,
                  const std::vector<std::int32_t>& ids, const std::string& name = "fmt") {
    DataBytes::Append32(block, static_cast<std::uint32_t>(id));
    DataBytes::Append32(block, type);
    DataBytes::Append16(block, body);
    DataBytes::Append16(block, last);
    Block nameField(21, 0);
    std::memcpy(nameField.data(), name.data(), std::min<std::size_t>(name.size(), 21));
    block.insert(block.end(), nameField.begin(), nameField.end());
    for (std::int32_t dataId : ids)
        DataBytes::Append32(block, static_cast<std::uint32_t>(dataId));
}

bool Load(CDataDictionary& dictionary, const Block& block) {
    return dictionary.LoadFromMemory(block.data(), block.size());
}
bool LoadFormats(CDataDictionary& dictionary, const Block& block) {
    return dictionary.LoadFormatsFromMemory(block.data(), block.size());
}

TEST(DataDictionary, RecordBeyondTheHeaderSlotCountIsFound) {
    Block block = Header(0, 2, 10);
    AppendRecord(block, 500, CDataDictionary::kTypeInt, 42);
    CDataDictionary dictionary;
    ASSERT_TRUE(Load(dictionary, block));
    ASSERT_NE(dictionary.GetRecord(500), nullptr);
    EXPECT_EQ(dictionary.GetRecord(500)->id, 500);
    EXPECT_EQ(dictionary.GetRecord(499), nullptr);
    EXPECT_EQ(dictionary.GetRecord(501), nullptr);
    EXPECT_EQ(dictionary.GetRecord(-1), nullptr);
    EXPECT_EQ(dictionary.GetSlotCount(), 501);
}

Block WithRecord(Block block) {
    AppendRecord(block, 2, CDataDictionary::kTypeInt, 1);
    return block;
}

TEST(DataDictionary, BadHeadersFailAndLeaveNothing) {
    struct Case {
        const char* what;
        Block block;
        bool loads;
    } cases[] = {
        {"format kind", WithRecord(Header(1, 2, 4)), false},
        {"version 1", WithRecord(Header(0, 1, 4)), false},
        {"eleven bytes", Block(11, 0), false},
        {"four bytes", Block{0, 0, 0, 0}, false},
        {"header and record", WithRecord(Header(0, 2, 4)), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CDataDictionary dictionary;
        Block old = Header(0, 2, 4);
        AppendRecord(old, 3, CDataDictionary::kTypeInt, 1);
        ASSERT_TRUE(Load(dictionary, old));
        EXPECT_EQ(Load(dictionary, c.block), c.loads);
        EXPECT_EQ(dictionary.GetRecord(3), nullptr); // the old records are gone either way
        EXPECT_EQ(dictionary.GetRecord(2) != nullptr, c.loads);
    }
    CDataDictionary dictionary;
    EXPECT_FALSE(dictionary.LoadFromMemory(nullptr, 100));
    EXPECT_FALSE(dictionary.LoadFormatsFromMemory(nullptr, 100));
}

TEST(DataDictionary, TypedDefaultsAnswerOnlyTheirOwnType) {
    CDataDictionary dictionary;
    Record integer;
    integer.id = 4;
    integer.SetIntDefault(-7);
    Record vector;
    vector.id = 6;
    vector.SetVectorDefault({1.0f, -2.0f, 3.5f});
    ASSERT_TRUE(dictionary.AddRecord(integer));
    ASSERT_TRUE(dictionary.AddRecord(vector));
    std::int32_t i = 99;
    float f = 99.0f;
    CVector v;
    EXPECT_TRUE(dictionary.GetIntDefault(4, i));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(dictionary.GetFloatDefault(4, f)); // an integer id: the output stays as it was
    EXPECT_EQ(f, 99.0f);
    EXPECT_TRUE(dictionary.GetVectorDefault(6, v));
    EXPECT_EQ(v.y, -2.0f);
    EXPECT_FALSE(dictionary.GetIntDefault(6, i));
    EXPECT_FALSE(dictionary.GetIntDefault(5, i)); // unknown
    EXPECT_EQ(i, -7);
}

TEST(DataDictionary, FormatRecordsFollowTheirBodyLength) {
    Block block = Header(1, 2, 3);
    AppendFormat(block, 2, CDataDictionary::kTypeFormat, 33, 2, {0, 10, 11}, "Car");
    const std::size_t second = block.size();
    AppendFormat(block, 1, CDataDictionary::kTypeText, 25, 0, {99});     // another type: skipped
    AppendFormat(block, 0, CDataDictionary::kTypeFormat, 29, 1, {0, 5}); // and the walk goes on
    AppendFormat(block, 9, CDataDictionary::kTypeFormat, 29, 1, {0, 6}); // beyond the slot count
    EXPECT_EQ(second, 12u + 45u);

    CDataDictionary dictionary;
    ASSERT_TRUE(LoadFormats(dictionary, block));
    const CDataDictionary::TFormatRecord* car = dictionary.GetFormat(2);
    ASSERT_NE(car, nullptr);
    EXPECT_STREQ(car->name, "Car");
    EXPECT_EQ(car->ids, (std::vector<std::int32_t>{0, 10, 11}));
    EXPECT_EQ(dictionary.GetFormat(1), nullptr);
    ASSERT_NE(dictionary.GetFormat(0), nullptr);
    EXPECT_EQ(dictionary.GetFormat(0)->ids, (std::vector<std::int32_t>{0, 5}));
    ASSERT_NE(dictionary.GetFormat(9), nullptr);
    EXPECT_EQ(dictionary.GetFormat(10), nullptr);
    EXPECT_EQ(dictionary.GetFormat(-1), nullptr);
}

TEST(DataDictionary, BadFormatLengthsEndTheWalkOrSkipTheRecord) {
    struct Case {
        const char* what;
        std::int32_t body, last;
        std::vector<std::int32_t> ids;
        bool endsWalk;
    } cases[] = {
        {"body 0", 0, 0, {}, true},
        {"body -12", -12, 0, {}, true},
        {"body 20", 20, 0, {}, true},
        {"body -200", -200, 0, {}, true},
        {"body past the block", 400, 0, {7}, true},
        {"last claims more ids than the body", 25, 3, {7}, false},
        {"last -1", 25, -1, {7}, false},
        {"last -5", 25, -5, {7}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Block block = Header(1, 2, 4);
        AppendFormat(block, 1, CDataDictionary::kTypeFormat, 25, 0, {3});
        AppendFormat(block, 2, CDataDictionary::kTypeFormat, c.body, c.last, c.ids);
        AppendFormat(block, 3, CDataDictionary::kTypeFormat, 25, 0, {4});
        CDataDictionary dictionary;
        ASSERT_TRUE(LoadFormats(dictionary, block));
        EXPECT_NE(dictionary.GetFormat(1), nullptr);
        EXPECT_EQ(dictionary.GetFormat(2), nullptr);
        EXPECT_EQ(dictionary.GetFormat(3) != nullptr, !c.endsWalk);
    }
}

TEST(DataDictionary, OutOfRangeIdsAndSlotCountsAreIgnored) {
    Block block = Header(0, 2, 0x7FFFFFFF);
    AppendRecord(block, -1, CDataDictionary::kTypeInt, 1);
    AppendRecord(block, 65536, CDataDictionary::kTypeInt, 1);
    AppendRecord(block, 0x7FFFFFFF, CDataDictionary::kTypeInt, 1);
    AppendRecord(block, 65535, CDataDictionary::kTypeInt, 1);
    CDataDictionary dictionary;
    ASSERT_TRUE(Load(dictionary, block));
    EXPECT_EQ(dictionary.GetSlotCount(), CDataDictionary::kMaxSlots);
    EXPECT_NE(dictionary.GetRecord(65535), nullptr);
    EXPECT_EQ(dictionary.GetRecord(65536), nullptr);

    Block negative = Header(0, 2, -5);
    AppendRecord(negative, 2, CDataDictionary::kTypeInt, 1);
    ASSERT_TRUE(Load(dictionary, negative));
    EXPECT_EQ(dictionary.GetSlotCount(), 3);

    Block formats = Header(1, 2, 0x40000000);
    AppendFormat(formats, -1, CDataDictionary::kTypeFormat, 25, 0, {3});
    AppendFormat(formats, 70000, CDataDictionary::kTypeFormat, 25, 0, {3});
    AppendFormat(formats, 4, CDataDictionary::kTypeFormat, 25, 0, {3});
    ASSERT_TRUE(LoadFormats(dictionary, formats));
    EXPECT_EQ(dictionary.GetFormatSlotCount(), CDataDictionary::kMaxSlots);
    EXPECT_NE(dictionary.GetFormat(4), nullptr);
}

TEST(DataDictionary, NamesWithoutTheirNulAreCut) {
    Block block = Header(0, 2, 1);
    AppendRecord(block, 0, CDataDictionary::kTypeInt, 1, std::string(21, 'n'));
    std::memset(&block[12 + 33], 'd', 256);
    CDataDictionary dictionary;
    ASSERT_TRUE(Load(dictionary, block));
    EXPECT_EQ(std::string(dictionary.GetRecord(0)->name), std::string(20, 'n'));
    EXPECT_EQ(std::string(dictionary.GetRecord(0)->description), std::string(255, 'd'));

    Block formats = Header(1, 2, 1);
    AppendFormat(formats, 0, CDataDictionary::kTypeFormat, 25, 0, {3}, std::string(21, 'f'));
    ASSERT_TRUE(LoadFormats(dictionary, formats));
    EXPECT_EQ(std::string(dictionary.GetFormat(0)->name), std::string(20, 'f'));
}

// The writer's blocks load back to the same tables, and every prefix of them loads the whole records
// before the cut or fails, never reading past the prefix (the sanitizer watches the exact-size copies).
TEST(DataDictionary, WrittenBlocksReadBackAndEveryPrefixIsSafe) {
    CDataDictionary source;
    for (std::int32_t id : {0, 3, 9}) {
        Record record;
        record.id = id;
        record.SetTexts("value " + std::to_string(id), "what it means");
        record.SetFloatDefault(static_cast<float>(id) * 0.5f);
        ASSERT_TRUE(source.AddRecord(record));
    }
    CDataDictionary::TFormatRecord format;
    format.SetName("Thing");
    format.ids = {0, 3, 9};
    ASSERT_TRUE(source.SetFormat(4, format));
    format.ids = {0};
    ASSERT_TRUE(source.SetFormat(1, format));
    const Block dictionaryBlock = source.WriteToMemory();
    const Block formatBlock = source.WriteFormatsToMemory();

    CDataDictionary copy;
    ASSERT_TRUE(Load(copy, dictionaryBlock));
    ASSERT_TRUE(LoadFormats(copy, formatBlock));
    EXPECT_EQ(copy.GetSlotCount(), 10);
    float value = 0.0f;
    EXPECT_TRUE(copy.GetFloatDefault(9, value));
    EXPECT_EQ(value, 4.5f);
    EXPECT_STREQ(copy.GetRecord(3)->name, "value 3");
    EXPECT_STREQ(copy.GetRecord(3)->description, "what it means");
    ASSERT_NE(copy.GetFormat(4), nullptr);
    EXPECT_EQ(copy.GetFormat(4)->ids, (std::vector<std::int32_t>{0, 3, 9}));
    EXPECT_STREQ(copy.GetFormat(4)->name, "Thing");

    for (std::size_t size = 0; size < dictionaryBlock.size(); ++size) {
        const Block prefix(dictionaryBlock.begin(), dictionaryBlock.begin() + static_cast<long>(size));
        CDataDictionary dictionary;
        const bool loaded = dictionary.LoadFromMemory(prefix.data(), prefix.size());
        ASSERT_EQ(loaded, size >= 12) << size;
        const std::size_t whole = size >= 12 ? (size - 12) / CDataDictionary::kRecordSize : 0;
        EXPECT_EQ(dictionary.GetRecord(9) != nullptr, whole >= 3) << size;
    }
    for (std::size_t size = 0; size < formatBlock.size(); ++size) {
        const Block prefix(formatBlock.begin(), formatBlock.begin() + static_cast<long>(size));
        CDataDictionary dictionary;
        ASSERT_EQ(dictionary.LoadFormatsFromMemory(prefix.data(), prefix.size()), size >= 12) << size;
        EXPECT_EQ(dictionary.GetFormat(4), nullptr) << size; // the last record is never whole
    }
}

} // namespace
