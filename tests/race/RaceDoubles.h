#pragma once

// Doubles of what drivers and race results read: a car, a ring route that answers its queries as the
// route manager does, the drivers' services and the results' links.

#include "app/IOManager.h"
#include "app/InputServices.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/math/Rotation.h"
#include "platform/input/ScriptedInput.h"
#include "race/Driver.h"
#include "race/DriverServices.h"
#include "race/RaceResultsLinks.h"
#include "race/RaceRoute.h"
#include "race/RacerCar.h"
#include "race/RouteNodeMan.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace racetest {

using namespace zentrix;

struct FakeCar : IRacerCar {
    CVector position;
    bool grounded = true;
    int stunt = -1;
    int typeId = 60000;
    int livery = 3;
    int tyre = 1;
    int respawns = 0;
    bool forgotDriver = false;
    CVector heading{0.0f, 0.0f, 1.0f};
    CVector velocity;

    CVector GetPosition() const override { return position; }
    bool IsGrounded() const override { return grounded; }
    int GetStuntState() const override { return stunt; }
    void Respawn(int) override { ++respawns; }
    int GetTypeId() const override { return typeId; }
    int GetLiveryChoice() const override { return livery; }
    int GetTyreType() const override { return tyre; }
    void ForgetDriver() override { forgotDriver = true; }
    CWorldObject* GetWorldObject() const override { return nullptr; }
    CVector GetHeading() const override { return heading; }
    CVector GetVelocity() const override { return velocity; }
    float GetSpeed() const override { return velocity.Length(); }
    bool IsMovingForward() const override { return velocity.Dot(heading) > 0.0f; }
};

/// A closed ring of `count` nodes on a circle of radius 200 round the origin, `perSection` nodes to a
/// section. Node kinds default to 3 (a small corner without turn flags); `special` nodes are of kind 2
/// (route type 5), `kinds` sets others. The queries follow the route manager's rules (side vectors, route
/// types); the lateral offset is what the test sets.
struct RingRoute : IRaceRoute {
    explicit RingRoute(int count, int perSection = 4) : nodeCount(count), perSection(perSection) {
        for (int i = 0; i < count; ++i) {
            const double angle = 2.0 * 3.14159265358979 * i / count;
            nodes.emplace_back(static_cast<float>(200.0 * std::cos(angle)), 0.0f,
                               static_cast<float>(200.0 * std::sin(angle)));
        }
    }
    int nodeCount;
    int perSection;
    std::vector<CVector> nodes;
    std::set<int> special;
    std::set<std::pair<int, int>> unreachable;  ///< section pairs a car cannot climb between
    std::map<int, int> laneWidth;               ///< by node; 8 otherwise
    std::set<int> turnsPositive, turnsNegative; ///< corner marks by node
    std::map<int, int> sectionKind;             ///< by section; 3 otherwise
    std::map<int, int> kinds;                   ///< node kinds other than 3 and the special ones
    bool broken = false;
    int lateral = 0;

