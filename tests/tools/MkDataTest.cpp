#include "mkdata/Generators.h"
#include "mkdata/Pictures.h"
#include "mkdata/ResourceSet.h"
#include "mkdata/SampleSources.h"

#include "engine/KmbFile.h"
#include "engine/Mesh.h"
#include "foundation/assets/PieceLists.h"
#include "foundation/data/AssetByteSource.h"
#include "foundation/data/DataFileCache.h"
#include "foundation/resources/ResourceConfig.h"
#include "foundation/resources/ResourceTableFile.h"
#include "platform/fs/FileSystem.h"
#include "platform/midi/SoftwareSynth.h"
#include "platform/midi/Song.h"
#include "support/FakeMeshTextures.h"
#include "support/FrameStamp.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kTool = ZENTRIX_BINARY_DIR "/mkdata";
const std::string kSamples = ZENTRIX_SOURCE_DIR "/data/sample";
const std::string kOutput = ZENTRIX_BINARY_DIR "/sample-data";

struct RunResult {
    int status = -1;
    std::string output;
};

// Runs mkdata and collects its exit status and everything it printed.
RunResult RunTool(const std::string& sources, const std::string& output) {
    RunResult result;
    const std::string command = "'" + kTool + "' '" + sources + "' '" + output + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        result.output += buffer;
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The asset bytes of the written set, looked up as the asset manager does: the world library with the
// path after its second folder, "[Library]" with the whole path, "[Library2]" and "[Library3]" with the
// path after its first folder, then the loose file below the resource path.
class WrittenSet : public CAssetByteSource {
public:
    WrittenSet() : m_config("resource.cfg") { m_tableLoaded = m_table.Load(mkdata::kTableName, nullptr); }

    bool TableLoaded() const { return m_tableLoaded; }
    std::string PathOf(std::int32_t id) const {
        const auto record = m_table.GetRecord(static_cast<std::uint32_t>(id));
        return record ? std::string(record->name) : std::string();
    }

    Bytes GetAssetBytes(std::int32_t assetId) override {
        const std::string path = PathOf(assetId);
        if (path.empty())
            return {};
        const std::size_t first = path.find('\\');
        const std::size_t second = first == std::string::npos ? first : path.find('\\', first + 1);
        const char* world = assetId >= 15000 && assetId < 16000   ? "[Library6]"
                            : assetId >= 16000 && assetId < 17000 ? "[Library7]"
                            : assetId >= 17000 && assetId < 18000 ? "[Library4]"
                            : assetId >= 18000 && assetId < 19000 ? "[Library5]"
                                                                  : nullptr;
        std::vector<std::pair<const char*, std::string>> tries;
        if (world != nullptr && second != std::string::npos)
            tries.emplace_back(world, path.substr(second + 1));
        tries.emplace_back("[Library]", path);
        if (first != std::string::npos) {
            tries.emplace_back("[Library2]", path.substr(first + 1));
            tries.emplace_back("[Library3]", path.substr(first + 1));
        }
        for (const auto& [library, name] : tries) {
            if (CResourceLibrary* opened = m_config.OpenLibrary(library)) {
                if (auto bytes = opened->Extract(name); bytes && !bytes->empty())
                    return *bytes;
            }
        }
        return plat::fs::ReadWholeFile(std::string(mkdata::kResourcePath) + "\\" + path).bytes;
    }

private:
    CResourceConfig m_config;
    CResourceTableFile m_table;
    bool m_tableLoaded = false;
};

class SampleSet : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_run = RunTool(kSamples, kOutput);
        s_sources = std::make_unique<mkdata::Sources>();
        s_sourcesRead = mkdata::ReadSources(kSamples, *s_sources, s_error);
    }
    static void TearDownTestSuite() { s_sources.reset(); }

    void SetUp() override {
        ASSERT_EQ(s_run.status, 0) << s_run.output;
        ASSERT_TRUE(s_sourcesRead) << s_error;
        m_previous = plat::fs::CurrentDirectory();
        ASSERT_TRUE(plat::fs::SetCurrentDirectory(kOutput));
    }
    void TearDown() override { plat::fs::SetCurrentDirectory(m_previous); }

    static const mkdata::Sources& Sources() { return *s_sources; }

    static inline RunResult s_run;
    static inline std::unique_ptr<mkdata::Sources> s_sources;
    static inline bool s_sourcesRead = false;
    static inline std::string s_error;
    std::string m_previous;
};

TEST_F(SampleSet, EveryAssetReadsBackAsItWasMade) {
    WrittenSet set;
    ASSERT_TRUE(set.TableLoaded());
    std::set<std::uint32_t> methods;
    bool loose = false;
    for (const mkdata::Asset& asset : Sources().assets) {
        SCOPED_TRACE(asset.id);
        EXPECT_EQ(set.PathOf(asset.id), asset.path);
        Bytes expected;
        std::string error;
        ASSERT_TRUE(mkdata::BuildContent(Sources(), asset, expected, error)) << error;
        EXPECT_EQ(set.GetAssetBytes(asset.id), expected);
        if (asset.store == "loose")
            loose = true;
        else
            methods.insert(asset.method);
    }
    EXPECT_EQ(methods.size(), 3u); // stored, Huffman and zlib entries all travel
    EXPECT_TRUE(loose);
    EXPECT_EQ(set.GetAssetBytes(6999), plat::fs::ReadWholeFile(mkdata::kFontFile).bytes);
}

