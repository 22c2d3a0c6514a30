#pragma once

// The track builder as the track-edit operations answer, straight on the shared grid, and a fixture that
// serves the world and its grid from the sample set with it.

#include "WorldDoubles.h"

#include "world/TrackBuildLink.h"
#include "world/TrackObject.h"
#include "world/WorldGrid.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace worldtest {

/// Heights carry the theme's height block and pieces stand on the supports of their level, as the
/// track-edit operations make them; pieces are placed at their cell's height. Cells without ground get no
/// ground tile (the file never records one). Logs what the registry's part is asked ("size index 1",
/// "base plate", "update tiles").
class DirectTrackBuilder : public ITrackBuildLink {
public:
    explicit DirectTrackBuilder(Log& log) : m_log(log) {}

    void SetTileHeight(std::uint32_t x, std::uint32_t z, float height) override;
    CTrackObject* PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                  std::uint32_t rotation) override;
    void RemoveTrackPiece(std::uint32_t x, std::uint32_t z) override;
    void UpdateAllTiles() override;
    bool CreateBasePlate() override {
        m_log.push_back("base plate");
        return true;
    }
    void SetGridSizeIndex(int index) override { m_log.push_back("size index " + std::to_string(index)); }

private:
    /// A ground object of the theme's row at the cell, turned, carrying the height; null when none is made.
    void PutGroundObject(std::uint32_t x, std::uint32_t z, int column, int rotation, float height);

    Log& m_log;
};

/// The world fixture with the builder and a route that answers as `routeClosed` says, the worlds
/// created and the construction world current (it sets up the shared world).
class TrackFixture : public WorldFixture {
protected:
    void SetUp() override;

    CWorldGrid& Grid() { return *CWorldMan::GetWorldGrid(); }
    /// A file below the sample set ("" when missing).
    static std::vector<std::uint8_t> ReadSample(const std::string& relative);
    /// The pieces on the grid by their anchor cell, the theme's ground tiles left out: "x,z:id/rotation" in
    /// x, then z order.
    std::string Pieces();
    /// How many world objects of a type id are in the world.
    static int CountObjects(int typeId);

    DirectTrackBuilder builder{log};
    bool routeClosed = true;
};

} // namespace worldtest
