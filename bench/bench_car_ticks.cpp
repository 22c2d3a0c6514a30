// Race ticks per second with four sample cars lapping the plain city circuit ("circuit.trk": twenty 32-unit
// road cells round an 8 x 8 grid, its ground the terrain of the pieces' sample meshes; the cars steer at the
// route node two ahead, full throttle on the straights). One tick is the race's four passes over the world's
// objects for a 40 ms frame: update (controls, drive, brake, steering, wheels, lean), simulation step,
// collisions, end of step.

#include "app/DriverControls.h"
#include "app/RaceSetup.h"
#include "engine/Frame.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/math/Random.h"
#include "render/AssetAnimTextures.h"
#include "render/AssetRenderAssets.h"
#include "render/assets/GraphicsCaches.h"
#include "world/CarDriverLink.h"
#include "world/CarObject.h"
#include "world/RaceWorldLink.h"
#include "world/TrackEditBuilder.h"
#include "world/WorldLinks.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"
#include "world/WorldTopography.h"

#include "BenchSampleSet.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

using namespace zentrix;

namespace {

constexpr unsigned kFrameMs = 40;
constexpr int kCars = 4;

std::filesystem::path SampleSet() {
    return BenchSampleSet("cars");
}

/// What the world takes from the shell: the asset manager and what sprites and animations read.
class BenchServices : public IWorldServices {
public:
    CAssetMan* GetAssetMan() override { return assets; }
    CEngineMan* GetEngineMan() override { return nullptr; }
    IRenderAssets* GetRenderAssets() override { return renderAssets; }
    IAnimTextures* GetAnimTextures() override { return animTextures; }
    float GetFrameFactor() const override { return 1.0f; }
    void ClearMessages() override {}
    int GetPreviousGameState() const override { return 0; }
    void BuildRaceSetup(CRaceSetup& setup) override { ClearRaceSetup(setup); }
    void SetInputRecording(bool) override {}
    void SetInputPlayback(bool) override {}
    CSlideOut* FindSlideOut(int) override { return nullptr; }
    bool UseGameTimer() const override { return false; }
    void Log(int, const std::string&) override {}

    CAssetMan* assets = nullptr;
    IRenderAssets* renderAssets = nullptr;
    IAnimTextures* animTextures = nullptr;
};

/// The race world: the shared world and the circuit's ground, a race under way.
class BenchRaceWorld : public CWorldMan, public IRaceWorldLink {
public:
    explicit BenchRaceWorld(IWorldTopographyLink& ground) : m_ground(ground) {}
    int Create() override {
        CWorldMan::Create();
        return InitSharedWorld() ? 0 : 1;
    }
    int Destroy() override {
        FreeSharedWorld();
        return CWorldMan::Destroy();
    }
    void StartRace(const CRaceSetup&, bool) override {}
    IWorldTopographyLink* GetTopography() override { return &m_ground; }
    bool HasStarted() const override { return true; }

private:
    IWorldTopographyLink& m_ground;
};

/// Steers at the route node two ahead of the one it is nearest, slowing for the corners.
class PursuitDriver : public ICarDriverLink {
public:
    PursuitDriver(const std::vector<CVector>& route, int node) : m_route(route), m_node(node) {}
    CDriver* AsDriver() override { return nullptr; }
    void SetCar(CCarObject* car) override { m_car = car; }
    void GetControls(CDriverControls& out) const override { out = m_controls; }
    int GetSlot() const override { return -1; }
    bool IsHuman() const override { return false; }
    bool HasFinished() const override { return false; }
    bool AcceptsPickups() const override { return false; }
    int GetRouteNode() const override { return m_node; }
    void SetRouteNode(int index) override { m_node = Wrap(index); }
    bool GetRouteNodeWrapped(int& index, CVector& position) const override {
        index = Wrap(index);
        position = m_route[static_cast<std::size_t>(index)];
        return true;
    }
    int GetWatchedTruckCount() const override { return 0; }
    CWorldObject* GetWatchedTruck(int) const override { return nullptr; }
    void ReportResetTaunt() override {}
    void FeedbackPush(int, int, int, int) override {}

