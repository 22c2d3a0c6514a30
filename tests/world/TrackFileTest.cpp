// Track files: the version 5 image the grid writes, the reader of versions 1 to 5 over the sample tracks
// and their older fixtures, and what the reader refuses.

#include "TrackDoubles.h"

#include "foundation/assets/FileSaver.h"
#include "platform/fs/FileSystem.h"
#include "support/TempFolder.h"
#include "world/GridCell.h"
#include "world/TrackFileImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;
using worldtest::Log;

void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutFloat(Bytes& bytes, std::size_t offset, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Put32(bytes, offset, bits);
}

/// Where the record of cell (x, z) starts in an image of a version, and where its piece id lies.
std::size_t RecordAt(std::uint32_t version, std::uint32_t x, std::uint32_t z) {
    const std::size_t starts[] = {0, 32, 28, 40, 40, 36};
    const std::size_t strides[] = {0, 128, 96, 128, 1024, 1024};
    return starts[version] + strides[version] * x + (version == 2 ? 12 : 16) * z;
}
std::size_t PieceIdAt(std::uint32_t version, std::uint32_t x, std::uint32_t z) {
    return RecordAt(version, x, z) + (version == 1 ? 8 : 4);
}

/// The sample tracks by file, version 5.
const char* const kSamples[] = {"GameTracks/demo.trk", "GameTracks/jungle.trk", "GameTracks/ice.trk",
                                "GameTracks/desert.trk", "SavedTracks/hills.trk"};

class TrackFile : public worldtest::TrackFixture {
protected:
    bool Load(const Bytes& bytes) { return Grid().LoadFromImage(bytes); }
    Bytes Save() {
        const std::unique_ptr<CTrackFileImage> image = Grid().CreateSaveData();
        return image ? Bytes(image->Bytes().begin(), image->Bytes().end()) : Bytes();
    }
    /// The state a version 5 image was saved in: its theme, lighting mode and route.
    void TakeStateOf(const Bytes& v5) {
        assets->SetWorld(v5[24], true);
        engine->SetupLighting(v5[28] != 0 ? 0 : 1);
        routeClosed = v5[65572] == 1;
    }
    /// A blank image as the writer makes it, with its header.
    static Bytes Blank(std::uint32_t index, std::uint32_t theme, std::uint32_t lighting, bool route) {
        Bytes bytes(65576, 0);
        std::memcpy(bytes.data(), "KAVO VORN", 9);
        Put32(bytes, 12, 5);
        Put32(bytes, 16, 65576);
        Put32(bytes, 20, index);
        Put32(bytes, 24, theme);
        Put32(bytes, 28, lighting);
        bytes[65572] = route ? 1 : 0;
        for (std::uint32_t x = 0; x < 64; ++x)
            for (std::uint32_t z = 0; z < 64; ++z)
                Put32(bytes, PieceIdAt(5, x, z), 0xFFFFFFFFu);
        return bytes;
    }
};

TEST_F(TrackFile, AnEmptyGridSavesAsTheBlankImageOfItsSize) {
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "16 x 16" : "8 x 8");
        const std::uint32_t side = large ? 16 : 8;
        Grid().AllocateCells(side, side);
        assets->SetWorld(large ? 1 : 2, true);
        engine->SetupLighting(large ? 0 : 1);
        routeClosed = large;
        Bytes expected = Blank(large ? 1 : 0, large ? 1 : 2, large ? 1 : 0, large);
        // The cells of the grid have no ground; the records beyond it hold 0.0.
        for (std::uint32_t x = 0; x < side; ++x)
            for (std::uint32_t z = 0; z < side; ++z)
                PutFloat(expected, RecordAt(5, x, z), -1.0f);
        EXPECT_EQ(Save(), expected);
    }
}

