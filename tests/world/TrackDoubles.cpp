#include "TrackDoubles.h"

#include "platform/fs/FileSystem.h"

namespace worldtest {

namespace {

CAssetMan& Assets() {
    return *CWorldMan::GetServices()->GetAssetMan();
}

CVector CellPosition(std::uint32_t x, std::uint32_t z) {
    return CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z)));
}

} // namespace

void DirectTrackBuilder::PutGroundObject(std::uint32_t x, std::uint32_t z, int column, int rotation,
                                         float height) {
    const int id = Assets().GetWorldAssetId(0, column);
    if (id == -1)
        return;
    const CVector at = CellPosition(x, z);
    CWorldObject* object = CWorldMan::CreateWorldObject(id, at.x, 0.0f, at.z, -1);
    auto* tile = dynamic_cast<CTrackObject*>(object);
    if (!tile) {
        CWorldMan::RemoveObject(object);
        return;
    }
    tile->SetRotation(rotation);
    CWorldMan::GetWorldGrid()->ResetCellHeight(tile, x, z, height);
}

void DirectTrackBuilder::SetTileHeight(std::uint32_t x, std::uint32_t z, float height) {
    CWorldGrid& grid = *CWorldMan::GetWorldGrid();
    grid.ClearCellObject(x, z);
    if (height > 0.0f)
        PutGroundObject(x, z, Assets().GetHeightPieceColumn(-1, height), 0, height);
}

CTrackObject* DirectTrackBuilder::PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                                  std::uint32_t rotation) {
    CWorldGrid& grid = *CWorldMan::GetWorldGrid();
    if (rotation > 3)
        return nullptr;
    const CVector at = CellPosition(x, z);
    CWorldObject* object = CWorldMan::CreateWorldObject(assetId, at.x, grid.GetCellHeight(x, z), at.z, -1);
    auto* piece = dynamic_cast<CTrackObject*>(object);
    if (!piece || !grid.PlacePiece(piece, x, z, rotation)) {
        CWorldMan::RemoveObject(object);
        return nullptr;
    }
    piece->OnPlaced();
    return piece;
}

void DirectTrackBuilder::RemoveTrackPiece(std::uint32_t x, std::uint32_t z) {
    CWorldGrid& grid = *CWorldMan::GetWorldGrid();
    if (CTrackObject* piece = grid.GetPieceAt(x, z)) {
        grid.RemovePiece(x, z);
        CWorldMan::RemoveObject(piece);
    }
}

void DirectTrackBuilder::UpdateAllTiles() {
    m_log.push_back("update tiles");
    CWorldGrid& grid = *CWorldMan::GetWorldGrid();
    for (std::uint32_t x = 0; x < grid.GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid.GetSizeZ(); ++z) {
            const float height = grid.GetCellHeight(x, z);
            const CTrackObject* piece = grid.GetPieceAt(x, z);
            const int column = Assets().GetHeightPieceColumn(piece ? piece->GetTypeId() : -1, height);
            const auto* ground = dynamic_cast<const CTrackObject*>(grid.GetCellObject(x, z));
            if (Assets().GetWorldAssetId(0, column) == (ground ? ground->GetTypeId() : -1))
                continue;
            grid.ClearCellObject(x, z);
            PutGroundObject(x, z, column, piece ? piece->GetRotation() : 0, height);
        }
}

void TrackFixture::SetUp() {
    WorldFixture::SetUp();
    SWorldLinks links = Links();
    links.trackBuild = &builder;
    links.isRouteBroken = [this] { return !routeClosed; };
    CWorldMan::SetLinks(links);
    // The grid size outlives the worlds, as the game's does: every test starts on the small grid.
    CWorldMan::SetGridSizeIndex(0);
    ASSERT_TRUE(CWorldMan::CreateWorlds());
    ASSERT_TRUE(CWorldMan::SetCurrentWorld(CWorldMan::kConstruct));
    ASSERT_NE(CWorldMan::GetWorldGrid(), nullptr);
}

std::vector<std::uint8_t> TrackFixture::ReadSample(const std::string& relative) {
    return plat::fs::ReadWholeFile(relative).bytes;
}

std::string TrackFixture::Pieces() {
    std::string out;
    CWorldGrid& grid = Grid();
    for (std::uint32_t x = 0; x < grid.GetSizeX(); ++x)
        for (std::uint32_t z = 0; z < grid.GetSizeZ(); ++z) {
            const CGridCell& cell = *grid.GetCell(x, z);
            if (cell.piece && !cell.owner && cell.piece->GetTypeId() != Assets().GetWorldBaseId())
                out += (out.empty() ? "" : " ") + std::to_string(x) + "," + std::to_string(z) + ":" +
                       std::to_string(cell.piece->GetTypeId()) + "/" +
                       std::to_string(cell.piece->GetRotation());
        }
    return out;
}

int TrackFixture::CountObjects(int typeId) {
    int count = 0;
    for (const auto& object : CWorldMan::GetObjectList())
        count += object && object->GetTypeId() == typeId ? 1 : 0;
    return count;
}

} // namespace worldtest
