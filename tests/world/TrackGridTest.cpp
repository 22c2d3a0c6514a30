// The track grid: coordinates, pieces placed and removed over their footprints, heights, the track length,
// and the core of the track pieces it places.

#include "TrackDoubles.h"

#include "foundation/assets/AssetMan.h"
#include "world/GridCell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace zentrix;

namespace {

using worldtest::Log;

class TrackGrid : public worldtest::TrackFixture {
protected:
    CTrackObject* Make(int id) {
        auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(id, 0, 0, 0, -1));
        EXPECT_NE(piece, nullptr) << id;
        return piece;
    }
    /// The cells on which a piece lies, anchor first: "x,z" joined by spaces, in x then z order.
    std::string CellsOf(const CTrackObject* piece) {
        std::string out;
        for (std::uint32_t x = 0; x < Grid().GetSizeX(); ++x)
            for (std::uint32_t z = 0; z < Grid().GetSizeZ(); ++z)
                if (Grid().GetPieceAt(x, z) == piece)
                    out += (out.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(z) +
                           (Grid().IsCoveredCell(x, z) ? "" : "*");
        return out;
    }
};

TEST_F(TrackGrid, CoordinatesTruncateFromTheLowLimit) {
    constexpr std::uint32_t kNone = CWorldGrid::kNoIndex;
    const struct {
        float v;
        std::uint32_t index;
    } cases[] = {
        {-115.0f, 0},
        {-115.5f, kNone},
        {-84.1f, 0},
        {-84.0f, 1},
        {-100.0f, 0},
        {140.0f, 8},
        {139.9f, 7},
        {std::numeric_limits<float>::quiet_NaN(), kNone},
        {-std::numeric_limits<float>::infinity(), kNone},
        {1e30f, kNone},
        {std::numeric_limits<float>::infinity(), kNone},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CWorldGrid::WorldXToIndex(c.v), c.index) << c.v;
        EXPECT_EQ(CWorldGrid::WorldZToIndex(c.v), c.index) << c.v;
    }
    EXPECT_EQ(CWorldGrid::IndexToWorldX(7), 124.0f);
    EXPECT_EQ(CWorldGrid::IndexToWorldZ(kNone), -132.0f);
    EXPECT_EQ(CWorldGrid::GridToWorld(CVector(2.9f, 5.0f, -1.0f)), CVector(-36.0f, 0.0f, -132.0f));
    EXPECT_EQ(CWorldGrid::WorldToGrid(CVector(-36.0f, 7.0f, -200.0f)), CVector(2.0f, 0.0f, -1.0f));
}