// The meshes of the set read back with the textures their sources name, each found where the game looks.
TEST_F(SampleSet, MeshesReadBackWithTheirTextureNames) {
    WrittenSet set;
    testsupport::FakeMeshTextures textures;
    const std::pair<std::int32_t, std::vector<std::string>> meshes[] = {
        {15004, {"road.tga"}},
        {15008, {"road.tga", "rampside.tga"}},
        {62000, {"carbody.tga", "glass!08.tga", "tyre.tga"}}};
    for (const auto& [id, names] : meshes) {
        SCOPED_TRACE(id);
        const Bytes bytes = set.GetAssetBytes(id);
        CMesh root;
        ASSERT_TRUE(OMBRELLoadKMB(&root, bytes.data(), bytes.size(), nullptr));
        EXPECT_EQ(std::vector<std::string>(textures.Requests().end() - static_cast<long>(names.size()),
                                           textures.Requests().end()),
                  names);
    }
}

// Every palette icon of every world names its piece in words: a cell labelled with a bare number tells the
// player nothing of what it places. The icon of a list entry is the entry's asset + 200.
TEST_F(SampleSet, EveryPaletteIconNamesItsPieceInWords) {
    std::map<std::int32_t, const mkdata::Asset*> byId;
    for (const mkdata::Asset& asset : Sources().assets)
        byId[asset.id] = &asset;
    int icons = 0;
    for (int world = 0; world < 4; ++world)
        for (int group = 0; group < 3; ++group)
            for (int i = 0; i < CPieceLists::GetFixedCount(group); ++i) {
                const int piece = CPieceLists::GetFixedId(world, group, i);
                const auto found = byId.find(piece + 200);
                ASSERT_NE(found, byId.end()) << piece;
                std::string label;
                for (const mkdata::DrawStep& step : found->second->steps)
                    if (step.args[0] == "text")
                        label += (label.empty() ? "" : " ") + step.text;
                const bool letters =
                    std::any_of(label.begin(), label.end(), [](unsigned char c) { return std::isalpha(c); });
                EXPECT_TRUE(letters && label.find_first_of("0123456789") == std::string::npos)
                    << piece << " is labelled \"" << label << "\"";
                ++icons;
            }
    EXPECT_EQ(icons, 4 * 59);
}

