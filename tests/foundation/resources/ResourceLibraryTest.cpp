#include "ScratchFolder.h"

#include "foundation/math/Random.h"
#include "foundation/resources/LibraryCodec.h"
#include "foundation/resources/LibraryPacker.h"
#include "foundation/resources/LittleEndian.h"
#include "foundation/resources/ResourceLibrary.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

Bytes RandomBytes(std::size_t size, std::uint32_t seed, int range = 256) {
    Random::Seed(seed);
    Bytes out(size);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(Random::Next() % range);
    return out;
}

/// Packs (name, content, stamp) into part `part` of the library at base with method.
void Pack(const std::string& base, std::uint32_t part, std::uint32_t method,
          const std::vector<std::tuple<std::string, Bytes, std::int32_t>>& files) {
    CLibraryPacker packer(base, part);
    for (const auto& [name, content, stamp] : files)
        ASSERT_TRUE(packer.Add(name, content, stamp, method));
    std::string error;
    ASSERT_TRUE(packer.Write(error)) << error;
}

TEST(ResourceLibrary, PackedFolderReadsBackByteExactWithEveryMethod) {
    ScratchFolder scratch;
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"readme.txt", Text("resources")},
        {"meshes/car.kmb", RandomBytes(20000, 1)},
        {"meshes/deep/skewed.bin", RandomBytes(30000, 2, 5)},
        {"empty.dat", {}},
        {"textures/flat.tga", Bytes(4096, 0x55)},
    };
    for (const auto& [name, content] : files)
        scratch.Write("source/" + name, content, 1000);
    for (std::uint32_t method : {LibraryCodec::kStored, LibraryCodec::kHuffman, LibraryCodec::kZlib}) {
        SCOPED_TRACE("method " + std::to_string(method));
        const std::string base = scratch.Game() + "lib" + std::to_string(method) + "\\Game";
        std::filesystem::create_directories(scratch.Native("lib" + std::to_string(method)));
        CLibraryPacker packer(base, 1);
        std::string error;
        ASSERT_TRUE(packer.AddFolder(scratch.Game() + "source", method, std::nullopt, error)) << error;
        ASSERT_TRUE(packer.Write(error)) << error;

        CResourceLibrary library;
        EXPECT_TRUE(library.Open(base + "\\", false, false));
        EXPECT_TRUE(library.IsOpen());
        EXPECT_EQ(library.GetNextPart(), 2u);
        EXPECT_EQ(library.GetEntryCount(), files.size());
        for (const auto& [name, content] : files) {
            std::string gameName = name;
            std::replace(gameName.begin(), gameName.end(), '/', '\\');
            SCOPED_TRACE(gameName);
            const SLibraryEntry* entry = library.FindEntry(gameName);
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->stamp, 1000);
            EXPECT_EQ(entry->method, method);
            EXPECT_EQ(library.Extract(gameName), content);
        }
        EXPECT_EQ(library.Extract("MESHES\\CAR.KMB"), files[1].second);
        EXPECT_EQ(library.Extract("missing.txt"), std::nullopt);
    }
}

