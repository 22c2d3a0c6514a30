// The editor's placement check over the sample set's jungle pieces: which neighbours a piece meets,
// which borders it may not open across, and the side masks it reads.

#include "EditorFixture.h"

#include "construct/PlacementCheck.h"
#include "world/TrackEdit.h"
#include "world/WorldGrid.h"

#include <vector>

using namespace zentrix;

namespace {

class PlacementCheck : public gametest::EditorFixture {
protected:
    struct SPiece {
        int id;
        int x;
        int z;
        int rotation;
    };
    /// A piece made to be judged, not on the grid.
    CTrackObject* Loose(int id, int rotation) {
        auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(id, 0, 0, 0, -1));
        if (piece)
            piece->SetRotation(rotation);
        return piece;
    }
};

TEST_F(PlacementCheck, SidesMeetTheirNeighboursAndStayOnTheGrid) {
    const struct {
        const char* what;
        int sizeIndex;
        std::vector<SPiece> around;
        int id;
        int rotation;
        int x;
        int z;
        bool connects;
        bool borders;
    } rows[] = {
        {"straight between straights",
         0,
         {{kStraight, 3, 2, 0}, {kStraight, 3, 4, 0}},
         kStraight,
         0,
         3,
         3,
         true,
         true},
        {"straight turned across them",
         0,
         {{kStraight, 3, 2, 0}, {kStraight, 3, 4, 0}},
         kStraight,
         1,
         3,
         3,
         false,
         true},
        {"open side on a closed side",
         0,
         {{kStraight, 3, 2, 0}, {kClosed, 3, 4, 0}},
         kStraight,
         0,
         3,
         3,
         false,
         true},
        {"open side on scenery", 0, {{kScenery, 3, 4, 0}}, kStraight, 0, 3, 3, false, true},
        {"closed sides beside scenery", 0, {{kScenery, 3, 4, 0}}, kStraight, 1, 3, 3, true, true},
        {"scenery where a straight opens", 0, {{kStraight, 3, 4, 0}}, kScenery, 0, 3, 3, false, true},
        {"scenery between closed sides",
         0,
         {{kStraight, 3, 4, 1}, {kStraight, 2, 3, 0}},
         kScenery,
         0,
         3,
         3,
         true,
         true},
        {"nothing around", 0, {}, kStraight, 0, 3, 3, true, true},
        {"corner meets both", 0, {{kStraight, 3, 4, 0}, {kStraight, 4, 3, 1}}, kCorner, 0, 3, 3, true, true},
        {"corner meets one, faces ground", 0, {{kStraight, 3, 4, 0}}, kCorner, 0, 3, 3, true, true},
        {"corner turned away from both",
         0,
         {{kStraight, 3, 4, 0}, {kStraight, 4, 3, 1}},
         kCorner,
         2,
         3,
         3,
         false,
         true},
        {"crossroads among straights",
         0,
         {{kStraight, 3, 2, 0}, {kStraight, 3, 4, 0}, {kStraight, 2, 3, 1}, {kStraight, 4, 3, 1}},
         kOpen,
         0,
         3,
         3,
         true,
         true},
        {"crossroads on a closed piece", 0, {{kClosed, 3, 4, 0}}, kOpen, 0, 3, 3, false, true},
        {"height block among straights",
         0,
         {{kStraight, 3, 2, 1}, {kStraight, 3, 4, 0}},
         kHeightBlock,
         0,
         3,
         3,
         true,
         true},
        {"long straight meets at both ends",
         0,
         {{kStraight, 3, 2, 0}, {kStraight, 3, 5, 0}},
         kLongStraight,
         0,
         3,
         3,
         true,
         true},
        {"long straight, a side of it on a corner's exit",
         0,
         {{kCorner, 2, 4, 0}},
         kLongStraight,
         0,
         3,
         3,
         false,
         true},
        // The plaza's first cell opens to -z; its tenth cell lies past the table's nine: closed.
        {"plaza's first cell meets a straight", 0, {{kStraight, 2, 1, 0}}, kPlaza, 0, 2, 2, true, true},
        {"plaza's tenth cell faces a straight", 0, {{kStraight, 4, 6, 1}}, kPlaza, 0, 2, 2, false, true},
        // Borders: -z on row 0, -x on column 0, +z on the last row, +x on the last column.
        {"straight opening over row 0", 0, {}, kStraight, 0, 3, 0, true, false},
        {"straight along row 0", 0, {}, kStraight, 1, 3, 0, true, true},
        {"straight opening over column 0", 0, {}, kStraight, 1, 0, 3, true, false},
        {"straight along column 0", 0, {}, kStraight, 0, 0, 3, true, true},
        {"straight opening over the last row", 0, {}, kStraight, 2, 3, 7, true, false},
        {"straight opening over the last column", 0, {}, kStraight, 3, 7, 3, true, false},
        {"corner into the far corner", 0, {}, kCorner, 0, 7, 7, true, false},
        {"corner turned out of the far corner", 0, {}, kCorner, 2, 7, 7, true, true},
        {"corner turned into the near corner", 0, {}, kCorner, 2, 0, 0, true, false},
        {"crossroads on row 0", 0, {}, kOpen, 0, 3, 0, true, false},
        {"crossroads on column 0", 0, {}, kOpen, 0, 0, 3, true, false},
        {"crossroads on the last row", 0, {}, kOpen, 0, 3, 7, true, false},
        {"crossroads on the last column", 0, {}, kOpen, 0, 7, 3, true, false},
        {"crossroads inside", 0, {}, kOpen, 0, 3, 3, true, true},
        {"long straight's far cell over the last row", 0, {}, kLongStraight, 0, 3, 6, true, false},
        {"long straight's far cell leaves the grid", 0, {}, kLongStraight, 0, 3, 7, true, false},
        {"long straight turned, far cell over row 0", 0, {}, kLongStraight, 2, 3, 1, true, false},
        {"long straight inside", 0, {}, kLongStraight, 0, 3, 5, true, true},
        {"height block in a corner", 0, {}, kHeightBlock, 0, 0, 0, true, true},
        {"scenery in a corner", 0, {}, kScenery, 0, 0, 0, true, true},
        {"row 7 of the large grid", 1, {}, kStraight, 0, 3, 7, true, true},
        {"last row of the large grid", 1, {}, kStraight, 0, 3, 15, true, false},
    };
    int size = -1;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.sizeIndex != size) {
            CWorldMan::SetGridSize(row.sizeIndex);
            size = row.sizeIndex;
        }
        ClearTrack(false);
        for (const SPiece& p : row.around)
            ASSERT_NE(Place(p.id, p.x, p.z, p.rotation), nullptr);
        CTrackObject* piece = Loose(row.id, row.rotation);
        ASSERT_NE(piece, nullptr);
        const CWorldGrid& grid = *CWorldMan::GetWorldGrid();
        EXPECT_EQ(CheckConnections(*piece, row.x, row.z, grid), row.connects);
        EXPECT_EQ(CheckBorders(*piece, row.x, row.z, grid), row.borders);
        CWorldMan::RemoveObject(piece);
    }
}