bool Same(float a, float b) {
    return a == b;
}
bool Same(std::int32_t a, std::int32_t b) {
    return a == b;
}
bool Same(const CVector& a, const CVector& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// Elements 0..n-1 read as given and element n as the default.
template <class T, class Get> void ExpectElements(const std::vector<T>& values, const T& fallback, Get get) {
    for (std::size_t i = 0; i <= values.size(); ++i) {
        T got{};
        ASSERT_TRUE(get(got, static_cast<int>(i))) << "element " << i;
        EXPECT_TRUE(Same(got, i < values.size() ? values[i] : fallback)) << "element " << i;
    }
}

// Every field of every data asset reads back with its value through the game's dictionary, format table
// and data-file cache; what an asset leaves out reads as the dictionary's default.
TEST_F(SampleSet, DataFieldsReadBackWithTheirValuesOrTheDefaults) {
    WrittenSet set;
    const Bytes dictionaryBlock = set.GetAssetBytes(1);
    const Bytes formatBlock = set.GetAssetBytes(2);
    CDataDictionary dictionary;
    ASSERT_TRUE(dictionary.LoadFromMemory(dictionaryBlock.data(), dictionaryBlock.size()));
    ASSERT_TRUE(dictionary.LoadFormatsFromMemory(formatBlock.data(), formatBlock.size()));
    CDataFileCache cache(dictionary, set);
    int dataAssets = 0;
    for (const mkdata::Asset& asset : Sources().assets) {
        if (asset.content != mkdata::Content::kData)
            continue;
        ++dataAssets;
        SCOPED_TRACE(asset.id);
        CDataFile* file = cache.GetDataFile(asset.id);
        ASSERT_NE(file, nullptr);
        const CDataDictionary::TFormatRecord* format = dictionary.GetFormat(asset.formatId);
        ASSERT_NE(format, nullptr);
        for (CDataDictionary::TDataID id : format->ids) {
            SCOPED_TRACE(id);
            const CDataDictionary::TDataIDRecord* declared = dictionary.GetRecord(id);
            ASSERT_NE(declared, nullptr);
            const auto field = std::find_if(asset.fields.begin(), asset.fields.end(),
                                            [id](const mkdata::Field& f) { return f.id == id; });
            const mkdata::Field* given = field == asset.fields.end() ? nullptr : &*field;
            switch (declared->type) {
            case CDataDictionary::kTypeInt: {
                std::int32_t fallback = 0;
                ASSERT_TRUE(dictionary.GetIntDefault(id, fallback));
                ExpectElements(id == 0 ? std::vector<std::int32_t>{asset.formatId}
                               : given ? given->ints
                                       : std::vector<std::int32_t>{},
                               fallback, [&](std::int32_t& out, int i) { return file->GetInt(id, out, i); });
                float wrong = 0.0f;
                EXPECT_FALSE(file->GetFloat(id, wrong, 0));
                break;
            }
            case CDataDictionary::kTypeFloat: {
                float fallback = 0.0f;
                ASSERT_TRUE(dictionary.GetFloatDefault(id, fallback));
                ExpectElements(given ? given->floats : std::vector<float>{}, fallback,
                               [&](float& out, int i) { return file->GetFloat(id, out, i); });
                std::int32_t wrong = 0;
                EXPECT_FALSE(file->GetInt(id, wrong, 0));
                break;
            }
            case CDataDictionary::kTypeVector: {
                CVector fallback;
                ASSERT_TRUE(dictionary.GetVectorDefault(id, fallback));
                ExpectElements(given ? given->vectors : std::vector<CVector>{}, fallback,
                               [&](CVector& out, int i) { return file->GetVector(id, out, i); });
                break;
            }
            default: {
                char text[CDataFile::kMaxTextBytes] = "unset";
                ASSERT_TRUE(file->GetText(id, text, sizeof text));
                EXPECT_EQ(std::string(text), id == 1 ? std::string(mkdata::kUser) : given ? given->text : "");
                break;
            }
            }
        }
        // An id of the dictionary outside the format reads as a failure.
        for (CDataDictionary::TDataID id = 2; id < dictionary.GetSlotCount(); ++id) {
            if (dictionary.GetRecord(id) != nullptr && !format->Contains(id)) {
                std::int32_t i = 0;
                float f = 0.0f;
                CVector v;
                char t[4];
                EXPECT_FALSE(file->GetInt(id, i, 0) || file->GetFloat(id, f, 0) ||
                             file->GetVector(id, v, 0) || file->GetText(id, t, sizeof t))
                    << id;
                break;
            }
        }
    }
    EXPECT_GT(dataAssets, 5);
}

// Small sources of one format (5: ids 0, 1, 10-13) and one data asset, with one line added per case.
class SourceErrors : public testing::Test {
protected:
    void Write(const std::string& dictionaryExtra, const std::string& formatsExtra,
               const std::string& manifestExtra) {
        folder.Write("dictionary.txt",
                     "0 int FormatId 0 format\n1 text User - user\n10 int Count 7\n"
                     "11 float Speed 1.5\n12 vector Offset 0,0,0\n13 text Name -\n14 int Other 0\n" +
                         dictionaryExtra);
        folder.Write("formats.txt", "5 Thing 0 1 10-13\n" + formatsExtra);
        folder.Write("manifest.txt", "asset 100 Data\\Thing.dat [Library] zlib data 5\n" + manifestExtra);
    }
    testsupport::TempFolder folder;
};

TEST_F(SourceErrors, AreRefusedWithFileAndLine) {
    std::string ints;
    for (int i = 0; i < 257; ++i)
        ints += " 1";
    std::string vectors;
    for (int i = 0; i < 86; ++i)
        vectors += " 1,2,3";
    struct Case {
        const char* file;
        std::string line;
        std::string expected;
    } cases[] = {
        {"manifest", "field 99 1", "manifest.txt:2: unknown data id 99"},
        {"manifest", "field 10 1.5", "manifest.txt:2: wrong type"},
        {"manifest", "field 11 1,2,3", "manifest.txt:2: wrong type"},
        {"manifest", "field 12 1,2", "manifest.txt:2: wrong type"},
        {"manifest", "field 14 3", "manifest.txt:2: data id 14 is not in format 5"},
        {"manifest", "field 10" + ints, "manifest.txt:2: too many elements"},
        {"manifest", "field 12" + vectors, "manifest.txt:2: too many elements"},
        {"manifest", "field 13 " + std::string(1024, 'x'), "manifest.txt:2: too many elements"},
        {"manifest", "field 10 1\nfield 10 2", "manifest.txt:3: data id 10 is given twice"},
        {"manifest", "field 0 5", "manifest.txt:2: data ids 0 and 1"},
        {"manifest", "asset 100 Data\\Other.dat loose - data 5", "manifest.txt:2: asset 100 is listed twice"},
        {"manifest", "asset 101 Data\\..\\x.dat [Library] zlib data 5", "manifest.txt:2: path"},
        {"manifest", "asset 101 Data\\x.dat [Library6] zlib data 5", "manifest.txt:2: [Library6] keeps"},
        {"manifest", "asset 101 x.dat [Library9] zlib data 5", "manifest.txt:2: store"},
        {"manifest", "asset 101 x.dat [Library] lzw data 5", "manifest.txt:2: method"},
        {"manifest", "asset 101 x.dat loose zlib data 5", "manifest.txt:2: a loose file"},
        {"manifest", "asset 101 x.dat [Library] zlib data 9", "manifest.txt:2: unknown format 9"},
        {"manifest", "asset 70000 x.dat [Library] zlib data 5", "manifest.txt:2: asset id"},
        {"manifest", "asset 101 a.tga [Library] stored tga 8 8 24 0,0,0 1,1,1\nfield 10 1",
         "manifest.txt:3: a field belongs under a data asset"},
        {"manifest", "asset 101 a.tga [Library] stored tga 8 8 24 0,0,0 1,1,1\ndraw fill 0 0 1 1 0,0,0",
         "manifest.txt:3: a draw line belongs under a picture or rawvideo asset"},
        {"manifest", "asset 101 a.tga [Library] stored picture 8 8", "manifest.txt:2: expected: picture"},
        {"manifest", "asset 101 a.tga [Library] stored button 8 8 0,0,0 1,1,1 10",
         "manifest.txt:2: expected: button"},
        {"manifest", "begin 101", "manifest.txt:2: a line begins with asset, field or draw"},
        {"formats", "6 Other 0 1 99", "formats.txt:2: unknown data id 99"},
        {"formats", "6 Other 0 1 13-11", "formats.txt:2: data id 13-11"},
        {"dictionary", "15 int Bad 1.5", "dictionary.txt:8: default 1.5 is not of type int"},
        {"dictionary", "15 vector Bad 1,2", "dictionary.txt:8: default 1,2 is not of type vector"},
        {"dictionary", "15 text Bad x", "dictionary.txt:8: default x is not of type text"},
        {"dictionary", "15 int ThisNameIsMuchTooLong 0", "dictionary.txt:8: name longer than 20"},
        {"dictionary", "10 int Again 0", "dictionary.txt:8: data id 10 is declared twice"},
        {"dictionary", "15 word Bad 0", "dictionary.txt:8: type must be"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 60));
        const std::string file(c.file);
        Write(file == "dictionary" ? c.line : "", file == "formats" ? c.line : "",
              file == "manifest" ? c.line : "");
        mkdata::Sources sources;
        std::string error;
        EXPECT_FALSE(mkdata::ReadSources(folder.Native(), sources, error));
        EXPECT_NE(error.find(folder.Native() + "/" + c.expected), std::string::npos) << error;
    }
    Write("", "", "field 12 1,2,3");
    mkdata::Sources sources;
    std::string error;
    EXPECT_TRUE(mkdata::ReadSources(folder.Native(), sources, error)) << error;

    folder.Write("dictionary.txt", "0 int FormatId 0\n1 int User 0\n");
    EXPECT_FALSE(mkdata::ReadSources(folder.Native(), sources, error));
    EXPECT_NE(error.find("data id 0 must be declared as int"), std::string::npos) << error;
}