TEST(ResourceLibrary, NewerStampWinsBetweenParts) {
    struct Case {
        const char* name;
        std::int32_t stamp1, stamp2;
        const char* expect;
    };
    const Case cases[] = {
        {"part 2 newer", 100, 200, "from part 2"},
        {"part 1 newer", 200, 100, "from part 1"},
        {"equal stamps keep part 1", 150, 150, "from part 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        const std::string base = scratch.Game() + "Data";
        Pack(base, 1, LibraryCodec::kZlib, {{"a\\same.txt", Text("from part 1"), c.stamp1}});
        Pack(base, 2, LibraryCodec::kHuffman, {{"a\\same.txt", Text("from part 2"), c.stamp2}});
        CResourceLibrary library;
        library.Open(base, false, false);
        EXPECT_EQ(library.GetNextPart(), 3u);
        EXPECT_EQ(library.Extract("a\\same.txt"), Text(c.expect));
    }
}

TEST(ResourceLibrary, LooseFileReplacesPackedCopyOnlyWhenNewer) {
    ScratchFolder scratch;
    const std::string base = scratch.Game() + "Game";
    Pack(base, 1, LibraryCodec::kHuffman,
         {{"sub\\newer.txt", Text("packed newer"), 500},
          {"sub\\older.txt", Text("packed older"), 500},
          {"sub\\same.txt", Text("packed same"), 500}});
    const Bytes looseNewer = RandomBytes(3000, 9);
    scratch.Write("Game/sub/newer.txt", looseNewer, 501);
    scratch.Write("Game/sub/older.txt", "loose older", 499);
    scratch.Write("Game/sub/same.txt", "loose same", 500);
    scratch.Write("Game/only/loose.bin", "only loose", 10);
    CResourceLibrary library;
    library.Open(base, false, false);
    EXPECT_EQ(library.Extract("sub\\newer.txt"), looseNewer);
    EXPECT_EQ(library.FindEntry("sub\\newer.txt")->part, 0u);
    EXPECT_EQ(library.Extract("sub\\older.txt"), Text("packed older"));
    EXPECT_EQ(library.Extract("sub\\same.txt"), Text("packed same"));
    EXPECT_EQ(library.Extract("ONLY\\loose.bin"), Text("only loose"));

    // A loose file gone since the listing gives nothing.
    std::filesystem::remove(scratch.Native("Game/only/loose.bin"));
    EXPECT_EQ(library.Extract("only\\loose.bin"), std::nullopt);
}

TEST(ResourceLibrary, MissingDataPartKeepsEarlierPartsAndLooseFiles) {
    ScratchFolder scratch;
    const std::string base = scratch.Game() + "Game";
    Pack(base, 1, LibraryCodec::kZlib, {{"one.txt", Text("part one"), 1}});
    Pack(base, 2, LibraryCodec::kStored, {{"two.txt", Text("part two"), 1}});
    Pack(base, 3, LibraryCodec::kStored, {{"three.txt", Text("part three"), 1}});
    scratch.Write("Game/loose.txt", "loose", 1);
    std::filesystem::remove(scratch.Native("Game0002.RFD"));
    CResourceLibrary library;
    library.Open(base, false, false);
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(library.Extract("one.txt"), Text("part one"));
    EXPECT_EQ(library.Extract("two.txt"), std::nullopt);
    EXPECT_EQ(library.Extract("three.txt"), std::nullopt);
    EXPECT_EQ(library.Extract("loose.txt"), Text("loose"));

    // Without any part the library holds only its loose files.
    CResourceLibrary looseOnly;
    looseOnly.Open(scratch.Game() + "Game", false, false);
    std::filesystem::remove(scratch.Native("Game0001.RFH"));
    looseOnly.Open(scratch.Game() + "Game", false, false);
    EXPECT_TRUE(looseOnly.IsOpen());
    EXPECT_EQ(looseOnly.GetEntryCount(), 1u);
    EXPECT_EQ(looseOnly.Extract("loose.txt"), Text("loose"));
}

TEST(ResourceLibrary, NamesDifferingInCaseAreKeptAndTheFirstIsExtracted) {
    ScratchFolder scratch;
    const std::string base = scratch.Game() + "Game";
    Pack(base, 1, LibraryCodec::kStored, {{"abc.txt", Text("lower"), 1}, {"ABC.txt", Text("upper"), 1}});
    CResourceLibrary library;
    library.Open(base, false, true); // the preloaded form reads the same
    EXPECT_EQ(library.GetEntryCount(), 2u);
    // "ABC.txt" sorts before "abc.txt" byte by byte.
    EXPECT_EQ(library.Extract("abc.txt"), Text("upper"));
    EXPECT_EQ(library.Extract("Abc.TXT"), Text("upper"));
}

TEST(ResourceLibrary, CorruptIndexOrDataGivesNullNotGarbage) {
    struct Case {
        const char* name;
        std::size_t field; // offset within the second index record; SIZE_MAX = cut the data part
        std::uint32_t value;
        bool secondListed;
        const char* problem; // what Open finds wrong, naming the file; null when it finds nothing
    };
    const Case cases[] = {
        {"name length 0", 0, 0, false, "Game0001.RFH: "},
        {"name length beyond the part", 0, 100000, false, "Game0001.RFH: "},
        {"method 3", 8, 3, false, nullptr},
        {"stored size beyond the part", 12, 1u << 30, true, "Game0001.RFD: the library's data is cut short"},
        {"offset beyond the part", 16, 0xFFFFFFF0u, true, "Game0001.RFD: the library's data is cut short"},
        {"size prefix near 4 GB", SIZE_MAX - 1, 0, true, nullptr},
        {"data part cut short", SIZE_MAX, 0, true, "Game0001.RFD: the library's data is cut short"},
    };
    for (const auto& c : cases) {
        for (bool preloaded : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (preloaded ? ", preloaded" : ""));
            ScratchFolder scratch;
            const std::string base = scratch.Game() + "Game";
            CLibraryPacker packer(base, 1);
            ASSERT_TRUE(packer.Add("first.txt", Text("first"), 1, LibraryCodec::kStored));
            ASSERT_TRUE(packer.Add("second.bin", RandomBytes(5000, 4), 1, LibraryCodec::kZlib));
            Bytes index = packer.GetIndex();
            Bytes data = packer.GetData();
            const std::size_t second = LibraryIndex::kRecordHeaderSize + 10;
            if (c.field == SIZE_MAX)
                data.resize(data.size() - 10);
            else if (c.field == SIZE_MAX - 1)
                LittleEndian::WriteU32(data.data() + 5, 0xFFFFFFF0u);
            else
                LittleEndian::WriteU32(index.data() + second + c.field, c.value);
            scratch.Write("Game0001.RFH", index);
            scratch.Write("Game0001.RFD", data);
            CResourceLibrary library;
            library.Open(base, false, preloaded);
            EXPECT_EQ(library.Extract("first.txt"), Text("first"));
            EXPECT_EQ(library.FindEntry("second.bin") != nullptr, c.secondListed);
            EXPECT_EQ(library.Extract("second.bin"), std::nullopt);
            // Found at the start, where the game can still say so, not first when the entry is asked for.
            const std::vector<std::string>& problems = library.GetProblems();
            if (!c.problem) {
                EXPECT_TRUE(problems.empty()) << problems.front();
                continue;
            }
            ASSERT_EQ(problems.size(), 1u);
            EXPECT_NE(problems[0].find(c.problem), std::string::npos) << problems[0];
        }
    }
}

TEST(ResourceLibrary, ARecordOfAnUnknownMethodIsSkippedAndTheRestOfItsPartRead) {
    ScratchFolder scratch;
    const std::string base = scratch.Game() + "Game";
    Pack(base, 1, LibraryCodec::kStored, {{"later.txt", Text("old copy"), 1}});
    CLibraryPacker newer(base, 2);
    for (const char* name : {"first.txt", "odd.txt", "later.txt"})
        ASSERT_TRUE(newer.Add(name, Text(std::string("new ") + name), 2, LibraryCodec::kStored));
    Bytes index = newer.GetIndex();
    const std::size_t odd = LibraryIndex::kRecordHeaderSize + sizeof "first.txt";
    LittleEndian::WriteU32(index.data() + odd + 8, 9); // no such method
    scratch.Write("Game0002.RFH", index);
    scratch.Write("Game0002.RFD", newer.GetData());

    CResourceLibrary library;
    library.Open(base, false, false);
    EXPECT_EQ(library.Extract("first.txt"), Text("new first.txt"));
    EXPECT_EQ(library.FindEntry("odd.txt"), nullptr);
    EXPECT_EQ(library.Extract("later.txt"), Text("new later.txt"));
}

} // namespace
