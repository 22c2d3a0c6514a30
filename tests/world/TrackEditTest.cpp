// The track-edit operations and the registry's whole-track operations over the sample set: loading,
// saving, theme and grid size changes, and the shape every edit leaves the grid in.

#include "TrackDoubles.h"

#include "foundation/assets/FileSaver.h"
#include "foundation/math/Random.h"
#include "platform/fs/FileSystem.h"
#include "support/TempFolder.h"
#include "world/GridCell.h"
#include "world/TrackEdit.h"
#include "world/TrackEditBuilder.h"
#include "world/TrackFileImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

class TrackEdit : public worldtest::TrackFixture {
protected:
    void SetUp() override {
        WorldFixture::SetUp();
        SWorldLinks links = Links();
        links.trackBuild = &edits;
        links.isRouteBroken = [this] { return !routeClosed; };
        CWorldMan::SetLinks(links);
        ASSERT_TRUE(CWorldMan::CreateWorlds());
        ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kConstruct));
        ASSERT_NE(CWorldMan::GetWorldGrid(), nullptr);
    }
    Bytes Save() {
        const std::unique_ptr<CTrackFileImage> image = Grid().CreateSaveData();
        return image ? Bytes(image->Bytes().begin(), image->Bytes().end()) : Bytes();
    }
    /// The tile object's type id of a cell, -1 for none.
    int TileObject(std::uint32_t x, std::uint32_t z) {
        const CWorldObject* object = Grid().GetCellObject(x, z);
        return object ? object->GetTypeId() : -1;
    }
    /// Every cell is covered by a piece or raised with a tile object; every track object in the world but
    /// the base plate is some cell's piece or tile object; no tile object serves two cells.
    void ExpectSound() {
        CWorldGrid& grid = Grid();
        std::set<const CWorldObject*> referenced;
        std::set<const CWorldObject*> tiles;
        for (std::uint32_t x = 0; x < grid.GetSizeX(); ++x)
            for (std::uint32_t z = 0; z < grid.GetSizeZ(); ++z) {
                const CGridCell& cell = *grid.GetCell(x, z);
                EXPECT_TRUE(cell.piece || cell.owner || (cell.height > 0.0f && cell.object)) << x << "," << z;
                referenced.insert(cell.piece);
                if (cell.object)
                    EXPECT_TRUE(tiles.insert(cell.object).second) << x << "," << z;
                referenced.insert(cell.object);
            }
        for (const auto& object : CWorldMan::GetObjectList())
            if (dynamic_cast<const CTrackObject*>(object.get()) && object.get() != CWorldMan::GetBasePlate())
                EXPECT_TRUE(referenced.count(object.get())) << object->GetTypeId();
    }

    CTrackEditBuilder edits;
};

TEST_F(TrackEdit, EverySampleTrackLoadsIntoTheWorldAndSavesBackByteForByte) {
    const struct {
        const char* file;
        int slot;
    } samples[] = {{"demo.trk", CFileSaver::kGameTracks},
                   {"jungle.trk", CFileSaver::kGameTracks},
                   {"ice.trk", CFileSaver::kGameTracks},
                   {"desert.trk", CFileSaver::kGameTracks},
                   {"hills.trk", CFileSaver::kSavedTracks}};
    for (const auto& s : samples) {
        SCOPED_TRACE(s.file);
        const Bytes v5 = ReadSample(std::string(s.slot == 1 ? "SavedTracks/" : "GameTracks/") + s.file);
        routeClosed = v5.size() == CTrackFileImage::kSize && v5[65572] == 1;
        ASSERT_TRUE(CWorldMan::LoadTrack(s.file, s.slot));
        const Bytes saved = Save();
        const auto diff = std::mismatch(saved.begin(), saved.end(), v5.begin(), v5.end());
        EXPECT_EQ(diff.first, saved.end()) << "first difference at " << (diff.first - saved.begin())
                                           << " saved " << int(*diff.first) << " file " << int(*diff.second);
        ExpectSound();
        EXPECT_NE(CWorldMan::GetBasePlate(), nullptr);
        EXPECT_EQ(CountObjects(assets->GetBasePlateId(0, Grid().GetSizeX() == 16)), 1);
    }
    // The large track: raised pieces on supports turned with them, bare raised cells on blocks.
    EXPECT_EQ(TileObject(3, 3), 15230);
    EXPECT_EQ(TileObject(0, 0), 15292);
    EXPECT_EQ(TileObject(15, 15), 15295);
    EXPECT_EQ(Grid().GetPieceAt(1, 1)->GetTypeId(), 15270);

    // A missing file and an image the reader refuses leave an empty grid and report false.
    testsupport::TempFolder folder;
    assets->GetFileSaver()->SetSlot(folder.Game(), 1);
    EXPECT_FALSE(CWorldMan::LoadTrack("none.trk", 1));
    EXPECT_EQ(Grid().GetPieceAt(1, 1), nullptr);
    Bytes bad = ReadSample("GameTracks/circuit.trk");
    bad[12] = 9; // version
    ASSERT_TRUE(assets->SaveFile("bad.trk", 1, bad.data(), bad.size()));
    ASSERT_TRUE(CWorldMan::LoadTrack("circuit.trk", CFileSaver::kGameTracks));
    EXPECT_FALSE(CWorldMan::LoadTrack("bad.trk", 1));
    EXPECT_EQ(Pieces(), "");
    // Larger than an image: never read.
    bad = ReadSample("GameTracks/circuit.trk");
    bad.push_back(0);
    ASSERT_TRUE(assets->SaveFile("big.trk", 1, bad.data(), bad.size()));
    EXPECT_FALSE(CWorldMan::LoadTrack("big.trk", 1));
    // Saved into a slot whose folder is missing, and read back.
    ASSERT_TRUE(CWorldMan::LoadTrack("circuit.trk", CFileSaver::kGameTracks));
    const std::string demo = Pieces();
    ASSERT_TRUE(CWorldMan::SaveTrack("AutoSaved.trk", 1));
    ASSERT_TRUE(CWorldMan::LoadTrack("AutoSaved.trk", 1));
    EXPECT_EQ(Pieces(), demo);
}

