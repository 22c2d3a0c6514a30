#pragma once

#include "world/TrackBuildLink.h"

namespace zentrix {

/// The program's track builder: the track-edit operations and the registry's base plate and grid size.
class CTrackEditBuilder : public ITrackBuildLink {
public:
    void SetTileHeight(std::uint32_t x, std::uint32_t z, float height) override;
    CTrackObject* PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                  std::uint32_t rotation) override;
    void RemoveTrackPiece(std::uint32_t x, std::uint32_t z) override;
    void UpdateAllTiles() override;
    bool CreateBasePlate() override;
    void SetGridSizeIndex(int index) override;
};

} // namespace zentrix
