// Headless runs of a car over each stunt piece: a small jungle track of the sample set (pieces_*.trk: a
// short road down the second column of cells towards -z with the piece on it), read into the grid as the
// race reads it, its ground the terrain of the pieces' meshes, the car driven from recorded controls at
// fixed 40 ms frames through the race tick's passes. The car's pose, stunt state and respawns after every
// frame are kept in a golden trace per piece, and each run checks what its piece did to the car.
//
// The controls were recorded by a simple lane keeper (ZENTRIX_RECORD_DRIVE=1 records them again into
// tests/golden/pieces_<name>_controls.txt).

#include "GoldenTrace.h"
#include "HeadlessRun.h"
#include "PieceFixture.h"
#include "support/RecordedControls.h"

#include "render/ShadowMan.h"
#include "world/DoDTrackObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

constexpr float kLane = -68.0f; // the centre of the column of cells the road runs down

/// What one run is: the track, the lane (x from the road's centre), how long the throttle is held before
/// the brake, and the frames.
struct SRun {
    const char* name;
    float lane;
    int throttle;       // throttle value while driving
    int throttleFrames; // then the brake, full, or nothing
    int frames;
    bool keepLane = true; // steer back to the lane while heading down the road
    bool brake = true;
};

/// What a run saw, frame by frame.
struct SSeen {
    std::string trace;
    std::vector<int> stunts;
    std::vector<CVector> positions;
    std::vector<CVector> directions;
    std::vector<float> pivotHeights;
    int respawns = 0;
};

class PieceRun : public worldtest::PieceWorld {
protected:
    CCarObject* Start(const SRun& run) {
        Random::Seed(7);
        // The skid marks of an earlier drive hang under the world's frame: they would be ground.
        if (CShadowMan* shadows = CShadowMan::GetInstance())
            shadows->ResetSkidMarks();
        CParticleSystem::DestroyAll();
        LoadRoad(std::string(run.name) + ".trk");
        driver.node = 2; // the straight on cell (1, 4)
        driver.resetTaunts = 0;
        driver.controls = CDriverControls();
        return MakeCar(CVector(kLane + run.lane, 0, 36), CVector(0, 0, -1));
    }

    /// Keeps the lane while heading down the road; the throttle, then the brake.
    std::vector<CDriverControls> Record(const SRun& run) {
        CCarObject* car = Start(run);
        const auto frames =
            worldtest::RecordControls(driver, run.frames, kFrameMs, [&](int f, CDriverControls& c) {
                if (run.keepLane && car->Direction().z < 0.0f)
                    c.steering = worldtest::SteeringFor(
                        worldtest::AngleTo(*car, CVector(kLane + run.lane, 0, car->Position().z - 20.0f)));
                if (f < run.throttleFrames)
                    c.axis1 = run.throttle;
                else if (run.brake)
                    c.axis2 = 127;
                return true;
            });
        CWorldMan::RemoveObject(car);
        CWorldMan::RemoveTrack();
        return frames;
    }

    SSeen Drive(const SRun& run, const std::vector<CDriverControls>& frames) {
        CCarObject* car = Start(run);
        SSeen seen;
        seen.trace =
            "# frame, position (x y z), direction (x z), speed, stunt state, respawn countdown, respawns\n";
        char line[64];
        worldtest::PlayControls(driver, frames, kFrameMs, [&](std::size_t f) {
            const CVector p = car->Position();
            std::snprintf(line, sizeof line, " %d %d %d\n", car->GetStuntState(),
                          car->GetRespawnCountdownMs(), Respawns());
            seen.trace += worldtest::PoseLine(f + 1, *car) + line;
            seen.stunts.push_back(car->GetStuntState());
            seen.positions.push_back(p);
            seen.directions.push_back(car->Direction());
            seen.pivotHeights.push_back(car->GetBodyPivot() ? car->GetBodyPivot()->Position().y : 0.0f);
        });
        seen.respawns = Respawns();
        CWorldMan::RemoveObject(car);
        CWorldMan::RemoveTrack();
        return seen;
    }

    /// Records (when asked), plays the controls twice (the same trace both times), compares the golden.
    SSeen Run(const SRun& run) {
        const std::vector<CDriverControls> frames =
            testsupport::ReadOrRecordControls(run.name, [&] { return Record(run); });
        EXPECT_EQ(frames.size(), static_cast<std::size_t>(run.frames));
        sounds.played.clear();
        SSeen seen = Drive(run, frames);
        const auto played = sounds.played;
        EXPECT_EQ(Drive(run, frames).trace, seen.trace);
        sounds.played = played;
        EXPECT_TRUE(goldentrace::Matches(std::string(run.name) + "_trace", seen.trace));
        return seen;
    }

