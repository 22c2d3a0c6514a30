// Races of computer drivers only, headless on the closed sample tracks: a harness places four computer
// drivers and their cars on the grid behind the start, steps the driver manager and the world in 40 ms
// frames and counts each driver's laps itself by the route node under its car. Every driver must finish
// within the bound, and a seed gives the same finishing order and times every run (a golden per track).

#include "world/GoldenTrace.h"
#include "world/TrackDoubles.h"

#include "engine/Frame.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/math/Random.h"
#include "foundation/math/Rotation.h"
#include "race/AIDriver.h"
#include "race/DriverManager.h"
#include "race/DriverServices.h"
#include "race/RouteNodeMan.h"
#include "race/RouteNodeManRoute.h"
#include "race/WorldRaceMan.h"
#include "world/CarObject.h"
#include "world/WorldTopography.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr int kFrameMs = 40;

/// The drivers' services over the harness's route; taunts are counted by event.
struct HarnessServices : IDriverServices {
    const IRaceRoute* route = nullptr;
    std::vector<int> taunts;
    bool IsInputReady() const override { return true; }
    const IRaceRoute* GetRoute() const override { return route; }
    void ReportTaunt(IRacerCar*, int event) override { taunts.push_back(event); }
    int GetGameState() const override { return 15; }
};

struct STrack {
    const char* name;
    int folder;
    int theme;
};

/// The closed sample tracks; on the pads track the drivers meet the pickups its pads offer.
constexpr STrack kTracks[] = {{"circuit", 5, 3}, {"desert", 5, 2}, {"ice", 5, 1},  {"jungle", 5, 0},
                              {"oneway", 1, 3},  {"ramps", 1, 0},  {"pads", 5, 0}, {"ai_corners", 1, 0}};
/// The track the game's race is run on: the city's pads and stunt pieces on the route.
constexpr STrack kDemo = {"demo", 5, 3};

/// The opponents' cars, one of each tuning the sample set holds (asset, text file, truncated asset).
constexpr int kCars[4] = {60001, 60000, 60009, 60011};

class AIRace : public worldtest::TrackFixture {
protected:
    AIRace() { realSpawning = true; }
    struct SFinisher {
        int slot = 0;
        int laps = 0;
        int ms = -1; ///< -1: not finished within the bound
    };

    void TearDown() override {
        manager.DeleteAllDrivers();
        CWorldMan::DeleteAllObjects();
        TrackFixture::TearDown();
    }