TEST_F(TrackFile, EverySampleTrackReadsAndWritesBackByteForByte) {
    for (const char* sample : kSamples) {
        SCOPED_TRACE(sample);
        const Bytes v5 = ReadSample(sample);
        ASSERT_EQ(v5.size(), 65576u);
        routeClosed = v5[65572] == 1;
        CWorldMan::RemoveTrack();
        assets->SetWorld(v5[24] == 0 ? 1 : 0, true); // the file sets its own
        log.clear();
        ASSERT_TRUE(Load(v5));
        EXPECT_EQ(assets->GetWorld(), v5[24]);
        EXPECT_EQ(engine->GetLightingMode(), v5[28] != 0 ? 0 : 1);
        EXPECT_EQ(Grid().GetSizeX(), v5[20] == 1 ? 16u : 8u);
        EXPECT_EQ(Without({"spawn", "log", "script"}),
                  (Log{"size index " + std::to_string(v5[20]), "base plate", "update tiles"}));
        EXPECT_EQ(Save(), v5);
    }
    // The last, the large track: its raised pieces stand on supports turned with them, the bare raised
    // cells on height blocks.
    const struct {
        std::uint32_t x, z;
        int ground, rotation;
    } cells[] = {{3, 3, 15230, 1}, {4, 3, 15230, 1}, {10, 7, 15231, 0},  {12, 12, 15232, 3},
                 {0, 0, 15292, 0}, {7, 7, 15294, 0}, {15, 15, 15295, 0}, {8, 8, -1, 0}};
    for (const auto& c : cells) {
        const auto* ground = dynamic_cast<const CTrackObject*>(Grid().GetCellObject(c.x, c.z));
        EXPECT_EQ(ground ? ground->GetTypeId() : -1, c.ground) << c.x << "," << c.z;
        EXPECT_EQ(ground ? ground->GetRotation() : 0, c.rotation) << c.x << "," << c.z;
    }
    EXPECT_EQ(Pieces(), "0,15:15202/2 2,12:15203/2 3,3:15202/1 8,8:15205/1 10,5:15220/0 12,12:15201/3 "
                        "13,0:15220/1");
}

TEST_F(TrackFile, OlderVersionsReadIntoTheGridOfTheirVersion5Image) {
    plat::fs::ListResult fixtures = plat::fs::ListFolder("TrackFixtures", "*.trk");
    ASSERT_EQ(fixtures.entries.size(), 5u);
    for (const plat::fs::FolderEntry& fixture : fixtures.entries) {
        SCOPED_TRACE(fixture.name);
        const std::string name = fixture.name.substr(0, fixture.name.find('.'));
        const Bytes v5 =
            ReadSample(name == "hills" ? "SavedTracks/hills.trk" : "GameTracks/" + name + ".trk");
        const Bytes old = ReadSample("TrackFixtures/" + fixture.name);
        ASSERT_LT(old[12], 5);
        TakeStateOf(v5);
        CWorldMan::RemoveTrack();
        log.clear();
        ASSERT_TRUE(Load(old));
        // The size index follows from the size before the base plate is made.
        EXPECT_EQ(Without({"spawn", "log", "script"}),
                  (Log{"size index " + std::to_string(v5[20]), "base plate", "update tiles"}));
        EXPECT_EQ(Save(), v5);
    }

    // Old ids are of no theme of their own: read under the city theme, the jungle circuit is the city's.
    assets->SetWorld(3, true);
    ASSERT_TRUE(Load(ReadSample("GameTracks/circuit.trk")));
    const std::string demo = Pieces();
    CWorldMan::RemoveTrack();
    ASSERT_TRUE(Load(ReadSample("TrackFixtures/jungle.v2.trk")));
    EXPECT_EQ(Pieces(), demo);
    EXPECT_EQ(CountObjects(17292), 1); // its raised cells carry the city's blocks
}

