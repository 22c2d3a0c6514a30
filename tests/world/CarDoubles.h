#pragma once

// Doubles of what a car reaches above the world: its driver (controls, slot, route) and the sounds it
// plays, each answering as the race layer's driver and the sound controller do.

#include "app/DriverControls.h"
#include "world/CarDriverLink.h"
#include "world/CarObject.h"
#include "world/WorldSounds.h"

#include <string>
#include <vector>

namespace cartest {

using namespace zentrix;

/// Every call, as text ("car 0 57900" for StartCarSound(0, 57900)).
class RecordingSounds : public IWorldSounds {
public:
    void PlayCarSound(int soundId, int slot) override { Note("play " + N(soundId) + " " + N(slot)); }
    void StartCarSound(int slot, int soundId) override { Note("engine " + N(slot) + " " + N(soundId)); }
    void SetCarPosition(int slot, const CVector&, float level) override {
        lastLevel = level;
        ++positions;
        (void)slot;
    }
    void StartCarLoop(int slot, int soundId) override { Note("loop " + N(slot) + " " + N(soundId)); }
    void StopCarLoop(int slot) override { Note("stop loop " + N(slot)); }
    void PlaySoundAt(int soundId, const CVector&, bool, int slot) override {
        Note("at " + N(soundId) + " " + N(slot));
    }
    float GetHearingDistance() const override { return 90.0f; }

    std::vector<std::string> calls;
    float lastLevel = 0.0f;
    int positions = 0;

private:
    static std::string N(int n) { return std::to_string(n); }
    void Note(const std::string& s) { calls.push_back(s); }
};

/// A driver that hands over whatever controls it is given and keeps its route node; the route is a list of
/// node positions.
class ScriptedDriver : public ICarDriverLink {
public:
    CDriver* AsDriver() override { return nullptr; }
    void SetCar(CCarObject* c) override { car = c; }
    void GetControls(CDriverControls& out) const override { out = controls; }
    int GetSlot() const override { return slot; }
    bool IsHuman() const override { return human; }
    bool HasFinished() const override { return finished; }
    bool AcceptsPickups() const override { return human; }
    int GetRouteNode() const override { return node; }
    void SetRouteNode(int index) override {
        node = Wrap(index);
        ++nodeSets;
    }
    bool GetRouteNodeWrapped(int& index, CVector& position) const override {
        if (route.empty())
            return false;
        index = Wrap(index);
        position = route[static_cast<std::size_t>(index)];
        return true;
    }
    int GetWatchedTruckCount() const override { return static_cast<int>(trucks.size()); }
    CWorldObject* GetWatchedTruck(int i) const override { return trucks[static_cast<std::size_t>(i)]; }
    void ReportResetTaunt() override { ++resetTaunts; }
    void FeedbackPush(int x, int y, int z, int ms) override {
        pushes.push_back(std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + " " +
                         std::to_string(ms));
    }

    /// Full throttle, nothing else.
    void Throttle() {
        controls = CDriverControls();
        controls.axis1 = 127;
    }

    CDriverControls controls;
    CCarObject* car = nullptr;
    int slot = 0;
    bool human = false;
    bool finished = false;
    int node = 0;
    int nodeSets = 0;
    int resetTaunts = 0;
    std::vector<CVector> route;
    std::vector<CWorldObject*> trucks;
    std::vector<std::string> pushes;

private:
    int Wrap(int index) const {
        const int n = static_cast<int>(route.size());
        if (n == 0)
            return index;
        return index < 0 ? n - 1 : index >= n ? 0 : index;
    }
};

} // namespace cartest
