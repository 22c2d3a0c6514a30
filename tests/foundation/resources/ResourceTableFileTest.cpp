#include "foundation/resources/LittleEndian.h"
#include "foundation/resources/ResourceTableWriter.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kSignatureMessage = "invalid file signature (file created with previous version?)";

/// A table image with the given records (id, name) and count field.
Bytes TableImage(const std::vector<std::pair<std::uint32_t, std::string>>& records, std::int32_t count) {
    Bytes image(CResourceTableFile::kHeaderSize, 0);
    std::memcpy(image.data(), "JovRTB 1.0", 11);
    LittleEndian::WriteU32(image.data() + 12, static_cast<std::uint32_t>(count));
    std::memcpy(image.data() + 16, "x:\\working\\", 11);
    for (const auto& [id, name] : records) {
        LittleEndian::AppendU32(image, id);
        LittleEndian::AppendU32(image, 0xFFFFFFFFu);
        image.insert(image.end(), name.begin(), name.end());
        image.insert(image.end(), 4, 0);
    }
    return image;
}

Bytes TableImage(const std::vector<std::pair<std::uint32_t, std::string>>& records) {
    return TableImage(records, static_cast<std::int32_t>(records.size()));
}

std::string NameOf(const CResourceTableFile& table, std::uint32_t id) {
    auto record = table.GetRecord(id);
    return record ? std::string(record->name) : "<none>";
}