TEST_F(PlacementCheck, SideMasksTurnWithThePieceAndCellsPastTheRecordAreClosed) {
    const struct {
        int kind;
        int index;
        int rotation;
        int sides;
    } rows[] = {
        {0, 0, 0, 10}, {0, 0, 1, 5},  {0, 0, 2, 10}, {0, 0, 3, 5},  {3, 0, 1, 12},
        {2, 1, 0, 2},  {4, 3, 0, 2},  {26, 8, 0, 0}, {26, 9, 0, 0}, {26, 40, 1, 0},
        {45, 0, 0, 0}, {-1, 0, 0, 0}, {20, 0, 0, 0}, {2, -1, 0, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GetCellSides(row.kind, row.index, row.rotation), row.sides)
            << row.kind << " " << row.index << " " << row.rotation;

    // Kinds by list, and cells of a turned piece as it lies.
    ClearTrack(false);
    const CTrackObject* longStraight = Place(kLongStraight, 3, 3, 1);
    ASSERT_NE(longStraight, nullptr);
    EXPECT_EQ(GetPieceKind(*longStraight), 2);
    EXPECT_EQ(GetPieceCellIndex(*longStraight, 3, 3), 0);
    EXPECT_EQ(GetPieceCellIndex(*longStraight, 4, 3), 1);
    EXPECT_EQ(GetPieceCellIndex(*longStraight, 3, 4), -1);
    const struct {
        int id;
        int kind;
    } kinds[] = {{kStart, 0},  {kStraight, 1}, {kCorner, 3},   {kHeightBlock, 11}, {kOpen, 20},
                 {kPlaza, 26}, {kClosed, 37},  {kScenery, -1}, {kGround, -1}};
    for (const auto& k : kinds) {
        CTrackObject* piece = Loose(k.id, 0);
        ASSERT_NE(piece, nullptr) << k.id;
        EXPECT_EQ(GetPieceKind(*piece), k.kind) << k.id;
        CWorldMan::RemoveObject(piece);
    }
}

} // namespace