TEST_F(TrackEdit, PiecesTilesAndHeights) {
    ClearTrack(true);
    ExpectSound();
    EXPECT_EQ(CountObjects(15270), 64);
    const int live = CWorldObject::LiveCount();

    // A 2 x 1 piece over two ground tiles, and removed again.
    CTrackObject* wide = PlaceTrackPiece(15202, 2, 2, 0);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(CountObjects(15270), 62);
    ExpectSound();
    RemoveTrackPiece(2, 3);
    EXPECT_EQ(CountObjects(15270), 64);
    EXPECT_EQ(CWorldObject::LiveCount(), live);

    // Heights give the blocks of their level, 0 a ground tile.
    const struct {
        float height;
        int block;
    } levels[] = {{8.0f, 15292}, {16.0f, 15294}, {24.0f, 15295}, {0.0f, -1}};
    for (const auto& l : levels) {
        SetTileHeight(5, 5, l.height);
        EXPECT_EQ(TileObject(5, 5), l.block) << l.height;
        EXPECT_EQ(Grid().GetPieceAt(5, 5) != nullptr, l.block == -1) << l.height;
        ExpectSound();
    }

    // A raisable piece over heights 8 and 16 sits at 8 on the supports of its column.
    SetTileHeight(0, 0, 8.0f);
    SetTileHeight(0, 1, 16.0f);
    CTrackObject* raised = PlaceTrackPiece(15202, 0, 0, 0);
    ASSERT_NE(raised, nullptr);
    CVector at;
    raised->GetPosition(at);
    EXPECT_FLOAT_EQ(at.y, 8.0f);
    EXPECT_FLOAT_EQ(Grid().GetCellHeight(0, 0), 8.0f);
    EXPECT_FLOAT_EQ(Grid().GetCellHeight(0, 1), 8.0f);
    EXPECT_EQ(TileObject(0, 0), 15230);
    EXPECT_EQ(TileObject(0, 1), 15230);
    ExpectSound();

    // Refused: a bad id, an object of another kind, a rotation of 4, a piece over the edge.
    const int before = CWorldObject::LiveCount();
    EXPECT_EQ(PlaceTrackPiece(424242, 3, 3, 0), nullptr);
    EXPECT_EQ(PlaceTrackPiece(30030, 3, 3, 0), nullptr); // a crate is no track piece
    EXPECT_EQ(PlaceTrackPiece(15202, 3, 3, 4), nullptr);
    EXPECT_EQ(PlaceTrackPiece(15220, 7, 7, 0), nullptr);
    EXPECT_EQ(CWorldObject::LiveCount(), before);

    // A second start piece takes the place of the first; ClearTrack leaves flat ground tiles only.
    const int start = assets->GetStartPieceId();
    ASSERT_NE(PlaceTrackPiece(start, 4, 4, 0), nullptr);
    ASSERT_NE(PlaceTrackPiece(start, 6, 6, 0), nullptr);
    EXPECT_EQ(CountObjects(start), 1);
    ClearTrack(false);
    EXPECT_EQ(CountObjects(start), 0);
    EXPECT_EQ(CountObjects(15270), 64);
    EXPECT_FLOAT_EQ(Grid().GetCell(0, 0)->height, -1.0f);
    EXPECT_EQ(TileObject(0, 0), -1);
    ExpectSound();
}