TEST_F(TrackGrid, PiecesKnowTheirIndexAssetFootprintAndTurns) {
    const struct {
        int typeId, index, assetId;
    } ids[] = {{15000, -1, 14800},  {15001, -199, 14801}, {16200, 0, 16000}, {15205, 5, 15005},
               {18999, 799, 18799}, {19999, -1, 19799},   {20000, -1, -1}};
    for (const auto& c : ids) {
        CTrackObject piece(c.typeId);
        EXPECT_EQ(piece.GetPieceIndex(), c.index) << c.typeId;
        EXPECT_EQ(piece.GetAssetId(), c.assetId) << c.typeId; // no record for 20000: no asset of its own
    }

    using Cells = std::vector<CTrackObject::SCellOffset>;
    const struct {
        const char* text;
        Cells cells;
        bool complete;
    } texts[] = {
        {"", {{0, 0}}, true},
        {"(0,0)(0,-1)", {{0, 0}, {0, -1}}, true},
        {"( 1.9 , -2.5 )", {{1, -2}}, true},
        {"(0,0)(1,1", {{0, 0}}, false},
        {"(0,0)x(1,1)", {{0, 0}}, false},
        {"(0,0)(a,1)", {{0, 0}}, false},
        {"(0,0)(16,0)", {{0, 0}}, false},
        {"(nan,0)", {{0, 0}}, false},
        {"(1e300,0)", {{0, 0}}, false},
        {"(0,0,0)", {{0, 0}}, false},
        {")", {{0, 0}}, false},
        {"(15,-15)(,)", {{15, -15}}, false},
    };
    for (const auto& c : texts) {
        bool complete = !c.complete;
        EXPECT_EQ(CTrackObject::ParseFootprint(c.text, complete), c.cells) << c.text;
        EXPECT_EQ(complete, c.complete) << c.text;
    }
    EXPECT_EQ(Make(15220)->GetFootprint(), (Cells{{0, 0}, {0, 1}, {0, 2}}));

    CTrackObject* piece = Make(15201);
    const CVector directions[] = {{0, 0, -1}, {-1, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    const CTrackObject::SCellOffset turned[] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
    for (int r = 0; r < 4; ++r) {
        piece->SetRotation(r);
        EXPECT_EQ(piece->Direction(), directions[r]);
        EXPECT_EQ(piece->GetRotation(), r);
        EXPECT_EQ(piece->RotateOffset({1, 0}), turned[r]);
    }
    piece->SetRotation(4);
    EXPECT_EQ(piece->GetRotation(), 3);
    EXPECT_EQ(CTrackObject::TurnOffset({1, 2}, 7), (CTrackObject::SCellOffset{0, 0}));
}

TEST_F(TrackGrid, AMultiCellPieceIsFoundAndRemovedThroughAnyOfItsCells) {
    const struct {
        const char* cells; ///< the anchor starred
        std::uint32_t farX, farZ;
    } turns[] = {
        {"2,2* 2,3 2,4", 2, 4}, {"2,2* 3,2 4,2", 4, 2}, {"2,0 2,1 2,2*", 2, 0}, {"0,2 1,2 2,2*", 0, 2}};
    for (std::uint32_t r = 0; r < 4; ++r) {
        CTrackObject* piece = Make(15220);
        log.clear();
        ASSERT_TRUE(Grid().PlacePiece(piece, 2, 2, r));
        EXPECT_EQ(CellsOf(piece), turns[r].cells);
        EXPECT_EQ(piece->GetRotation(), static_cast<int>(r));
        EXPECT_TRUE(piece->IsAnimPlaying());
        EXPECT_EQ(log, (Log{"spawn add 15220"}));
        // Through the far cell: every cell lets go; the piece stays in the world.
        ASSERT_TRUE(Grid().RemovePiece(turns[r].farX, turns[r].farZ));
        EXPECT_EQ(CellsOf(piece), "");
        EXPECT_FALSE(Grid().RemovePiece(2, 2));
        EXPECT_EQ(log.back(), "spawn remove 15220");
        EXPECT_TRUE(CWorldMan::RemoveObject(piece));
    }
}

TEST_F(TrackGrid, PlacingClearsTheFootprintAndRefusesWhatDoesNotFit) {
    CTrackObject* a = Make(15201);
    CTrackObject* b = Make(15202);
    CTrackObject* c = Make(15203);
    ASSERT_TRUE(Grid().PlacePiece(a, 7, 6, 0));
    ASSERT_TRUE(Grid().PlacePiece(b, 6, 7, 1)); // covers (6, 7) and (7, 7)
    ASSERT_TRUE(Grid().PlacePiece(c, 0, 0, 0));
    const int live = CWorldObject::LiveCount();

    // A three-cell piece past the edge: the pieces under its first cells are gone, and it lies nowhere.
    CTrackObject* long3 = Make(15220);
    EXPECT_FALSE(Grid().PlacePiece(long3, 7, 6, 0));
    EXPECT_EQ(CellsOf(long3), "");
    EXPECT_EQ(Grid().GetPieceAt(6, 7), nullptr);
    EXPECT_EQ(Pieces(), "0,0:15203/0");
    EXPECT_EQ(CWorldObject::LiveCount(), live + 1 - 2);
    EXPECT_FALSE(Grid().PlacePiece(long3, 8, 0, 0));
    EXPECT_FALSE(Grid().PlacePiece(long3, 0, 0, 4));
    EXPECT_FALSE(Grid().PlacePiece(nullptr, 0, 0, 0));
    EXPECT_EQ(Pieces(), "0,0:15203/0"); // refused before anything was cleared

    // Over a piece: it leaves the world; the same piece placed again only moves.
    ASSERT_TRUE(Grid().PlacePiece(long3, 0, 0, 0));
    EXPECT_EQ(Pieces(), "0,0:15220/0");
    EXPECT_EQ(CountObjects(15203), 0);
    ASSERT_TRUE(Grid().PlacePiece(long3, 0, 1, 0));
    EXPECT_EQ(CellsOf(long3), "0,1* 0,2 0,3");
    EXPECT_EQ(CWorldObject::LiveCount(), live - 2);
}

TEST_F(TrackGrid, HeightsOfCellsWithoutGroundAndUnderPieces) {
    EXPECT_EQ(Grid().GetCellHeight(3, 3), 0.0f);
    EXPECT_EQ(Grid().GetCell(3, 3)->height, -1.0f);
    EXPECT_EQ(Grid().GetCellHeight(8, 0), 0.0f);
    EXPECT_FALSE(Grid().SetCellHeight(nullptr, 8, 0, 1.0f, false));

    ASSERT_TRUE(Grid().PlacePiece(Make(15202), 3, 3, 0)); // covers (3, 4)
    CWorldObject* block = CWorldMan::CreateWorldObject(15292, 0, 0, 0, -1);
    EXPECT_FALSE(Grid().SetCellHeight(block, 3, 4, 8.0f, true));
    ASSERT_TRUE(Grid().SetCellHeight(block, 3, 4, 8.0f, false));
    EXPECT_EQ(Grid().GetCellObject(3, 4), block);
    // A cell with ground keeps its object; a reset takes the new one.
    ASSERT_TRUE(Grid().SetCellHeight(nullptr, 3, 4, 16.0f, false));
    EXPECT_EQ(Grid().GetCellObject(3, 4), block);
    EXPECT_EQ(Grid().GetCellHeight(3, 4), 16.0f);
    ASSERT_TRUE(Grid().ResetCellHeight(nullptr, 3, 4, 24.0f));
    EXPECT_EQ(Grid().GetCellObject(3, 4), nullptr);
    // Placing leaves heights alone; clearing a cell leaves it without ground.
    ASSERT_TRUE(Grid().SetCellHeight(block, 5, 5, 8.0f, true));
    ASSERT_TRUE(Grid().PlacePiece(Make(15201), 5, 5, 0));
    EXPECT_EQ(Grid().GetCellObject(5, 5), block);
    Grid().ClearCellObject(5, 5);
    EXPECT_EQ(Grid().GetCell(5, 5)->height, -1.0f);
    EXPECT_EQ(CountObjects(15292), 0);
}

TEST_F(TrackGrid, TheTrackLengthIsSummedAgainOnlyAfterPiecesChange) {
    EXPECT_EQ(Grid().GetTrackLength(), 0.0f);
    EXPECT_FALSE(Grid().IsDirty());
    // Lengths: straight 32, corner 25.13, long straight 96; the ground tile, small base plate and start
    // piece (32, 256, 32) are left out; the large base plate (512) is not.
    const struct {
        int id;
        std::uint32_t x, z;
        float total;
    } placed[] = {{15201, 0, 0, 32.0f},   {15203, 1, 0, 57.13f},  {15220, 2, 0, 153.13f},
                  {15270, 3, 0, 153.13f}, {15290, 4, 0, 153.13f}, {15205, 5, 0, 153.13f},
                  {15291, 6, 0, 665.13f}, {16201, 7, 0, 697.13f}}; // another theme's straight counts
    for (const auto& p : placed) {
        ASSERT_TRUE(Grid().PlacePiece(Make(p.id), p.x, p.z, 0));
        EXPECT_TRUE(Grid().IsDirty());
        EXPECT_FLOAT_EQ(Grid().GetTrackLength(), p.total) << p.id;
    }
    // Cached until a piece leaves: a piece changed behind the grid's back is not seen.
    Grid().GetCell(2, 0)->piece = nullptr;
    EXPECT_FLOAT_EQ(Grid().GetTrackLength(), 697.13f);
    ASSERT_TRUE(Grid().RemovePiece(0, 0));
    EXPECT_FLOAT_EQ(Grid().GetTrackLength(), 697.13f - 32.0f - 96.0f);
}

TEST_F(TrackGrid, ASecondStartPieceTakesThePlaceOfTheFirst) {
    assets->SetWorld(0, true);
    ASSERT_NE(builder.PlaceTrackPiece(15205, 1, 3, 0), nullptr);
    ASSERT_NE(builder.PlaceTrackPiece(15201, 2, 3, 0), nullptr);
    ASSERT_NE(builder.PlaceTrackPiece(15205, 5, 5, 1), nullptr);
    EXPECT_EQ(Pieces(), "2,3:15201/0 5,5:15205/1");
    EXPECT_EQ(CountObjects(15205), 1);
    // Another theme's start piece is no start piece here.
    ASSERT_NE(builder.PlaceTrackPiece(16200, 6, 6, 0), nullptr);
    EXPECT_EQ(CountObjects(15205), 1);
}

} // namespace

TEST_F(TrackGrid, PiecesClassifyTurnTheirSidesAndReadTheirRecords) {
    const struct {
        int typeId, pieceClass, index;
    } classes[] = {
        {15292, 0, 11},
        {15295, 0, 11}, // height blocks, by their step
        {15205, 0, 0},
        {16200, 0, 0},
        {17200, 0, 0},
        {18205, 0, 0}, // the themes' start pieces
        {15200, 3, -1},
        {17203, 0, 3},
        {16293, 0, 27},
        {18235, 0, 29},
        {1114, 0, 5},
        {15240, 1, 0},
        {17277, 1, 13},
        {18255, 1, 14},
        {15270, 3, -1},
        {20000, 3, -1},
        {CAssetMan::GetPieceGroup2Id(2, 1), 2, 1},
    };
    for (const auto& c : classes) {
        CTrackObject piece(c.typeId);
        int pieceClass = -7;
        std::int16_t index = -7;
        EXPECT_EQ(piece.GetPieceClass(pieceClass, index), c.pieceClass != 3) << c.typeId;
        EXPECT_EQ(pieceClass, c.pieceClass) << c.typeId;
        EXPECT_EQ(index, c.index) << c.typeId;
    }

    const struct {
        int mask, rotation, turned;
    } masks[] = {{0b1001, 1, 0b0011}, {0b1001, 2, 0b0110}, {0b1001, 3, 0b1100}, {10, 1, 5}, {10, 2, 10},
                 {0x1F, 1, 0xF},      {0x13, 0, 3},        {6, 4, 6},           {6, -1, 6}};
    for (const auto& c : masks)
        EXPECT_EQ(CTrackObject::TurnSideMask(c.mask, c.rotation), c.turned) << c.mask << " r" << c.rotation;

    CTrackObject* block = Make(15294);
    EXPECT_TRUE(block->IsHeightPiece());
    EXPECT_EQ(block->GetHeightStep(), 16.0f);
    CTrackObject* corner = Make(16203);
    EXPECT_FALSE(corner->IsHeightPiece());
    EXPECT_EQ(corner->GetHeightStep(), -1.0f);
    EXPECT_EQ(corner->GetSoundId(), -1);
    EXPECT_EQ(corner->GetHintTextId(), -1);
    const CVector axis(0.7071068f, 0.0f, 0.7071068f);
    for (int r = 0; r < 4; ++r) {
        corner->SetRotation(r);
        const CVector turned = corner->GetTrackAxis();
        EXPECT_NEAR(turned.x * axis.x + turned.z * axis.z, r % 2 ? 0.0f : 1.0f, 1e-6f) << r;
        EXPECT_NEAR(turned.Length(), 1.0f, 1e-6f) << r;
    }
    EXPECT_FALSE(corner->IsOnRoute());
    corner->SetOnRoute(true);
    EXPECT_TRUE(corner->IsOnRoute());
}