TEST_F(SourceErrors, TextAndFileAssetsKeepTheirBytes) {
    folder.MakeFolder("scripts");
    folder.Write("scripts/a.msc", std::string("line one\r\n\0tail", 15));
    Write("", "",
          "asset 101 Texts\\A.txt [Library] zlib text  two  spaces kept \n"
          "asset 102 Scripts\\A.msc loose - file scripts/a.msc\n"
          "asset 103 Scripts\\B.msc loose - file ../a.msc");
    mkdata::Sources sources;
    std::string error;
    EXPECT_FALSE(mkdata::ReadSources(folder.Native(), sources, error));
    EXPECT_NE(error.find("manifest.txt:4: expected: file"), std::string::npos) << error;
    Write("", "",
          "asset 101 Texts\\A.txt [Library] zlib text  two  spaces kept \n"
          "asset 102 Scripts\\A.msc loose - file scripts/a.msc\n");
    mkdata::Sources good;
    ASSERT_TRUE(mkdata::ReadSources(folder.Native(), good, error)) << error;
    Bytes bytes;
    ASSERT_TRUE(mkdata::BuildContent(good, good.assets[1], bytes, error)) << error;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "two  spaces kept"); // trailing blanks are cut
    ASSERT_TRUE(mkdata::BuildContent(good, good.assets[2], bytes, error)) << error;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string("line one\r\n\0tail", 15));
}

