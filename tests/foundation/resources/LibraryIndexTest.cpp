#include "foundation/resources/LibraryIndex.h"

#include <gtest/gtest.h>

using namespace zentrix;

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
        std::vector<std::string> skipped;
        const bool whole = LibraryIndex::Parse(std::span(index).first(length), 7, out, error, skipped);
        EXPECT_TRUE(skipped.empty());
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

} // namespace
