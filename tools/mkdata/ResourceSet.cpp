#include "ResourceSet.h"

#include "MeshWriter.h"
#include "ScriptCheck.h"

#include "Generators.h"
#include "Pictures.h"
#include "foundation/resources/LibraryPacker.h"
#include "foundation/resources/ResourceTableWriter.h"
#include "platform/fs/FileSystem.h"

#include <map>
#include <memory>

using namespace zentrix;

namespace mkdata {

namespace {

// Every entry gets the same stamp, so two runs write the same bytes.
constexpr std::int32_t kStamp = 1000000000;

struct Library {
    const char* name;
    const char* base;
};
// The world libraries: [Library4] city, [Library5] desert, [Library6] jungle, [Library7] ice.
constexpr Library kLibraries[] = {
    {"[Library]", "Libraries\\Game"},    {"[Library2]", "Libraries\\Common"},
    {"[Library3]", "Libraries\\Extra"},  {"[Library4]", "Libraries\\City"},
    {"[Library5]", "Libraries\\Desert"}, {"[Library6]", "Libraries\\Jungle"},
    {"[Library7]", "Libraries\\Ice"},
};

// Creates every missing folder of a game path.
bool MakeFolders(const std::string& path) {
    for (std::size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            const std::string part = path.substr(0, i);
            // Another run may create it at the same moment: only a folder that is still missing fails.
            if (!plat::fs::IsFolder(part) && !plat::fs::CreateFolder(part) && !plat::fs::IsFolder(part))
                return false;
        }
    }
    return true;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    const std::size_t slash = path.find_last_of("\\/");
    if ((slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) ||
        plat::fs::ReplaceFile(path, bytes) != plat::fs::Error::kNone) {
        error = path + ": cannot be written";
        return false;
    }
    return true;
}

} // namespace

std::string LibraryBase(const std::string& store) {
    for (const Library& library : kLibraries)
        if (store == library.name)
            return library.base;
    return {};
}

std::string EntryName(const Asset& asset) {
    const int depth = asset.store == "[Library]"                                   ? 0
                      : asset.store == "[Library2]" || asset.store == "[Library3]" ? 1
                                                                                   : 2;
    std::size_t start = 0;
    for (int i = 0; i < depth; ++i)
        start = asset.path.find('\\', start) + 1;
    return asset.path.substr(start);
}

bool BuildContent(const Sources& sources, const Asset& asset, std::vector<std::uint8_t>& out,
                  std::string& error) {
    switch (asset.content) {
    case Content::kDictionary:
        out = sources.dictionary.WriteToMemory();
        return true;
    case Content::kFormats:
        out = sources.dictionary.WriteFormatsToMemory();
        return true;
    case Content::kData:
        out = asset.data->WriteToMemory(kUser);
        return true;
    case Content::kText:
        out.assign(asset.text.begin(), asset.text.end());
        return true;
    case Content::kBinary:
        return MakeBinary(asset.args, out, error);
    case Content::kTga:
        return MakeTga(asset.args, out, error);
    case Content::kPointer:
        return MakePointer(asset.args, out, error);
    case Content::kFramed:
        return MakeFramed(asset.args, out, error);
    case Content::kRawVideo:
        if (asset.args.size() == 4)
            return MakeDrawnVideo(asset.args, asset.steps, out, error);
        if (!asset.steps.empty()) {
            error =
                "a video with draw lines needs a ground colour: rawvideo <width> <height> <frames> <r,g,b>";
            return false;
        }
        return MakeRawVideo(asset.args, out, error);
    case Content::kWav:
        return MakeWav(asset.args, out, error);
    case Content::kMidi:
        return MakeMidi(asset.args, out, error);
    case Content::kSoundFont:
        return MakeSoundFont(asset.args, out, error);
    case Content::kPicture:
        return MakePicture(asset.args, asset.steps, out, error);
    case Content::kButton:
        return MakeButton(asset.args, asset.text, out, error);
    case Content::kKmb:
        return MakeKmb(sources, asset, out, error);
    case Content::kScript:
        return MakeScript(sources, asset, out, error);
    case Content::kFont:
    case Content::kFile: {
        const std::string path =
            asset.content == Content::kFont ? std::string(kFontFile) : sources.folder + "/" + asset.args[0];
        plat::fs::ReadResult read = plat::fs::ReadWholeFile(path);
        if (read.error != plat::fs::Error::kNone || read.bytes.empty()) {
            error = path + ": cannot be read" +
                    (asset.content == Content::kFont ? " (Debian package fonts-dejavu-core)" : "");
            return false;
        }
        out = std::move(read.bytes);
        return true;
    }
    }
    return false;
}

bool WriteResourceSet(const Sources& sources, const std::string& folder, std::string& error) {
    if (!MakeFolders(folder)) {
        error = folder + ": cannot be created";
        return false;
    }
    const std::string root = folder + "\\";
    std::map<std::string, std::unique_ptr<CLibraryPacker>> packers;
    CResourceTableWriter table;
    if (!table.Create({"", "", "", ""})) {
        error = "the resource table cannot be started";
        return false;
    }
    for (const Asset& asset : sources.assets) {
        std::vector<std::uint8_t> bytes;
        std::string why;
        if (!BuildContent(sources, asset, bytes, why)) {
            error = sources.folder + "/manifest.txt:" + std::to_string(asset.line) + ": " + why;
            return false;
        }
        if (!table.AddRecord(static_cast<std::uint32_t>(asset.id), asset.path)) {
            error = "asset " + std::to_string(asset.id) + " cannot enter the resource table";
            return false;
        }
        if (asset.store == "loose") {
            if (!WriteFile(root + kResourcePath + "\\" + asset.path, bytes, error))
                return false;
            continue;
        }
        auto& packer = packers[asset.store];
        if (!packer)
            packer = std::make_unique<CLibraryPacker>(root + LibraryBase(asset.store), 1);
        if (!packer->Add(EntryName(asset), bytes, kStamp, asset.method)) {
            error = sources.folder + "/manifest.txt:" + std::to_string(asset.line) + ": cannot be packed";
            return false;
        }
    }
    std::string config = std::string("[ResourcePath] ") + kResourcePath + "\n";
    for (const Library& library : kLibraries) {
        auto it = packers.find(library.name);
        if (it == packers.end())
            continue;
        if (!MakeFolders(root + "Libraries") || !it->second->Write(error))
            return false;
        config += std::string(library.name) + " " + library.base + "\n";
    }
    if (!MakeFolders(root + kResourcePath) ||
        !WriteFile(root + "resource.cfg", std::vector<std::uint8_t>(config.begin(), config.end()), error))
        return false;
    std::string tableError;
    if (!table.Write(root + kTableName, 0, &tableError)) {
        error = root + kTableName + ": " + tableError;
        return false;
    }
    return true;
}

} // namespace mkdata
