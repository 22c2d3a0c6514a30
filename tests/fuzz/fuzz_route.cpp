// The route over any grid a track file and piece data can make: pieces of every kind and class at any
// turn, heights of any value, and footprints as the data gives them (cells off the grid, far from the
// anchor, more cells than a connection record has). Builds stay within their pools and every query
// answers within the route.
#include "race/RouteNodeMan.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldTopographyLink.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

using namespace zentrix;

namespace {

/// Footprints by piece, as bad data may give them; pieces without one read their own.
class DataRoute : public CRouteNodeMan {
public:
    std::map<const CTrackObject*, std::vector<CTrackObject::SCellOffset>> footprints;

protected:
    const std::vector<CTrackObject::SCellOffset>& FootprintOf(const CTrackObject& piece) const override {
        const auto it = footprints.find(&piece);
        return it != footprints.end() ? it->second : piece.GetFootprint();
    }
};

class OddGround : public IWorldTopographyLink {
public:
    float GetHeight(float x, float z) const override {
        const float h = std::sin(x) * 1e6f + z;
        return static_cast<int>(x) % 7 == 0 ? NAN : h;
    }
};

/// Type ids of every class: each main and second-list piece of the jungle theme, scenery, and none.
const std::vector<int>& TypeIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> found;
        for (int id = 15000; id < 16000; ++id) {
            int pieceClass = 0;
            std::int16_t index = 0;
            if (CTrackObject::ClassifyPiece(id, false, pieceClass, index) || id % 97 == 0)
                found.push_back(id);
        }
        return found;
    }();
    return ids;
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    float Float() {
        float f = 0.0f;
        for (std::size_t i = 0; i < sizeof f; ++i)
            reinterpret_cast<std::uint8_t*>(&f)[i] = Byte();
        return f;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void Check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const std::uint32_t width = 1 + in.Byte() % 24;
    const std::uint32_t depth = 1 + in.Byte() % 24;
    CWorldGrid grid(width, depth);
    DataRoute route;
    std::vector<std::unique_ptr<CTrackObject>> pieces;
    for (std::uint32_t z = 0; z < depth; ++z)
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t what = in.Byte();
            const std::uint8_t how = in.Byte();
            if (how & 0x10)
                grid.ResetCellHeight(nullptr, x, z, (how & 0x20) ? in.Float() : 8.0f * ((how >> 6) & 3));
            if (what == 0)
                continue;
            const int id = TypeIds()[what % TypeIds().size()];
            auto piece = std::make_unique<CTrackObject>(id);
            piece->SetPositionVector(
                CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z))));
            if (how & 0x08) {
                auto& cells = route.footprints[piece.get()];
                const int count = in.Byte() % 13;
                for (int i = 0; i < count; ++i) {
                    const std::uint8_t cell = in.Byte();
                    cells.push_back({(cell & 15) - 8, (cell >> 4) - 8});
                }
            }
            if (grid.PlacePiece(piece.get(), x, z, how & 3))
                pieces.push_back(std::move(piece));
            else
                route.footprints.erase(piece.get());
        }

    OddGround ground;
    for (int pass = 0; pass < 2; ++pass) {
        route.SetEditorBuild(pass == 1);
        route.BuildRoute(&grid, &ground);
        const int nodes = route.GetNodeCount();
        Check(nodes >= 0 && nodes <= CRouteNodeMan::kMaxNodes);
        Check(route.GetSectionCount() >= 0 && route.GetSectionCount() <= CRouteNodeMan::kMaxSections);
        Check(route.GetRouteLength() >= 0 && route.GetStretchMean() >= 0);
        Check(!route.IsRouteBroken() || route.GetRouteStatus() != CRouteNodeMan::kRouteOk);
        for (int i = 0; i < nodes; ++i)
            Check(route.GetNode(i).side.x == route.GetNode(i).side.x);
        const CVector position(in.Float(), in.Float(), in.Float());
        const int hint = static_cast<int>(in.Byte()) - 8;
        int a = -1;
        int b = -1;
        if (route.FindNearestNode(position, a, hint, pass == 1))
            Check(a >= 0 && a < nodes);
        if (route.GetRouteSegment(position, a, b, hint))
            Check(a >= 0 && a < nodes && b >= 0 && b < nodes);
        if (route.GetNeighbourNodes(position, a, b, hint))
            Check(a >= 0 && a < nodes && b >= 0 && b < nodes);
        const int onTile = route.FindNearestNodeOnTile(position, hint);
        Check(onTile >= -1 && onTile < nodes);
        route.FindNearestCornerNode(position, a, hint);
        route.GetLateralOffset(position);
        route.GetDriverLateralOffset(position, hint);
        route.GetRouteDistanceToNode(hint);
        route.IsOnNodeTile(position);
        route.CanReachSection(hint, hint + 1);
        route.CanClimbTo(hint + 1, hint);
        route.GetRouteErrorPiece(&grid);
        route.GetRouteErrorHelpId();
        int kind = 0;
        int dx = 0;
        int dz = 0;
        for (int i = -1; i <= static_cast<int>(width); ++i) {
            route.GetTilePieceKind(i, hint, kind);
            route.GetTileAnchorOffset(i, hint, dx, dz);
        }
    }
    grid.FreeCells();
    return 0;
}