TEST(ResourceTableFile, RejectsFilesWithoutAValidHeader) {
    Bytes wrongSignature = TableImage({{1, "a"}});
    wrongSignature[3] = 'X';
    const Bytes header = TableImage({});
    Bytes oldVersion = header;
    std::memcpy(oldVersion.data(), "JovRTB 0.9", 11);
    struct Case {
        const char* name;
        Bytes image;
        const char* message;
    };
    const Case cases[] = {
        {"empty", {}, "couldn't get resource table file size"},
        {"100 bytes", Bytes(header.begin(), header.begin() + 100), kSignatureMessage},
        {"1055 bytes", Bytes(header.begin(), header.end() - 1), kSignatureMessage},
        {"wrong signature", wrongSignature, kSignatureMessage},
        {"older version", oldVersion, kSignatureMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CResourceTableFile table;
        std::string error;
        EXPECT_FALSE(table.LoadFromBytes(c.image, &error));
        EXPECT_EQ(error, c.message);
        EXPECT_FALSE(table.HasTable());
    }
}

TEST(ResourceTableFile, IndexesRecordsWithinTheBody) {
    struct Case {
        const char* name;
        Bytes image;
        std::vector<std::pair<std::uint32_t, std::string>> expect; // id -> name, "<none>" = no record
    };
    Bytes cutInName = TableImage({{1, "one"}, {2, "twotwotwo"}});
    cutInName.resize(cutInName.size() - 8);
    Bytes cutInPad = TableImage({{1, "one"}, {2, "two"}});
    cutInPad.resize(cutInPad.size() - 1);
    const Case cases[] = {
        {"header only, count 0", TableImage({}), {{1, "<none>"}}},
        {"count 0 with records", TableImage({{1, "one"}}, 0), {{1, "<none>"}}},
        {"negative count", TableImage({{1, "one"}}, -3), {{1, "<none>"}}},
        {"duplicate id, later wins", TableImage({{5, "first"}, {5, "second"}}), {{5, "second"}}},
        {"id 70000 mid-body",
         TableImage({{1, "one"}, {70000, "big"}, {3, "three"}}),
         {{1, "one"}, {3, "<none>"}, {70000 & 0xFFFF, "<none>"}}},
        {"count beyond the body", TableImage({{1, "one"}, {2, "two"}}, 50), {{1, "one"}, {2, "two"}}},
        {"body ends inside a name", cutInName, {{1, "one"}, {2, "<none>"}}},
        {"body ends inside the pad", cutInPad, {{1, "one"}, {2, "<none>"}}},
        {"id 0 and 65535", TableImage({{0, "zero"}, {65535, "last"}}), {{0, "zero"}, {65535, "last"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CResourceTableFile table;
        std::string error;
        ASSERT_TRUE(table.LoadFromBytes(c.image, &error)) << error;
        for (const auto& [id, name] : c.expect)
            EXPECT_EQ(NameOf(table, id), name) << "id " << id;
        EXPECT_EQ(table.GetRecord(70000), std::nullopt);
        EXPECT_EQ(table.GetRecordLength(70000), 0u);
    }
}

TEST(ResourceTableFile, OutOfRangeIdReadsZeroAfterLoading) {
    Bytes image = TableImage({{1, "one"}, {70000, "big"}, {3, "three"}});
    CResourceTableFile table;
    ASSERT_TRUE(table.LoadFromBytes(image, nullptr));
    const std::size_t bigRecord = CResourceTableFile::kHeaderSize + 12 + 3;
    EXPECT_EQ(LittleEndian::ReadU32(table.GetBytes().data() + bigRecord), 0u);
    EXPECT_EQ(table.GetFileLength(), image.size());
}

TEST(ResourceTableFile, EveryPrefixLoadsOnlyWholeRecordsOrFails) {
    Bytes image = TableImage({{1, "alpha"}, {2, "be"}, {3, "gamma\\delta"}});
    const std::size_t ends[] = {1056 + 17, 1056 + 17 + 14, image.size()};
    for (std::size_t length = 0; length < image.size(); ++length) {
        SCOPED_TRACE(length);
        CResourceTableFile table;
        const bool loaded =
            table.LoadFromBytes(Bytes(image.begin(), image.begin() + static_cast<long>(length)), nullptr);
        EXPECT_EQ(loaded, length >= CResourceTableFile::kHeaderSize);
        for (std::uint32_t id = 1; id <= 3; ++id)
            EXPECT_EQ(table.GetRecord(id).has_value(), length >= ends[id - 1]) << "id " << id;
    }
}

TEST(ResourceTableFile, FailedReloadKeepsTheOldTable) {
    CResourceTableFile table;
    ASSERT_TRUE(table.LoadFromBytes(TableImage({{7, "seven"}}), nullptr));
    const std::string_view before = table.GetRecord(7)->name;
    std::string error;
    EXPECT_FALSE(table.LoadFromBytes(Bytes(100, 0), &error));
    EXPECT_EQ(table.GetRecord(7)->name, "seven");
    EXPECT_EQ(table.GetRecord(7)->name.data(), before.data());
}

TEST(ResourceTableFile, FindByNameMatchesWholeOrPartOfTheName) {
    CResourceTableWriter table;
    ASSERT_TRUE(table.Create({"", "", "", ""}));
    ASSERT_TRUE(table.AddRecord(10, "Meshes\\Jungle\\Palm.kmb"));
    ASSERT_TRUE(table.AddRecord(20, "palm.kmb"));
    ASSERT_TRUE(table.AddRecord(30, std::string(260, 'p')));
    struct Case {
        const char* name;
        std::string search;
        bool whole;
        int first, end;
        int expect;
    };
    const Case cases[] = {
        {"substring in other case", "JUNGLE\\palm", false, 0, 65536, 10},
        {"substring, not whole", "JUNGLE\\palm", true, 0, 65536, -1},
        {"whole name in other case", "PALM.KMB", true, 0, 65536, 20},
        {"substring finds the lowest id", "palm.kmb", false, 0, 65536, 10},
        {"range skips lower ids", "palm.kmb", false, 11, 65536, 20},
        {"range end is exclusive", "palm.kmb", false, 11, 20, -1},
        {"names of 260 characters never match", std::string(260, 'p'), true, 0, 65536, -1},
        {"nor do records of 260 characters", "ppp", false, 25, 65536, -1},
        {"range beyond the ids", "palm", false, -5, 1 << 20, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(table.FindByName(c.search, c.whole, c.first, c.end), c.expect);
    }
}

TEST(ResourceTableFile, DirectoryFieldsAreBounded) {
    Bytes image = TableImage({});
    std::memset(image.data() + 16 + 260, 'd', 260); // directory 1 without its NUL
    CResourceTableWriter table;
    ASSERT_TRUE(table.LoadFromBytes(image, nullptr));
    std::string field;
    EXPECT_TRUE(table.GetDirectoryField(field, 0));
    EXPECT_EQ(field, "x:\\working\\");
    EXPECT_TRUE(table.GetDirectoryField(field, 1));
    EXPECT_EQ(field, std::string(259, 'd'));
    EXPECT_FALSE(table.GetDirectoryField(field, 4));
    EXPECT_EQ(field, "");
    EXPECT_FALSE(table.SetDirectoryField(2, std::string(260, 'e')));
    EXPECT_TRUE(table.SetDirectoryField(2, std::string(259, 'e')));
    EXPECT_TRUE(table.GetDirectoryField(field, 2));
    EXPECT_EQ(field, std::string(259, 'e'));
    EXPECT_FALSE(table.SetDirectoryField(4, "x"));
}

TEST(ResourceTableWriter, BuildsTheFileLayout) {
    CResourceTableWriter table;
    ASSERT_TRUE(table.Create({"w\\", "t\\", "r\\", "a\\"}));
    ASSERT_TRUE(table.AddRecord(1, "a"));
    ASSERT_TRUE(table.AddRecord(2, "bc"));
    EXPECT_FALSE(table.AddRecord(0, "zero"));
    EXPECT_FALSE(table.AddRecord(65536, "big"));
    EXPECT_EQ(table.GetFileLength(), CResourceTableFile::kHeaderSize + 27);
    EXPECT_EQ(table.GetNumRecords(), 2);
    EXPECT_EQ(table.GetRecordLength(2), 14u);

    CResourceTableFile reread;
    ASSERT_TRUE(reread.LoadFromBytes(Bytes(table.GetBytes().begin(), table.GetBytes().end()), nullptr));
    EXPECT_EQ(NameOf(reread, 1), "a");
    EXPECT_EQ(NameOf(reread, 2), "bc");
    EXPECT_EQ(reread.GetRecord(2)->checkedOutTo, CResourceTableFile::kNobody);
    std::string field;
    reread.GetDirectoryField(field, 3);
    EXPECT_EQ(field, "a\\");
}

} // namespace