TEST_F(SourceErrors, MeshesMustNameTexturesTheGameFinds) {
    folder.MakeFolder("meshes");
    folder.Write("meshes/m.kmt", "material \"m\" { texture \"t.tga\" }\n"
                                 "object \"o\" { mesh { vertices { 0.0, 0.0, 0.0, } } }\n");
    folder.Write("meshes/bad.kmt", "object \"o\" { mesh { vertices { 0.0 } }\n");
    const std::string mesh = "asset 101 Cars\\M\\m.kmb [Library2] zlib kmb meshes/m.kmt\n";
    const std::pair<std::string, std::string> cases[] = {
        {mesh, "texture \"t.tga\" is neither in"},
        {mesh + "asset 102 Cars\\M\\t.tga [Library2] zlib tga 8 8 24 0,0,0 1,1,1\n", ""},
        {mesh + "asset 102 Worlds\\Jungle\\JShred\\T.TGA [Library6] zlib tga 8 8 24 0,0,0 1,1,1\n", ""},
        {"asset 101 Cars\\M\\m.kmb [Library2] zlib kmb meshes/bad.kmt\n", "not a readable KMT"},
    };
    for (const auto& [manifest, expected] : cases) {
        SCOPED_TRACE(manifest);
        Write("", "", manifest);
        mkdata::Sources sources;
        std::string error;
        ASSERT_TRUE(mkdata::ReadSources(folder.Native(), sources, error)) << error;
        Bytes bytes;
        EXPECT_EQ(mkdata::BuildContent(sources, sources.assets[1], bytes, error), expected.empty());
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

TEST_F(SourceErrors, TheToolStopsWithTheMessage) {
    Write("", "", "field 99 1");
    const RunResult run = RunTool(folder.Native(), folder.Native("out"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("manifest.txt:2: unknown data id 99"), std::string::npos) << run.output;
    EXPECT_FALSE(plat::fs::Exists(folder.Native("out")));
}

TEST(Generators, PicturesTonesAndTunesHaveTheirShape) {
    Bytes out;
    std::string error;
    ASSERT_TRUE(mkdata::MakeTga({"17", "9", "32", "10,20,30,40", "50,60,70"}, out, error)) << error;
    ASSERT_EQ(out.size(), 18u + 17 * 9 * 4);
    EXPECT_EQ(out[2], 2);
    EXPECT_EQ(out[12] | out[13] << 8, 17);
    EXPECT_EQ(out[14] | out[15] << 8, 9);
    EXPECT_EQ(out[16], 32);
    EXPECT_EQ(Bytes(out.begin() + 18, out.begin() + 22), (Bytes{30, 20, 10, 40}));  // blue, green, red, alpha
    EXPECT_EQ(Bytes(out.begin() + 50, out.begin() + 54), (Bytes{70, 60, 50, 255})); // x 8: the other square
    EXPECT_EQ(Bytes(out.end() - 4, out.end()), (Bytes{70, 60, 50, 255}));           // x 16, y 8: again
    ASSERT_TRUE(mkdata::MakeTga({"4", "2", "24", "1,2,3", "4,5,6"}, out, error));
    EXPECT_EQ(out.size(), 18u + 4 * 2 * 3);

    ASSERT_TRUE(mkdata::MakeWav({"440", "100"}, out, error)) << error;
    const std::size_t samples = 2205;
    ASSERT_EQ(out.size(), 44 + 2 * samples);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "RIFF");
    EXPECT_EQ(out[40] | out[41] << 8 | out[42] << 16, static_cast<int>(2 * samples));
    int peak = 0;
    for (std::size_t i = 44; i < out.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<std::int16_t>(out[i] | out[i + 1] << 8)));
    EXPECT_GT(peak, 15000);
    EXPECT_LE(peak, 16384);
    EXPECT_EQ(out[44] | out[45] << 8, 0); // faded in

    ASSERT_TRUE(mkdata::MakeMidi({"120", "60", "64", "67"}, out, error)) << error;
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "MThd");
    EXPECT_EQ(std::string(out.begin() + 14, out.begin() + 18), "MTrk");
    EXPECT_EQ(static_cast<std::size_t>(out[18] << 24 | out[19] << 16 | out[20] << 8 | out[21]),
              out.size() - 22);
    EXPECT_EQ(std::count(out.begin() + 22, out.end(), 0x90), 3);
    EXPECT_EQ(Bytes(out.end() - 3, out.end()), (Bytes{0xFF, 0x2F, 0x00}));

    EXPECT_FALSE(mkdata::MakeTga({"8", "8", "24", "0,0,0,0,0", "0,0,0"}, out, error));
    EXPECT_FALSE(mkdata::MakeTga({"8", "8", "16", "0,0,0", "0,0,0"}, out, error));
    EXPECT_FALSE(mkdata::MakeWav({"5", "100"}, out, error));
    EXPECT_FALSE(mkdata::MakeMidi({"120", "128"}, out, error));
    EXPECT_FALSE(mkdata::MakeMidi({"120", "program", "128", "60"}, out, error));
    EXPECT_FALSE(mkdata::MakeMidi({"120", "drums", "36"}, out, error)); // no melody
    EXPECT_FALSE(mkdata::MakeSoundFont({}, out, error));
    EXPECT_FALSE(mkdata::MakeSoundFont({"0", "piano"}, out, error));
}

