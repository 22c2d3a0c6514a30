// A lap of the plain city circuit ("circuit.trk": twenty road cells round an 8 x 8 grid, the start
// on the left side), read into the grid as the race reads it, its ground the terrain of the pieces' sample
// meshes, driven headless from recorded controls at fixed 40 ms frames; the route nodes are the cells'
// centres in driving order. The car's pose after every frame is kept in a golden trace, and two drives
// give the same trace.
//
// The controls were recorded by a simple pursuit of the route (ZENTRIX_RECORD_DRIVE=1 records them
// again into tests/golden/circuit_lap_controls.txt).

#include "GoldenTrace.h"
#include "HeadlessRun.h"
#include "support/RecordedControls.h"

#include "foundation/math/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr int kRecordFrames = 900;

/// The circuit's cells in driving order, from the start piece at (1, 3) heading -z.
std::vector<std::pair<int, int>> CircuitCells() {
    std::vector<std::pair<int, int>> cells = {{1, 3}, {1, 2}, {1, 1}};
    for (int x = 2; x <= 6; ++x)
        cells.push_back({x, 1});
    for (int z = 2; z <= 6; ++z)
        cells.push_back({6, z});
    for (int x = 5; x >= 1; --x)
        cells.push_back({x, 6});
    cells.push_back({1, 5});
    cells.push_back({1, 4});
    return cells;
}

float CellCentre(int i) {
    return 32.0f * static_cast<float>(i) - 100.0f;
}

class CarDrive : public worldtest::TrackRun {
protected:
    void SetUp() override {
        TrackRun::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartRace("circuit.trk"));
        for (const auto& [x, z] : CircuitCells())
            driver.route.push_back(CVector(CellCentre(x), 0, CellCentre(z)));
    }

    /// A car on the start node facing along the route, its driver on node 0.
    CCarObject* Start() {
        Random::Seed(7);
        driver.node = 0;
        driver.resetTaunts = 0;
        sounds.calls.clear();
        const CVector start = driver.route[0];
        auto* car = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60001, start.x, 0, start.z, -1));
        car->Reorient(CVector(0, 0, -1), kUpVector);
        car->AssignDriver(&driver);
        return car;
    }
    /// The route node the car is nearest to, searched a few nodes on from the last one.
    int Follow(const CCarObject& car, int node) const {
        const int n = static_cast<int>(driver.route.size());
        const auto distance = [&](int i) {
            const CVector d = driver.route[static_cast<std::size_t>(i % n)] - car.Position();
            return std::hypot(d.x, d.z);
        };
        int best = node;
        for (int i = node; i <= node + 3; ++i)
            if (distance(i) < distance(best))
                best = i;
        return best;
    }

    /// Steers at the node two ahead, slowing for the corners; the controls of each frame as a line.
    std::vector<CDriverControls> Record() {
        CCarObject* car = Start();
        int node = 0;
        const auto frames =
            worldtest::RecordControls(driver, kRecordFrames, kFrameMs, [&](int f, CDriverControls& c) {
                if (node >= 21)
                    return false;
                node = Follow(*car, node);
                const float angle =
                    worldtest::AngleTo(*car, driver.route[static_cast<std::size_t>((node + 2) % 20)]);
                c.steering = worldtest::SteeringFor(angle);
                c.axis1 = std::fabs(angle) < 0.35f ? 127 : 30;
                if (std::fabs(angle) > 0.8f && car->GetSpeed() > 1.2f)
                    c.axis2 = 0;
                c.button1 = f == 60 ? 1 : 0; // the horn, once
                return true;
            });
        CWorldMan::RemoveObject(car);
        return frames;
    }

    /// The recorded controls, played frame by frame; the car's pose after each.
    std::string Drive(const std::vector<CDriverControls>& frames, std::vector<int>& nodes) {
        CCarObject* car = Start();
        std::string trace = "# frame, position (x y z), direction (x z), speed, route node\n";
        int node = 0;
        worldtest::PlayControls(driver, frames, kFrameMs, [&](std::size_t f) {
            node = Follow(*car, node);
            nodes.push_back(node);
            trace += worldtest::PoseLine(f + 1, *car) + " " + std::to_string(node % 20) + "\n";
        });
        CWorldMan::RemoveObject(car);
        return trace;
    }
};

TEST_F(CarDrive, ALapOfTheDemoCircuitFromRecordedControlsGivesTheSameTraceEveryRun) {
    const std::vector<CDriverControls> frames =
        testsupport::ReadOrRecordControls("circuit_lap", [this] { return Record(); });
    ASSERT_GT(frames.size(), 100u);

    std::vector<int> nodes;
    const std::string trace = Drive(frames, nodes);
    // Every node of the circuit in order, back to the start, on the road all the way.
    EXPECT_GE(nodes.back(), 20);
    EXPECT_TRUE(std::is_sorted(nodes.begin(), nodes.end()));
    EXPECT_EQ(driver.resetTaunts, 0);
    EXPECT_GT(sounds.positions, 0);
    EXPECT_EQ(std::count(sounds.calls.begin(), sounds.calls.end(), "play 40010 0"), 1);

    std::vector<int> again;
    EXPECT_EQ(Drive(frames, again), trace);
    EXPECT_TRUE(goldentrace::Matches("circuit_lap_trace", trace));
}

} // namespace