TEST_F(TrackFile, AGroundTileOnARaisedCellStaysOnlyInVersions1And2) {
    // The jungle circuit's cell (3, 3) is raised to 8 and holds no piece; give it the ground tile.
    for (std::uint32_t version = 1; version <= 5; ++version) {
        SCOPED_TRACE(version);
        Bytes image = ReadSample(version == 5 ? "GameTracks/jungle.trk"
                                              : "TrackFixtures/jungle.v" + std::to_string(version) + ".trk");
        Put32(image, PieceIdAt(version, 3, 3), 15270);
        assets->SetWorld(0, true);
        CWorldMan::RemoveTrack();
        ASSERT_TRUE(Load(image));
        const CTrackObject* piece = Grid().GetPieceAt(3, 3);
        EXPECT_EQ(piece ? piece->GetTypeId() : -1, version <= 2 ? 15270 : -1);
        // Under a ground tile, which stands on nothing, the tiles' refresh takes the height away.
        EXPECT_EQ(Grid().GetCellHeight(3, 3), version <= 2 ? 0.0f : 8.0f);
        // Versions 1 to 3 lay ground tiles on every other cell without ground and piece.
        const CTrackObject* bare = Grid().GetPieceAt(2, 2);
        EXPECT_EQ(bare ? bare->GetTypeId() : -1, version <= 3 ? 15270 : -1);
    }
}

TEST_F(TrackFile, TheThemeOfTheFileIsSetBeforeAnyCellIsBuilt) {
    // The desert circuit with a raised cell holding the desert ground tile, read under the jungle theme.
    Bytes image = ReadSample("GameTracks/desert.trk");
    PutFloat(image, RecordAt(5, 3, 3), 8.0f);
    Put32(image, PieceIdAt(5, 3, 3), 18270);
    assets->SetWorld(0, true);
    ASSERT_TRUE(Load(image));
    EXPECT_EQ(assets->GetWorld(), 2);
    EXPECT_EQ(Grid().GetPieceAt(3, 3), nullptr);
    EXPECT_EQ(CountObjects(18292), 1);
    EXPECT_EQ(CountObjects(18205), 1);
}

TEST_F(TrackFile, ARecordThatMakesNoPieceForItsCellLeavesNothingBehind) {
    const Bytes demo = ReadSample("GameTracks/circuit.trk");
    ASSERT_TRUE(Load(demo));
    const std::string pieces = Pieces();
    // A car (which takes a car slot when made), a plain object and an id without an asset.
    for (const std::int32_t id : {60000, 31000, 12345}) {
        SCOPED_TRACE(id);
        Bytes image = demo;
        Put32(image, PieceIdAt(5, 3, 3), static_cast<std::uint32_t>(id));
        CWorldMan::RemoveTrack();
        const int live = CWorldObject::LiveCount();
        ASSERT_TRUE(Load(image));
        EXPECT_EQ(Pieces(), pieces);
        EXPECT_EQ(CountObjects(id), 0);
        EXPECT_EQ(CWorldMan::GetCarCount(), 0);
        EXPECT_EQ(CWorldMan::GetCar(0), nullptr);
        EXPECT_TRUE(CWorldMan::GetActiveList().empty());
        EXPECT_EQ(CWorldObject::LiveCount(), live + 20);
    }
}