TEST(Generators, TheSamplePiecesAndTheirBankAreWhatTheMusicPlays) {
    std::vector<std::uint8_t> out;
    std::string error;
    ASSERT_TRUE(mkdata::MakeMidi({"177", "program", "33", "72", "74", "76", "drums", "36", "42"}, out, error))
        << error;
    plat::midi::Song song;
    ASSERT_TRUE(plat::midi::ReadSong(out.data(), out.size(), song, error)) << error;
    EXPECT_EQ(song.ticksPerQuarter, 96);
    EXPECT_EQ(song.length, 3u * 96u);
    ASSERT_GE(song.events.size(), 3u);
    EXPECT_EQ(song.events[0].tempo, 60000000u / 177u);
    EXPECT_EQ(song.events[1].status, 0xC0);
    EXPECT_EQ(song.events[1].data1, 33);
    EXPECT_EQ(song.events[2].status, 0x90);
    EXPECT_EQ(song.events[2].data1, 72); // the piece's own first key
    int drums = 0;
    for (const plat::midi::SongEvent& e : song.events)
        drums += e.status == 0x99;
    EXPECT_EQ(drums, 3); // the drum list repeats to the last note

    ASSERT_TRUE(mkdata::MakeSoundFont({"0", "33", "drums"}, out, error)) << error;
    EXPECT_TRUE(plat::midi::SoftwareSynth::CheckBank(out.data(), out.size(), error)) << error;
    EXPECT_LT(out.size(), 100000u);
    plat::midi::SoftwareSynth::Failure failure;
    auto synth =
        plat::midi::SoftwareSynth::Open(22050, plat::midi::SoftwareSynth::Bank::kNone, failure, error);
    ASSERT_NE(synth, nullptr) << error;
    auto peak = [&](std::uint8_t channel, std::uint8_t program) {
        synth->Reset();
        synth->Send(0xC0 | channel, program, 0);
        synth->Send(0x90 | channel, 60, 100);
        std::vector<float> frames(2 * 2048);
        synth->Render(frames.data(), 2048);
        float loudest = 0.0f;
        for (float v : frames)
            loudest = std::max(loudest, std::abs(v));
        return loudest;
    };
    EXPECT_EQ(peak(0, 33), 0.0f); // no bank yet
    ASSERT_TRUE(synth->LoadBank(out.data(), out.size()));
    EXPECT_GT(peak(0, 33), 0.05f);
    EXPECT_GT(peak(9, 0), 0.05f); // the drum kit

    // Another bank of the same size at the same address (its samples silent) replaces it wholly: the
    // synthesizer hands it none of the earlier bank's samples.
    const auto samples = std::search(out.begin(), out.end(), std::begin("smpl"), std::end("smpl") - 1);
    ASSERT_NE(samples, out.end());
    const std::size_t length = samples[4] | samples[5] << 8 | samples[6] << 16 | samples[7] << 24;
    ASSERT_LE(length, static_cast<std::size_t>(out.end() - samples - 8));
    std::fill_n(samples + 8, length, 0);
    synth->SoundsOff();
    std::vector<float> drained(2 * 22050); // the voices of the earlier bank let go of it as they render
    synth->Render(drained.data(), 22050);
    ASSERT_TRUE(synth->LoadBank(out.data(), out.size()));
    EXPECT_EQ(peak(0, 33), 0.0f);
}

// The pixel (x, y) of a 24-bit picture the generators write, bottom row first: red, green, blue.
Bytes PixelOf(const Bytes& tga, int x, int y) {
    const int width = tga[12] | tga[13] << 8;
    const int height = tga[14] | tga[15] << 8;
    const std::size_t at = 18 + static_cast<std::size_t>(((height - 1 - y) * width + x) * 3);
    return {tga[at + 2], tga[at + 1], tga[at]};
}

