#include "foundation/resources/LibraryIndex.h"
#include "foundation/resources/LittleEndian.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<SLibraryEntry> SampleEntries() {
    return {{"meshes\\car.kmb", 100, 0, 12, 0, 0},
            {"textures\\sky.tga", -5, 1, 3000, 0, 12},
            {"a", 0x7FFFFFFF, 2, 44, 0, 3012}};
}

TEST(LibraryIndex, EveryPrefixKeepsTheWholeRecordsBeforeTheCut) {
    Bytes index;
    std::vector<std::size_t> ends;
    for (const auto& e : SampleEntries()) {
        LibraryIndex::AppendRecord(index, e);
        ends.push_back(index.size());
    }
    const auto want = SampleEntries();
    for (std::size_t length = 0; length <= index.size(); ++length) {
        SCOPED_TRACE(length);
        std::vector<SLibraryEntry> out;
        std::string error;
        const bool whole = LibraryIndex::Parse(std::span(index).first(length), 7, out, error);
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= length)
            ++complete;
        const bool atBoundary = length == 0 || (complete > 0 && ends[complete - 1] == length);
        EXPECT_EQ(whole, atBoundary);
        EXPECT_EQ(error.empty(), atBoundary);
        ASSERT_EQ(out.size(), complete);
        for (std::size_t i = 0; i < complete; ++i) {
            EXPECT_EQ(out[i].name, want[i].name);
            EXPECT_EQ(out[i].stamp, want[i].stamp);
            EXPECT_EQ(out[i].method, want[i].method);
            EXPECT_EQ(out[i].storedSize, want[i].storedSize);
            EXPECT_EQ(out[i].offset, want[i].offset);
            EXPECT_EQ(out[i].part, 7u);
        }
    }
}

TEST(LibraryIndex, CorruptRecordEndsThePartKeepingEarlierRecords) {
    Bytes good;
    LibraryIndex::AppendRecord(good, {"first", 1, 0, 4, 0, 0});
    struct Case {
        const char* name;
        std::size_t field; // offset within the second record
        std::uint32_t value;
    };
    const Case cases[] = {
        {"name length 0", 0, 0},
        {"name length beyond the file", 0, 1000},
        {"name length near 4 GB", 0, 0xFFFFFFF0u},
        {"name without its end", 0, 3}, // "second" has 7 bytes; its third is not a NUL
        {"method 3", 8, 3},
        {"method 0xFFFFFFFF", 8, 0xFFFFFFFFu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes index = good;
        LibraryIndex::AppendRecord(index, {"second", 2, 1, 4, 0, 4});
        LibraryIndex::AppendRecord(index, {"third", 3, 0, 4, 0, 8});
        LittleEndian::WriteU32(index.data() + good.size() + c.field, c.value);
        std::vector<SLibraryEntry> out;
        std::string error;
        EXPECT_FALSE(LibraryIndex::Parse(index, 1, out, error));
        EXPECT_FALSE(error.empty());
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].name, "first");
    }
}

} // namespace
