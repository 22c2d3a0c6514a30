#include "foundation/data/DataFile.h"
#include "foundation/data/AssetByteSource.h"
#include "foundation/data/DataBytes.h"
#include "foundation/data/DataFileCache.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Block = std::vector<std::uint8_t>;
using Result = CDataFile::SetResult;

constexpr std::int32_t kFormat = 5;

// Ids 0 (format), 1 (user), 10 int = 7, 11 float = 1.5, 12 vector = (1, 2, 3), 13 text, 14 int = 3.
// Format 5 lists all but 14.
class DataFileTest : public testing::Test {
protected:
    void SetUp() override {
        auto add = [this](std::int32_t id, auto setDefault) {
            CDataDictionary::TDataIDRecord record;
            record.id = id;
            setDefault(record);
            ASSERT_TRUE(dictionary.AddRecord(record));
        };
        add(0, [](auto& r) { r.SetIntDefault(0); });
        add(1, [](auto& r) { r.SetText(); });
        add(10, [](auto& r) { r.SetIntDefault(7); });
        add(11, [](auto& r) { r.SetFloatDefault(1.5f); });
        add(12, [](auto& r) { r.SetVectorDefault({1.0f, 2.0f, 3.0f}); });
        add(13, [](auto& r) { r.SetText(); });
        add(14, [](auto& r) { r.SetIntDefault(3); });
        CDataDictionary::TFormatRecord format;
        format.ids = {0, 1, 10, 11, 12, 13};
        ASSERT_TRUE(dictionary.SetFormat(kFormat, format));
    }

    static Block Header(std::uint32_t kind = 2, std::uint32_t version = 2) {
        Block block;
        DataBytes::Append32(block, kind);
        DataBytes::Append32(block, version);
        DataBytes::Append32(block, 0xFFFFFFFFu);
        return block;
    }
    static void AppendRecord(Block& block, std::int32_t id, std::uint32_t type, std::int32_t size,
                             std::int32_t last, const Block& values) {
        DataBytes::Append32(block, static_cast<std::uint32_t>(id));
        DataBytes::Append32(block, type);
        DataBytes::Append16(block, size);
        DataBytes::Append16(block, last);
        block.insert(block.end(), values.begin(), values.end());
    }
    static Block Ints(std::initializer_list<std::int32_t> values) {
        Block bytes;
        for (std::int32_t v : values)
            DataBytes::Append32(bytes, static_cast<std::uint32_t>(v));
        return bytes;
    }
    static Block Floats(std::initializer_list<float> values) {
        Block bytes(values.size() * 4);
        std::size_t i = 0;
        for (float v : values)
            DataBytes::WriteF32(&bytes[4 * i++], v);
        return bytes;
    }
    // A file of format 5 storing 10 = {4, 5}, 11 = {0.25, 0.5, 0.75}, 12 = one vector, 13 = text, and 14.
    Block Sample() const {
        Block block = Header();
        AppendRecord(block, 0, 0, 4, 0, Ints({kFormat}));
        AppendRecord(block, 10, 0, 8, 1, Ints({4, 5}));
        AppendRecord(block, 11, 1, 12, 2, Floats({0.25f, 0.5f, 0.75f}));
        AppendRecord(block, 12, 2, 12, 0, Floats({-1.0f, -2.0f, -3.0f}));
        const std::string text = "twenty characters ok";
        Block textBytes(text.begin(), text.end());
        textBytes.push_back(0);
        AppendRecord(block, 13, 3, static_cast<std::int32_t>(textBytes.size()), 0, textBytes);
        AppendRecord(block, 14, 0, 4, 0, Ints({99}));
        return block;
    }

    CDataDictionary dictionary;
};

TEST_F(DataFileTest, TypedReadsGiveStoredValuesDefaultsOrFailure) {
    for (bool inPlace : {true, false}) {
        SCOPED_TRACE(inPlace ? "in place" : "copied");
        CDataFile file(dictionary);
        ASSERT_TRUE(file.LoadFromMemory(Sample(), inPlace));
        struct Case {
            const char* what;
            std::int32_t id;
            int index;
            bool ok;
            std::int32_t value;
        } ints[] = {
            {"stored element 0", 10, 0, true, 4},
            {"stored element 1", 10, 1, true, 5},
            {"past the stored elements", 10, 2, true, 7},
            {"far past them", 10, 255, true, 7},
            {"negative index", 10, -1, false, -100},
            {"the format id", 0, 0, true, kFormat},
            {"outside the format although stored", 14, 0, false, -100},
            {"a float id", 11, 0, false, -100},
            {"unknown id", 20, 0, false, -100},
            {"negative id", -1, 0, false, -100},
        };
        for (const Case& c : ints) {
            SCOPED_TRACE(c.what);
            std::int32_t out = -100;
            EXPECT_EQ(file.GetInt(c.id, out, c.index), c.ok);
            EXPECT_EQ(out, c.value);
        }
        float f = -100.0f;
        EXPECT_TRUE(file.GetFloat(11, f, 2));
        EXPECT_EQ(f, 0.75f);
        EXPECT_TRUE(file.GetFloat(11, f, 3));
        EXPECT_EQ(f, 1.5f);
        f = -100.0f;
        EXPECT_FALSE(file.GetFloat(10, f, 0));
        EXPECT_EQ(f, -100.0f);
        CVector v;
        EXPECT_TRUE(file.GetVector(12, v, 0));
        EXPECT_EQ(v.z, -3.0f);
        EXPECT_TRUE(file.GetVector(12, v, 1));
        EXPECT_EQ(v.z, 3.0f);
        EXPECT_EQ(file.GetCount(10), 2);
        EXPECT_EQ(file.GetCount(11), 3);
        EXPECT_EQ(file.GetCount(1), 0);
        EXPECT_EQ(file.GetCount(-4), 0);
        EXPECT_EQ(file.GetCount(99999), 0);
    }
}

