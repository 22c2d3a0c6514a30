#include "world/TrackFileReader.h"

#include "foundation/assets/AssetMan.h"
#include "render/EngineMan.h"
#include "world/TrackBuildLink.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

namespace zentrix {

namespace {

/// The error manager's channel for file access ("fileaccess.log").
constexpr int kFileLogChannel = 4;

bool NamesPiece(int id) {
    return id != -1 && id != 0;
}

/// The grid takes quarter turns 0 to 3 only; a record turned more loses its piece, and the file says so.
void LogRefusedRotation(int id, std::uint32_t x, std::uint32_t z, std::uint32_t rotation) {
    if (IWorldServices* services = CWorldMan::GetServices())
        services->Log(kFileLogChannel, "Track piece " + std::to_string(id) + " at cell (" +
                                           std::to_string(x) + ", " + std::to_string(z) +
                                           ") refused: rotation " + std::to_string(rotation) +
                                           " is not one of 0 to 3");
}

} // namespace

CTrackFileReader::CTrackFileReader(CWorldGrid& grid, ITrackBuildLink& builder, CAssetMan* assets,
                                   CEngineMan* engine)
    : m_grid(grid), m_builder(builder), m_assets(assets), m_engine(engine) {}

bool CTrackFileReader::Read(std::span<const std::uint8_t> image, std::string& why) {
    // Everything is checked before the first cell is freed: a refused image leaves the grid as it was.
    if (!CTrackFileImage::Check(image, m_info, why))
        return false;
    m_image = image;
    m_grid.FreeCells();
    if (m_info.version == 5)
        LoadTrackV5();
    else
        LoadOldTrack();
    m_builder.UpdateAllTiles();
    m_image = {};
    return true;
}

CTrackFileImage::SRecord CTrackFileReader::Record(std::uint32_t x, std::uint32_t z) const {
    return CTrackFileImage::ReadRecord(m_image, m_info.version, x, z);
}

int CTrackFileReader::TranslatedId(int id) const {
    return m_assets ? m_assets->GetWorldEquivalentId(id, m_assets->GetWorld()) : id;
}

int CTrackFileReader::Filler() const {
    return m_assets ? m_assets->GetWorldBaseId() : -1;
}

void CTrackFileReader::PrepareGridV5() {
    m_grid.AllocateCells(m_info.width, m_info.depth);
    m_builder.SetGridSizeIndex(static_cast<int>(m_info.gridSizeIndex));
    // The theme comes before any piece, so that the filler and start piece are the track's own.
    if (m_assets)
        m_assets->SetWorld(static_cast<int>(m_info.theme), false);
    if (m_engine)
        m_engine->SetupLighting(m_info.lightingFlag != 0 ? 0 : 1);
}

void CTrackFileReader::LoadTrackV5() {
    PrepareGridV5();
    for (std::uint32_t z = 0; z < m_info.depth; ++z)
        for (std::uint32_t x = 0; x < m_info.width; ++x)
            m_builder.SetTileHeight(x, z, Record(x, z).height);
    const int filler = Filler();
    for (std::uint32_t z = 0; z < m_info.depth; ++z)
        for (std::uint32_t x = 0; x < m_info.width; ++x) {
            const CTrackFileImage::SRecord record = Record(x, z);
            if (NamesPiece(record.pieceId) && !(record.pieceId == filler && record.height > 0.0f))
                PlacePieceFromRecord(record.pieceId, x, z, record.rotation, record.height);
        }
    m_builder.CreateBasePlate();
}

void CTrackFileReader::PrepareGridFromHeader() {
    m_grid.FreeCells();
    m_grid.AllocateCells(m_info.width, m_info.depth);
    // Old images hold no size index: it follows from the size, before the base plate and the writer
    // use it.
    m_builder.SetGridSizeIndex(static_cast<int>(m_info.gridSizeIndex));
    m_builder.CreateBasePlate();
}

void CTrackFileReader::SetOldTileHeight(std::uint32_t x, std::uint32_t z, float height) {
    if (height > 0.0f)
        m_builder.SetTileHeight(x, z, height);
    else
        m_grid.ResetCellHeight(nullptr, x, z, -1.0f);
}

void CTrackFileReader::LoadOldTrack() {
    PrepareGridFromHeader();
    const std::uint32_t version = m_info.version;
    if (version == 4)
        for (std::uint32_t z = 0; z < m_info.depth; ++z)
            for (std::uint32_t x = 0; x < m_info.width; ++x)
                m_builder.SetTileHeight(x, z, Record(x, z).height);
    const int filler = Filler();
    for (std::uint32_t z = 0; z < m_info.depth; ++z)
        for (std::uint32_t x = 0; x < m_info.width; ++x) {
            const CTrackFileImage::SRecord record = Record(x, z);
            if (version < 4)
                SetOldTileHeight(x, z, record.height);
            const int id = TranslatedId(record.pieceId);
            if (!NamesPiece(id))
                continue;
            if (version == 1) {
                if (!m_builder.PlaceTrackPiece(id, x, z, record.rotation) && record.rotation > 3)
                    LogRefusedRotation(id, x, z, record.rotation);
                continue;
            }
            // From version 3 on, raised cells carry no ground tile.
            if (version >= 3 && id == filler && record.height > 0.0f)
                continue;
            PlacePieceFromRecord(id, x, z, record.rotation, record.height);
        }
    if (version < 4)
        FillEmptyCells();
}

void CTrackFileReader::PlacePieceFromRecord(int id, std::uint32_t x, std::uint32_t z, std::uint32_t rotation,
                                            float height) {
    const CVector position =
        CWorldGrid::GridToWorld(CVector(static_cast<float>(x), 0.0f, static_cast<float>(z)));
    CWorldObject* object =
        CWorldMan::CreateWorldObject(id, position.x, height < 0.0f ? 0.0f : height, position.z, -1);
    if (!object)
        return;
    // The id comes from the file: whatever it made that is no piece for this cell leaves again.
    auto* piece = dynamic_cast<CTrackObject*>(object);
    if (!piece) {
        CWorldMan::RemoveObject(object);
        return;
    }
    piece->SetRotation(static_cast<int>(rotation));
    if (!m_grid.PlacePiece(piece, x, z, rotation)) {
        CWorldMan::RemoveObject(piece);
        if (rotation > 3)
            LogRefusedRotation(id, x, z, rotation);
        return;
    }
    piece->OnPlaced();
}

void CTrackFileReader::FillEmptyCells() {
    const int filler = Filler();
    for (std::uint32_t z = 0; z < m_grid.GetSizeZ(); ++z)
        for (std::uint32_t x = 0; x < m_grid.GetSizeX(); ++x)
            if (!m_grid.GetPieceAt(x, z) && m_grid.GetCellHeight(x, z) < 0.1f)
                PlacePieceFromRecord(filler, x, z, 0, 0.0f);
}

bool ReadTrackImage(std::span<const std::uint8_t> image, CWorldGrid& grid) {
    IWorldServices* services = CWorldMan::GetServices();
    ITrackBuildLink* builder = CWorldMan::GetLinks().trackBuild;
    std::string why = "the world has no track builder";
    if (builder) {
        CTrackFileReader reader(grid, *builder, services ? services->GetAssetMan() : nullptr,
                                services ? services->GetEngineMan() : nullptr);
        if (reader.Read(image, why))
            return true;
    }
    if (services)
        services->Log(kFileLogChannel, "Track file refused: " + why);
    return false;
}

} // namespace zentrix