    /// Four computer drivers race `laps` laps of `track` from `seed`; the finishers in finishing order (the
    /// unfinished after them, in slot order), each within `boundMs`.
    std::vector<SFinisher> RunRace(const STrack& track, int laps, int boundMs, std::uint32_t seed,
                                   std::vector<CDriverControls>* controls = nullptr) {
        std::vector<SFinisher> out;
        assets->SetWorld(track.theme, false);
        EXPECT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kRace));
        EXPECT_TRUE(CWorldMan::LoadTrack(std::string(track.name) + ".trk", track.folder)) << track.name;
        // As the race world builds it: faces whose texture carries flag 0 (water, the loop's ring) are no
        // ground.
        const CAssetMan& textures = *assets;
        EXPECT_TRUE(ground.Build(CWorldMan::GetWorldFrame(), [&textures](const CTexture* texture) {
            return textures.GetTextureFlag(texture, 0) != 0;
        }));
        Race()->ground = &ground;
        Race()->started = true;
        // The harness has no jam-truck driver: the truck pad's calls are refused.
        Race()->refuseTruck = true;
        route.BuildRoute(CWorldMan::GetWorldGrid(), &ground);
        EXPECT_FALSE(route.IsRouteBroken()) << track.name << " status " << route.GetRouteStatus();
        if (route.IsRouteBroken())
            return out;
        services.route = &view;
        Random::Seed(seed);
        PlaceCars();
        const int count = route.GetNodeCount();
        int lap[4] = {};
        int last[4] = {};
        for (int slot = 0; slot < 4; ++slot) {
            const CDriver* driver = manager.GetDriver(slot);
            last[slot] = driver->GetTrackedNode();
            // A car behind the start line crosses it first.
            lap[slot] = last[slot] > count / 2 ? -1 : 0;
        }
        std::vector<SFinisher> finished;
        for (int ms = 0; ms < boundMs && finished.size() < 4; ms += kFrameMs) {
            manager.Update(kFrameMs);
            if (controls)
                for (int slot = 0; slot < 4; ++slot) {
                    CDriverControls c;
                    manager.GetDriver(slot)->GetControls(c);
                    controls->push_back(c);
                }
            Race()->Tick(kFrameMs);
            CWorldMan::UpdateObjects(kFrameMs);
            CWorldMan::SimulateActiveObjects(kFrameMs);
            CWorldMan::CollideObjects(kFrameMs);
            CWorldMan::FinishActiveObjects(kFrameMs);
            for (int slot = 0; slot < 4; ++slot) {
                // A stunt state is counted where it begins; a car put back starts its life again.
                const int stunt = cars[slot]->GetStuntState();
                if (stunt != lastStunt[slot] && stunt >= 0 && stunt < 10)
                    ++stuntsBegun[slot][stunt];
                lastStunt[slot] = stunt;
                respawns[slot] += cars[slot]->GetAliveMs() < lastAliveMs[slot] ? 1 : 0;
                lastAliveMs[slot] = cars[slot]->GetAliveMs();
                // A pickup taken is one held anew; one used (or lost) is one no longer held.
                const int held = cars[slot]->GetPickupType();
                if (held != heldType[slot]) {
                    pickupsTaken[slot] += held != -1 ? 1 : 0;
                    pickupsUsed[slot] += heldType[slot] != -1 ? 1 : 0;
                    heldType[slot] = held;
                }
                CDriver* driver = manager.GetDriver(slot);
                if (const auto* ai = dynamic_cast<const CAIDriver*>(driver); ai && !driver->HasFinished()) {
                    ++modeFrames[slot][std::clamp(ai->GetMode(), 0, 16)];
                    if (ai->GetCornerClass() >= 0 && ai->GetCornerClass() < 10)
                        classesSeen[ai->GetCornerClass()] = true;
                }
                if (driver->HasFinished() || !driver->IsRoutePositionValid())
                    continue;
                const int node = driver->GetTrackedNode();
                if (last[slot] > count * 3 / 4 && node < count / 4)
                    ++lap[slot];
                else if (node > count * 3 / 4 && last[slot] < count / 4)
                    --lap[slot];
                last[slot] = node;
                if (lap[slot] >= laps) {
                    driver->SetFinished(finished.empty());
                    driver->Deactivate();
                    finished.push_back({slot, lap[slot], ms + kFrameMs});
                }
            }
        }
        out = finished;
        for (int slot = 0; slot < 4; ++slot)
            if (!manager.GetDriver(slot)->HasFinished())
                out.push_back({slot, lap[slot], -1});
        return out;
    }

    /// The cars on the grid two by two behind the start node, facing along the route, their drivers active.
    void PlaceCars() {
        const CVector start = route.GetNode(0).position;
        CVector facing = route.GetNode(1).position - start;
        facing.y = 0.0f;
        facing.Normalise();
        const CVector up(0.0f, 1.0f, 0.0f);
        CVector side;
        RotateVectorAboutAxis(facing, side, up, std::numbers::pi_v<float> / 2.0f);
        for (int slot = 0; slot < 4; ++slot) {
            CDriver* driver = manager.CreateDriver(slot, slot, 1);
            CVector at = CWorldRaceMan::GridSlotPosition(slot, start, facing * -1.0f, side);
            at.y = ground.GetHeight(at.x, at.z);
            auto* car =
                dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(kCars[slot], at.x, at.y, at.z, -1));
            ASSERT_NE(car, nullptr);
            cars[slot] = car;
            car->Reorient(facing, up);
            car->AssignDriver(driver);
            driver->SetStartPosition(slot + 1);
        }
        // The route positions first, as the manager's first frame would.
        for (int slot = 0; slot < 4; ++slot)
            manager.GetDriver(slot)->UpdateRoutePosition();
        for (int slot = 0; slot < 4; ++slot)
            manager.GetDriver(slot)->Activate();
    }

    static std::string Trace(const std::vector<SFinisher>& finishers) {
        std::string text = "# place, slot, car, laps, ms (-1: not finished)\n";
        char line[96];
        int place = 1;
        for (const SFinisher& f : finishers) {
            std::snprintf(line, sizeof line, "%d %d %d %d %d\n", place++, f.slot, kCars[f.slot], f.laps,
                          f.ms);
            text += line;
        }
        return text;
    }

    CWorldTopography ground;
    CRouteNodeMan route;
    CRouteNodeManRoute view{route};
    HarnessServices services;
    CDriverManager manager{&services};
    CCarObject* cars[4] = {};
    int heldType[4] = {-1, -1, -1, -1};
    int pickupsTaken[4] = {};
    int pickupsUsed[4] = {};
    int modeFrames[4][17] = {};
    bool classesSeen[10] = {};
    int lastStunt[4] = {-1, -1, -1, -1};
    int stuntsBegun[4][10] = {};
    std::uint32_t lastAliveMs[4] = {};
    int respawns[4] = {};
};