TEST_F(DataFileTest, TextsAreCutToTheBuffer) {
    CDataFile file(dictionary);
    ASSERT_TRUE(file.LoadFromMemory(Sample(), true));
    struct Case {
        std::int32_t id;
        std::size_t capacity;
        bool ok;
        std::string text;
    } cases[] = {
        {13, 8, true, "twenty "},
        {13, 64, true, "twenty characters ok"},
        {13, 21, true, "twenty characters ok"},
        {13, 1, true, ""},
        {1, 64, true, ""}, // a text the file does not store
        {13, 0, false, "keep"},
        {10, 64, false, "keep"},
        {14, 64, false, "keep"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " in " + std::to_string(c.capacity));
        char buffer[64] = "keep";
        EXPECT_EQ(file.GetText(c.id, buffer, c.capacity), c.ok);
        EXPECT_EQ(std::string(buffer), c.text);
    }
}

TEST_F(DataFileTest, BlocksThatAreNoDataFileFail) {
    for (const Block& block : {Header(2, 1), Header(0, 2)}) {
        CDataFile file(dictionary);
        ASSERT_TRUE(file.LoadFromMemory(Sample(), true));
        EXPECT_FALSE(file.LoadFromMemory(block, true));
        EXPECT_FALSE(file.IsLoaded());
        EXPECT_EQ(file.GetCount(10), 0); // the old values are gone
    }
}

