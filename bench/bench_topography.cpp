// Ground lookups over a generated 16 x 16 track of 32-unit tiles (512 x 512 units): level tiles at
// several heights, ramps between them, walls that are no ground and a bridge over a road. The race asks
// the ground for every contact point, net point, shadow corner and route node, so lookups per second is
// what counts: without a hint (a new asker), with a hint along a wheel's path, and through a follower.

#include "engine/Frame.h"
#include "engine/Mesh.h"
#include "foundation/math/Random.h"
#include "world/TopographyFollower.h"
#include "world/TopographyWorld.h"
#include "world/WorldTopography.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace zentrix;

namespace {

constexpr int kTiles = 16;
constexpr float kTile = 32.0f;
constexpr float kLow = -116.0f;
constexpr float kHigh = kLow + kTiles * kTile;

/// Adds the triangles of a quad (faced up for level and sloped tiles) to a vertex and face list.
void AddQuad(std::vector<CVector>& v, float x0, float z0, float x1, float z1, float y00, float y10, float y01,
             float y11) {
    const CVector p00(x0, y00, z0), p10(x1, y10, z0), p01(x0, y01, z1), p11(x1, y11, z1);
    v.insert(v.end(), {p00, p01, p10, p10, p01, p11});
}

/// One mesh per tile, as a track's pieces are: 2 ground triangles, and on every third tile a wall and,
/// on every fifth, a deck above the road.
class GeneratedTrack {
public:
    GeneratedTrack() {
        Random::Seed(1234);
        for (int tz = 0; tz < kTiles; ++tz) {
            for (int tx = 0; tx < kTiles; ++tx) {
                const float x0 = kLow + tx * kTile, z0 = kLow + tz * kTile;
                const float h = static_cast<float>(Random::Next() % 4) * 2.0f;
                const float rise = tx % 4 == 1 ? 6.0f : 0.0f; // ramps on every fourth column
                std::vector<CVector> v;
                AddQuad(v, 0, 0, kTile, kTile, h, h + rise, h, h + rise);
                if ((tx + tz) % 3 == 0)
                    v.insert(v.end(), {CVector(0, h, 0), CVector(0, h + 8, 0), CVector(kTile, h, 0)});
                if ((tx * 7 + tz) % 5 == 0)
                    AddQuad(v, 10, 0, 22, kTile, h + 9, h + 9, h + 9, h + 9);
                AddMesh(v, x0, z0);
            }
        }
        topography.Build(&root);
    }

    CFrame root{nullptr};
    CWorldTopography topography;

private:
    void AddMesh(const std::vector<CVector>& corners, float x, float z) {
        auto* mesh = new CMesh(&root);
        mesh->SetPosition(x, 0.0f, z);
        const auto n = static_cast<std::uint32_t>(corners.size());
        mesh->SetVertexCount(n);
        mesh->SetFaceCount(n / 3, 0);
        for (std::uint32_t i = 0; i < n; ++i)
            mesh->GetVertices()[i] = {corners[i].x, corners[i].y, corners[i].z, 0.0f, 1.0f, 0.0f};
        for (std::uint32_t f = 0; f < n / 3; ++f) {
            MeshFace& face = mesh->GetFaces(0)[f];
            face.a = f * 3;
            face.b = f * 3 + 1;
            face.c = f * 3 + 2;
        }
    }
};

GeneratedTrack& Track() {
    static GeneratedTrack track;
    return track;
}

/// Points anywhere over the track.
std::vector<CVector> ScatteredPoints(int n) {
    std::vector<CVector> points;
    Random::Seed(99);
    const float span = kHigh - kLow;
    for (int i = 0; i < n; ++i)
        points.emplace_back(kLow + span * static_cast<float>(Random::Next()) / Random::kMax, 0.0f,
                            kLow + span * static_cast<float>(Random::Next()) / Random::kMax);
    return points;
}

/// A wheel's path: small steps round a circle over the track.
std::vector<CVector> WheelPath(int n) {
    std::vector<CVector> points;
    const float centre = (kLow + kHigh) / 2.0f;
    for (int i = 0; i < n; ++i) {
        const float a = static_cast<float>(i) * 0.002f;
        points.emplace_back(centre + 200.0f * std::cos(a), 0.0f, centre + 200.0f * std::sin(a));
    }
    return points;
}

void BuildLookup(benchmark::State& state) {
    GeneratedTrack& track = Track();
    for (auto _ : state) {
        CWorldTopography topography;
        benchmark::DoNotOptimize(topography.Build(&track.root));
    }
    state.counters["records"] = static_cast<double>(track.topography.GetRecordCount());
}
BENCHMARK(BuildLookup);

void LookupWithoutHint(benchmark::State& state) {
    const CWorldTopography& topography = Track().topography;
    const std::vector<CVector> points = ScatteredPoints(4096);
    for (auto _ : state) {
        for (const CVector& p : points) {
            CVector normal;
            benchmark::DoNotOptimize(topography.GetHeight(p.x, p.z, nullptr, &normal));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}
BENCHMARK(LookupWithoutHint);

void LookupAlongAWheelPath(benchmark::State& state) {
    const CWorldTopography& topography = Track().topography;
    const std::vector<CVector> path = WheelPath(4096);
    CGroundHint hint;
    for (auto _ : state) {
        for (const CVector& p : path) {
            CVector normal;
            benchmark::DoNotOptimize(topography.GetHeight(p.x, p.z, &hint, &normal));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(path.size()));
}
BENCHMARK(LookupAlongAWheelPath);

/// The race world as the followers see it.
class TrackWorld final : public ITopographyWorld {
public:
    int GetCurrentWorldId() const override { return kRaceWorld; }
    void GetGridBounds(CVector& minimum, CVector& maximum) const override {
        minimum.Set(kLow, 0.0f, kLow);
        maximum.Set(kHigh, 0.0f, kHigh);
    }
    const CWorldTopography* GetTopography() const override { return &Track().topography; }
    float GetSurfaceParam(int) const override { return 1.0f; }
};

void FollowerAlongAWheelPath(benchmark::State& state) {
    TrackWorld world;
    CTopographyFollower::SetWorld(&world);
    const std::vector<CVector> path = WheelPath(4096);
    CTopographyFollower follower;
    for (auto _ : state) {
        for (const CVector& p : path) {
            benchmark::DoNotOptimize(follower.GetGroundHeight(p.x, p.z, nullptr));
            benchmark::DoNotOptimize(follower.GetGroundNormal(p.x, p.z));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(path.size()) * 2);
    CTopographyFollower::SetWorld(nullptr);
}
BENCHMARK(FollowerAlongAWheelPath);

} // namespace