TEST_F(TrackFile, ImagesThatCannotBeReadWholeAreRefusedBeforeAnyCellChanges) {
    const Bytes demo = ReadSample("GameTracks/circuit.trk");
    const Bytes v1 = ReadSample("TrackFixtures/jungle.v1.trk");
    const Bytes v2 = ReadSample("TrackFixtures/jungle.v2.trk");
    const Bytes v4 = ReadSample("TrackFixtures/hills.v4.trk");
    auto patched = [](Bytes bytes, std::size_t offset, std::uint32_t value) {
        Put32(bytes, offset, value);
        return bytes;
    };
    auto withDouble = [&](double height) {
        Bytes bytes = v1;
        std::uint64_t bits = 0;
        std::memcpy(&bits, &height, sizeof bits);
        Put32(bytes, RecordAt(1, 2, 2), static_cast<std::uint32_t>(bits));
        Put32(bytes, RecordAt(1, 2, 2) + 4, static_cast<std::uint32_t>(bits >> 32));
        return bytes;
    };
    auto withHeight = [&](float height) {
        Bytes bytes = demo;
        PutFloat(bytes, RecordAt(5, 2, 2), height);
        return bytes;
    };
    const struct {
        const char* what;
        Bytes image;
        bool read;
    } cases[] = {
        {"version 0", patched(demo, 12, 0), false},
        {"version 6", patched(demo, 12, 6), false},
        {"grid size index 2", patched(demo, 20, 2), false},
        {"theme 4", patched(demo, 24, 4), false},
        {"a NaN height", withHeight(std::numeric_limits<float>::quiet_NaN()), false},
        {"a height of 3e10", withHeight(3e10f), false},
        {"a height of 2e10", withHeight(2e10f), true},
        {"an infinite height, version 1", withDouble(std::numeric_limits<double>::infinity()), false},
        {"a height of 1e300, version 1", withDouble(1e300), false},
        {"width 9, version 1", patched(v1, 20, 9), false},
        {"16 x 16, version 2", patched(patched(v2, 20, 16), 24, 16), false},
        {"width 10, version 4", patched(v4, 20, 10), false},
        {"width 65, version 4", patched(v4, 20, 65), false},
        {"8 x 16, version 4", patched(v4, 20, 8), false},
        {"8 x 8, version 4", patched(patched(v4, 20, 8), 24, 8), true},
        {"a version 4 image of version 3's size", Bytes(v4.begin(), v4.begin() + 1064), false},
    };
    ASSERT_TRUE(Load(demo));
    const std::string pieces = Pieces();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int live = CWorldObject::LiveCount();
        EXPECT_EQ(Load(c.image), c.read);
        if (c.read) {
            CWorldMan::RemoveTrack();
            ASSERT_TRUE(Load(demo));
            continue;
        }
        // Refused: the track read before is there as it was.
        EXPECT_EQ(Pieces(), pieces);
        EXPECT_EQ(CWorldObject::LiveCount(), live);
    }
    EXPECT_NE(std::find(log.begin(), log.end(), "log 4 Track file refused: version 6 is not one of 1 to 5"),
              log.end());

    // Every strict prefix of every fixture and of a version 5 image, from an empty grid: nothing is read,
    // made or left.
    CWorldMan::RemoveTrack();
    const std::size_t objects = CWorldMan::GetObjectList().size();
    const int live = CWorldObject::LiveCount();
    plat::fs::ListResult fixtures = plat::fs::ListFolder("TrackFixtures", "*.trk");
    std::vector<std::string> files = {kSamples[0]};
    for (const plat::fs::FolderEntry& fixture : fixtures.entries)
        files.push_back("TrackFixtures/" + fixture.name);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const Bytes image = ReadSample(file);
        ASSERT_FALSE(image.empty());
        for (std::size_t size = 0; size < image.size(); ++size) {
            // Near the ends, a buffer of exactly the prefix, so that a read past it is caught.
            const bool exact = size < 2048 || size + 64 > image.size();
            const Bytes copy =
                exact ? Bytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size)) : Bytes();
            if (Grid().LoadFromImage(exact ? std::span<const std::uint8_t>(copy)
                                           : std::span<const std::uint8_t>(image).first(size)))
                ADD_FAILURE() << "a prefix of " << size << " bytes was read";
            if (log.size() > 1000)
                log.clear();
        }
        EXPECT_EQ(Grid().GetSizeX() * Grid().GetSizeZ(), 64u);
        EXPECT_EQ(Pieces(), "");
        EXPECT_EQ(CWorldMan::GetObjectList().size(), objects);
        EXPECT_EQ(CWorldObject::LiveCount(), live);
    }
    for (std::uint32_t x = 0; x < 8; ++x)
        for (std::uint32_t z = 0; z < 8; ++z)
            EXPECT_EQ(Grid().GetCell(x, z)->height, -1.0f);
}

