// A car on the sample jungle circuit with every spawn pad ("pads.trk"), driven headless at fixed 40 ms
// frames from its start piece to the pickup the first pad offers: it collects the pickup, uses it with its
// action button, and the pickup runs its course. The held and the running type, whenever either changes,
// are kept in a golden log.

#include "GoldenTrace.h"
#include "HeadlessRun.h"

#include "foundation/math/Random.h"
#include "world/CarPickupHelper.h"
#include "world/PickupObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

using namespace zentrix;

namespace {

constexpr int kFrames = 400;

class CarPickupRun : public worldtest::TrackRun {
protected:
    CarPickupRun() { realSpawning = true; }
    void SetUp() override {
        TrackRun::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartRace("pads.trk"));
        // Until the route is built from the track, every pad counts as on it.
        for (const auto& object : CWorldMan::GetObjectList())
            if (auto* piece = dynamic_cast<CTrackObject*>(object.get()))
                piece->SetOnRoute(true);
        driver.human = true;
    }

    /// The first pickup on offer, or null.
    static CPickupObject* Offer() {
        for (const auto& object : CWorldMan::GetObjectList())
            if (auto* pickup = dynamic_cast<CPickupObject*>(object.get()); pickup && !pickup->IsDead())
                return pickup;
        return nullptr;
    }

    /// From the start piece (cell 1, 3) towards the first offer, then round the circuit from corner to
    /// corner; button 0 goes down in the frame after the car holds a pickup. One line per change.
    std::string Run() {
        Random::Seed(11);
        auto* car = dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60001, -68.0f, 0, -4.0f, -1));
        EXPECT_NE(car, nullptr);
        if (!car)
            return {};
        car->Reorient(CVector(0, 0, -1), kUpVector);
        car->AssignDriver(&driver);
        std::string log = "# frame, held type, running type, pickups on offer\n";
        // The corner cells' centres in driving order, from the start heading -z.
        const CVector corners[4] = {{-68, 0, -68}, {92, 0, -68}, {92, 0, 92}, {-68, 0, 92}};
        int corner = 0;
        bool collected = false;
        int held = -2;
        int active = -2;
        char line[96];
        for (int f = 1; f <= kFrames; ++f) {
            collected = collected || car->GetPickupType() != -1;
            CVector target = corners[corner];
            if (CVector gap = target - car->Position(); std::hypot(gap.x, gap.z) < 12.0f)
                target = corners[corner = (corner + 1) % 4];
            if (CPickupObject* pickup = Offer(); pickup && !collected)
                target = pickup->Position();
            CDriverControls c;
            c.steering = worldtest::SteeringFor(worldtest::AngleTo(*car, target));
            c.axis1 = car->GetSpeed() < 0.8f ? 127 : -127;
            c.button1 = car->GetPickupType() != -1 && !driver.controls.button1 ? 1 : 0;
            driver.controls = c;
            Race()->Tick(kFrameMs);
            worldtest::TickWorld(kFrameMs);
            const int nowHeld = car->GetPickupType();
            const int nowActive = car->GetPickupHelper()->GetActiveType();
            if (nowHeld != held || nowActive != active) {
                held = nowHeld;
                active = nowActive;
                int offers = 0;
                for (const auto& object : CWorldMan::GetObjectList())
                    offers += dynamic_cast<CPickupObject*>(object.get()) && !object->IsDead() ? 1 : 0;
                std::snprintf(line, sizeof line, "%d %d %d %d\n", f, held, active, offers);
                log += line;
            }
        }
        CWorldMan::RemoveObject(car);
        return log;
    }
};

TEST_F(CarPickupRun, ACarCollectsThePadsPickupAndUsesIt) {
    const std::string log = Run();
    // Held at some frame, then no longer held: used (running or, a drop, ended at once).
    int heldType = -1;
    bool used = false;
    std::istringstream lines(log);
    std::string text;
    while (std::getline(lines, text)) {
        int frame = 0, held = 0, active = 0, offers = 0;
        if (text.empty() || text[0] == '#' ||
            std::sscanf(text.c_str(), "%d %d %d %d", &frame, &held, &active, &offers) != 4)
            continue;
        if (heldType == -1 && held != -1)
            heldType = held;
        else if (heldType != -1 && held == -1)
            used = used || active == heldType || CCarPickupHelper::IsInstantType(heldType);
    }
    ASSERT_NE(heldType, -1) << log;
    EXPECT_TRUE(used) << log;
    const std::string start = "play " + std::to_string(CCarPickupHelper::StartSound(heldType)) + " 0";
    EXPECT_NE(std::find(sounds.calls.begin(), sounds.calls.end(), start), sounds.calls.end()) << start;
    EXPECT_TRUE(goldentrace::Matches("pickup_run_log", log));
}

} // namespace
