// The race world's start grid: ranks by top speed and the slots beside and behind the start piece.

#include "race/WorldRaceMan.h"

#include <gtest/gtest.h>

using namespace zentrix;

TEST(RaceGrid, RanksBySpeedAndSlotsAroundTheStart) {
    const struct {
        std::vector<float> speeds;
        std::vector<int> ranks;
    } cases[] = {
        {{1, 1, 1, 1}, {0, 1, 2, 3}}, // ties keep the entry order
        {{1, 2, 3, 4}, {3, 2, 1, 0}}, {{5, 9, 5, 1}, {1, 0, 2, 3}}, {{2, 2}, {0, 1}}, {{7}, {0}},
        {{3, 8, 8, 3}, {2, 0, 1, 3}},
    };
    for (const auto& c : cases) {
        std::vector<int> ranks(c.speeds.size(), -1);
        CWorldRaceMan::RankBySpeed(c.speeds.data(), static_cast<int>(c.speeds.size()), ranks.data());
        EXPECT_EQ(ranks, c.ranks);
    }

    // Facing -z from (100, 2, 50), the side +x: the front row 10 ahead, 5 either side, the back 4 behind.
    const CVector start(100, 2, 50), facing(0, 0, -1), side(1, 0, 0);
    const CVector slots[] = {{95, 2, 40}, {105, 2, 40}, {95, 2, 54}, {105, 2, 54}};
    for (int g = 0; g < 4; ++g)
        EXPECT_EQ(CWorldRaceMan::GridSlotPosition(g, start, facing, side), slots[g]) << g;
}
