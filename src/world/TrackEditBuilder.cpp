#include "world/TrackEditBuilder.h"

#include "world/TrackEdit.h"
#include "world/WorldMan.h"

namespace zentrix {

void CTrackEditBuilder::SetTileHeight(std::uint32_t x, std::uint32_t z, float height) {
    zentrix::SetTileHeight(x, z, height);
}

CTrackObject* CTrackEditBuilder::PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                                 std::uint32_t rotation) {
    return zentrix::PlaceTrackPiece(assetId, x, z, rotation);
}

void CTrackEditBuilder::RemoveTrackPiece(std::uint32_t x, std::uint32_t z) {
    zentrix::RemoveTrackPiece(x, z);
}

void CTrackEditBuilder::UpdateAllTiles() {
    zentrix::UpdateAllTiles();
}

bool CTrackEditBuilder::CreateBasePlate() {
    return CWorldMan::CreateBasePlate();
}

void CTrackEditBuilder::SetGridSizeIndex(int index) {
    CWorldMan::SetGridSizeIndex(index);
}

} // namespace zentrix