TEST(Generators, PicturesAndButtonsCarryTheirFillsAndWords) {
    Bytes out;
    std::string error;
    const std::vector<mkdata::DrawStep> steps = {
        {{"fill", "0", "0", "64", "4", "255,0,0"}, "", 7, ""},
        {{"text", "0", "8", "64", "24", "0,0,255", "20", "centre"}, "Race", 8, ""},
    };
    ASSERT_TRUE(mkdata::MakePicture({"64", "40", "10,20,30"}, steps, out, error)) << error;
    ASSERT_EQ(out.size(), 18u + 64 * 40 * 3);
    EXPECT_EQ(PixelOf(out, 63, 3), (Bytes{255, 0, 0}));
    EXPECT_EQ(PixelOf(out, 0, 4), (Bytes{10, 20, 30}));
    // The word's ink lies in its rectangle only.
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            if (PixelOf(out, x, y) == Bytes{0, 0, 255})
                ++(y >= 8 && y < 32 ? inside : outside);
    EXPECT_GT(inside, 40);
    EXPECT_EQ(outside, 0);

    ASSERT_TRUE(mkdata::MakeButton({"40", "20", "0,100,0", "250,250,0", "12"}, "OK", out, error)) << error;
    EXPECT_EQ(PixelOf(out, 0, 0), (Bytes{250, 250, 0}));
    EXPECT_EQ(PixelOf(out, 38, 18), (Bytes{250, 250, 0}));
    EXPECT_EQ(PixelOf(out, 3, 3), (Bytes{0, 100, 0}));
    int ink = 0;
    for (int x = 4; x < 36; ++x)
        ink += PixelOf(out, x, 10) == Bytes{250, 250, 0};
    EXPECT_GT(ink, 2) << "the label crosses the middle row";

    struct Case {
        std::vector<std::string> step;
        std::string text;
    } bad[] = {
        {{"fill", "60", "0", "5", "4", "0,0,0"}, ""},                  // beyond the right edge
        {{"fill", "0", "0", "4", "4"}, ""},                            // no colour
        {{"text", "0", "0", "10", "10", "0,0,0", "5", "left"}, "a"},   // too small
        {{"text", "0", "0", "10", "10", "0,0,0", "12", "right"}, "a"}, // no such alignment
        {{"text", "0", "0", "10", "10", "0,0,0", "12", "left"}, ""},   // no text
        {{"star", "0", "0", "10", "10", "0,0,0"}, ""},                 // no such step
        {{"line", "0", "0", "10", "10", "0,0,0"}, ""},                 // no width
        {{"oval", "5", "5", "0", "4", "0,0,0"}, ""},                   // no radius
        {{"arc", "5", "5", "4", "2", "0", "90", "0,0,0", "x"}, ""},    // a word too many
    };
    for (const Case& c : bad) {
        SCOPED_TRACE(c.step[0] + " " + c.step[1]);
        EXPECT_FALSE(mkdata::MakePicture({"64", "40", "10,20,30"}, {{c.step, c.text, 12, ""}}, out, error));
        EXPECT_NE(error.find("draw line 12"), std::string::npos) << error;
    }
    EXPECT_FALSE(mkdata::MakePicture({"0", "40", "10,20,30"}, {}, out, error));
    EXPECT_FALSE(mkdata::MakeButton({"40", "20", "0,100,0", "250,250,0", "12"}, "", out, error));
    EXPECT_FALSE(mkdata::MakeButton({"40", "20", "0,100,0", "250,250,0", "300"}, "OK", out, error));
}

// The pixel (x, y) of a 32-bit picture the generators write, bottom row first: red, green, blue, alpha.
Bytes Pixel4Of(const Bytes& tga, int x, int y) {
    const int width = tga[12] | tga[13] << 8;
    const int height = tga[14] | tga[15] << 8;
    const std::size_t at = 18 + static_cast<std::size_t>(((height - 1 - y) * width + x) * 4);
    return {tga[at + 2], tga[at + 1], tga[at], tga[at + 3]};
}