class AIRaceOnTrack : public AIRace, public testing::WithParamInterface<STrack> {};

TEST_P(AIRaceOnTrack, EveryDriverFinishesItsLapsInTheSameOrderAndTimesForTheSeed) {
    const STrack track = GetParam();
    const auto finishers = RunRace(track, 2, 60000, 7);
    ASSERT_EQ(finishers.size(), 4u);
    for (const auto& f : finishers)
        EXPECT_GE(f.ms, 0) << track.name << ": slot " << f.slot << " after " << f.laps << " laps";
    std::string trace = Trace(finishers) + "# frames in each mode, slot by slot:";
    for (int slot = 0; slot < 4; ++slot)
        for (int mode : {1, 2, 4, 6, 8, 9, 13, 15, 16})
            trace += " " + std::to_string(modeFrames[slot][mode]);
    trace += "\n# pickups taken and used, slot by slot:";
    for (int slot = 0; slot < 4; ++slot)
        trace += " " + std::to_string(pickupsTaken[slot]) + " " + std::to_string(pickupsUsed[slot]);
    trace += "\n# corner classes met:";
    for (int c = 0; c < 10; ++c)
        if (classesSeen[c])
            trace += " " + std::to_string(c);
    trace += "\n";
    EXPECT_TRUE(goldentrace::Matches(std::string("ai_race_") + track.name, trace));
}

TEST_F(AIRace, TheDemoRaceIsRacedToTheEndOverThePadsAndTheStuntPieces) {
    // The race's four laps on the 8 x 8 grid.
    const auto finishers = RunRace(kDemo, 4, 150000, 7);
    ASSERT_EQ(finishers.size(), 4u);
    int taken = 0;
    int looped = 0;
    int putBack = 0;
    std::string trace = Trace(finishers) +
                        "# pickups taken and used, loops, respawns, frames in the stunt mode and "
                        "the two pickup modes:";
    for (const auto& f : finishers)
        EXPECT_GE(f.ms, 0) << "slot " << f.slot << " after " << f.laps << " laps";
    for (int slot = 0; slot < 4; ++slot) {
        taken += pickupsTaken[slot];
        looped += stuntsBegun[slot][6];
        putBack += respawns[slot];
        trace += " " + std::to_string(pickupsTaken[slot]) + " " + std::to_string(pickupsUsed[slot]) + " " +
                 std::to_string(stuntsBegun[slot][6]) + " " + std::to_string(respawns[slot]) + " " +
                 std::to_string(modeFrames[slot][9]) + " " + std::to_string(modeFrames[slot][13]) + " " +
                 std::to_string(modeFrames[slot][15]);
    }
    trace += "\n";
    EXPECT_GT(taken, 0) << "the pads' pickups are taken";
    EXPECT_GT(looped, 0) << "the loop carries cars round";
    EXPECT_GT(modeFrames[0][9] + modeFrames[1][9] + modeFrames[2][9] + modeFrames[3][9], 0)
        << "the drivers see the stunt pieces ahead";
    // The timed death and the side force put some cars back; the watchdog must not keep doing so.
    EXPECT_LE(putBack, 16);
    EXPECT_TRUE(goldentrace::Matches("ai_race_demo", trace));
}

TEST_F(AIRace, TheSameSeedGivesTheSameControlsFrameByFrame) {
    std::vector<CDriverControls> first;
    std::vector<CDriverControls> second;
    RunRace(kDemo, 1, 4000, 21, &first);
    manager.DeleteAllDrivers();
    CWorldMan::DeleteAllObjects();
    RunRace(kDemo, 1, 4000, 21, &second);
    ASSERT_EQ(first.size(), 400u);
    ASSERT_EQ(second.size(), first.size());
    int steering = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        const CDriverControls& a = first[i];
        const CDriverControls& b = second[i];
        ASSERT_TRUE(a.button1 == b.button1 && a.button2 == b.button2 && a.steering == b.steering &&
                    a.axis1 == b.axis1 && a.axis2 == b.axis2)
            << "frame " << i / 4 << " slot " << i % 4;
        steering += a.steering != 0 ? 1 : 0;
    }
    EXPECT_GT(steering, 0); // the drivers do steer
}

INSTANTIATE_TEST_SUITE_P(ClosedSampleTracks, AIRaceOnTrack, testing::ValuesIn(kTracks),
                         [](const testing::TestParamInfo<STrack>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