    static int FirstFrame(const std::vector<int>& stunts, int state) {
        const auto it = std::find(stunts.begin(), stunts.end(), state);
        return it == stunts.end() ? -1 : static_cast<int>(it - stunts.begin());
    }
};

TEST_F(PieceRun, WaterSinksTheCarWithASplashAndPutsItBack) {
    const SSeen seen = Run({"pieces_water", 8.0f, 127, 150, 80});
    EXPECT_GE(Played(51120), 1);
    EXPECT_GE(seen.respawns, 1);
}

TEST_F(PieceRun, TheSideForcePushesTheCarAcrossTheRoad) {
    const SSeen seen = Run({"pieces_sideforce", 0.0f, 127, 26, 150, false});
    float most = 0.0f;
    for (const CVector& p : seen.positions)
        most = std::max(most, p.x - kLane);
    EXPECT_GT(most, 5.0f);
    EXPECT_GE(Played(51163), 1);
    EXPECT_GE(seen.respawns, 1);
}

TEST_F(PieceRun, TheTimedDeathPieceKillsTheCarWaitingOnIt) {
    const SSeen seen = Run({"pieces_timed", 0.0f, 127, 16, 160});
    EXPECT_GE(seen.respawns, 1);
    EXPECT_GE(Played(51168), 1);
}

TEST_F(PieceRun, TheCannonFiresTheCarHighBackAlongTheRoad) {
    const SSeen seen = Run({"pieces_cannon", 0.0f, 127, 150, 80});
    EXPECT_GE(Played(51159), 1);
    const auto highest = std::max_element(seen.positions.begin(), seen.positions.end(),
                                          [](const CVector& a, const CVector& b) { return a.y < b.y; });
    EXPECT_GT(highest->y, 25.0f);
}

TEST_F(PieceRun, TheLoopCarriesTheCarRoundAndSendsItBackInTheOtherLane) {
    const SSeen seen = Run({"pieces_loop", 7.0f, 127, 150, 100});
    const int in = FirstFrame(seen.stunts, CCarObject::kStuntLoop);
    ASSERT_GE(in, 0);
    const auto out = std::find(seen.stunts.begin() + in, seen.stunts.end(), CCarObject::kNoStunt);
    ASSERT_NE(out, seen.stunts.end());
    const std::size_t after = static_cast<std::size_t>(out - seen.stunts.begin());
    // About 42 frames round (the first step is taken in the frame of the entry's next tick).
    EXPECT_NEAR(static_cast<float>(after - static_cast<std::size_t>(in)), 43.0f, 1.0f);
    EXPECT_GT(seen.directions[after].z, 0.9f);
    EXPECT_LT(seen.positions[after].x, kLane);
    EXPECT_EQ(Played(51161), 1);
}

TEST_F(PieceRun, TheBarrelSpinsTheCarFlyingOffTheRamp) {
    const SSeen seen = Run({"pieces_barrel", 0.0f, 127, 150, 80});
    EXPECT_GE(FirstFrame(seen.stunts, 1), 0);
    EXPECT_GE(Played(51171), 1);
}

TEST_F(PieceRun, TheDoDPitHoldsTheCarThatStopsInItSinksItAndPutsItBack) {
    const SSeen seen = Run({"pieces_dod", 0.0f, 127, 18, 300, true, false});
    EXPECT_GE(FirstFrame(seen.stunts, CCarObject::kStuntDoD), 0);
    EXPECT_LT(*std::min_element(seen.pivotHeights.begin(), seen.pivotHeights.end()), -1.2f);
    EXPECT_GE(Played(51150), 1);
    // Held where it stopped while the mud lets it down, 0.018 an update, until it is deep enough to be
    // put back: the ground of the pit must not hold it up.
    const auto lowest = std::min_element(seen.positions.begin(), seen.positions.end(),
                                         [](const CVector& a, const CVector& b) { return a.y < b.y; });
    const std::size_t deepest = static_cast<std::size_t>(lowest - seen.positions.begin());
    ASSERT_GT(deepest, 60u);
    ASSERT_LT(deepest + 1, seen.positions.size());
    EXPECT_NEAR(lowest->y, CDoDTrackObject::kSinkLimit, 2 * CDoDTrackObject::kSinkStep);
    EXPECT_NEAR(seen.positions[deepest - 100].y - lowest->y, 100 * CDoDTrackObject::kSinkStep, 1e-3f);
    EXPECT_EQ(lowest->x, seen.positions[60].x);
    EXPECT_EQ(lowest->z, seen.positions[60].z);
    EXPECT_EQ(seen.respawns, 1);
    EXPECT_GT(seen.positions[deepest + 1].y, 0.0f);
}

} // namespace
