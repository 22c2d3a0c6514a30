// Nearest-node searches on a full route of 512 nodes. Every driver asks for its node every frame (with
// its current node as the hint), and the car reset and the race results ask without one.

#include "race/RouteNodeMan.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace zentrix;

namespace {

/// A ring round a grid of 260 x 3 cells: longer than the route's pools, so the route holds 512 nodes.
class LongRoute {
public:
    LongRoute() : m_grid(260, 3) {
        Put(15203, 0, 0, 0);
        Put(15203, 259, 0, 3);
        Put(15203, 259, 2, 2);
        Put(15203, 0, 2, 1);
        Put(15205, 0, 1, 0);
        Put(15201, 259, 1, 0);
        for (std::uint32_t x = 1; x < 259; ++x) {
            Put(15201, x, 0, 1);
            Put(15201, x, 2, 1);
        }
        m_route.BuildRoute(&m_grid, nullptr);
    }
    ~LongRoute() { m_grid.FreeCells(); }
    const CRouteNodeMan& Route() const { return m_route; }

private:
    void Put(int typeId, std::uint32_t x, std::uint32_t z, std::uint32_t rotation) {
        m_pieces.push_back(std::make_unique<CTrackObject>(typeId));
        m_pieces.back()->SetPositionVector(
            CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z))));
        m_grid.PlacePiece(m_pieces.back().get(), x, z, rotation);
    }

    CWorldGrid m_grid;
    std::vector<std::unique_ptr<CTrackObject>> m_pieces;
    CRouteNodeMan m_route;
};

const LongRoute& Shared() {
    static const LongRoute route;
    return route;
}

/// Positions beside successive nodes, as a car moving along the route.
void NearestNode(benchmark::State& state, bool hinted) {
    const CRouteNodeMan& route = Shared().Route();
    const int count = route.GetNodeCount();
    if (count != CRouteNodeMan::kMaxNodes)
        state.SkipWithError("the route is not full");
    int i = 0;
    int node = 0;
    for (auto _ : state) {
        const CVector position = route.GetNode(i).position + CVector(3.0f, 0.0f, 5.0f);
        benchmark::DoNotOptimize(
            route.FindNearestNode(position, node, hinted ? node : CRouteNodeMan::kNoNode));
        i = i + 1 < count ? i + 1 : 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_FindNearestNode(benchmark::State& state) {
    NearestNode(state, false);
}
void BM_FindNearestNodeHinted(benchmark::State& state) {
    NearestNode(state, true);
}

} // namespace

BENCHMARK(BM_FindNearestNode);
BENCHMARK(BM_FindNearestNodeHinted);