// Records a getter could read past, or that would stall the walk, are left out; those before stay.
TEST_F(DataFileTest, UnreadableRecordsAreIgnored) {
    struct Case {
        const char* what;
        std::int32_t id;
        std::uint32_t type;
        std::int32_t size, last;
        Block values;
        bool endsWalk;
    } cases[] = {
        {"last index 5 in 8 bytes", 10, 0, 8, 5, Ints({1, 2}), false},
        {"negative last index", 10, 0, 4, -1, Ints({1}), false},
        {"vector in 8 bytes", 12, 2, 8, 0, Ints({1, 2}), false},
        {"text without NUL", 13, 3, 4, 0, Block{'a', 'b', 'c', 'd'}, false},
        {"text with two elements", 13, 3, 4, 1, Block{'a', 0, 'c', 0}, false},
        {"type 7", 10, 7, 4, 0, Ints({1}), false},
        {"negative id", -10, 0, 4, 0, Ints({1}), false},
        {"id beyond the slots", 15, 0, 4, 0, Ints({1}), false},
        {"negative size", 10, 0, -12, 0, Ints({1}), true},
        {"size past the block", 10, 0, 400, 0, Ints({1}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Block block = Header();
        AppendRecord(block, 0, 0, 4, 0, Ints({kFormat}));
        AppendRecord(block, c.id, c.type, c.size, c.last, c.values);
        AppendRecord(block, 11, 1, 4, 0, Floats({9.0f}));
        CDataFile file(dictionary);
        ASSERT_TRUE(file.LoadFromMemory(block, true));
        EXPECT_EQ(file.GetCount(0), 1);
        EXPECT_EQ(file.GetCount(c.id), 0);
        std::int32_t i = 0;
        EXPECT_TRUE(file.GetInt(10, i, 1));
        EXPECT_EQ(i, 7);
        char text[8] = "x";
        EXPECT_TRUE(file.GetText(13, text, sizeof text));
        EXPECT_STREQ(text, "");
        EXPECT_EQ(file.GetCount(11), c.endsWalk ? 0 : 1);
    }
}

TEST_F(DataFileTest, EveryPrefixLoadsWhatIsWholeOrFails) {
    const Block block = Sample();
    for (std::size_t size = 0; size < block.size(); ++size) {
        CDataFile file(dictionary);
        const bool loaded =
            file.LoadFromMemory(Block(block.begin(), block.begin() + static_cast<long>(size)), true);
        ASSERT_EQ(loaded, size >= 12) << size;
        EXPECT_EQ(file.GetCount(14), 0) << size; // the last record is never whole
        // The format id is whole from 28 bytes on, the two integers of id 10 from 48.
        std::int32_t value = 0;
        EXPECT_EQ(file.GetInt(10, value, 1), size >= 28) << size;
        EXPECT_EQ(value, size >= 48 ? 5 : size >= 28 ? 7 : 0) << size;
    }
}

// The refusals themselves are shown through mkdata's sources; here the limits that still pass.
TEST_F(DataFileTest, SettersTakeValuesUpToTheirLimits) {
    CDataFile file(dictionary);
    EXPECT_EQ(file.SetInts(10, std::vector<std::int32_t>{1}), Result::kNotInFormat); // no format yet
    ASSERT_EQ(file.SetInts(0, std::vector<std::int32_t>{kFormat}), Result::kSet);
    EXPECT_EQ(file.SetInts(10, std::vector<std::int32_t>(256, 1)), Result::kSet);
    EXPECT_EQ(file.SetFloats(11, std::vector<float>(256, 1.0f)), Result::kSet);
    EXPECT_EQ(file.SetVectors(12, std::vector<CVector>(85)), Result::kSet);
    EXPECT_EQ(file.SetText(13, std::string(1023, 'a')), Result::kSet);
    EXPECT_EQ(file.SetInts(10, std::vector<std::int32_t>(257, 1)), Result::kTooMany);
    EXPECT_EQ(file.GetCount(10), 256); // a refused value leaves the stored one
}

// Stored files leave out what reads the same without them, and name the user who wrote them.
TEST_F(DataFileTest, WrittenFilesReadBackWithTheStoredConventions) {
    CDataFile source(dictionary);
    ASSERT_EQ(source.SetInts(0, std::vector<std::int32_t>{kFormat}), Result::kSet);
    ASSERT_EQ(source.SetInts(10, std::vector<std::int32_t>{7}), Result::kSet);     // the default: left out
    ASSERT_EQ(source.SetFloats(11, std::vector<float>{1.5f, 8.0f}), Result::kSet); // a list: kept
    ASSERT_EQ(source.SetVectors(12, std::vector<CVector>{{0.0f, 0.0f, 1.0f}}), Result::kSet);
    ASSERT_EQ(source.SetText(13, ""), Result::kSet); // empty: left out
    const Block block = source.WriteToMemory("builder");

    CDataFile file(dictionary);
    ASSERT_TRUE(file.LoadFromMemory(block, false));
    EXPECT_EQ(file.GetCount(10), 0);
    EXPECT_EQ(file.GetCount(11), 2);
    EXPECT_EQ(file.GetCount(12), 1);
    EXPECT_EQ(file.GetCount(13), 0);
    char user[16] = "";
    EXPECT_TRUE(file.GetText(1, user, sizeof user));
    EXPECT_STREQ(user, "builder");
    float f = 0.0f;
    EXPECT_TRUE(file.GetFloat(11, f, 1));
    EXPECT_EQ(f, 8.0f);
    std::int32_t i = 0;
    EXPECT_TRUE(file.GetInt(10, i, 0));
    EXPECT_EQ(i, 7);
    // Header, format id, user "builder", two floats, one vector.
    EXPECT_EQ(block.size(), 12u + 16u + 20u + 20u + 24u);
}

class FakeAssets : public CAssetByteSource {
public:
    std::vector<std::uint8_t> GetAssetBytes(std::int32_t assetId) override {
        ++requests[assetId];
        auto it = blocks.find(assetId);
        return it == blocks.end() ? Block{} : it->second;
    }
    std::map<std::int32_t, Block> blocks;
    std::map<std::int32_t, int> requests;
};

TEST_F(DataFileTest, CacheKeepsLoadedFilesAndRetriesFailedOnes) {
    FakeAssets assets;
    assets.blocks[300] = Sample();
    assets.blocks[301] = Block{};
    assets.blocks[302] = Header(2, 1);
    const int filesBefore = CDataFile::GetLiveCount();
    {
        CDataFileCache cache(dictionary, assets);
        EXPECT_EQ(CDataFileCache::GetLiveCount(), 1);
        CDataFile* first = cache.GetDataFile(300);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->GetAssetId(), 300);
        for (std::int32_t id : {301, 302, 303}) {
            EXPECT_EQ(cache.GetDataFile(id), nullptr);
            EXPECT_EQ(cache.GetDataFile(id), nullptr);
            EXPECT_EQ(assets.requests[id], 2) << id; // a failure is not remembered
        }
        EXPECT_EQ(cache.GetDataFile(300), first);
        assets.blocks[301] = Sample();
        CDataFile* late = cache.GetDataFile(301);
        ASSERT_NE(late, nullptr);
        EXPECT_EQ(cache.GetDataFile(300), first);
        EXPECT_EQ(cache.GetDataFile(301), late);
        EXPECT_EQ(assets.requests[300], 1);
        EXPECT_EQ(cache.GetFileCount(), 2u);
        EXPECT_EQ(CDataFile::GetLiveCount(), filesBefore + 2);
        std::int32_t value = 0;
        EXPECT_TRUE(late->GetInt(10, value, 1));
        EXPECT_EQ(value, 5);
    }
    EXPECT_EQ(CDataFile::GetLiveCount(), filesBefore);
    EXPECT_EQ(CDataFileCache::GetLiveCount(), 0);
}

} // namespace