    /// This frame's controls from where the car is.
    void Think() {
        const auto distance = [this](int i) {
            const CVector d = m_route[static_cast<std::size_t>(Wrap(i))] - m_car->Position();
            return std::hypot(d.x, d.z);
        };
        for (int i = m_node + 1; i <= m_node + 3; ++i)
            if (distance(i) < distance(m_node))
                m_node = Wrap(i);
        CVector to = m_route[static_cast<std::size_t>(Wrap(m_node + 2))] - m_car->Position();
        CVector d = m_car->Direction();
        to.y = d.y = 0.0f;
        to.SafeNormalise();
        d.SafeNormalise();
        const float angle = std::atan2(d.Cross(to).y, d.Dot(to));
        m_controls = CDriverControls();
        m_controls.steering = std::clamp(static_cast<int>(-angle * 250.0f), -127, 127);
        m_controls.axis1 = std::fabs(angle) < 0.35f ? 127 : 30;
    }

private:
    int Wrap(int i) const {
        const int n = static_cast<int>(m_route.size());
        return ((i % n) + n) % n;
    }
    const std::vector<CVector>& m_route;
    int m_node;
    CCarObject* m_car = nullptr;
    CDriverControls m_controls;
};

/// The plain circuit's road and route, the sample set's managers and four cars on it.
class Circuit {
public:
    Circuit() {
        std::filesystem::current_path(SampleSet());
        CAssetMan::SLinks links;
        links.makeGraphicsCaches = [](CAssetMan& a) { return std::make_unique<CGraphicsCaches>(a); };
        m_assets = std::make_unique<CAssetMan>(std::move(links));
        if (m_assets->StartManager() != 0)
            throw std::runtime_error("the sample set does not start");
        m_renderAssets = std::make_unique<CAssetRenderAssets>(*m_assets);
        m_animTextures = std::make_unique<CAssetAnimTextures>(*m_assets);
        m_services.assets = m_assets.get();
        m_services.renderAssets = m_renderAssets.get();
        m_services.animTextures = m_animTextures.get();

        std::vector<std::pair<int, int>> cells = {{1, 3}, {1, 2}, {1, 1}};
        for (int x = 2; x <= 6; ++x)
            cells.push_back({x, 1});
        for (int z = 2; z <= 6; ++z)
            cells.push_back({6, z});
        for (int x = 5; x >= 1; --x)
            cells.push_back({x, 6});
        cells.push_back({1, 5});
        cells.push_back({1, 4});
        for (const auto& [x, z] : cells) {
            const CVector centre(32.0f * static_cast<float>(x) - 100.0f, 0.0f,
                                 32.0f * static_cast<float>(z) - 100.0f);
            m_route.push_back(centre);
        }

        SWorldLinks world;
        world.services = &m_services;
        world.trackBuild = &m_builder;
        world.makeWorld = [this](int id) -> std::unique_ptr<CWorldMan> {
            return id == CWorldMan::kRace ? std::make_unique<BenchRaceWorld>(m_ground) : nullptr;
        };
        CWorldMan::SetLinks(world);
        if (!CWorldMan::CreateWorlds() || !CWorldMan::SetCurrentWorld(CWorldMan::kRace) ||
            !CWorldMan::LoadTrack("circuit.trk", 5) || !m_ground.Build(CWorldMan::GetWorldFrame()))
            throw std::runtime_error("the race world does not start on the plain circuit");
        Random::Seed(5);
        for (int i = 0; i < kCars; ++i) {
            const int node = i * 5;
            const CVector at = m_route[static_cast<std::size_t>(node)];
            auto* car =
                dynamic_cast<CCarObject*>(CWorldMan::CreateWorldObject(60000 + i * 3, at.x, 0.0f, at.z, -1));
            if (!car)
                throw std::runtime_error("no sample car");
            const CVector next = m_route[static_cast<std::size_t>(node + 1)] - at;
            car->Reorient(next.GetNormalised(), kUpVector);
            m_drivers.push_back(std::make_unique<PursuitDriver>(m_route, node));
            car->AssignDriver(m_drivers.back().get());
        }
    }
    ~Circuit() {
        CWorldMan::DestroyWorlds();
        CWorldMan::SetLinks({});
        m_assets->StopManager();
    }

    void Tick() {
        for (const auto& driver : m_drivers)
            driver->Think();
        CWorldMan::UpdateObjects(kFrameMs);
        CWorldMan::SimulateActiveObjects(kFrameMs);
        CWorldMan::CollideObjects(kFrameMs);
        CWorldMan::FinishActiveObjects(kFrameMs);
    }

private:
    BenchServices m_services;
    std::unique_ptr<CAssetMan> m_assets;
    std::unique_ptr<CAssetRenderAssets> m_renderAssets;
    std::unique_ptr<CAssetAnimTextures> m_animTextures;
    CTrackEditBuilder m_builder;
    CWorldTopography m_ground;
    std::vector<CVector> m_route;
    std::vector<std::unique_ptr<PursuitDriver>> m_drivers;
};

void FourCarsOnThePlainCircuit(benchmark::State& state) {
    Circuit circuit;
    // Under way first: the cars settle and leave the start.
    for (int i = 0; i < 25; ++i)
        circuit.Tick();
    for (auto _ : state)
        circuit.Tick();
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(FourCarsOnThePlainCircuit)->Unit(benchmark::kMicrosecond);

} // namespace
