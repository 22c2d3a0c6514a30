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
