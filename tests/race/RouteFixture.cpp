#include "RouteFixture.h"

#include "support/SampleSet.h"
#include "world/TrackFileReader.h"
#include "world/TrackObject.h"
#include "world/WorldMan.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace routetest {

void GridBuilder::SetTileHeight(std::uint32_t x, std::uint32_t z, float height) {
    if (height > 0.0f)
        m_grid.ResetCellHeight(nullptr, x, z, height);
}

CTrackObject* GridBuilder::PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                           std::uint32_t rotation) {
    const CVector at = CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z)));
    auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(assetId, at.x, 0.0f, at.z, -1));
    if (piece && m_grid.PlacePiece(piece, x, z, rotation))
        return piece;
    return nullptr;
}

void RouteFixture::SetUp() {
    m_previous = std::filesystem::current_path().string();
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
    assets = std::make_unique<CAssetMan>(CAssetMan::SLinks{});
    ASSERT_EQ(assets->StartManager(), 0);
    services.assets = assets.get();
    SWorldLinks links;
    links.services = &services;
    links.trackBuild = &builder;
    CWorldMan::SetLinks(links);
}

void RouteFixture::TearDown() {
    grid.FreeCells();
    CWorldMan::DeleteAllObjects();
    CWorldMan::SetLinks({});
    assets->StopManager();
    std::filesystem::current_path(m_previous);
}

void RouteFixture::LoadTrack(const std::string& relative) {
    std::ifstream file(testsupport::GeneratedSampleSet() / relative, std::ios::binary);
    const std::vector<std::uint8_t> image{std::istreambuf_iterator<char>(file), {}};
    CTrackFileReader reader(grid, builder, assets.get(), nullptr);
    std::string why;
    ASSERT_TRUE(reader.Read(image, why)) << relative << ": " << why;
}

CTrackObject* RouteFixture::Place(int typeId, int x, int z, int rotation, float height) {
    auto* piece = dynamic_cast<CTrackObject*>(CWorldMan::CreateWorldObject(typeId, 0.0f, 0.0f, 0.0f, -1));
    if (!piece)
        return nullptr;
    piece->SetRotation(rotation);
    for (const CTrackObject::SCellOffset& offset : piece->GetFootprint()) {
        const CTrackObject::SCellOffset turned = piece->RotateOffset(offset);
        if (height > 0.0f)
            grid.ResetCellHeight(nullptr, static_cast<std::uint32_t>(x + turned.x),
                                 static_cast<std::uint32_t>(z + turned.z), height);
    }
    piece->SetPositionVector(
        CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z))));
    if (!grid.PlacePiece(piece, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(z),
                         static_cast<std::uint32_t>(rotation)))
        return nullptr;
    return piece;
}

} // namespace routetest
