// Active objects dropped on a race world's ground built in memory: a flat, a ramp rising 8 over one
// tile, a plateau and a wall 16 above it. One settles on the flat, one slides down the ramp and comes
// to rest below it, one is pushed along the plateau and stops at the wall. The positions of every tick
// are kept in a golden trace.

#include "GoldenTrace.h"
#include "GroundDoubles.h"
#include "HeadlessRun.h"
#include "WorldDoubles.h"

#include "world/ActiveWorldObject.h"
#include "world/ContactPoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr unsigned kFrameMs = 40;
constexpr int kTicks = 120;
/// The speed the third crate is pushed toward the wall with, per physics step.
constexpr float kPush = 1.0f;

struct STick {
    CVector flat, ramp, wall;
};

class ActiveDrop : public worldtest::WorldFixture {
protected:
    /// The ground: a flat from x = -112 to -16, a ramp up to 8 at x = 16, a plateau to x = 48 and a wall
    /// of height 24 to x = 80, all from z = -48 to 48.
    void BuildGround() {
        tree.AddMesh(groundtest::Plate(-112, -48, -16, 48, 0));
        tree.AddMesh(groundtest::Quad(-16, -48, 16, 48, 0, 8, 0, 8));
        tree.AddMesh(groundtest::Plate(16, -48, 48, 48, 8));
        tree.AddMesh(groundtest::Plate(48, -48, 80, 48, 24));
        ASSERT_TRUE(ground.Build(&tree.root));
    }

    /// Two crates dropped from above, then the race tick's passes; the crates' positions after each tick.
    std::vector<STick> Run() {
        CActiveWorldObject* flat = Crate(-64, 6, 24);
        CActiveWorldObject* ramp = Crate(0, 12, -24);
        CActiveWorldObject* wall = Crate(36, 8, 24);
        wall->SetVelocity(CVector(kPush, 0, 0));
        std::vector<STick> ticks;
        for (int i = 0; i < kTicks; ++i) {
            worldtest::TickWorld(kFrameMs);
            ticks.push_back({flat->Position(), ramp->Position(), wall->Position()});
        }
        CWorldMan::DeleteAllObjects();
        return ticks;
    }

    static CActiveWorldObject* Crate(float x, float y, float z) {
        return dynamic_cast<CActiveWorldObject*>(CWorldMan::CreateWorldObject(30030, x, y, z, -1));
    }

    static std::string Format(const std::vector<STick>& ticks) {
        std::string text =
            "# tick, the crate dropped on the flat (x y z), the crate dropped on the ramp (x y z), the crate "
            "pushed at the wall (x y z)\n";
        char line[240];
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const STick& t = ticks[i];
            std::snprintf(line, sizeof line, "%zu %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f %.4f\n", i + 1,
                          t.flat.x, t.flat.y, t.flat.z, t.ramp.x, t.ramp.y, t.ramp.z, t.wall.x, t.wall.y,
                          t.wall.z);
            text += line;
        }
        return text;
    }

    groundtest::TerrainTree tree;
    CWorldTopography ground;
};

TEST_F(ActiveDrop, OneSettlesOneSlidesDownTheRampAndOneStopsAtTheWall) {
    CreateWorlds();
    BuildGround();
    Race()->ground = &ground;
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
    const std::vector<STick> ticks = Run();
    ASSERT_EQ(ticks.size(), static_cast<std::size_t>(kTicks));

    // The first lands within ten ticks and stays where it landed, on the flat, level.
    const STick& last = ticks.back();
    EXPECT_EQ(last.flat, CVector(-64, 0, 24));
    for (std::size_t i = 10; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i].flat, last.flat) << "tick " << i + 1;
    // The second lands on the ramp and moves down it all the way, then comes to rest on the flat below.
    std::size_t tick = 8;
    for (; tick < ticks.size() && ticks[tick].ramp.x > -16.0f; ++tick) {
        EXPECT_LT(ticks[tick].ramp.x, ticks[tick - 1].ramp.x) << "tick " << tick + 1;
        EXPECT_LE(ticks[tick].ramp.y, ticks[tick - 1].ramp.y) << "tick " << tick + 1;
    }
    EXPECT_LT(tick, 40u);
    EXPECT_LT(last.ramp.x, -16.0f);
    EXPECT_EQ(last.ramp.y, 0.0f);
    EXPECT_NEAR(last.ramp.z, -24.0f, 1e-4f); // it slides straight down the slope
    EXPECT_EQ(ticks[ticks.size() - 20].ramp, last.ramp);
    // The third reaches the wall, never climbs it or passes into it, and comes to rest on the plateau
    // short of the wall: its corners, 1.5 ahead of its centre, never reach the wall at x = 48.
    float nearest = 0.0f;
    for (const STick& t : ticks) {
        EXPECT_LT(t.wall.x, 46.5f);
        EXPECT_LT(t.wall.y, 8.5f);
        nearest = std::fmax(nearest, t.wall.x);
    }
    EXPECT_GT(nearest, 44.0f);
    EXPECT_EQ(last.wall.y, 8.0f);
    EXPECT_EQ(ticks[ticks.size() - 20].wall, last.wall);

    // The same run again gives the same trace to the bit, and the trace is the golden one.
    const std::vector<STick> again = Run();
    const std::string trace = Format(ticks);
    EXPECT_EQ(Format(again), trace);
    for (std::size_t i = 0; i < ticks.size(); ++i)
        ASSERT_TRUE(again[i].flat == ticks[i].flat && again[i].ramp == ticks[i].ramp &&
                    again[i].wall == ticks[i].wall)
            << "tick " << i + 1;
    EXPECT_TRUE(goldentrace::Matches("active_drop_trace", trace));
}

} // namespace
