#pragma once

#include "SampleSources.h"

#include "world/TrackFileImage.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace zentrix;

/// The sample tracks: readable grid descriptions (data/sample/tracks/*.txt) checked against the pieces of
/// the manifest and written as track files of version 5, and, where a description asks, as files of the
/// older versions for the tests.
namespace mkdata {

/// One track as its description gives it.
struct Track {
    std::string name;                ///< the file is the name + ".trk"
    int folder = -1;                 ///< the file service's slot: 1, 4 or 5
    std::uint32_t theme = 0;         ///< 0 jungle, 1 ice, 2 desert, 3 city
    std::uint32_t gridSizeIndex = 0; ///< 0: 8 x 8 cells, 1: 16 x 16
    std::uint32_t lightingFlag = 1;
    bool routeClosed = false;
    std::vector<std::uint32_t> fixtures; ///< older versions written for the tests
    /// Cell (x, z) at x * side + z, as the game's writer fills them.
    std::vector<CTrackFileImage::SRecord> records;

    std::uint32_t Side() const { return gridSizeIndex == 1 ? 16 : 8; }
};

/// The folder of a slot below the output folder ("GameTracks" for 5); "" for a slot without tracks.
std::string TrackFolder(int slot);
/// Where the fixtures of older versions go, and the name of one ("demo.v1.trk").
inline constexpr const char* kFixtureFolder = "TrackFixtures";
std::string FixtureName(const std::string& track, std::uint32_t version);

/// Reads a description and checks it against the manifest's pieces; false with "file:line: why".
bool ReadTrack(const Sources& sources, const std::string& path, Track& track, std::string& error);
/// The file of the track in `version` (1 to 5); empty for a version the track cannot be written in.
std::vector<std::uint8_t> TrackImage(const Track& track, std::uint32_t version);
/// Reads every description of the sources' "tracks" folder and writes the tracks and their fixtures
/// below the output folder; false with the reason.
bool WriteSampleTracks(const Sources& sources, const std::string& folder, std::string& error);

} // namespace mkdata
