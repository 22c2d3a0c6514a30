#include "AssetTestDoubles.h"

#include "foundation/assets/Bitmap.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/data/DataFile.h"
#include "foundation/data/DataFileCache.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace zentrix;

namespace {

using assettest::Log;
using assettest::SampleWorld;

const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

TEST(AssetMan, StartsOnTheSampleSetAndStopsCleanly) {
    for (int videoMode : {0, 2}) {
        SCOPED_TRACE(videoMode);
        SampleWorld world;
        world.services.videoMode = videoMode;
        CAssetMan& assets = *world.assets;
        ASSERT_EQ(assets.StartManager(), 0);
        EXPECT_EQ(world.services.boxes, Log{});
        EXPECT_EQ(world.services.quitRequests, 0);
        EXPECT_EQ(assets.GetStartProblems(), Log{});

        // The font file lies in the "Path" folder, added to the fonts of the run; the four fonts by height.
        EXPECT_EQ(world.fonts.AddedFiles(), Log{world.folder.Game("Settings\\Balonxb.ttf")});
        EXPECT_EQ(world.folder.Read("Settings/Balonxb.ttf").substr(0, 4), std::string("\0\1\0\0", 4));
        const int heights[2][4] = {{14, 38, 19, 78}, {18, 48, 24, 96}};
        for (int i = 0; i < 4; ++i) {
            ASSERT_NE(assets.GetFont(i), nullptr);
            EXPECT_EQ(assets.GetFont(i)->Height(), heights[videoMode ? 1 : 0][i]);
            EXPECT_EQ(assets.GetFont(i)->FaceName(), "Balloon XBd BT");
        }
        EXPECT_TRUE(world.services.loader);
        EXPECT_EQ(world.log, Log{"script init"});
        EXPECT_EQ(assets.GetFileSaver()->GetSlot(CFileSaver::kSavedImages),
                  world.folder.Game("SavedTracks\\Images\\"));

        ASSERT_NE(assets.GetSound(40010), nullptr);
        ASSERT_NE(assets.GetWorldObjectAsset(60000), nullptr);
        EXPECT_GT(CDataFile::GetLiveCount(), 0);

        EXPECT_EQ(assets.StopManager(), 0);
        EXPECT_FALSE(assets.IsStarted());
        EXPECT_EQ(CDataFile::GetLiveCount(), 0);
        EXPECT_EQ(CDataFileCache::GetLiveCount(), 0);
        EXPECT_EQ(world.audio.liveSounds, 0);
        EXPECT_EQ(assets.GetFont(3), nullptr);
        EXPECT_EQ(world.fonts.AddedFiles(), Log{});
        EXPECT_EQ(world.folder.Read("Settings/Balonxb.ttf"), "<missing>");
        EXPECT_EQ(world.log.back(), "script clear");
    }
}

TEST(AssetMan, WithoutAPathSettingTheFontFileGoesToTheWorkingFolder) {
    for (const char* path : {"<none>", ""}) {
        SCOPED_TRACE(path);
        SampleWorld world;
        world.store = {};
        if (std::string(path) != "<none>")
            world.settings.SetString("Path", path);
        ASSERT_EQ(world.assets->StartManager(), 0);
        EXPECT_EQ(world.fonts.AddedFiles(), Log{world.folder.Game("Balonxb.ttf")});
        EXPECT_EQ(world.folder.Read("Balonxb.ttf").substr(0, 4), std::string("\0\1\0\0", 4));
        world.assets->StopManager();
        EXPECT_EQ(world.fonts.AddedFiles(), Log{});
        EXPECT_EQ(world.folder.Read("Balonxb.ttf"), "<missing>");
    }
}

TEST(AssetMan, StartWithoutTableConfigurationOrFormats) {
    {
        SampleWorld world;
        std::filesystem::remove(world.folder / "VORN.rtb");
        EXPECT_EQ(world.assets->StartManager(), 1);
        ASSERT_FALSE(world.services.boxes.empty());
        EXPECT_EQ(world.services.boxes.back(), "KAVO Zentrix|Resource file missing!");
    }
    // Without "resource.cfg" nothing is packed: every asset is the loose file of its table path, and
    // without the format table (asset 2) the game asks to quit but the start goes on.
    SampleWorld world;
    std::filesystem::remove(world.folder / "resource.cfg");
    world.folder.MakeFolder("Textures");
    world.folder.Write("Textures/Checker.tga", "loose picture");
    ASSERT_EQ(world.assets->StartManager(), 0);
    EXPECT_EQ(world.services.quitRequests, 1);
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(world.assets->GetAssetData(1500, bytes));
    EXPECT_EQ(Text(bytes), "loose picture");
    EXPECT_FALSE(world.assets->GetAssetData(1502, bytes)); // packed only
}

TEST(AssetMan, AStartSaysWhichFilesItCannotDoWithoutAreMissingOrDamaged) {
    const auto garbage = [](const std::filesystem::path& file, std::size_t from, std::size_t count) {
        std::string bytes = testsupport::ReadTextFile(file);
        for (std::size_t i = from; i < std::min(bytes.size(), from + count); ++i)
            bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
        testsupport::WriteTextFile(file, bytes);
    };
    struct Case {
        const char* name;
        std::function<void(const testsupport::TempFolder&)> damage;
        Log expected; // how each problem begins, with the folder as "<>"
    };
    const std::string noLibrary =
        ": it is in no library that <>/resource.cfg names, and no file under the resource folder";
    const Case cases[] = {
        {"no resource table",
         [](const testsupport::TempFolder& f) { std::filesystem::remove(f / "VORN.rtb"); },
         {"<>/VORN.rtb: the resource table is missing or unreadable"}},
        {"no configuration",
         [](const testsupport::TempFolder& f) { std::filesystem::remove(f / "resource.cfg"); },
         {"Data/Dictionary.dat (the data dictionary, asset 1)" + noLibrary,
          "Data/Formats.dat (the format table, asset 2)" + noLibrary}},
        {"a damaged index",
         [&](const testsupport::TempFolder& f) { garbage(f / "Libraries" / "Game0001.RFH", 0, 8); },
         {"<>/Libraries/Game0001.RFH: index record at byte 0",
          "Data/Dictionary.dat (the data dictionary, asset 1)" + noLibrary,
          "Data/Formats.dat (the format table, asset 2)" + noLibrary}},
        {"damaged tables",
         [&](const testsupport::TempFolder& f) {
             garbage(f / "Libraries" / "Game0001.RFD", 0, std::size_t{1} << 20);
         },
         {"Data/Dictionary.dat (the data dictionary, asset 1): it is damaged",
          "Data/Formats.dat (the format table, asset 2): it is damaged"}},
        {"a missing world library",
         [](const testsupport::TempFolder& f) { std::filesystem::remove(f / "Libraries" / "Ice0001.RFH"); },
         {"<>/Libraries/Ice0001.RFH: the library's index is missing"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleWorld world;
        c.damage(world.folder);
        testing::internal::CaptureStderr();
        world.assets->StartManager();
        testing::internal::GetCapturedStderr();
        Log problems = world.assets->GetStartProblems();
        const std::string folder = std::filesystem::canonical(world.folder.Path()).string();
        for (std::string& problem : problems)
            for (std::size_t at; (at = problem.find(folder)) != std::string::npos;)
                problem.replace(at, folder.size(), "<>");
        ASSERT_EQ(problems.size(), c.expected.size()) << testing::PrintToString(problems);
        for (std::size_t i = 0; i < problems.size(); ++i)
            EXPECT_EQ(problems[i].substr(0, c.expected[i].size()), c.expected[i]);
    }
}

struct Started : ::testing::Test {
    SampleWorld world;
    CAssetMan& assets = *world.assets;
    void SetUp() override { ASSERT_EQ(assets.StartManager(), 0); }
};

TEST_F(Started, AssetDataComesFromLibrariesThenLooseFiles) {
    const std::string dataFile("\2\0\0\0\2\0\0\0", 8);
    const struct {
        const char* what;
        int id;
        std::string start; ///< of the bytes; empty: not found
    } cases[] = {
        {"world library, path after its second folder", 15201, dataFile},
        {"ice library, stored uncoded", 16200, dataFile},
        {"world-range id with a short path, through [Library]", 15206, dataFile},
        {"[Library2], path after its first folder", 40004, dataFile},
        {"[Library3]", 40005, dataFile},
        {"loose file below the resource path", 30002, dataFile},
        {"id without a record", 12345, ""},
        {"id 0", 0, ""},
        {"negative id", -5, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes{9};
        EXPECT_EQ(assets.GetAssetData(c.id, bytes), !c.start.empty());
        EXPECT_EQ(Text(bytes).substr(0, c.start.size()), c.start);
    }
    std::filesystem::resize_file(world.folder / "Resources/Objects/Plain.dat", 0); // 0 bytes count as missing
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(assets.GetAssetData(30002, bytes));
    std::string text;
    EXPECT_TRUE(assets.LoadAssetIntoString(30006, text));
    EXPECT_EQ(text, "0123456789");
}

TEST_F(Started, TypedValuesByAssetAndDataId) {
    const struct {
        const char* what;
        int asset, dataId, element;
        bool ok;
        float value; ///< NaN: unchanged
    } cases[] = {
        {"stored", 60000, 379, 0, true, 5.0f},
        {"not stored: the default", 60015, 377, 0, true, 3.0f},
        {"element past the stored ones: the default", 30001, 243, 1, true, 0.0f},
        {"outside the format", 15201, 70, 0, false, kNaN},
        {"integer id", 60000, 74, 0, false, kNaN},
        {"no data file", 1500, 379, 0, false, kNaN},
        {"no record", 12345, 379, 0, false, kNaN},
        {"negative element", 60000, 379, -1, false, kNaN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        float value = kNaN;
        EXPECT_EQ(assets.GetFloat(c.asset, c.dataId, value, c.element), c.ok);
        EXPECT_TRUE(value == c.value || (std::isnan(value) && std::isnan(c.value))) << value;
    }
    CVector v;
    EXPECT_TRUE(assets.GetVector(15299, 242, v, 1));
    EXPECT_EQ(v, CVector(0, 0.5f, 0));
    EXPECT_EQ(assets.GetFieldCount(15299, 240), 2);
    EXPECT_EQ(assets.GetFieldCount(1500, 240), 0);

    char text[9] = "xxxxxxxx";
    EXPECT_TRUE(assets.GetString(15299, 61, text, sizeof text));
    EXPECT_STREQ(text, "Straight");
    EXPECT_FALSE(assets.GetString(15299, 70, text, sizeof text));
    EXPECT_STREQ(text, "");

    EXPECT_EQ(assets.GetObjectKind(60015), 22);
    EXPECT_EQ(assets.GetObjectKind(1500), -1);
    const int kinds[][2] = {{1, 0},   {9, 8},   {10, 12}, {11, -1}, {12, 16},
                            {13, 11}, {15, 14}, {16, 15}, {26, 23}};
    for (const auto& k : kinds)
        EXPECT_EQ(CAssetMan::ObjectKindOfFormat(k[0]), k[1]) << k[0];
}

TEST_F(Started, PieceListsAndWorldIds) {
    EXPECT_EQ(assets.GetWorldEquivalentId(15205, 1), 16200);
    EXPECT_EQ(assets.GetWorldEquivalentId(16246, 3), 17246);
    EXPECT_EQ(assets.GetWorldEquivalentId(17000, 2), 17000); // no piece
    EXPECT_EQ(assets.GetWorldEquivalentId(30001, 2), -1);    // beyond every piece id
    EXPECT_EQ(assets.GetWorldEquivalentId(15209, 4), -1);    // index 5; world 4's lists hold 3
    EXPECT_EQ(assets.GetWorldEquivalentId(15205, 5), -1);
    // World 4 takes its lists from record 40004, closed by its first value of 0 or less.
    for (int group = 0; group < 3; ++group) {
        EXPECT_EQ(assets.GetWorldListEntry(2, 4, group), 19203);
        EXPECT_EQ(assets.GetWorldListEntry(3, 4, group), -1);
    }
    EXPECT_EQ(assets.GetPieceIndex(15205), 28);
    EXPECT_EQ(assets.GetAssetGroup(17260), 2);
    EXPECT_EQ(assets.GetAssetGroup(17000), 255);
    EXPECT_EQ(assets.GetAssetGroup(30001), 3);
    EXPECT_EQ(assets.GetWorldListEntry(-1, 0, 0), -1);
    EXPECT_EQ(assets.GetWorldListIconId(29, 0, 0), 199);
    world.services.videoMode = 1;
    EXPECT_EQ(assets.GetWorldListIconId(0, 1, 1), 16246 + 100);
    EXPECT_EQ(CAssetMan::GetPieceGroup0Id(256 + 2, 0), 18201); // the world's low byte
    EXPECT_EQ(CAssetMan::GetPieceGroup1Id(4, 0), -1);
    EXPECT_EQ(CAssetMan::GetPieceGroup2Id(0, 15), -1);

    assets.SetWorld(3, true);
    EXPECT_EQ(assets.GetStartPieceId(), 17200);
    EXPECT_EQ(assets.GetBasePlateId(0, true), 17291);
    EXPECT_EQ(assets.GetWorldAssetId(0, 14), -1);
    world.services.gameMode = 0;
    world.services.campaignNode = 20;
    assets.SetWorld(1, true);
    EXPECT_EQ(assets.GetBasePlateId(0, false), 17296);
}

TEST_F(Started, AnyWorldIsStoredAndAnotherWorldHasNoPieces) {
    const struct {
        int world;
        int startPiece, worldBase, basePlate, column1;
    } cases[] = {
        {2, 18205, 18270, 18290, 18292},
        {-1, -1, -1, -1, -1},  // a cleared race set-up
        {200, -1, -1, -1, -1}, // a theme byte of a track file
        {4, -1, -1, -1, -1},
        {0, 15205, 15270, 15290, 15292},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.world);
        world.services.theme.clear();
        assets.SetWorld(c.world, false);
        EXPECT_EQ(assets.GetWorld(), c.world);
        EXPECT_EQ(world.services.theme, (Log{"background " + std::to_string(c.world), "lighting"}));
        EXPECT_EQ(assets.GetStartPieceId(), c.startPiece);
        EXPECT_EQ(assets.GetWorldBaseId(), c.worldBase);
        EXPECT_EQ(assets.GetBasePlateId(0, false), c.basePlate);
        EXPECT_EQ(assets.GetWorldAssetId(0, 1), c.column1);
    }
}

TEST_F(Started, HeightPieceColumns) {
    const struct {
        int piece;
        float height;
        int column;
    } cases[] = {
        {-1, 19.9f, 2},     {-1, 40.0f, -1},    {-1, 0.0f, 0},   {-1, 30.4f, 3},    {-1, 35.0f, -1},
        {-1, -12.0f, -1},   {-1, kNaN, -1},     {-1, 1e30f, -1}, {18205, 10.0f, 4}, // slope kind 0
        {15206, 30.0f, 6},                                                          // kind 1
        {17200, 0.0f, 13},  {17200, 29.0f, 12},                                     // kind 2: steps
        {16200, 10.0f, -1}, {1500, 10.0f, -1},                                      // no kind, no record
    };
    for (const auto& c : cases)
        EXPECT_EQ(assets.GetHeightPieceColumn(c.piece, c.height), c.column) << c.piece << " at " << c.height;
}

TEST_F(Started, ScriptsTextsAndPaths) {
    std::string script;
    EXPECT_TRUE(assets.LoadAssetScript(15299, script)); // the ".msc" beside it, in its world library
    EXPECT_EQ(script, "WHEN touched DO spin");
    EXPECT_TRUE(assets.LoadAssetScript(30003, script)); // through data id 64
    EXPECT_EQ(script, "WHEN started DO bounce");
    EXPECT_FALSE(assets.LoadAssetScript(30002, script)); // its ".msc" holds 5 bytes
    EXPECT_FALSE(assets.LoadAssetScript(16200, script)); // none beside it
    CDStr path;
    ASSERT_TRUE(assets.GetScriptPath(30002, path));
    EXPECT_EQ(path, world.folder.Game("Resources\\Objects\\Plain.msc"));
    EXPECT_FALSE(assets.GetScriptPath(12345, path));

    char buffer[512];
    const std::string full = world.folder.Game("Resources\\Objects\\Plain.dat");
    ASSERT_TRUE(assets.GetAssetPath(30002, buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), full);
    EXPECT_FALSE(assets.GetAssetPath(30002, buffer, full.size())); // no room for the NUL
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(assets.FindAssetId(full, true), 30002);

    const std::string resources = world.folder.Game("Resources\\");
    ASSERT_TRUE(assets.GetResourcePath(buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), resources);
    EXPECT_FALSE(assets.GetResourcePath(buffer, resources.size())); // the "\" fits, the NUL does not
    EXPECT_EQ(std::string(buffer), resources);
    std::filesystem::rename(world.folder / "Resources", world.folder / "Moved");
    ASSERT_TRUE(assets.GetResourcePath(buffer, sizeof buffer));
    EXPECT_EQ(world.services.boxes.back(), "Invalid Resource Path|" + world.folder.Game("Resources"));
}

TEST_F(Started, SoundsAndMusicAreCachedOnlyWhenTheyLoad) {
    ISoundAsset* beep = assets.GetSound(40010);
    ASSERT_NE(beep, nullptr);
    EXPECT_EQ(assets.GetSound(40010), beep);
    EXPECT_EQ(beep->GetOwner(), -1);
    ASSERT_NE(assets.GetSound(57001), nullptr);
    EXPECT_EQ(assets.GetSound(57001)->GetOwner(), 1);
    ASSERT_NE(assets.GetSound(54001), nullptr);
    EXPECT_EQ(assets.GetSound(54001)->GetOwner(), 6);

    const int loads = world.audio.loads;
    EXPECT_EQ(assets.GetSound(40001), nullptr); // no such asset: tried again each time
    EXPECT_EQ(assets.GetSound(40001), nullptr);
    for (int id : {39999, 80001, -40000, std::numeric_limits<int>::max()})
        EXPECT_EQ(assets.GetSound(id), nullptr) << id;
    EXPECT_EQ(world.audio.loads, loads + 2);

    assets.FreeSoundsOwnedBy(1);
    EXPECT_EQ(world.audio.liveSounds, 2);
    EXPECT_EQ(assets.GetSound(40010), beep);

    EXPECT_NE(assets.GetMusic(49950), nullptr);
    EXPECT_EQ(assets.GetMusic(49900), nullptr);
    EXPECT_EQ(assets.GetMusic(80001), nullptr);
}

TEST_F(Started, PicturesTexturesAndMeshes) {
    std::unique_ptr<CBitmap> picture = assets.GetBitmap(1500);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 32);
    EXPECT_EQ(picture->GetHeight(), 32);
    EXPECT_EQ(assets.GetBitmap(30006), nullptr); // 10 bytes

    std::vector<std::uint8_t> tga;
    ASSERT_TRUE(assets.GetAssetData(1500, tga));
    ASSERT_TRUE(assets.SaveFile("Preview.tga", CFileSaver::kSavedImages, tga.data(), tga.size()));
    EXPECT_NE(assets.LoadImageFromSlot(CFileSaver::kSavedImages, "Preview.tga"), nullptr);
    EXPECT_EQ(assets.LoadImageFromSlot(CFileSaver::kSavedTracks, "Images\\Preview.tga"), nullptr);

    assets.GetTexture(1502);
    assets.GetMesh(30002);
    EXPECT_EQ(world.log, (Log{"script init", "texture 1502",
                              "mesh " + world.folder.Game("Resources\\Objects\\Plain.KMB")}));
    EXPECT_EQ(assets.GetTextureFlag(nullptr, 3), 4);
    EXPECT_EQ(assets.GetTextureFlag(nullptr, 4), 0);
}

TEST_F(Started, RaceAssetListsEndAtMinusOneOrTheirStoredElements) {
    EXPECT_EQ(assets.GetFieldCount(40006, 396), 4);
    const int files = CDataFile::GetLiveCount();
    assets.PreloadRaceAssets();
    // 396 holds no -1; 398 holds a texture after its -1; 399 starts with -1.
    EXPECT_EQ(world.log, (Log{"script init", "script 50069", "script 50072", "script 50074", "script 50075",
                              "texture 1500", "texture 1501"}));
    EXPECT_EQ(CDataFile::GetLiveCount(), files);

    SampleWorld bare; // not started: no record 40006 at all
    bare.assets->PreloadRaceAssets();
    EXPECT_EQ(bare.log, Log{});
}

TEST(PieceLists, World4ListsEndWithinTheirRecord) {
    // Record 40004 as read: group starts (178-180) and world 4's stored elements (185).
    const struct {
        const char* what;
        std::vector<int> starts, ids;
        std::vector<int> group0; ///< world 4's list of group 0
    } cases[] = {
        {"no closing value", {0, 1, 2}, {15201, 15203}, {15201, 15203}},
        {"closed by 0", {0, 0, 0}, {15201, 0, 15203}, {15201}},
        {"id beyond the table", {1, 0, 0}, {15201, 90000, 15203}, {}},
        {"start past the end", {2147483647, 0, 0}, {15201}, {}},
        {"negative start", {-3, 0, 0}, {15201}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPieceLists lists;
        lists.Fill(
            [&](int dataId, int element, int& out) {
                if (dataId != 185)
                    return out = c.starts[static_cast<std::size_t>(dataId - 178)], true;
                if (element < 0 || element >= static_cast<int>(c.ids.size()))
                    return false;
                return out = c.ids[static_cast<std::size_t>(element)], true;
            },
            static_cast<int>(c.ids.size()));
        std::vector<int> group0;
        for (int i = 0; lists.GetEntry(i, 4, 0) != -1; ++i)
            group0.push_back(lists.GetEntry(i, 4, 0));
        EXPECT_EQ(group0, c.group0);
        EXPECT_EQ(lists.GetLength(0, 0), 29); // the fixed tables stand whatever the record holds
    }
    EXPECT_EQ(CPieceLists().GetGroup(80001), 3);
}

} // namespace
