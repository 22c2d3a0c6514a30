#pragma once

// The route over tracks of the sample set, read by the real track reader into a grid of its own, and
// over grids laid out in memory with the sample set's pieces.

#include "foundation/assets/AssetMan.h"
#include "race/RouteNodeMan.h"
#include "world/TrackBuildLink.h"
#include "world/WorldGrid.h"
#include "world/WorldServices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace zentrix;

namespace routetest {

/// The world's services as the route and the pieces reach them: the sample set's asset manager, and a
/// log of what is written to the log files.
class Services : public IWorldServices {
public:
    CAssetMan* GetAssetMan() override { return assets; }
    CEngineMan* GetEngineMan() override { return nullptr; }
    IRenderAssets* GetRenderAssets() override { return nullptr; }
    IAnimTextures* GetAnimTextures() override { return nullptr; }
    float GetFrameFactor() const override { return 1.0f; }
    void ClearMessages() override {}
    int GetPreviousGameState() const override { return 0; }
    void BuildRaceSetup(CRaceSetup&) override {}
    void SetInputRecording(bool) override {}
    void SetInputPlayback(bool) override {}
    CSlideOut* FindSlideOut(int) override { return nullptr; }
    bool UseGameTimer() const override { return false; }
    void Log(int channel, const std::string& text) override {
        log.push_back(std::to_string(channel) + " " + text);
    }

    CAssetMan* assets = nullptr;
    std::vector<std::string> log;
};

/// Heights and pieces straight on one grid, as the track-edit operations leave them.
class GridBuilder : public ITrackBuildLink {
public:
    explicit GridBuilder(CWorldGrid& grid) : m_grid(grid) {}
    void SetTileHeight(std::uint32_t x, std::uint32_t z, float height) override;
    CTrackObject* PlaceTrackPiece(int assetId, std::uint32_t x, std::uint32_t z,
                                  std::uint32_t rotation) override;
    void RemoveTrackPiece(std::uint32_t x, std::uint32_t z) override { m_grid.RemovePiece(x, z); }
    void UpdateAllTiles() override {}
    bool CreateBasePlate() override { return true; }
    void SetGridSizeIndex(int) override {}

private:
    CWorldGrid& m_grid;
};

/// The sample set's asset manager behind the world's services; each test's objects leave the world.
class RouteFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

public:
    /// Reads a sample track ("GameTracks/circuit.trk") into `grid`.
    void LoadTrack(const std::string& relative);
    /// Puts the piece of `typeId` on the grid with its anchor on (x, z); the cells beneath raised to
    /// `height` first when it is above 0.
    CTrackObject* Place(int typeId, int x, int z, int rotation, float height = 0.0f);

    Services services;
    std::unique_ptr<CAssetMan> assets;
    CWorldGrid grid{8, 8};
    GridBuilder builder{grid};
    CRouteNodeMan route;

private:
    std::string m_previous;
};

} // namespace routetest
