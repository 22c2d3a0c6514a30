#include "mkdata/SampleSources.h"
#include "mkdata/TrackWriter.h"

#include "support/TempFolder.h"
#include "world/TrackObject.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

TEST(MkDataTracks, DescriptionsAreCheckedAgainstThePiecesOfTheManifest) {
    mkdata::Sources sources;
    std::string error;
    ASSERT_TRUE(mkdata::ReadSources(ZENTRIX_SOURCE_DIR "/data/sample", sources, error)) << error;
    testsupport::TempFolder folder;
    const std::string header = "name t\nfolder 5\ntheme 0\nsize 0\n";
    const struct {
        std::string text;
        std::string error; ///< empty: read
    } cases[] = {
        {header + "piece 1 1 220 1\nheight 3 1 16\n", ""},
        {header + "piece 6 1 220 1\n", ":5: the piece reaches past the grid"},
        {header + "piece 1 1 220 0\npiece 1 3 201 0\n", ":6: the piece lies over the piece of line 5"},
        // The truck pad's road runs through its cells (1,0) and (1,-1): (6, 4) and (6, 3) here.
        {header + "piece 5 4 245 0\npiece 6 4 201 0\n", ":6: the piece lies over the piece of line 5"},
        {header + "piece 1 1 299 0\n", ":5: piece 15299 is no track piece of the manifest"},
        {header + "piece 1 1 270 0\n", ":5: the ground tile is never stored in a track file"},
        {header + "piece 1 1 205 0\npiece 2 2 205 0\n", ":6: a track has one start piece"},
        {header + "piece 1 1 201 4\n",
         ":5: a piece is a suffix (its type id less the theme's base) and a rotation 0-3"},
        {header + "piece 8 1 201 0\n",
         ":5: expected: piece <x> <z> <suffix> <rotation> or height <x> <z> <height>, "
         "x and z inside the grid"},
        {header + "height 1 1 12\n", ":5: a height is 8, 16 or 24 (levels 1 to 3)"},
        {header + "height 1 1 8\nheight 1 1 16\n", ":6: the cell has its height already"},
        // The jungle start piece stands raised (kind 0); the city's stands on steps.
        {header + "piece 1 1 205 0\nheight 1 1 8\n", ""},
        {"name t\nfolder 5\ntheme 3\nsize 0\npiece 1 1 200 0\nheight 1 1 8\n",
         ":5: a piece on raised cells needs slope kind 0"},
        {"name t\nfolder 5\nsize 1\nfixtures 4 2\n", ":1: versions 1 to 3 hold 8 x 8 cells only"},
        {"name t\nfolder 2\n",
         ":2: expected: name <name>, folder <1|4|5>, theme <0-3>, size <0|1>, lighting <0|1>, "
         "route <0|1>, fixtures <versions>, piece <x> <z> <suffix> <rotation> or height <x> "
         "<z> <8|16|24>"},
        {"folder 5\n", ":1: a track needs its name and its folder"},
    };
    for (const auto& c : cases) {
        folder.Write("t.txt", c.text);
        mkdata::Track track;
        error.clear();
        EXPECT_EQ(mkdata::ReadTrack(sources, folder.Native("t.txt"), track, error), c.error.empty())
            << c.text;
        EXPECT_EQ(error, c.error.empty() ? "" : folder.Native("t.txt") + c.error) << c.text;
    }

    // A piece whose footprint stops short of the cells its connections name leaves the route no way on.
    mkdata::Sources cut;
    ASSERT_TRUE(mkdata::ReadSources(ZENTRIX_SOURCE_DIR "/data/sample", cut, error)) << error;
    for (mkdata::Asset& asset : cut.assets)
        if (asset.id == 15245)
            std::erase_if(asset.fields,
                          [](const mkdata::Field& f) { return f.id == CTrackObject::kFieldFootprint; });
    folder.Write("t.txt", header + "piece 5 4 245 0\n");
    mkdata::Track cutTrack;
    EXPECT_FALSE(mkdata::ReadTrack(cut, folder.Native("t.txt"), cutTrack, error));
    EXPECT_EQ(error, folder.Native("t.txt") +
                         ":5: the footprint of piece 15245 stops short of cell 3 of its connections");

    // The piece of three cells turned once covers (1, 1) to (3, 1); the raised cell under it records the
    // support's turn. Older versions lay the same records out their own way.
    folder.Write("t.txt", cases[0].text);
    mkdata::Track track;
    ASSERT_TRUE(mkdata::ReadTrack(sources, folder.Native("t.txt"), track, error));
    const CTrackFileImage::SRecord anchor{-1.0f, 15220, 1, 0}, raised{16.0f, -1, 0, 1};
    EXPECT_EQ(track.records[1 * 8 + 1], anchor);
    EXPECT_EQ(track.records[3 * 8 + 1], raised);
    const std::vector<std::uint8_t> v5 = mkdata::TrackImage(track, 5);
    ASSERT_EQ(v5.size(), 65576u);
    CTrackFileImage::SInfo info;
    for (std::uint32_t version = 1; version <= 5; ++version) {
        const std::vector<std::uint8_t> image = mkdata::TrackImage(track, version);
        ASSERT_TRUE(CTrackFileImage::Check(image, info, error)) << version;
        EXPECT_EQ(CTrackFileImage::ReadRecord(image, version, 1, 1).pieceId, 15220) << version;
        EXPECT_EQ(CTrackFileImage::ReadRecord(image, version, 3, 1).height, 16.0f) << version;
    }
    track.gridSizeIndex = 1;
    EXPECT_TRUE(mkdata::TrackImage(track, 3).empty());
}

} // namespace
