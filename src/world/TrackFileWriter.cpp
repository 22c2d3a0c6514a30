#include "world/TrackFileWriter.h"

#include "foundation/assets/AssetMan.h"
#include "render/EngineMan.h"
#include "world/GridCell.h"
#include "world/TrackFileImage.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

#include <algorithm>
#include <new>

namespace zentrix {

namespace {

/// A rotation as the file holds it; a piece that faces no quarter turn is written unturned, so that the
/// file stays readable.
std::uint32_t StoredRotation(const CTrackObject& piece) {
    const int rotation = piece.GetRotation();
    return rotation >= 0 ? static_cast<std::uint32_t>(rotation) : 0;
}

} // namespace

std::unique_ptr<CTrackFileImage> AllocateTrackImage() {
    return std::unique_ptr<CTrackFileImage>(new (std::nothrow) CTrackFileImage);
}

std::unique_ptr<CTrackFileImage> WriteTrackImage(const CWorldGrid& grid) {
    std::unique_ptr<CTrackFileImage> image = AllocateTrackImage();
    if (!image)
        return nullptr;
    IWorldServices* services = CWorldMan::GetServices();
    const CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    const CEngineMan* engine = services ? services->GetEngineMan() : nullptr;
    const SWorldLinks& links = CWorldMan::GetLinks();
    // The index is taken from the grid itself, so that the header always says how many cells follow.
    const std::uint32_t index = grid.GetSizeX() == 16 && grid.GetSizeZ() == 16 ? 1 : 0;
    const std::uint32_t theme = assets ? static_cast<std::uint32_t>(assets->GetWorld()) : 0;
    const std::uint32_t lighting = engine && engine->GetLightingMode() != 0 ? 0 : 1;
    const bool routeClosed = links.isRouteBroken && !links.isRouteBroken();
    image->WriteTrackHeader(index, theme, lighting, routeClosed);

    const int filler = assets ? assets->GetWorldBaseId() : -1;
    const std::uint32_t width = std::min(grid.GetSizeX(), CTrackFileImage::kRecordCells);
    const std::uint32_t depth = std::min(grid.GetSizeZ(), CTrackFileImage::kRecordCells);
    for (std::uint32_t x = 0; x < width; ++x)
        for (std::uint32_t z = 0; z < depth; ++z) {
            const CGridCell& cell = *grid.GetCell(x, z);
            CTrackFileImage::SRecord record;
            record.height = cell.height;
            if (cell.piece && !cell.owner && cell.piece->GetTypeId() != filler) {
                record.pieceId = cell.piece->GetTypeId();
                record.rotation = StoredRotation(*cell.piece);
            }
            if (const auto* ground = dynamic_cast<const CTrackObject*>(cell.object))
                record.groundRotation = StoredRotation(*ground);
            image->WriteCellRecord(x, z, record);
        }
    return image;
}

} // namespace zentrix