    static int Whole(const CVector& a, const CVector& b) {
        const double dx = static_cast<double>(a.x) - b.x;
        const double dz = static_cast<double>(a.z) - b.z;
        return static_cast<int>(std::sqrt(dx * dx + dz * dz));
    }
    int GetNodeCount() const override { return nodeCount; }
    bool IsRouteBroken() const override { return broken; }
    int GetRouteLength() const override {
        int length = 0;
        for (int i = 1; i < nodeCount; ++i)
            length += Whole(nodes[static_cast<std::size_t>(i - 1)], nodes[static_cast<std::size_t>(i)]);
        return length + (nodeCount > 1 && !broken ? Whole(nodes.back(), nodes.front()) : 0);
    }
    CVector GetNodePosition(int node) const override { return nodes.at(static_cast<std::size_t>(node)); }
    int GetNodeKind(int node) const override {
        if (special.count(node))
            return 2;
        auto it = kinds.find(node);
        return it == kinds.end() ? 3 : it->second;
    }
    /// Across the route as the route manager turns it: the way back from the next node to the previous,
    /// a quarter turn on, flat and of unit length.
    CVector GetNodeSide(int node) const override {
        const CVector& before = nodes.at(static_cast<std::size_t>(node == 0 ? nodeCount - 1 : node - 1));
        const CVector& after = nodes.at(static_cast<std::size_t>(node + 1 >= nodeCount ? 0 : node + 1));
        CVector across = RotateAboutYAxis(CVector(before.x - after.x, 0.0f, before.z - after.z), 1.5707964f);
        across.y = 0.0f;
        return across.IsZero() ? CVector() : across.GetNormalised();
    }
    int GetNodeLaneWidth(int node) const override {
        auto it = laneWidth.find(node);
        return it == laneWidth.end() ? 8 : it->second;
    }
    void GetNodeTurnFlags(int node, bool& positive, bool& negative) const override {
        positive = turnsPositive.count(node) > 0;
        negative = turnsNegative.count(node) > 0;
    }
    int GetSectionKind(int section) const override {
        auto it = sectionKind.find(section);
        return it == sectionKind.end() ? 3 : it->second;
    }
    int GetRouteType(int kind) const override { return CRouteNodeMan::GetRouteType(kind); }
    bool FindNearestNode(const CVector& p, int& node, const int* hint, bool skipSpecial) const override {
        int best = -1;
        int bestDistance = 0;
        for (int i = 0; i < nodeCount; ++i) {
            if (skipSpecial && special.count(i))
                continue;
            if (hint) {
                const int steps = GetRouteSteps(*hint, i);
                if (steps < 0 || steps >= 5)
                    continue;
            }
            const int d = Whole(p, nodes[static_cast<std::size_t>(i)]);
            if (best < 0 || d <= bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        if (best < 0 && hint)
            best = *hint;
        if (best < 0)
            return false;
        node = best;
        return true;
    }
    int GetDriverLateralOffset(const CVector&, int) const override { return lateral; }
    int GetRouteSteps(int a, int b) const override {
        const int direct = std::abs(a - b);
        const int around = std::min(a, b) + nodeCount - std::max(a, b);
        const int steps = std::min(direct, around);
        return steps > nodeCount / 2 ? -1 : steps;
    }
    int GetRouteDistanceToNode(int node) const override {
        int length = 0;
        for (int i = 1; i <= node && i < nodeCount; ++i)
            length += Whole(nodes[static_cast<std::size_t>(i - 1)], nodes[static_cast<std::size_t>(i)]);
        return length;
    }
    int GetNodeSpacing(int node) const override {
        const std::size_t before = static_cast<std::size_t>(node == 0 ? nodeCount - 1 : node - 1);
        return Whole(nodes[before], nodes.at(static_cast<std::size_t>(node)));
    }
    bool GetSectionOfNode(int node, int& section) const override {
        if (node < 0 || node >= nodeCount)
            return false;
        section = node / perSection;
        return true;
    }
    bool CanReachSection(int from, int to) const override { return !unreachable.count({from, to}); }
};

struct FakeServices : IDriverServices {
    const IRaceRoute* route = nullptr;
    bool inputReady = true;
    int gameState = 15;
    CIOManager* input = nullptr;
    bool freeForm = false;
    std::vector<std::pair<IRacerCar*, int>> taunts;

    bool IsInputReady() const override { return inputReady; }
    const IRaceRoute* GetRoute() const override { return route; }
    void ReportTaunt(IRacerCar* car, int event) override { taunts.emplace_back(car, event); }
    int GetGameState() const override { return gameState; }
    CIOManager* GetInputManager() const override { return input; }
    bool IsFreeForm() const override { return freeForm; }
    std::vector<int> Events() const {
        std::vector<int> out;
        for (const auto& t : taunts)
            out.push_back(t.second);
        return out;
    }
};

/// A base driver that hands over released controls (the kinds of driver are built elsewhere).
struct PlainDriver : CDriver {
    PlainDriver(int kind, int index, int slot, IDriverServices* services) : CDriver(index, slot, services) {
        SetKind(kind);
    }
    void GetControls(CDriverControls& out) const override { out = CDriverControls{}; }
};

/// A started input manager on scripted devices: the system mouse and keyboard, and joysticks the test
/// adds; the controller choices are the defaults (keyboard layouts 1, 2, 3, then the mouse) unless set.
struct ScriptedInputRig : IInputServices {
    ScriptedInputRig() { manager.StartManager(); }
    bool HasErrorMan() const override { return true; }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem() override { return input.Share(); }
    CGameOptions* GetGameOptions() override { return nullptr; }

    plat::input::ScriptedInput input;
    CIOManager manager{this};
};

struct FakeResultsLinks : IRaceResultsLinks {
    const IRaceRoute* route = nullptr;
    std::map<int, CDriver*> drivers;
    CAssetMan* assets = nullptr; ///< where the texts come from (none: no texts)
    int raceState = 0;
    std::vector<std::string> log;
    int racesOver = 0;

    const IRaceRoute* GetRoute() const override { return route; }
    CDriver* GetSlotDriver(int slot) const override {
        auto it = drivers.find(slot);
        return it == drivers.end() ? nullptr : it->second;
    }
    bool LoadText(int textId, std::string& text) override {
        return assets && assets->LoadAssetIntoString(textId, text);
    }
    int GetRaceState() const override { return raceState; }
    void StopUiSound() override { log.push_back("stop ui"); }
    void PlayUiSound(int id) override { log.push_back("play " + std::to_string(id)); }
    void SuspendUiSounds(int ms) override { log.push_back("suspend " + std::to_string(ms)); }
    void ClearPlates() override { log.push_back("clear plates"); }
    void AddPlate(int slot, int laps, IRacerCar*) override {
        log.push_back("add plate " + std::to_string(slot) + " " + std::to_string(laps));
    }
    void SetPlate(int slot, int position, int laps, IRacerCar*) override { plates[slot] = {position, laps}; }
    void OnRaceOver() override { ++racesOver; }
    std::map<int, std::pair<int, int>> plates;
};

} // namespace racetest
