#pragma once

// Doubles of what the computer driver reads: a car that answers the computer's questions, a route of whole
// node and section records that answers the route manager's queries by its rules, and the world's
// pickups, splats and race state.

#include "RaceDoubles.h"

#include "foundation/math/Random.h"
#include "race/AIDriver.h"
#include "race/ComputerCar.h"
#include "race/ComputerDriverWorld.h"
#include "race/ComputerRoute.h"
#include "race/DriverManager.h"
#include "race/RouteNodeMan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace aitest {

using namespace zentrix;

/// A car on the route: where it is, which way it faces, how fast, what it holds; the requests and
/// modifiers it was given.
struct ComputerCar : racetest::FakeCar, IComputerCar {
    CVector direction{0.0f, 0.0f, 1.0f};
    float speed = 1.0f;
    float topSpeed = 2.0f;
    bool forward = true;
    bool stopped = false;
    int pickup = -1;
    int requests = 0;
    std::vector<CCarObject::SParamModifiers> modifiers;
    std::vector<int> modifierMs;

    CVector GetDirection() const override { return direction; }
    float GetSpeed() const override { return speed; }
    float GetTopSpeed() const override { return topSpeed; }
    bool IsMovingForward() const override { return forward; }
    bool IsStopped() const override { return stopped; }
    int GetPickupType() const override { return pickup; }
    void RaiseActionRequest(int i) override { requests += i == 0 ? 1 : 0; }
    bool ApplyParamModifiers(const CCarObject::SParamModifiers& f, int ms) override {
        modifiers.push_back(f);
        modifierMs.push_back(ms);
        return true;
    }
};

/// A straight road along +z: node i at z = 16 i (x 0), positive lanes towards +x, every node its own
/// section of a plain piece facing +z, and a closing leg back to node 0 as long as the others (the route
/// manager's ring). Pieces and corners are set by section; lateral offsets are the signed distance along
/// the side vector, as the lane points lie.
struct LineRoute : IRaceRoute, IComputerRoute {
    static constexpr float kSpacing = 16.0f;

    explicit LineRoute(int count) {
        for (int i = 0; i < count; ++i) {
            CRouteNode node;
            node.kind = 1;
            node.side = CVector(1.0f, 0.0f, 0.0f);
            node.position = CVector(0.0f, 0.0f, kSpacing * static_cast<float>(i));
            node.distance = static_cast<std::uint16_t>(kSpacing);
            nodes.push_back(node);
            SRouteSection section;
            section.kind = 1;
            section.rotation = 0;
            section.direction = 0;
            section.firstNode = i;
            section.lastNode = i;
            sections.push_back(section);
        }
    }
    /// Node i becomes a piece of `kind` turned `rotation`; corner kinds carry the mark and the turn flag.
    void SetPiece(int i, int kind, int rotation, bool turnA = false, bool turnB = false) {
        auto& node = nodes[static_cast<std::size_t>(i)];
        node.kind = kind;
        node.cornerMark = GetRouteType(kind) == 1 ? 1 : 0;
        node.turnA = turnA ? 1 : 0;
        node.turnB = turnB ? 1 : 0;
        sections[static_cast<std::size_t>(i)].kind = kind;
        sections[static_cast<std::size_t>(i)].rotation = rotation;
    }
    CVector At(int node, float lane = 0.0f) const {
        const CRouteNode& n = nodes[static_cast<std::size_t>(node)];
        return CVector(n.position.x + lane * n.side.x, 0.0f, n.position.z + lane * n.side.z);
    }

    std::vector<CRouteNode> nodes;
    std::vector<SRouteSection> sections;
    bool broken = false;
    int stretchMean = 48;
    bool climbable = true;
    /// Whether the watchdog may put a car back onto the next section.
    bool reachable = true;

    int Count() const { return static_cast<int>(nodes.size()); }
    const CRouteNode& N(int i) const { return nodes[static_cast<std::size_t>(i)]; }