TEST_F(TrackFile, APieceTurnedMoreThanThreeTimesIsRefusedAloneAndTheRestOfTheTrackIsRead) {
    const struct {
        const char* file;
        std::uint32_t version;
        std::uint32_t x, z;
        std::uint32_t rotation;
    } rows[] = {
        {"GameTracks/demo.trk", 5, 1, 1, 4},         {"GameTracks/demo.trk", 5, 1, 1, 0xFFFFFFFFu},
        {"TrackFixtures/hills.v4.trk", 4, 3, 3, 5}, // a raised piece
        {"TrackFixtures/jungle.v2.trk", 2, 1, 1, 7}, {"TrackFixtures/jungle.v1.trk", 1, 1, 1, 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.file << " turned " << row.rotation);
        Bytes image = ReadSample(row.file);
        ASSERT_FALSE(image.empty());
        CWorldMan::RemoveTrack();
        ASSERT_TRUE(Load(image));
        const CTrackObject* piece = Grid().GetPieceAt(row.x, row.z);
        ASSERT_NE(piece, nullptr);
        const int id = piece->GetTypeId();
        const std::string cell = std::to_string(row.x) + "," + std::to_string(row.z);
        std::string expected = Pieces();
        const std::string refused =
            cell + ":" + std::to_string(id) + "/" + std::to_string(piece->GetRotation());
        const std::size_t at = expected.find(refused);
        ASSERT_NE(at, std::string::npos) << expected;
        expected.erase(at, refused.size() + (at + refused.size() < expected.size() ? 1 : 0));
        const int others = CountObjects(id) - 1;

        Put32(image, RecordAt(row.version, row.x, row.z) + (row.version == 1 ? 12 : 8), row.rotation);
        CWorldMan::RemoveTrack();
        log.clear();
        ASSERT_TRUE(Load(image));
        EXPECT_EQ(Pieces(), expected);
        EXPECT_EQ(CountObjects(id), others);
        EXPECT_EQ(Without({"spawn", "script", "size index", "base plate", "update tiles"}),
                  (Log{"log 4 Track piece " + std::to_string(id) + " at cell (" + std::to_string(row.x) +
                       ", " + std::to_string(row.z) + ") refused: rotation " + std::to_string(row.rotation) +
                       " is not one of 0 to 3"}));
    }
}

TEST_F(TrackFile, NoTrackIsReadWithoutABuilder) {
    SWorldLinks links = CWorldMan::GetLinks();
    links.trackBuild = nullptr;
    CWorldMan::SetLinks(links);
    EXPECT_FALSE(Load(ReadSample("GameTracks/circuit.trk")));
    EXPECT_EQ(Pieces(), "");
    EXPECT_EQ(log.back(), "log 4 Track file refused: the world has no track builder");
}

TEST_F(TrackFile, ASaveThatFailsLeavesThePreviousFile) {
    testsupport::TempFolder folder;
    assets->GetFileSaver()->SetSlot(folder.Game(), 1);
    ASSERT_TRUE(Load(ReadSample("GameTracks/circuit.trk")));
    const Bytes demo = Save();
    ASSERT_TRUE(assets->SaveFile("AutoSaved.trk", 1, demo.data(), demo.size()));
    ASSERT_TRUE(Load(ReadSample("GameTracks/jungle.trk")));
    const Bytes jungle = Save();
    {
        plat::fs::ScopedWriteFailure diskFull(4096);
        EXPECT_FALSE(assets->SaveFile("AutoSaved.trk", 1, jungle.data(), jungle.size()));
    }
    EXPECT_EQ(folder.List(), "AutoSaved.trk");
    Bytes kept;
    ASSERT_TRUE(assets->LoadFile(1, "AutoSaved.trk", kept));
    EXPECT_EQ(kept, demo);
}

} // namespace
