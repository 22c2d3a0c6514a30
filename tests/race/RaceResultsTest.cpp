// Race results: lap counting round the ring, scores, positions, finishing, the end of the race.

#include "RaceDoubles.h"

#include "foundation/assets/AssetMan.h"
#include "race/RaceResultsMan.h"
#include "support/SampleSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace zentrix;
using namespace racetest;

namespace {

/// Nodes `from` to `to` one after the other round a ring of `n`, forwards or backwards.
std::vector<int> Path(int from, int to, int n = 40, bool backwards = false) {
    std::vector<int> out{from};
    for (int node = from; node != to;) {
        node = backwards ? (node + n - 1) % n : (node + 1) % n;
        out.push_back(node);
    }
    return out;
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

/// Up to four racers on a ring of 40 nodes (route length 1240): slot 0 is a player, the rest opponents.
struct ResultsRig {
    explicit ResultsRig(int racers, int laps = 3, bool broken = false, int humans = 1) : route(40) {
        services.route = &route;
        links.route = &route;
        const int indices[] = {10, 6, 7, 4};
        for (int slot = 0; slot < racers; ++slot) {
            const bool human = slot < humans;
            drivers[slot] = std::make_unique<PlainDriver>(human ? 0 : 1, indices[slot], slot, &services);
            drivers[slot]->SetRacerCar(&cars[slot]);
            drivers[slot]->SetStartPosition(slot + 1);
            drivers[slot]->Activate();
            cars[slot].typeId = 60010 - slot;
            links.drivers[slot] = drivers[slot].get();
            Place(slot, 38);
        }
        CRaceResultsMan::SStart start;
        start.routeBroken = broken ? 1 : 0;
        start.laps = laps;
        start.racerCount = racers;
        start.humanCount = humans;
        results.StartRace(start);
    }
    void Place(int slot, int node) {
        cars[slot].position = route.nodes[static_cast<std::size_t>(node)];
        drivers[slot]->SetLapNode(node);
    }
    /// One frame per node of `path` for each of `slots` together.
    void Drive(std::initializer_list<int> slots, const std::vector<int>& path, int ms = 16) {
        for (int node : path) {
            for (int slot : slots)
                Place(slot, node);
            results.Update(ms);
        }
    }
    const CRaceResultsMan::SRecord& Record(int i) const {
        return results.GetRecords()[static_cast<std::size_t>(i)];
    }

    RingRoute route;
    FakeServices services;
    FakeResultsLinks links;
    FakeCar cars[4];
    std::unique_ptr<PlainDriver> drivers[4];
    CRaceResultsMan results{links};
};

TEST(RaceResults, LapsCountOnlyWhenTheLineIsCrossedForwards) {
    const std::vector<int> firstCrossing = Path(38, 1);
    const struct {
        const char* name;
        std::vector<int> path;
        int laps;
    } cases[] = {
        {"standing behind the line", Path(38, 39), -1},
        {"the first crossing makes 0", firstCrossing, 0},
        {"a whole lap", Join({firstCrossing, Path(2, 1)}), 1},
        {"back over the line and forwards again", Join({firstCrossing, Path(0, 37, 40, true), Path(38, 1)}),
         0},
        {"back eleven nodes and forwards again", Join({firstCrossing, Path(0, 30, 40, true), Path(31, 1)}),
         1},
        {"a jump from the wrap window past the line", Join({firstCrossing, Path(2, 37), {3}}), 1},
        {"a jump from before the window", Join({firstCrossing, Path(2, 35), {3}}), 0},
        {"a jump beyond the window", Join({firstCrossing, Path(2, 37), {5}}), 0},
        {"three laps", Join({firstCrossing, Path(2, 1), Path(2, 1), Path(2, 1)}), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResultsRig rig(1, 5);
        rig.Drive({0}, c.path);
        EXPECT_EQ(rig.Record(0).laps, c.laps);
        EXPECT_FALSE(rig.Record(0).finished);
    }
}

TEST(RaceResults, AThreeLapRaceEndsForAPlayerAtThreeLapsWithCuesOnce) {
    ResultsRig rig(1, 3);
    const std::vector<int> lap = Path(2, 1);
    rig.Drive({0}, Join({Path(38, 1), lap, lap}));
    EXPECT_EQ(rig.Record(0).laps, 2);
    EXPECT_EQ(rig.links.plates[0], std::make_pair(1, 2));
    rig.Drive({0}, Path(2, 39));
    EXPECT_EQ(rig.links.log,
              (std::vector<std::string>{"clear plates", "add plate 0 3", "stop ui", "play 50031"}));
    EXPECT_FALSE(rig.Record(0).finished);
    rig.links.log.clear();
    // The lap counts on reaching node 0 from the last node.
    rig.Drive({0}, {0});
    EXPECT_TRUE(rig.Record(0).finished);
    EXPECT_TRUE(rig.drivers[0]->HasFinished());
    EXPECT_TRUE(rig.drivers[0]->IsWinner());
    EXPECT_FALSE(rig.drivers[0]->IsActive());
    EXPECT_TRUE(rig.results.IsRaceOver());
    EXPECT_EQ(rig.links.log, (std::vector<std::string>{"play 50024", "suspend 2000"}));
    EXPECT_GE(rig.Record(0).score, 3 * 10000);

    // The board is due 600 ms later and the race world goes on once, after 5000 ms.
    const struct {
        int ms;
        bool boardDue;
        int racesOver;
    } steps[] = {{16, false, 0},  {568, false, 0}, {1, true, 0},
                 {4399, true, 0}, {1, true, 1},    {5000, true, 1}};
    for (const auto& step : steps) {
        rig.results.Update(step.ms);
        EXPECT_EQ(rig.results.IsResultBoardDue(), step.boardDue) << rig.results.GetRaceOverTimer();
        EXPECT_EQ(rig.links.racesOver, step.racesOver) << rig.results.GetRaceOverTimer();
    }
    EXPECT_TRUE(rig.results.IsEnded());
    // Nobody took the list: the race-over handling took it, so the winner is known.
    EXPECT_EQ(rig.results.GetWinner().driver, 10);
    EXPECT_EQ(rig.results.GetWinner().kind, 0);
    EXPECT_EQ(rig.results.GetWinner().car, 60010);
    EXPECT_EQ(rig.results.GetWinner().skin, 3);
    EXPECT_EQ(rig.results.GetWinner().tyre, 1);
    EXPECT_EQ(rig.results.GetWinner().slot, 0);
}

TEST(RaceResults, SameFrameFinishersFinishInListOrderWithTheirBonus) {
    ResultsRig rig(3, 1);
    rig.Drive({0, 1, 2}, Join({Path(38, 1), Path(2, 30)}));
    rig.Drive({1, 2}, Path(31, 39));
    ASSERT_EQ(rig.Record(1).position, 1);
    ASSERT_EQ(rig.Record(2).position, 2);
    rig.links.log.clear();
    rig.Drive({1, 2}, {0});
    EXPECT_EQ(rig.results.GetFinisherCount(), 2);
    EXPECT_TRUE(rig.drivers[1]->IsWinner());
    EXPECT_TRUE(rig.drivers[2]->HasFinished());
    EXPECT_FALSE(rig.drivers[2]->IsWinner());
    EXPECT_EQ(rig.links.log, (std::vector<std::string>{"play 50024", "suspend 2000"}));
    // Both stand on node 0, one whole route length (1240) on, with the bonus of their place.
    EXPECT_EQ(rig.Record(1).score, 1240 + 30000);
    EXPECT_EQ(rig.Record(2).score, 1240 + 20000);
    EXPECT_FALSE(rig.results.IsRaceOver()) << "the player is still racing";
    // Afterwards the finished scores stay: every new score is a jump of 10000 or more.
    const int kept = rig.Record(1).score;
    rig.Drive({1, 2}, Path(2, 9));
    EXPECT_EQ(rig.Record(1).score, kept);
    EXPECT_EQ(rig.Record(1).laps, 1);
    EXPECT_TRUE(rig.drivers[1]->HasFinished());
}

TEST(RaceResults, PositionsFollowScoresAndEqualScoresKeepListOrder) {
    const struct {
        const char* name;
        int nodes[4];
        int positions[4];
    } cases[] = {
        {"in order", {10, 8, 6, 4}, {1, 2, 3, 4}},
        {"reversed", {4, 6, 8, 10}, {4, 3, 2, 1}},
        {"all equal", {7, 7, 7, 7}, {1, 2, 3, 4}},
        {"a tie behind the leader", {7, 10, 5, 7}, {2, 1, 4, 3}},
        {"a tie at the front", {9, 3, 9, 3}, {1, 3, 2, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResultsRig rig(4);
        rig.Drive({0, 1, 2, 3}, Path(38, 1));
        for (int slot = 0; slot < 4; ++slot)
            rig.Drive({slot}, Path(2, c.nodes[slot]));
        rig.results.Update(16);
        for (int slot = 0; slot < 4; ++slot) {
            EXPECT_EQ(rig.Record(slot).position, c.positions[slot]) << slot;
            EXPECT_EQ(rig.drivers[slot]->GetRacePosition(), c.positions[slot]) << slot;
        }
    }
}

TEST(RaceResults, BigScoreJumpsAreIgnored) {
    ResultsRig rig(1);
    rig.Drive({0}, Join({Path(38, 1), Path(2, 5)}));
    const int score = rig.Record(0).score;
    EXPECT_GT(score, 0);
    // Thrown 600 units up: a change of a third of the route (413) or more is not believed.
    rig.cars[0].position = rig.route.nodes[6] + CVector(0.0f, 600.0f, 0.0f);
    rig.results.Update(16);
    EXPECT_EQ(rig.Record(0).score, score);
    rig.cars[0].position = rig.route.nodes[6] + CVector(0.0f, 300.0f, 0.0f);
    rig.results.Update(16);
    EXPECT_EQ(rig.Record(0).score, 6 * 31 - 300);
    rig.cars[0].position = rig.route.nodes[6];
    rig.results.Update(16);
    EXPECT_EQ(rig.Record(0).score, 6 * 31);
}

TEST(RaceResults, RacesThatNeverFinishOrFollowOneCar) {
    {
        SCOPED_TRACE("the lap of honour");
        ResultsRig rig(1, -1);
        const std::vector<int> lap = Path(2, 1);
        rig.Drive({0}, Join({Path(38, 1), lap, lap, lap, lap}));
        EXPECT_EQ(rig.Record(0).laps, 4);
        EXPECT_FALSE(rig.Record(0).finished);
        EXPECT_FALSE(rig.results.IsRaceOver());
        EXPECT_EQ(rig.links.racesOver, 0);
    }
    {
        SCOPED_TRACE("a broken route");
        ResultsRig rig(3, 3, true);
        EXPECT_EQ(rig.results.GetRecords().size(), 1u);
        EXPECT_EQ(rig.results.GetHumanRacers(), 1);
        rig.Drive({0, 1}, Join({Path(38, 1), Path(2, 1)}));
        EXPECT_EQ(rig.Record(0).laps, -1);
        EXPECT_EQ(rig.links.plates.size(), 1u);
        EXPECT_EQ(rig.links.plates[0], std::make_pair(1, 1));
        EXPECT_EQ(rig.links.log, (std::vector<std::string>{"clear plates", "add plate 0 -1"}));
    }
    {
        SCOPED_TRACE("no player: over with the first finisher");
        ResultsRig rig(2, 1, false, 0);
        EXPECT_EQ(rig.results.GetHumanRacers(), 0);
        rig.Drive({0, 1}, Join({Path(38, 1), Path(2, 1)}));
        EXPECT_TRUE(rig.results.IsRaceOver());
        EXPECT_TRUE(rig.links.plates.empty());
    }
    {
        SCOPED_TRACE("an empty car slot");
        ResultsRig rig(2, 1);
        rig.links.drivers.erase(1);
        rig.Drive({0}, Join({Path(38, 1), Path(2, 1)}));
        EXPECT_TRUE(rig.Record(0).finished);
        EXPECT_FALSE(rig.Record(1).finished);
        EXPECT_EQ(rig.Record(1).laps, -1);
        EXPECT_TRUE(rig.results.IsRaceOver());
    }
}

TEST(RaceResults, TheFinalListNamesTheRacersFromTheSampleTexts) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
    CAssetMan assets{CAssetMan::SLinks{}};
    ASSERT_EQ(assets.StartManager(), 0);
    ResultsRig rig(4);
    rig.links.assets = &assets;
    // The truck's index (-1) has no name: the asset below the names is none of them.
    rig.drivers[3] = std::make_unique<PlainDriver>(2, -1, 3, nullptr);
    rig.drivers[3]->SetRacerCar(&rig.cars[3]);
    rig.links.drivers[3] = rig.drivers[3].get();
    for (int slot = 0; slot < 4; ++slot)
        rig.drivers[slot]->SetStartPosition(4 - slot);
    CRaceResultsMan::SStart start;
    start.laps = 3;
    start.racerCount = 4;
    start.humanCount = 1;
    rig.results.StartRace(start);
    const std::vector<CRaceResultsMan::SResultRow> rows = rig.results.GetResultList();
    const struct {
        const char* name;
        int textId;
        bool human;
        int position;
    } expected[] = {
        {"Dash", 7010, true, 4}, {"Moss", 7006, false, 3}, {"Flick", 7007, false, 2}, {"", 6999, false, 1}};
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(rig.results.GetRecords()[slot].name, expected[slot].name);
        EXPECT_EQ(rows[slot].nameTextId, expected[slot].textId);
        EXPECT_EQ(rows[slot].human, expected[slot].human);
        EXPECT_EQ(rows[slot].position, expected[slot].position);
    }
    EXPECT_EQ(rig.results.GetWinner().driver, -1) << "the grid's first place, the truck in slot 3";
    EXPECT_EQ(rig.results.GetWinner().car, 60007);
    assets.StopManager();
    std::filesystem::current_path(previous);
}

} // namespace