    // ---- IRaceRoute ----
    int GetNodeCount() const override { return Count(); }
    bool IsRouteBroken() const override { return broken; }
    int GetRouteLength() const override { return Count() * static_cast<int>(kSpacing); }
    CVector GetNodePosition(int node) const override { return N(node).position; }
    CVector GetNodeSide(int node) const override { return N(node).side; }
    int GetNodeKind(int node) const override { return N(node).kind; }
    int GetNodeLaneWidth(int node) const override { return N(node).laneWidth; }
    void GetNodeTurnFlags(int node, bool& a, bool& b) const override {
        a = N(node).turnA != 0;
        b = N(node).turnB != 0;
    }
    int GetSectionKind(int section) const override {
        return section >= 0 && section < Count() ? sections[static_cast<std::size_t>(section)].kind : -1;
    }
    int GetRouteType(int kind) const override { return CRouteNodeMan::GetRouteType(kind); }
    bool FindNearestNode(const CVector& p, int& node, const int* hint, bool skipSpecial) const override {
        int best = -1;
        int bestDistance = 0;
        for (int i = 0; i < Count(); ++i) {
            if (skipSpecial && GetRouteType(N(i).kind) == 5)
                continue;
            if (hint) {
                const int steps = GetRouteSteps(*hint, i);
                if (steps < 0 || steps >= 5)
                    continue;
            }
            const int d = static_cast<int>(std::hypot(p.x - N(i).position.x, p.z - N(i).position.z));
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
    int GetDriverLateralOffset(const CVector& p, int) const override { return GetLateralOffset(p); }
    int GetRouteSteps(int a, int b) const override {
        const int direct = std::abs(a - b);
        const int steps = std::min(direct, std::min(a, b) + Count() - std::max(a, b));
        return steps > Count() / 2 ? -1 : steps;
    }
    int GetRouteDistanceToNode(int node) const override { return node * static_cast<int>(kSpacing); }
    int GetNodeSpacing(int node) const override { return GetNodeRecord(node).distance; }
    bool GetSectionOfNode(int node, int& section) const override {
        if (node < 0 || node >= Count())
            return false;
        section = node;
        return true;
    }
    bool CanReachSection(int, int) const override { return reachable; }

    // ---- IComputerRoute ----
    CRouteNode GetNodeRecord(int node) const override {
        return node >= 0 && node < Count() ? N(node) : CRouteNode();
    }
    int GetSectionCount() const override { return Count(); }
    SRouteSection GetSectionRecord(int section) const override {
        return section >= 0 && section < Count() ? sections[static_cast<std::size_t>(section)]
                                                 : SRouteSection();
    }
    int GetStretchMean() const override { return stretchMean; }
    int GetLateralOffset(const CVector& p) const override { return static_cast<int>(p.x); }
    bool CanClimbTo(int, int) const override { return climbable; }
};

/// The world's pickups, splats and race state, as set.
struct World : IComputerDriverWorld {
    CAssetMan* assets = nullptr;
    int raceState = 0;
    std::vector<SPickup> pickups;
    std::vector<CVector> splodges;
    mutable int searches = 0;
    mutable int scans = 0;

    CAssetMan* GetAssetMan() const override { return assets; }
    int GetRaceState() const override { return raceState; }
    void GetPickups(std::vector<SPickup>& out) const override {
        ++scans;
        out = pickups;
    }
    bool FindPickup(const void* id, CVector& position) const override {
        ++searches;
        for (const SPickup& p : pickups)
            if (p.id == id) {
                position = p.position;
                return true;
            }
        return false;
    }
    void GetSplodges(std::vector<CVector>& out) const override { out = splodges; }
};

/// Makes computer drivers that read the test's world, and plain base drivers for the other kinds.
class Manager : public CDriverManager {
public:
    Manager(IDriverServices* services, IComputerDriverWorld* world)
        : CDriverManager(services), m_services(services), m_world(world) {}

protected:
    std::unique_ptr<CDriver> MakeDriver(int kind, int index, int slot) override {
        if (kind == 1)
            return std::make_unique<CAIDriver>(index, slot, m_services, m_world);
        return std::make_unique<racetest::PlainDriver>(kind, index, slot, m_services);
    }

private:
    IDriverServices* m_services;
    IComputerDriverWorld* m_world;
};

/// A heading turned `degrees` about the vertical from +z.
inline CVector Turned(float degrees) {
    const float a = degrees * std::numbers::pi_v<float> / 180.0f;
    return CVector(std::sin(a), 0.0f, std::cos(a));
}

/// Drivers in a manager over a straight road of 40 nodes, a computer car and a human one.
class AIDriverTest : public testing::Test {
protected:
    void SetUp() override {
        Random::Seed(1);
        services.route = &route;
    }

    /// A computer driver of `index` in `slot` steering `car`, active, with `block` as its tuning.
    CAIDriver& AddComputer(int slot, ComputerCar& car, const CAIData::SBlock& block = {}, int index = 3) {
        auto* driver = dynamic_cast<CAIDriver*>(manager.CreateDriver(slot, index, 1));
        driver->SetParameters(block);
        driver->SetRacerCar(&car);
        driver->Activate();
        return *driver;
    }
    CDriver& AddHuman(int slot, racetest::FakeCar& car, int position) {
        CDriver* driver = manager.CreateDriver(slot, 10, 0);
        driver->SetRacerCar(&car);
        driver->SetStartPosition(position);
        return *driver;
    }
    /// The car on `node`'s lane point, its driver steering for that node (as after driving there).
    static void Place(CDriver& driver, racetest::FakeCar& car, const CVector& at, int node) {
        car.position = at;
        driver.SetRouteNode(node);
    }
    void Frames(int n, int ms = 40) {
        for (int i = 0; i < n; ++i)
            manager.Update(ms);
    }

    // The cars outlive the drivers that point at them.
    LineRoute route{40};
    ComputerCar car;
    ComputerCar otherCar;
    racetest::FakeCar humanCar;
    racetest::FakeServices services;
    aitest::World world;
    Manager manager{&services, &world};
};

} // namespace aitest