TEST_F(TrackEdit, ThemesAndGridSizesKeepThePieces) {
    ASSERT_TRUE(CWorldMan::LoadTrack("circuit.trk", CFileSaver::kGameTracks));
    const std::string demo = Pieces();
    ASSERT_NE(demo, "");
    const int theme = assets->GetWorld();
    CWorldMan& world = *CWorldMan::GetCurrentWorld();
    const int live = CWorldObject::LiveCount();
    world.SetTheme(theme);
    EXPECT_EQ(CWorldObject::LiveCount(), live);
    EXPECT_EQ(Pieces(), demo);

    // There and back again: the same track, no filler placed twice.
    const int other = theme == 0 ? 1 : 0;
    world.SetTheme(other);
    EXPECT_EQ(assets->GetWorld(), other);
    ExpectSound();
    EXPECT_EQ(CountObjects(assets->GetBasePlateId(0, false)), 1);
    world.SetTheme(theme);
    EXPECT_EQ(Pieces(), demo);
    EXPECT_EQ(CWorldObject::LiveCount(), live);

    const auto expectBounds = [](float high) {
        CVector minimum, maximum;
        CWorldMan::GetGridBounds(minimum, maximum);
        EXPECT_EQ(minimum, CVector(-116.0f, 0.0f, -116.0f));
        EXPECT_EQ(maximum, CVector(high, 0.0f, high));
    };
    expectBounds(140.0f);
    CWorldMan::SetGridSize(1);
    EXPECT_EQ(Grid().GetSizeX(), 16u);
    expectBounds(396.0f);
    EXPECT_EQ(Pieces(), demo);
    ExpectSound();
    ASSERT_NE(PlaceTrackPiece(15220, 9, 0, 0), nullptr);
    ASSERT_NE(PlaceTrackPiece(15202, 0, 7, 0), nullptr); // reaches z = 8
    CWorldMan::SetGridSize(0);
    EXPECT_EQ(Grid().GetSizeX(), 8u);
    EXPECT_EQ(CountObjects(15220) + CountObjects(15202), 0);
    ExpectSound();

    // A size change rebuilds the track as a theme change does: the fillers are not pieces to place again
    // over the ground tiles that the cells' heights bring.
    const std::string track = Pieces();
    const auto tilesMade = [&] {
        return std::count(log.begin(), log.end(), "spawn add " + std::to_string(assets->GetWorldBaseId()));
    };
    world.SetTheme(other);
    log.clear();
    world.SetTheme(theme);
    const auto byTheme = tilesMade();
    CWorldMan::SetGridSize(1);
    log.clear();
    CWorldMan::SetGridSize(0);
    EXPECT_EQ(Pieces(), track);
    EXPECT_EQ(tilesMade(), byTheme);
    ExpectSound();

    // The cells a relight covers: 5, 3 and 1 a side; a huge radius stays on the grid.
    const struct {
        std::uint32_t centre;
        float radius;
        bool any;
        std::uint32_t first, last;
    } spans[] = {{4, 45.0f, true, 2, 6},   {4, 44.0f, true, 3, 5},   {4, 10.0f, true, 4, 4},
                 {0, 45.0f, true, 0, 2},   {7, 1e9f, true, 0, 7},    {4, 0.0f, false, 0, 0},
                 {4, -50.0f, false, 0, 0}, {900, 45.0f, false, 0, 0}};
    for (const auto& r : spans) {
        std::uint32_t first = 0, last = 0;
        EXPECT_EQ(CWorldMan::RelightSpan(r.centre, r.radius, 8, first, last), r.any) << r.radius;
        if (r.any)
            EXPECT_EQ(std::make_pair(first, last), std::make_pair(r.first, r.last)) << r.radius;
    }
    CWorldMan::RelightPiecesAround(CVector(12.0f, 0.0f, 12.0f), 1e9f);
}

TEST_F(TrackEdit, RandomEditsKeepTheGridSound) {
    ClearTrack(false);
    Random::Seed(23);
    const auto next = [] { return static_cast<std::uint32_t>(Random::Next()); };
    const int ids[] = {15201, 15202, 15203, 15205, 15220, 15270, 424242};
    const float heights[] = {0.0f, 8.0f, 16.0f, 24.0f, 32.0f};
    for (int step = 0; step < 400; ++step) {
        const auto x = static_cast<std::uint32_t>(next() % Grid().GetSizeX());
        const auto z = static_cast<std::uint32_t>(next() % Grid().GetSizeZ());
        const std::uint32_t op = next() % 10;
        switch (op) {
        case 0:
            SetTileHeight(x, z, heights[next() % 5]);
            break;
        case 1:
            RemoveTrackPiece(x, z);
            break;
        case 2:
            CWorldMan::GetCurrentWorld()->SetTheme(static_cast<int>(next() % 2));
            break;
        case 3:
            CWorldMan::SetGridSize(static_cast<int>(next() % 2));
            break;
        default:
            PlaceTrackPiece(ids[next() % 7], x, z, next() % 4);
        }
        ExpectSound();
        if (HasFailure())
            FAIL() << "after step " << step << " op " << op << " at " << x << "," << z;
    }
}

} // namespace
