// The piece connection table shared by the route builder and the editor's placement check.

#include "race/RouteNodeMan.h"
#include "world/TrackObject.h"

#include <gtest/gtest.h>

using namespace zentrix;

TEST(PieceConnections, RecordsByKindAndTheirTurns) {
    using Record = CRouteNodeMan::SPieceConnections;
    const struct {
        int kind;
        Record record;
    } records[] = {
        {0, {10}},       {36, {10}},   {2, {8, 2}},        {18, {8, 2}}, {3, {6}}, {9, {4, 0, 0, 2}},
        {12, {8, 0, 2}}, {19, {2, 8}}, {35, {0, 2, 0, 8}}, {20, {}},     {37, {}}, {44, {}},
    };
    for (const auto& c : records) {
        Record out;
        out.fill(99);
        EXPECT_TRUE(CRouteNodeMan::GetPieceConnections(c.kind, out)) << c.kind;
        EXPECT_EQ(out, c.record) << c.kind;
    }
    int open = 0;
    for (int kind = 0; kind < CRouteNodeMan::kPieceKindCount; ++kind) {
        Record out;
        CRouteNodeMan::GetPieceConnections(kind, out);
        open += out == Record{};
    }
    EXPECT_EQ(open, 9);
    for (int kind : {-1, 45}) {
        Record out;
        out.fill(99);
        EXPECT_FALSE(CRouteNodeMan::GetPieceConnections(kind, out));
        EXPECT_EQ(out, Record{});
    }

    // The start piece's record runs along z: a quarter turn takes it across x, a half turn back.
    Record start;
    CRouteNodeMan::GetPieceConnections(0, start);
    EXPECT_EQ(CTrackObject::TurnSideMask(start[0], 1), 5);
    EXPECT_EQ(CTrackObject::TurnSideMask(start[0], 2), 10);
}

// ---- The route over the sample tracks and grids laid out with the sample set's pieces

#include "RouteFixture.h"

#include "support/SampleSet.h"
#include "world/GridCell.h"
#include "world/TrackFileReader.h"
#include "world/WorldMan.h"
#include "world/WorldTopographyLink.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <tuple>