TEST(Generators, ShapesCoverTheirPixelsAndAGroundWithAlphaMakesA32BitPicture) {
    const struct {
        std::vector<std::string> step;
        int inX, inY, outX, outY; // a pixel the shape covers, one next to it that it leaves
    } shapes[] = {
        {{"oval", "16", "16", "6", "3", "255,0,0,200"}, 21, 16, 16, 20},
        {{"arc", "0", "0", "20", "4", "0", "90", "255,0,0,200"}, 14, 14, 10, 10},
        {{"arc", "16", "16", "8", "2", "-90", "0", "255,0,0,200"}, 21, 10, 10, 21}, // the upper right only
        {{"tri", "4", "4", "28", "4", "16", "28", "255,0,0,200"}, 16, 20, 6, 20},
        {{"line", "2", "30", "30", "2", "3", "255,0,0,200"}, 16, 15, 16, 12},
        {{"line", "-40", "16", "80", "16", "2", "255,0,0,200"}, 0, 16, 0, 18}, // cut at the edges
    };
    Bytes out;
    std::string error;
    for (const auto& s : shapes) {
        SCOPED_TRACE(s.step[0] + " " + s.step[1]);
        ASSERT_TRUE(mkdata::MakePicture({"32", "32", "0,0,0,0"}, {{s.step, "", 3, ""}}, out, error)) << error;
        ASSERT_EQ(out.size(), 18u + 32 * 32 * 4);
        EXPECT_EQ(out[16], 32);
        EXPECT_EQ(out[17], 8); // alpha bits
        EXPECT_EQ(Pixel4Of(out, s.inX, s.inY), (Bytes{255, 0, 0, 200}));
        EXPECT_EQ(Pixel4Of(out, s.outX, s.outY), (Bytes{0, 0, 0, 0}));
    }
    // A soft oval fades from its centre to its rim, colour and alpha alike, into the ground.
    ASSERT_TRUE(mkdata::MakePicture({"32", "32", "0,0,0,0"},
                                    {{{"oval", "16", "16", "16", "16", "200,100,40,255", "soft"}, "", 3, ""}},
                                    out, error))
        << error;
    const Bytes centre = Pixel4Of(out, 16, 16), middle = Pixel4Of(out, 24, 16), rim = Pixel4Of(out, 31, 16);
    EXPECT_GE(centre[3], 240);
    EXPECT_GT(middle[3], 90);
    EXPECT_LT(middle[3], 160);
    EXPECT_LT(rim[3], 30);
    EXPECT_EQ(Pixel4Of(out, 0, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_NEAR(middle[0] * 255.0 / 200.0, middle[3], 2.0);
    // Without an alpha in the ground colour the picture keeps 24 bits.
    ASSERT_TRUE(mkdata::MakePicture({"8", "8", "0,0,0"},
                                    {{{"oval", "4", "4", "2", "2", "9,9,9,0"}, "", 3, ""}}, out, error));
    EXPECT_EQ(out[16], 24);
    EXPECT_EQ(out.size(), 18u + 8 * 8 * 3);
}

TEST(Generators, ADrawnVideoShowsEachStepOnItsFramesAndNumbersThem) {
    // Frames 1 to 5, the first of every two: 1, 3 and 5 are red in the middle; the rest blue.
    const std::vector<mkdata::DrawStep> steps = {{{"fill", "4", "4", "4", "4", "255,0,0"}, "", 5, "1-5/2:1"},
                                                 {{"fill", "0", "7", "8", "1", "0,255,0"}, "", 6, "6-6"}};
    Bytes out;
    std::string error;
    ASSERT_TRUE(mkdata::MakeDrawnVideo({"8", "8", "7", "0,0,255"}, steps, out, error)) << error;
    ASSERT_EQ(out.size(), 36u + 7 * 8 * 8 * 2);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 12), "VORN_VIDEO 1");
    EXPECT_EQ(out[20], 7);
    EXPECT_EQ(out[24], 8);
    EXPECT_EQ(out[32], 16);
    auto pixel = [&](int frame, int x, int y) {
        const std::size_t at = 36 + static_cast<std::size_t>(frame * 128 + (y * 8 + x) * 2);
        return out[at] | out[at + 1] << 8;
    };
    for (int frame = 0; frame < 7; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(pixel(frame, 5, 5), frame % 2 == 1 ? 0xF800 : 0x001F);
        EXPECT_EQ(pixel(frame, 5, 7), frame == 6 ? 0x07E0 : frame % 2 == 1 ? 0xF800 : 0x001F);
        // The frame's number in the corner, in the lowest green bits of the ground's own colour.
        EXPECT_EQ(testsupport::StampedFrameNumber([&](int x, int y) { return pixel(frame, x, y); }), frame);
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{3, 3}})
            EXPECT_EQ(pixel(frame, x, y) & ~testsupport::kFrameStampBit, 0x001F);
        EXPECT_EQ(pixel(frame, 4, 0), 0x001F);
    }
    // The stripes of a video without a ground colour carry the numbers alike.
    ASSERT_TRUE(mkdata::MakeRawVideo({"8", "8", "7"}, out, error)) << error;
    ASSERT_EQ(out.size(), 36u + 7 * 8 * 8 * 2);
    for (int frame = 0; frame < 7; ++frame)
        EXPECT_EQ(testsupport::StampedFrameNumber([&](int x, int y) { return pixel(frame, x, y); }), frame);
    for (const char* frames : {"3-1", "1-5/2:3", "1-5/0:0", "x", "1-", "1-5:2/2"}) {
        SCOPED_TRACE(frames);
        EXPECT_FALSE(mkdata::MakeDrawnVideo({"8", "8", "7", "0,0,255"},
                                            {{{"fill", "0", "0", "1", "1", "0,0,0"}, "", 9, frames}}, out,
                                            error));
        EXPECT_NE(error.find("draw line 9"), std::string::npos) << error;
    }
    // Frames belong to videos; a video takes 4 to 256 pixels a side and a ground colour.
    EXPECT_FALSE(mkdata::MakePicture({"8", "8", "0,0,0"},
                                     {{{"fill", "0", "0", "1", "1", "0,0,0"}, "", 9, "0-1"}}, out, error));
    EXPECT_FALSE(mkdata::MakeDrawnVideo({"3", "8", "7", "0,0,255"}, {}, out, error));
    EXPECT_FALSE(mkdata::MakeDrawnVideo({"8", "8", "7"}, {}, out, error));
}

TEST(Generators, BinaryValuesAreLittleEndianInTheirTypesRange) {
    const struct {
        std::vector<std::string> args;
        Bytes bytes; // empty: refused
    } cases[] = {
        {{"u8:255", "i16:-2", "u32:4294967295", "i32:-2147483648"},
         {255, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80}},
        {{"f32:1.5", "f32:-2"}, {0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0}},
        {{"u8:256"}, {}},
        {{"i16:32768"}, {}},
        {{"u32:-1"}, {}},
        {{"u8:1x"}, {}},
        {{"f32:"}, {}},
        {{"i64:1"}, {}},
        {{"7"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        Bytes out;
        std::string error;
        EXPECT_EQ(mkdata::MakeBinary(c.args, out, error), !c.bytes.empty());
        if (c.bytes.empty())
            EXPECT_NE(error.find(c.args[0]), std::string::npos) << error;
        else
            EXPECT_EQ(out, c.bytes);
    }
}

} // namespace