namespace {

using routetest::RouteFixture;

constexpr int kStart = 15205;
constexpr int kStraight = 15201;
constexpr int kCorner = 15203;
constexpr int kRamp = 15212;
constexpr int kOneWay = 15220;

CVector At(int column, int row) {
    return CVector(32.0f * static_cast<float>(column) - 100.0f, 0.0f,
                   32.0f * static_cast<float>(row) - 100.0f);
}

class Route : public RouteFixture {
public:
    /// The city circuit of the samples round cells 1..6 in jungle pieces, the start on (sx, sz) turned
    /// by `startRotation` (the left side for 0 and 2, the bottom row for 1 and 3); cells in `skip` stay
    /// empty and the rest take what `on` says.
    void Ring(int sx, int sz, int startRotation, std::vector<std::pair<int, int>> skip = {}) {
        const auto skipped = [&skip](int x, int z) {
            return std::find(skip.begin(), skip.end(), std::make_pair(x, z)) != skip.end();
        };
        const int corners[4][3] = {{1, 1, 0}, {6, 1, 3}, {6, 6, 2}, {1, 6, 1}};
        for (const auto& c : corners)
            if (!skipped(c[0], c[1]))
                Place(kCorner, c[0], c[1], c[2]);
        for (int i = 2; i <= 5; ++i) {
            for (const auto& [x, z, r] :
                 {std::tuple{1, i, 0}, std::tuple{6, i, 0}, std::tuple{i, 1, 1}, std::tuple{i, 6, 1}}) {
                if (skipped(x, z))
                    continue;
                if (x == sx && z == sz)
                    Place(kStart, x, z, startRotation);
                else
                    Place(kStraight, x, z, r);
            }
        }
    }
    std::vector<int> Kinds() const {
        std::vector<int> kinds;
        for (int i = 0; i < route.GetNodeCount(); ++i)
            kinds.push_back(route.GetNode(i).kind);
        return kinds;
    }
};

TEST_F(Route, EverySampleTrackBuildsItsRouteAsItsLayoutSays) {
    const struct {
        const char* file;
        bool broken;
        int status, nodes, sections, length, stretchMean;
        int errorX, errorZ;
    } tracks[] = {
        {"GameTracks/circuit.trk", false, 1, 20, 20, 608, 96, -1, -1},
        {"GameTracks/ice.trk", false, 1, 20, 20, 608, 96, -1, -1},
        {"GameTracks/jungle.trk", false, 1, 20, 20, 608, 96, -1, -1},
        {"GameTracks/desert.trk", false, 1, 20, 20, 608, 96, -1, -1},
        {"SavedTracks/ramps.trk", false, 1, 20, 20, 608, 96, -1, -1},
        {"SavedTracks/oneway.trk", false, 1, 19, 16, 608, 96, -1, -1},
        // The truck pad, entered on its cell (1, 0), leaves from its cell (1, -1): two nodes, one section.
        {"GameTracks/pads.trk", false, 1, 20, 19, 608, 96, -1, -1},
        // Over pads and stunt pieces: the loop and the truck pad give two nodes each to one section; the
        // side force's second cell, its fall zone, is none of the route.
        {"GameTracks/demo.trk", false, 1, 20, 18, 608, 96, -1, -1},
        // Up the left side, along the top and down to (6, 4), before the gap at (6, 3).
        {"SavedTracks/broken.trk", true, 2, 11, 11, 304, 0, 6, 4},
        // The start piece alone, with nothing on either side.
        {"SavedTracks/hills.trk", true, 2, 1, 1, 0, 0, 8, 8},
    };
    for (const auto& t : tracks) {
        SCOPED_TRACE(t.file);
        LoadTrack(t.file);
        route.BuildRoute(&grid, nullptr);
        EXPECT_EQ(route.IsRouteBroken(), t.broken);
        EXPECT_EQ(route.GetRouteStatus(), t.status);
        EXPECT_EQ(route.GetNodeCount(), t.nodes);
        EXPECT_EQ(route.GetSectionCount(), t.sections);
        EXPECT_EQ(route.GetRouteLength(), t.length);
        EXPECT_EQ(route.GetStretchMean(), t.stretchMean);
        EXPECT_EQ(route.GetRouteErrorPosition().x, static_cast<float>(t.errorX));
        EXPECT_EQ(route.GetRouteErrorPosition().z, static_cast<float>(t.errorZ));
        // Exactly the pieces of the sections carry the on-route mark.
        int marked = 0;
        for (std::uint32_t x = 0; x < grid.GetSizeX(); ++x)
            for (std::uint32_t z = 0; z < grid.GetSizeZ(); ++z) {
                const CGridCell* cell = grid.GetCell(x, z);
                if (cell->piece && cell->piece->IsOnRoute())
                    ++marked;
            }
        // A broken route of two nodes or fewer marks nothing.
        EXPECT_EQ(marked, t.nodes > 2 ? t.sections : 0);
        // Sections follow one another round the ring, each holding its nodes.
        for (int i = 0; i < route.GetSectionCount(); ++i) {
            const SRouteSection* s = route.GetSectionWrapped(i, nullptr);
            EXPECT_EQ(s->firstNode, i == 0 ? 0 : route.GetSectionWrapped(i - 1, nullptr)->lastNode + 1);
        }
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(Route, ATruncatedTrackFileLeavesNoRouteAndSaysWhy) {
    std::ifstream file(testsupport::GeneratedSampleSet() / "GameTracks/circuit.trk", std::ios::binary);
    std::vector<std::uint8_t> image{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GT(image.size(), 40000u);
    image.resize(40000);
    CTrackFileReader reader(grid, builder, assets.get(), nullptr);
    std::string why;
    EXPECT_FALSE(reader.Read(image, why));
    route.BuildRoute(&grid, nullptr);
    EXPECT_EQ(route.GetRouteStatus(), CRouteNodeMan::kErrorNoStart);
    EXPECT_EQ(route.GetNodeCount(), 0);
    EXPECT_EQ(services.log,
              (std::vector<std::string>{"19 Route broken (error 3): no start piece on the grid"}));
}

TEST_F(Route, TheDemoCircuitsNodesLanesTurnsAndSides) {
    LoadTrack("GameTracks/circuit.trk");
    route.BuildRoute(&grid, nullptr);
    ASSERT_EQ(route.GetNodeCount(), 20);
    // Node: cell, corner shift, kind, lane, distance from the one before, turn A.
    const struct {
        int node, column, row;
        float dx, dz;
        int kind, lane, distance, turnA;
    } nodes[] = {
        {0, 1, 3, 0, 0, 0, 6, 32, 0},  {1, 1, 4, 0, 0, 1, 8, 32, 0},   {3, 1, 6, 4, -4, 3, 8, 28, 1},
        {4, 2, 6, 0, 0, 1, 8, 28, 0},  {8, 6, 6, -4, -4, 3, 8, 28, 1}, {13, 6, 1, -4, 4, 3, 8, 28, 1},
        {18, 1, 1, 4, 4, 3, 8, 28, 1}, {19, 1, 2, 0, 0, 1, 8, 28, 0},
    };
    for (const auto& n : nodes) {
        SCOPED_TRACE(n.node);
        const CRouteNode node = route.GetNode(n.node);
        EXPECT_EQ(node.position, At(n.column, n.row) + CVector(n.dx, 0.0f, n.dz));
        EXPECT_EQ(node.kind, n.kind);
        EXPECT_EQ(node.laneWidth, n.lane);
        EXPECT_EQ(node.distance, n.distance);
        EXPECT_EQ(node.turnA, n.turnA);
        EXPECT_EQ(node.turnB, 0);
        EXPECT_EQ(node.cornerMark, n.kind == 3 ? 1 : 0);
    }
    // Across the route, to the outside of the ring on the left side and on the top.
    EXPECT_NEAR(route.GetNode(1).side.x, -1.0f, 1e-6f);
    EXPECT_NEAR(route.GetNode(5).side.z, 1.0f, 1e-6f);
    // Outside the grid and at the last build's edges.
    EXPECT_EQ(route.GetNode(20).kind, -1);
    EXPECT_EQ(route.GetNode(-1).kind, -1);
    int kind = -1;
    EXPECT_TRUE(route.GetTilePieceKind(1, 3, kind));
    EXPECT_EQ(kind, 0);
    EXPECT_FALSE(route.GetTilePieceKind(3, 3, kind));
    EXPECT_FALSE(route.GetTilePieceKind(8, 0, kind));
    EXPECT_FALSE(route.GetTilePieceKind(-1, 0, kind));
}

TEST_F(Route, TheOneWayCircuitsMultiCellPiecesAndTheirTileWords) {
    LoadTrack("SavedTracks/oneway.trk");
    route.BuildRoute(&grid, nullptr);
    // The one-way piece adds its entry and exit cells; its last node counts as a straight. The long
    // straights are special; corners before a narrowing piece keep to the centre.
    EXPECT_EQ(Kinds(), (std::vector<int>{0, 12, 1, 3, 1, 1, 1, 1, 3, 2, 2, 2, 2, 3, 1, 1, 1, 1, 3}));
    EXPECT_EQ(route.GetNode(2).position, At(1, 5));
    EXPECT_EQ(route.GetNode(8).laneWidth, 0);
    EXPECT_EQ(route.GetNode(18).laneWidth, 0);
    EXPECT_EQ(route.GetNode(3).laneWidth, 8);
    EXPECT_EQ(route.GetNode(9).laneWidth, 8);
    // The tile words of the pieces of several cells point back to their anchors.
    const struct {
        int column, row, dx, dz;
    } cells[] = {{1, 3, 0, 0}, {1, 4, 0, -1}, {1, 5, 0, -2}, {6, 5, 0, -1}, {6, 3, 0, -1}};
    for (const auto& c : cells) {
        int dx = 9, dz = 9;
        EXPECT_TRUE(route.GetTileAnchorOffset(c.column, c.row, dx, dz));
        EXPECT_EQ(dx, c.dx) << c.column << "," << c.row;
        EXPECT_EQ(dz, c.dz) << c.column << "," << c.row;
    }
    int dx = 0, dz = 0;
    EXPECT_FALSE(route.GetTileAnchorOffset(3, 3, dx, dz));
    int section = -1;
    ASSERT_NE(route.GetSectionOfNode(10, &section), nullptr);
    EXPECT_EQ(section, 8);
    EXPECT_EQ(route.GetSectionOfNode(19, nullptr), nullptr);
}

TEST_F(Route, TurnedMultiCellPiecesPointEveryCellBackToItsAnchor) {
    // Each turn of the three-cell piece at (3, 3): the cells it covers and their anchor offsets.
    const struct {
        int rotation;
        int cells[2][2];
    } turns[] = {{0, {{3, 4}, {3, 5}}}, {1, {{4, 3}, {5, 3}}}, {2, {{3, 2}, {3, 1}}}, {3, {{2, 3}, {1, 3}}}};
    for (const auto& t : turns) {
        SCOPED_TRACE(t.rotation);
        ASSERT_NE(Place(kOneWay, 3, 3, t.rotation), nullptr);
        Place(kStart, 6, 6, 0);
        route.BuildRoute(&grid, nullptr);
        for (const auto& c : t.cells) {
            int kind = -1, dx = 0, dz = 0;
            EXPECT_TRUE(route.GetTilePieceKind(c[0], c[1], kind));
            EXPECT_EQ(kind, 12);
            EXPECT_TRUE(route.GetTileAnchorOffset(c[0], c[1], dx, dz));
            EXPECT_EQ(3 - c[0], dx);
            EXPECT_EQ(3 - c[1], dz);
        }
        grid.ClearAllCells();
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(Route, EveryTurnOfTheStartPieceClosesTheRing) {
    const struct {
        int x, z, rotation;
        int secondColumn, secondRow;
    } starts[] = {{1, 3, 0, 1, 4}, {1, 3, 2, 1, 2}, {3, 1, 1, 4, 1}, {3, 1, 3, 2, 1}};
    for (const auto& s : starts) {
        SCOPED_TRACE(s.rotation);
        Ring(s.x, s.z, s.rotation);
        route.BuildRoute(&grid, nullptr);
        EXPECT_FALSE(route.IsRouteBroken());
        EXPECT_EQ(route.GetRouteStatus(), 1);
        EXPECT_EQ(route.GetNodeCount(), 20);
        EXPECT_EQ(route.GetRouteLength(), 608);
        EXPECT_EQ(route.GetNode(0).position, At(s.x, s.z));
        EXPECT_EQ(route.GetNode(1).position, At(s.secondColumn, s.secondRow));
        grid.ClearAllCells();
        CWorldMan::DeleteAllObjects();
    }
}

class RouteErrors : public Route {
public:
    /// A piece made without the world (scenery and second-list pieces the sample set has no record for).
    CTrackObject* Loose(int typeId, int x, int z, bool place = true) {
        m_loose.push_back(std::make_unique<CTrackObject>(typeId));
        CTrackObject* piece = m_loose.back().get();
        piece->SetPositionVector(At(x, z));
        if (place)
            grid.PlacePiece(piece, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z), 0);
        return piece;
    }

protected:
    void TearDown() override {
        grid.FreeCells();
        m_loose.clear();
        Route::TearDown();
    }

private:
    std::vector<std::unique_ptr<CTrackObject>> m_loose;
};

TEST_F(RouteErrors, EachFaultBreaksTheRouteWithItsCodeOnThePieceAtFault) {
    const struct {
        const char* what;
        std::function<void(RouteErrors&)> lay;
        int status, nodes, errorX, errorZ, helpId;
    } cases[] = {
        {"no start piece", [](RouteErrors& t) { t.Place(kStraight, 3, 3, 0); }, 3, 0, -1, -1, 57033},
        {"nothing after the start", [](RouteErrors& t) { t.Place(kStart, 3, 3, 0); }, 2, 1, 3, 3, 57230},
        {"the start faces off the grid", [](RouteErrors& t) { t.Place(kStart, 3, 7, 0); }, 4, 1, 3, 7, 57003},
        {"the start's back faces off the grid",
         [](RouteErrors& t) {
             t.Place(kStart, 3, 0, 0);
             t.Place(kStraight, 3, 1, 0);
         },
         4, 2, 3, 0, 57003},
        {"a straight entered from its side",
         [](RouteErrors& t) {
             t.Place(kStart, 1, 3, 1);
             t.Place(kStraight, 2, 3, 0);
         },
         5, 1, 2, 3, 57002},
        {"a one-way piece entered against it",
         [](RouteErrors& t) {
             t.Place(kStart, 1, 2, 0);
             t.Place(kOneWay, 1, 5, 2);
         },
         6, 1, 1, 5, 57002},
        {"a one-way piece entered from its side",
         [](RouteErrors& t) {
             t.Place(kStart, 2, 4, 1);
             t.Place(kOneWay, 3, 3, 0);
         },
         5, 1, 3, 3, 57002},
        {"raised ground in the way",
         [](RouteErrors& t) {
             t.Place(kStart, 3, 3, 0);
             t.grid.ResetCellHeight(t.Loose(15270, 3, 4, false), 3, 4, 8.0f);
         },
         10, 1, 3, 4, -1},
        {"scenery in the way",
         [](RouteErrors& t) {
             t.Place(kStart, 3, 3, 0);
             t.Loose(15262, 3, 4);
         },
         12, 1, 3, 4, 57227},
        {"a late second-list piece in the way",
         [](RouteErrors& t) {
             t.Place(kStart, 3, 3, 0);
             t.Loose(15246, 3, 4);
         },
         11, 1, 3, 4, 57227},
        {"a gap in the ring",
         [](RouteErrors& t) {
             t.Ring(1, 3, 0, {{6, 3}});
         },
         2, 11, 6, 4, 57230},
        // The rising step to (1, 4) has no ramp: the route ends before it.
        {"a step up without a ramp",
         [](RouteErrors& t) {
             t.Ring(1, 3, 0, {{1, 4}});
             t.Place(kStraight, 1, 4, 0, 8.0f);
         },
         8, 1, 1, 4, 57001},
        {"a ramp down from the same level",
         [](RouteErrors& t) {
             t.Ring(1, 3, 0, {{6, 5}});
             t.Place(kRamp, 6, 5, 0);
         },
         7, 9, 6, 5, 57002},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        route.BuildRoute(&grid, nullptr); // a good status before, as the editor's first build
        c.lay(*this);
        route.BuildRoute(&grid, nullptr);
        EXPECT_TRUE(route.IsRouteBroken());
        EXPECT_EQ(route.GetRouteStatus(), c.status);
        EXPECT_EQ(route.GetNodeCount(), c.nodes);
        EXPECT_EQ(route.GetRouteErrorPosition().x, static_cast<float>(c.errorX));
        EXPECT_EQ(route.GetRouteErrorPosition().z, static_cast<float>(c.errorZ));
        EXPECT_EQ(route.GetRouteErrorHelpId(), c.helpId);
        EXPECT_EQ(route.GetRouteErrorPiece(&grid) != nullptr, c.errorX >= 0);
        if (route.GetNodeCount() < 2)
            EXPECT_EQ(route.GetRouteLength(), 0);
        EXPECT_FALSE(services.log.empty());
        services.log.clear();
        grid.ClearAllCells();
        grid.FreeCells();
        grid.AllocateCells(8, 8);
        CWorldMan::DeleteAllObjects();
    }
}

TEST_F(RouteErrors, ARouteLongerThanItsPoolsStopsAtTheirEnd) {
    // A ring of 522 pieces round a grid of 260 x 3: more than the 512 nodes and sections a route holds.
    grid.FreeCells();
    grid.AllocateCells(260, 3);
    Place(kCorner, 0, 0, 0);
    Place(kCorner, 259, 0, 3);
    Place(kCorner, 259, 2, 2);
    Place(kCorner, 0, 2, 1);
    Place(kStart, 0, 1, 0);
    Place(kStraight, 259, 1, 0);
    for (int x = 1; x < 259; ++x) {
        Place(kStraight, x, 0, 1);
        Place(kStraight, x, 2, 1);
    }
    route.BuildRoute(&grid, nullptr);
    EXPECT_TRUE(route.IsRouteBroken());
    EXPECT_EQ(route.GetRouteStatus(), CRouteNodeMan::kErrorTooLong);
    EXPECT_EQ(route.GetNodeCount(), CRouteNodeMan::kMaxNodes);
    EXPECT_EQ(route.GetSectionCount(), CRouteNodeMan::kMaxSections);
    EXPECT_EQ(route.GetRouteErrorHelpId(), -1);
    // Up from the start, along the top, down the far end and back along the bottom to cell 10.
    EXPECT_EQ(route.GetNode(511).position, At(10, 0));
    EXPECT_EQ(route.GetNode(512).kind, -1);
}

TEST_F(Route, ARebuildMarksOnlyThePiecesOfTheNewRoute) {
    LoadTrack("GameTracks/circuit.trk");
    route.BuildRoute(&grid, nullptr);
    CTrackObject* beyond = grid.GetPieceAt(6, 2);
    ASSERT_TRUE(beyond->IsOnRoute());
    grid.RemovePiece(6, 3);
    route.BuildRoute(&grid, nullptr);
    EXPECT_EQ(route.GetRouteStatus(), CRouteNodeMan::kErrorNoPiece);
    EXPECT_FALSE(beyond->IsOnRoute());
    EXPECT_TRUE(grid.GetPieceAt(6, 4)->IsOnRoute());
}

TEST_F(Route, TheNoErrorHelpItemAnnouncesANewlyClosedRouteByGridSize) {
    const struct {
        std::uint32_t size;
        int first, again;
    } grids[] = {{8, 57213, -1}, {16, 57036, -1}};
    for (const auto& g : grids) {
        grid.FreeCells();
        grid.AllocateCells(g.size, g.size);
        route.BuildRoute(&grid, nullptr); // no start: status 3
        Ring(1, 3, 0);
        route.BuildRoute(&grid, nullptr);
        EXPECT_EQ(route.GetRouteStatus(), 1);
        EXPECT_EQ(route.GetRouteErrorHelpId(), g.first) << g.size;
        route.BuildRoute(&grid, nullptr);
        EXPECT_EQ(route.GetRouteErrorHelpId(), g.again) << g.size;
        grid.ClearAllCells();
        CWorldMan::DeleteAllObjects();
    }
}

/// Ground 5 units up everywhere.
class RaisedGround : public IWorldTopographyLink {
public:
    float GetHeight(float, float) const override { return 5.0f; }
};

TEST_F(Route, AnEditorBuildTakesNoGroundAndTurnsTheOldErrorPieceOff) {
    RaisedGround ground;
    CTrackObject* start = Place(kStart, 3, 3, 0);
    route.BuildRoute(&grid, &ground);
    ASSERT_EQ(route.GetRouteErrorPiece(&grid), start);
    // A broken route keeps the heights of its end nodes.
    EXPECT_EQ(route.GetNode(0).position.y, 5.0f);
    start->SetHighlight(0);
    route.SetEditorBuild(true);
    route.BuildRoute(&grid, &ground);
    EXPECT_EQ(start->GetHighlightMode(), 3u);
    EXPECT_EQ(route.GetNode(0).position.y, 0.0f);
}

/// A route whose pieces read footprints as bad data may give them: cells off the grid and more cells
/// than a connection record has bytes.
class DataFootprintRoute : public CRouteNodeMan {
public:
    std::vector<CTrackObject::SCellOffset> footprint;

protected:
    const std::vector<CTrackObject::SCellOffset>& FootprintOf(const CTrackObject&) const override {
        return footprint;
    }
};

TEST_F(Route, FootprintsFromDataNeverReachPastTheGridOrTheRecord) {
    DataFootprintRoute bad;
    bad.footprint = {{0, 0}, {0, -1}, {0, 1}, {0, 2}};
    for (int i = 0; i < 8; ++i)
        bad.footprint.push_back({1, i - 3});
    Place(kStart, 7, 6, 0);
    Place(kStraight, 7, 7, 0);
    bad.BuildRoute(&grid, nullptr);
    int kind = -1;
    EXPECT_TRUE(bad.GetTilePieceKind(7, 5, kind));
    EXPECT_FALSE(bad.GetTilePieceKind(8, 6, kind));
    EXPECT_TRUE(bad.IsRouteBroken());
    EXPECT_LE(bad.GetNodeCount(), CRouteNodeMan::kMaxNodes);
}

TEST(RouteKinds, PerKindColumnsAndAlignment) {
    const struct {
        int kind, type;
        bool narrowing, oneWay, drop;
    } kinds[] = {
        {0, 0, true, false, true},     {1, 3, false, false, true},    {2, 5, true, false, false},
        {3, 1, false, false, false},   {10, 2, true, false, true},    {11, 6, true, false, true},
        {12, 5, true, true, false},    {18, 2, true, true, false},    {24, 2, true, true, true},
        {25, 3, true, false, false},   {28, 3, true, false, true},    {29, 2, true, false, true},
        {35, 3, true, false, false},   {36, 3, true, false, true},    {44, 3, true, false, false},
        {-1, -1, false, false, false}, {45, -1, false, false, false}, {127, -1, false, false, false},
    };
    for (const auto& k : kinds) {
        EXPECT_EQ(CRouteNodeMan::GetRouteType(k.kind), k.type) << k.kind;
        EXPECT_EQ(CRouteNodeMan::IsNarrowingKind(k.kind), k.narrowing) << k.kind;
        EXPECT_EQ(CRouteNodeMan::IsOneWayKind(k.kind), k.oneWay) << k.kind;
        EXPECT_EQ(CRouteNodeMan::IsLevelDropAllowed(k.kind), k.drop) << k.kind;
    }
    CTrackObject piece(15201);
    piece.SetRotation(1);
    // Mode, direction: aligned?
    const struct {
        int mode, direction;
        bool aligned;
    } modes[] = {{0, 1, true}, {0, 3, true},  {0, 0, false}, {2, 1, true},  {2, 3, false},
                 {6, 0, true}, {7, 1, false}, {0, 4, false}, {5, -1, false}};
    for (const auto& m : modes)
        EXPECT_EQ(CRouteNodeMan::IsAlignedWith(&piece, m.mode, m.direction), m.aligned)
            << m.mode << "," << m.direction;
    EXPECT_TRUE(CRouteNodeMan::IsAlignedWith(nullptr, 2, 9));
}

TEST_F(Route, NearestNodesStepsAndDistancesOnTheDemoCircuit) {
    LoadTrack("GameTracks/circuit.trk");
    route.BuildRoute(&grid, nullptr);
    const auto nearest = [this](CVector p, int hint, bool skip = false) {
        int node = -99;
        return route.FindNearestNode(p, node, hint, skip) ? node : -99;
    };
    // Position, hint: nearest node.
    const struct {
        CVector position;
        int hint, node;
    } finds[] = {
        {At(3, 6), -1, 5},
        {At(3, 6) + CVector(16.0f, 9.0f, 0.0f), -1, 6}, // halfway between 5 and 6: the later
        {At(6, 4), -1, 10},
        {At(6, 4), 0, 16}, // only nodes within 4 steps of node 0 count
        {At(6, 4), 12, 10},
        {At(6, 4), 25, 10}, // a hint from another route counts as none
        {CVector(1e30f, 0.0f, 1e30f), -1, 19},
    };
    for (const auto& f : finds)
        EXPECT_EQ(nearest(f.position, f.hint), f.node)
            << f.position.x << "," << f.position.z << " " << f.hint;

    const struct {
        int a, b, steps;
    } steps[] = {{0, 19, 1},
                 {19, 0, 1},
                 {0, 10, 10},
                 {3, 15, 8},
                 {7, 7, 0},
                 {0, 20, CRouteNodeMan::kUnreachable},
                 {-1, 0, CRouteNodeMan::kUnreachable}};
    for (const auto& s : steps)
        EXPECT_EQ(route.GetRouteSteps(s.a, s.b), s.steps) << s.a << "," << s.b;

    const int distances[][2] = {{0, 0}, {1, 32}, {3, 92}, {19, 576}, {40, 576}, {-3, 0}};
    for (const auto& d : distances)
        EXPECT_EQ(route.GetRouteDistanceToNode(d[0]), d[1]) << d[0];

    // Corners: nearest, or fewest steps from a hint.
    int corner = -1;
    EXPECT_TRUE(route.FindNearestCornerNode(At(5, 5), corner));
    EXPECT_EQ(corner, 8);
    EXPECT_TRUE(route.FindNearestCornerNode(At(5, 5), corner, 0));
    EXPECT_EQ(corner, 18);
    EXPECT_TRUE(route.FindNearestCornerNode(At(5, 5), corner, 1));
    EXPECT_EQ(corner, 3);

    // The car reset's search on a cell, and whether a cell holds a node.
    EXPECT_EQ(route.FindNearestNodeOnTile(At(6, 4) + CVector(10.0f, 0.0f, 10.0f), 0), 10);
    EXPECT_EQ(route.FindNearestNodeOnTile(At(3, 3), 0), -1);
    EXPECT_EQ(route.FindNearestNodeOnTile(At(6, 4), -1), -1);
    EXPECT_TRUE(route.IsOnNodeTile(At(1, 1)));
    EXPECT_FALSE(route.IsOnNodeTile(At(2, 2)));
    EXPECT_FALSE(route.IsOnNodeTile(CVector(-500.0f, 0.0f, 0.0f)));
}

TEST_F(Route, AHintAmongSpecialPiecesComesBackWhenTheyAreSkipped) {
    // A tall ring on the large grid whose left side is five long straights (special pieces): ten nodes
    // in a row that the search may skip.
    grid.FreeCells();
    grid.AllocateCells(16, 16);
    Place(kCorner, 1, 1, 0);
    Place(kCorner, 6, 1, 3);
    Place(kCorner, 6, 14, 2);
    Place(kCorner, 1, 14, 1);
    Place(kStart, 1, 2, 0);
    for (int z = 3; z <= 11; z += 2)
        Place(15202, 1, z, 0);
    Place(kStraight, 1, 13, 0);
    for (int z = 2; z <= 13; ++z)
        Place(kStraight, 6, z, 0);
    for (int x = 2; x <= 5; ++x) {
        Place(kStraight, x, 1, 1);
        Place(kStraight, x, 14, 1);
    }
    route.BuildRoute(&grid, nullptr);
    ASSERT_FALSE(route.IsRouteBroken());
    ASSERT_EQ(route.GetNode(5).kind, 2);
    const struct {
        int hint;
        bool skip;
        int node;
    } finds[] = {{5, false, 5},
                 {5, true, 5},
                 {1, true, 0},
                 {9, true, 11},
                 // As far from the start as from the right side's node 24: the later.
                 {-1, true, 24}};
    for (const auto& f : finds) {
        int node = -1;
        EXPECT_TRUE(route.FindNearestNode(route.GetNode(5).position, node, f.hint, f.skip));
        EXPECT_EQ(node, f.node) << f.hint << " " << f.skip;
    }
}

TEST_F(Route, SegmentsNeighboursAndLateralOffsetsAroundTheRing) {
    LoadTrack("GameTracks/circuit.trk");
    route.BuildRoute(&grid, nullptr);
    // Node 0 at (-68, -4), node 1 at (-68, 28), node 19 at (-68, -36): the left side runs along +z.
    const struct {
        CVector position;
        int from, to, offset;
        int segmentFrom; ///< nodes 1 and 19 equally near: the segment takes the later, the neighbours the
                         ///< next
    } points[] = {
        {CVector(-68.0f, 0.0f, -10.0f), 19, 0, 0, 19}, // on the line: no offset
        {CVector(-68.0f, 0.0f, -30.0f), 19, 0, 0, 19},
        {CVector(-68.0f, 0.0f, 5.0f), 0, 1, 0, 0},
        {CVector(-60.0f, 0.0f, 10.0f), 0, 1, -8, 0}, // inside the ring
        {CVector(-76.0f, 0.0f, 10.0f), 0, 1, 8, 0},  // outside, the side vectors' side
        // Raised and just past node 0: still the distance square to the line.
        {CVector(-64.0f, 1.5f, -3.0f), 0, 1, -4, 0},
        // Level with node 0: the crossing line runs along the route.
        {CVector(-60.0f, 0.0f, -4.0f), 0, 1, -8, 19},
        {CVector(-76.0f, 0.0f, -4.0f), 0, 1, 8, 19},
        {CVector(-68.0f, 0.0f, -4.0f), 0, 1, 0, 19}, // on node 0
    };
    for (const auto& p : points) {
        SCOPED_TRACE(std::to_string(p.position.x) + "," + std::to_string(p.position.z));
        int a = -1, b = -1;
        ASSERT_TRUE(route.GetNeighbourNodes(p.position, a, b));
        EXPECT_EQ(a, p.from);
        EXPECT_EQ(b, p.to);
        ASSERT_TRUE(route.GetRouteSegment(p.position, a, b));
        EXPECT_EQ(a, p.segmentFrom);
        EXPECT_EQ(b, p.segmentFrom == 19 ? 0 : 1);
        EXPECT_EQ(route.GetLateralOffset(p.position), p.offset);
        EXPECT_EQ(route.GetDriverLateralOffset(p.position, 0), p.offset);
    }
    // Segments with a hint keep to the hint's neighbourhood.
    int a = -1, b = -1;
    ASSERT_TRUE(route.GetRouteSegment(At(6, 4), a, b, 2));
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    // Far away and off the numbers: no undefined conversion, a bounded answer.
    EXPECT_LE(std::abs(route.GetLateralOffset(CVector(1e30f, 0.0f, -1e30f))), 1000000);
    EXPECT_EQ(route.GetLateralOffset(CVector(NAN, 0.0f, NAN)), 0);
}

TEST_F(Route, LevelTestsBetweenTheSectionsOfTheRampCircuit) {
    LoadTrack("SavedTracks/ramps.trk");
    route.BuildRoute(&grid, nullptr);
    ASSERT_FALSE(route.IsRouteBroken());
    // Sections: 0 start (level 0), 1 rising ramp (0), 2 raised straight (1), 3 corner (1), 9 falling ramp
    // (0), 10 straight (0).
    const int levels[][2] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {8, 1}, {9, 0}, {10, 0}};
    for (const auto& l : levels)
        EXPECT_EQ(route.GetSectionWrapped(l[0], nullptr)->level, l[1]) << l[0];
    const struct {
        int from, to;
        bool reach, climb;
    } pairs[] = {
        {0, 1, true, true},    {1, 2, true, false},   {0, 2, false, false}, {3, 9, true, true},
        {10, 9, false, false}, {2, 0, true, true},    {0, 8, false, false}, {9, 10, true, true},
        {0, 20, false, false}, {-1, 0, false, false},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(route.CanReachSection(p.from, p.to), p.reach) << p.from << "->" << p.to;
        EXPECT_EQ(route.CanClimbTo(p.from, p.to), p.climb) << p.from << "->" << p.to;
    }
}

TEST_F(Route, WithoutNodesEveryQueryAnswersNone) {
    route.BuildRoute(&grid, nullptr);
    ASSERT_EQ(route.GetNodeCount(), 0);
    int a = 5, b = 5;
    EXPECT_FALSE(route.FindNearestNode(At(1, 1), a, 3));
    EXPECT_FALSE(route.FindNearestCornerNode(At(1, 1), a, 3));
    EXPECT_EQ(route.FindNearestNodeOnTile(At(1, 1), 0), -1);
    EXPECT_EQ(route.GetRouteSteps(0, 0), CRouteNodeMan::kUnreachable);
    EXPECT_EQ(route.GetRouteDistanceToNode(3), 0);
    EXPECT_FALSE(route.GetRouteSegment(At(1, 1), a, b));
    EXPECT_FALSE(route.GetNeighbourNodes(At(1, 1), a, b));
    EXPECT_EQ(route.GetLateralOffset(At(1, 1)), 0);
    EXPECT_EQ(route.GetDriverLateralOffset(At(1, 1), 0), 0);
    EXPECT_FALSE(route.CanReachSection(0, 0));
    EXPECT_EQ(route.GetSectionWrapped(-1, nullptr), nullptr);
    EXPECT_EQ(route.GetNode(-1).kind, -1);
    EXPECT_EQ(route.GetRouteErrorPiece(&grid), nullptr);
    // The manager's start is a reset.
    EXPECT_EQ(route.StartManager(), 0);
    EXPECT_TRUE(route.IsStarted());
    EXPECT_EQ(route.GetRouteStatus(), 1);
    EXPECT_EQ(route.GetPreviousRouteStatus(), CRouteNodeMan::kErrorNoStart);
    EXPECT_EQ(route.StopManager(), 0);
    EXPECT_FALSE(route.IsStarted());
}

} // namespace
